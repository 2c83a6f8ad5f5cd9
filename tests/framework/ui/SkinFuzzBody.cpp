#include "SkinFuzzBody.h"

#include "support/FuzzCheck.h"

#include "SkinTestSupport.h"

#include "framework/ui/SkinDefinition.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinIni.h"
#include "framework/ui/PngDecoder.h"

using namespace vp;

namespace vptest {

namespace {

bool RealColor(const TSkinStates<TColor>& colors)
{
    for (TSkinState state : kSkinStates)
        if (colors[state] != kClNone && (colors[state] >> 24) != 0)
            return false;
    return true;
}

bool Within(const TSkinMargins& m, int32_t maximum)
{
    for (int32_t side : {m.Left, m.Top, m.Right, m.Bottom})
        if (side < 0 || side > maximum)
            return false;
    return true;
}

bool PlainName(const String& name)
{
    size_t start = 0;
    while (true) {
        size_t end = name.find(u'/', start);
        String part = name.substr(start, end == String::npos ? String::npos : end - start);
        if (part.empty() || part == u"." || part == u"..")
            return false;
        if (end == String::npos)
            return true;
        start = end + 1;
    }
}

std::string CheckArchive(const TSkinArchive& archive)
{
    size_t total = 0;
    for (const String& name : archive.Names()) {
        const std::string* data = archive.Find(name);
        VP_FUZZ_CHECK(data != nullptr);
        total += data->size();
        VP_FUZZ_CHECK(PlainName(name));
        VP_FUZZ_CHECK(name.find(u'\\') == String::npos && name.find(u':') == String::npos);
    }
    VP_FUZZ_CHECK(total <= TSkinArchiveLimits{}.MaxTotalBytes);
    return {};
}

std::string CheckElement(const TSkinDefinition& skin, const TSkinElement& element)
{
    VP_FUZZ_CHECK(RealColor(element.Fill) && RealColor(element.Border) && RealColor(element.Text));
    VP_FUZZ_CHECK(RealColor(element.GlyphColor) && RealColor(element.Glow));
    VP_FUZZ_CHECK(element.BorderWidth >= 0 && element.BorderWidth <= 16);
    VP_FUZZ_CHECK(element.Radius >= 0 && element.Radius <= 64);
    VP_FUZZ_CHECK(element.GlowSize >= 0 && element.GlowSize <= 16);
    VP_FUZZ_CHECK(element.GlyphSize >= 0 && element.GlyphSize <= 128);
    VP_FUZZ_CHECK(Within(element.Padding, 256) && Within(element.Margins, 1024));
    for (TSkinState state : kSkinStates) {
        if (element.HasImage(state)) {
            std::optional<TPngSize> size = skin.Images().DesignSize(element.Image[state]);
            VP_FUZZ_CHECK(size.has_value());
            VP_FUZZ_CHECK(element.Margins.Left + element.Margins.Right <= size->Width);
            VP_FUZZ_CHECK(element.Margins.Top + element.Margins.Bottom <= size->Height);
            VP_FUZZ_CHECK(skin.Images().Pick(element.Image[state], 1.5) != nullptr);
        }
        const TSkinGlyph& glyph = element.Glyph[state];
        VP_FUZZ_CHECK(glyph.Image.empty() ||
            (glyph.Builtin == TBuiltinGlyph::None && skin.Images().Contains(glyph.Image)));
    }
    const TSkinFont& font = skin.Font(element.Font);
    VP_FUZZ_CHECK(!font.Families.empty() && font.Height >= 6 && font.Height <= 96);
    VP_FUZZ_CHECK(font.Weight >= 100 && font.Weight <= 1000);
    return {};
}

std::string CheckSkin(const TSkinDefinition& skin, StringView probe)
{
    for (const TSkinElementInfo& info : SkinElementTable()) {
        const TSkinElement& element = skin.Element(info.Name);
        VP_FUZZ_CHECK(element.Name == info.Name);
        std::string broken = CheckElement(skin, element);
        if (!broken.empty())
            return broken + " in " + U16ToUtf8(info.Name);
    }
    std::string broken = CheckElement(skin, skin.Element(probe));
    if (!broken.empty())
        return broken + " in the probe";
    for (const TSkinMetricInfo& metric : SkinMetricTable()) {
        int32_t value = skin.Metrics().*metric.Field;
        VP_FUZZ_CHECK(value >= metric.Minimum && value <= metric.Maximum);
    }
    VP_FUZZ_CHECK(skin.Info().Name.size() <= 256 && skin.Info().Format >= 1);
    for (const String& name : skin.MissingElements())
        VP_FUZZ_CHECK(!skin.Defines(name) && FindSkinElement(name) != nullptr);
    return {};
}

// A picture is refused whole, or every pixel is there and premultiplied.
std::string CheckPicture(const std::string& bytes)
{
    TPngPixels pixels;
    if (!DecodePngPixels(bytes, pixels)) {
        VP_FUZZ_CHECK(pixels.Pixels.empty() && pixels.Width == 0 && pixels.Height == 0);
        return {};
    }
    VP_FUZZ_CHECK(pixels.Width > 0 && pixels.Height > 0);
    VP_FUZZ_CHECK(pixels.Pixels.size() == size_t{pixels.Width} * pixels.Height);
    for (uint32_t pixel : pixels.Pixels) {
        const uint32_t alpha = pixel >> 24;
        VP_FUZZ_CHECK(((pixel >> 16) & 0xFF) <= alpha && ((pixel >> 8) & 0xFF) <= alpha && (pixel & 0xFF) <= alpha);
    }
    return {};
}

} // namespace

std::string RunSkinFuzzInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    String probe = Utf8ToU16(bytes.substr(0, 40));

    // As a picture, with the PNG signature in front when it lacks one.
    std::string broken = CheckPicture(IsPngData(bytes) ? bytes : std::string("\x89PNG\r\n\x1A\n", 8) + bytes);
    if (!broken.empty())
        return "picture: " + broken;

    // As a skin file: refused as a whole, or sound throughout.
    try {
        TSkinArchive archive = TSkinArchive::Read(bytes);
        broken = CheckArchive(archive);
        if (!broken.empty())
            return broken;
    } catch (const ESkinError&) {
    }
    try {
        std::shared_ptr<const TSkinDefinition> skin = TSkinDefinition::FromBytes(bytes);
        broken = CheckSkin(*skin, probe);
        if (!broken.empty())
            return "skin file: " + broken;
    } catch (const ESkinError&) {
    }

    // As the skin.ini of a sound file with a few pictures to name: never refused (within the
    // size a skin.ini may have).
    if (bytes.size() > (1u << 20))
        return {};
    std::string file = BuildZip({{"skin.ini", bytes, false}, {"a.png", MakePng(8, 8), false},
        {"a@2x.png", MakePng(16, 16), false}, {"b@1.5x.png", MakePng(6, 3), false}});
    try {
        broken = CheckSkin(*TSkinDefinition::FromBytes(file), probe);
        if (!broken.empty())
            return "skin.ini: " + broken;
    } catch (const ESkinError& e) {
        return std::string("a sound file was refused: ") + e.what();
    }

    // As skin.ini text alone.
    broken = CheckSkin(*TSkinDefinition::FromIni(TSkinIni::FromBytes(bytes)), probe);
    return broken.empty() ? broken : "text: " + broken;
}

} // namespace vptest
