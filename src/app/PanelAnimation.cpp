#include "app/PanelAnimation.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vp {

void TPanelRamp::Jump(double value)
{
    FFrom = FTo = value;
    FMsPerUnit = 0;
}

void TPanelRamp::MoveTo(double target, double msPerUnit, int64_t nowMs)
{
    FFrom = ValueAt(nowMs);
    FTo = target;
    FMsPerUnit = std::max(0.0, msPerUnit);
    FStartMs = nowMs;
}

int64_t TPanelRamp::EndMs() const
{
    return FStartMs + static_cast<int64_t>(std::ceil(std::abs(FTo - FFrom) * FMsPerUnit));
}

double TPanelRamp::ValueAt(int64_t t) const
{
    if (t >= EndMs())
        return FTo;
    if (t <= FStartMs)
        return FFrom;
    double way = static_cast<double>(t - FStartMs) / FMsPerUnit;
    return FTo > FFrom ? std::min(FTo, FFrom + way) : std::max(FTo, FFrom - way);
}

TPanelAnimation::TPanelAnimation(TPanelScene scene) : FScene(std::move(scene)) { }

void TPanelAnimation::Follow(const TPanelCommand& command, int64_t nowMs)
{
    if (const auto* info = std::get_if<TPanelCardInfoCommand>(&command)) {
        FAlpha[static_cast<size_t>(info->Card)].Jump(info->Alpha);
    } else if (const auto* look = std::get_if<TPanelCardLookCommand>(&command)) {
        FAlpha[static_cast<size_t>(look->Card)].Jump(look->Alpha);
    } else if (const auto* fade = std::get_if<TPanelFadeCommand>(&command)) {
        // Fading in never lowers the alpha, fading out never raises it.
        TPanelRamp& alpha = FAlpha[static_cast<size_t>(fade->Card)];
        double now = alpha.ValueAt(nowMs);
        double limit = fade->FadeMax;
        double target = fade->FadeIn ? std::max(now, limit) : std::min(now, limit);
        alpha.MoveTo(target, FScene.FadeMs / 100.0, nowMs);
    } else if (const auto* turn = std::get_if<TPanelTurnCommand>(&command)) {
        FTurn.MoveTo(turn->Card == TPanelCardId::Target ? 1.0 : 0.0, FScene.TurnMs, nowMs);
    }
}

TPanelCardPlacement TPanelAnimation::PlacementAt(const TPanelState& state, TPanelCardId card, int64_t t) const
{
    const TPanelCardStyle& style = FScene.Cards;
    const TPanelCard& data = state.Card(card);
    // How far forward the card is: 0 in the back slot, 1 in the front slot.
    double forward = card == TPanelCardId::Local ? 1.0 - TurnAt(t) : TurnAt(t);
    double eased = forward * forward * (3.0 - 2.0 * forward);
    auto between = [eased](int32_t back, int32_t front) { return back + (front - back) * eased; };
    double swerve = std::sin(std::numbers::pi * forward) * (card == TPanelCardId::Local ? -1.0 : 1.0);

    double width = between(style.Back.Width(), style.Front.Width());
    double height = between(style.Back.Height(), style.Front.Height());
    double centerX = between(style.Back.Left, style.Front.Left) + width / 2 + style.Swing.X * swerve;
    double centerY = between(style.Back.Top, style.Front.Top) + height / 2 + style.Swing.Y * swerve;
    double scale = data.Scale / 100.0;

    TPanelCardPlacement placement;
    placement.Rect = {centerX - width * scale / 2, centerY - height * scale / 2, width * scale, height * scale};
    placement.Opacity = data.Display ? std::clamp(AlphaAt(card, t) / 100.0, 0.0, 1.0) : 0.0;
    return placement;
}

TPanelCardId TPanelAnimation::TopCardAt(int64_t t) const
{
    return TurnAt(t) >= 0.5 ? TPanelCardId::Target : TPanelCardId::Local;
}

bool TPanelAnimation::Shows(const TPanelState& state, TPanelCardId card) const
{
    return state.Card(card).Display && state.Card(card).Scale > 0;
}

bool TPanelAnimation::IsMoving(const TPanelState& state, int64_t t) const
{
    return NextFrameDue(state, t).has_value();
}

std::optional<int64_t> TPanelAnimation::NextFrameDue(const TPanelState& state, int64_t t) const
{
    std::optional<int64_t> due;
    auto consider = [&](const TPanelRamp& ramp) {
        int64_t end = ramp.EndMs();
        if (end > t)
            due = std::min({due.value_or(end), end, t + FScene.FrameMs});
    };
    if (Shows(state, TPanelCardId::Local) || Shows(state, TPanelCardId::Target))
        consider(FTurn);
    for (TPanelCardId card : {TPanelCardId::Local, TPanelCardId::Target}) {
        if (Shows(state, card))
            consider(FAlpha[static_cast<size_t>(card)]);
    }
    return due;
}

} // namespace vp
