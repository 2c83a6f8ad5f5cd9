#include "PanelFuzzBody.h"

#include "support/FuzzCheck.h"

#include "app/PanelModel.h"
#include "framework/rtl/TextEncoding.h"

#include <algorithm>
#include <cmath>

using namespace vp;

namespace vptest {

namespace {

bool InRange(int64_t value, int64_t low, int64_t high)
{
    return value >= low && value <= high;
}

std::string CheckScene(const TPanelScene& scene)
{
    VP_FUZZ_CHECK(InRange(scene.Width, 1, 4096) && InRange(scene.Height, 1, 4096) && InRange(scene.FrameMs, 10, 1000));
    VP_FUZZ_CHECK(InRange(scene.TurnMs, 0, 10000) && InRange(scene.FadeMs, 0, 10000));
    for (const TPanelTextBox* box : {&scene.Cards.IP, &scene.Cards.Country, &scene.Cards.City, &scene.InfoText})
        VP_FUZZ_CHECK(!box->Font.Face.empty() && box->Font.Face.size() <= 31 && InRange(box->Font.Size, 1, 72));
    return {};
}

// Texts within their limits, numbers within their ranges.
std::string CheckCommand(const TPanelCommand& command)
{
    if (const auto* info = std::get_if<TPanelCardInfoCommand>(&command)) {
        VP_FUZZ_CHECK(info->FlagURL.size() <= kPanelMaxPathLength && info->City.size() <= kPanelMaxTextLength);
        VP_FUZZ_CHECK(InRange(info->Alpha, 0, 100) && InRange(info->Scale, 0, 100));
    } else if (const auto* text = std::get_if<TPanelTextCommand>(&command)) {
        VP_FUZZ_CHECK(text->Text.size() <= kPanelMaxTextLength && text->Color <= 0xFFFFFFu);
    } else if (const auto* picture = std::get_if<TPanelPictureCommand>(&command)) {
        VP_FUZZ_CHECK(picture->Path.size() <= kPanelMaxPathLength);
    }
    return {};
}

std::string CheckFrame(const TPanelModel& model, int64_t t)
{
    for (TPanelCardId card : {TPanelCardId::Local, TPanelCardId::Target}) {
        TPanelCardPlacement placement = model.PlacementAt(card, t);
        VP_FUZZ_CHECK(std::isfinite(placement.Rect.Left) && std::isfinite(placement.Rect.Top));
        VP_FUZZ_CHECK(placement.Rect.Width >= 0 && placement.Rect.Height >= 0);
        VP_FUZZ_CHECK(placement.Opacity >= 0 && placement.Opacity <= 1);
    }
    std::optional<int64_t> due = model.NextFrameDue(t);
    VP_FUZZ_CHECK(model.IsMoving(t) == due.has_value());
    if (due)
        VP_FUZZ_CHECK(*due > t && *due <= t + model.Scene().FrameMs);
    return {};
}

bool SamePlace(const TPanelCardPlacement& a, const TPanelCardPlacement& b)
{
    return a.Rect.Left == b.Rect.Left && a.Rect.Top == b.Rect.Top && a.Rect.Width == b.Rect.Width &&
        a.Opacity == b.Opacity;
}

} // namespace

std::string RunPanelFuzzInput(const uint8_t* data, size_t size)
{
    String text = Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));
    TPanelScene scene = ParsePanelScene(text);
    if (std::string broken = CheckScene(scene); !broken.empty())
        return broken;

    TPanelModel model(scene);
    int64_t t = 0;
    for (StringView line : SplitLines(text)) {
        t += line.empty() ? 0 : line[0] % 300;
        std::optional<TPanelCommand> command = ParsePanelCommand(line);
        TPanelState expected = model.State();
        if (command) {
            if (std::string broken = CheckCommand(*command); !broken.empty())
                return broken;
            expected.Apply(*command);
        }
        TPanelCardPlacement local = model.PlacementAt(TPanelCardId::Local, t);
        TPanelCardPlacement target = model.PlacementAt(TPanelCardId::Target, t);
        VP_FUZZ_CHECK(model.SetVariable(u"callbackvar", line, t) == command.has_value());
        VP_FUZZ_CHECK(model.State() == expected);
        // Turns and fades start from what is shown: nothing jumps when they arrive (unless
        // the scene makes them instant).
        if (command && ((std::holds_alternative<TPanelTurnCommand>(*command) && scene.TurnMs > 0) ||
                           (std::holds_alternative<TPanelFadeCommand>(*command) && scene.FadeMs > 0))) {
            VP_FUZZ_CHECK(SamePlace(local, model.PlacementAt(TPanelCardId::Local, t)));
            VP_FUZZ_CHECK(SamePlace(target, model.PlacementAt(TPanelCardId::Target, t)));
        }
        if (std::string broken = CheckFrame(model, t); !broken.empty())
            return broken;
        int32_t x = static_cast<int32_t>(t % 600) - 60, y = static_cast<int32_t>(line.size() % 240) - 30;
        StringView spot = model.HotSpotAt(x, y);
        VP_FUZZ_CHECK(spot.empty() || spot == u"CHECKIPINFO" || spot == u"HOMEPAGE");
    }

    // Frame by frame to rest, which comes within the longest movement.
    int64_t rest = t + std::max(scene.TurnMs, scene.FadeMs);
    int frames = 0;
    for (std::optional<int64_t> due = model.NextFrameDue(t); due; due = model.NextFrameDue(*due)) {
        VP_FUZZ_CHECK(*due <= rest && ++frames <= rest - t);
        if (std::string broken = CheckFrame(model, *due); !broken.empty())
            return broken;
    }
    VP_FUZZ_CHECK(!model.IsMoving(rest));
    return {};
}

} // namespace vptest
