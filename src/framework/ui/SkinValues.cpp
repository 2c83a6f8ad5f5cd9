#include "framework/ui/SkinValues.h"

#include <charconv>
#include <cmath>

namespace vp {

namespace {

// The trimmed value as ASCII, or nothing when it holds anything else (or is absurdly long).
std::optional<std::string> AsciiValue(StringView text)
{
    String trimmed = Trim(text);
    if (trimmed.size() > 256)
        return std::nullopt;
    std::string ascii;
    for (char16_t c : trimmed) {
        if (c > 0x7E)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    return ascii;
}

std::optional<double> ParseDecimal(std::string_view text)
{
    if (text.empty() || text.front() == '+')
        return std::nullopt;
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<std::string_view> StripSuffix(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return std::nullopt;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (UpCaseChar(text[text.size() - suffix.size() + i]) != UpCaseChar(suffix[i]))
            return std::nullopt;
    return text.substr(0, text.size() - suffix.size());
}

template <class T, size_t N>
std::optional<T> Lookup(StringView text, const std::pair<const char16_t*, T> (&names)[N])
{
    String trimmed = Trim(text);
    for (const auto& [name, value] : names)
        if (SameText(trimmed, name))
            return value;
    return std::nullopt;
}

const std::pair<const char16_t*, TBuiltinGlyph> kGlyphNames[] = {
    {u"Close", TBuiltinGlyph::Close},
    {u"Minimize", TBuiltinGlyph::Minimize},
    {u"Maximize", TBuiltinGlyph::Maximize},
    {u"Restore", TBuiltinGlyph::Restore},
    {u"RollUp", TBuiltinGlyph::RollUp},
    {u"RollDown", TBuiltinGlyph::RollDown},
    {u"SysMenu", TBuiltinGlyph::SysMenu},
    {u"Check", TBuiltinGlyph::Check},
    {u"Bullet", TBuiltinGlyph::Bullet},
    {u"ArrowUp", TBuiltinGlyph::ArrowUp},
    {u"ArrowDown", TBuiltinGlyph::ArrowDown},
    {u"ArrowLeft", TBuiltinGlyph::ArrowLeft},
    {u"ArrowRight", TBuiltinGlyph::ArrowRight},
    {u"Warning", TBuiltinGlyph::Warning},
    {u"Error", TBuiltinGlyph::Error},
    {u"Information", TBuiltinGlyph::Information},
    {u"Confirmation", TBuiltinGlyph::Confirmation},
};

} // namespace

StringView SkinStateName(TSkinState state)
{
    switch (state) {
    case TSkinState::Normal: return u"Normal";
    case TSkinState::Hot: return u"Hot";
    case TSkinState::Pressed: return u"Pressed";
    case TSkinState::Disabled: return u"Disabled";
    case TSkinState::Focused: return u"Focused";
    }
    return u"Normal";
}

StringView BuiltinGlyphName(TBuiltinGlyph glyph)
{
    for (const auto& [name, value] : kGlyphNames)
        if (value == glyph)
            return name;
    return u"";
}

std::optional<int32_t> ParseSkinInt(StringView text, int32_t minimum, int32_t maximum)
{
    std::optional<std::string> ascii = AsciiValue(text);
    if (!ascii || ascii->empty() || ascii->front() == '+')
        return std::nullopt;
    int32_t value = 0;
    auto [end, ec] = std::from_chars(ascii->data(), ascii->data() + ascii->size(), value);
    if (ec != std::errc() || end != ascii->data() + ascii->size() || value < minimum || value > maximum)
        return std::nullopt;
    return value;
}

std::optional<bool> ParseSkinBool(StringView text)
{
    static const std::pair<const char16_t*, bool> kNames[] = {{u"1", true}, {u"true", true}, {u"yes", true},
        {u"on", true}, {u"0", false}, {u"false", false}, {u"no", false}, {u"off", false}};
    return Lookup(text, kNames);
}

std::optional<TColor> ParseSkinColor(StringView text)
{
    std::optional<std::string> ascii = AsciiValue(text);
    if (!ascii)
        return std::nullopt;
    if (SameText(Trim(text), u"none"))
        return kClNone;
    if (ascii->size() != 7 || (*ascii)[0] != '#')
        return std::nullopt;
    uint32_t rgb = 0;
    for (size_t i = 1; i < 7; ++i) {
        int digit = HexDigit((*ascii)[i]);
        if (digit < 0)
            return std::nullopt;
        rgb = rgb << 4 | static_cast<uint32_t>(digit);
    }
    return RGBColor(
        static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb));
}

std::optional<TSkinMargins> ParseSkinMargins(StringView text, int32_t maximum)
{
    std::vector<int32_t> values;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(u',', start), text.size());
        std::optional<int32_t> value = ParseSkinInt(text.substr(start, end - start), 0, maximum);
        if (!value || values.size() == 4)
            return std::nullopt;
        values.push_back(*value);
        start = end + 1;
    }
    switch (values.size()) {
    case 1: return TSkinMargins{values[0], values[0], values[0], values[0]};
    case 2: return TSkinMargins{values[0], values[1], values[0], values[1]};
    case 4: return TSkinMargins{values[0], values[1], values[2], values[3]};
    default: return std::nullopt;
    }
}

std::optional<int32_t> ParseSkinFontSize(StringView text)
{
    std::optional<std::string> ascii = AsciiValue(text);
    if (!ascii)
        return std::nullopt;
    double pixels = 0;
    if (auto points = StripSuffix(*ascii, "pt")) {
        std::optional<double> value = ParseDecimal(*points);
        if (!value)
            return std::nullopt;
        pixels = *value * 96.0 / 72.0;
    } else {
        std::optional<double> value = ParseDecimal(StripSuffix(*ascii, "px").value_or(*ascii));
        if (!value)
            return std::nullopt;
        pixels = *value;
    }
    pixels = std::round(pixels);
    if (pixels < 6 || pixels > 96)
        return std::nullopt;
    return static_cast<int32_t>(pixels);
}

std::optional<int32_t> ParseSkinFontWeight(StringView text)
{
    static const std::pair<const char16_t*, int32_t> kNames[] = {{u"Thin", 100}, {u"Light", 300},
        {u"Normal", 400}, {u"Regular", 400}, {u"Medium", 500}, {u"SemiBold", 600}, {u"Bold", 700},
        {u"Black", 900}};
    if (auto named = Lookup(text, kNames))
        return named;
    return ParseSkinInt(text, 100, 1000);
}

std::optional<std::vector<String>> ParseSkinFontFamilies(StringView text)
{
    std::vector<String> families;
    size_t start = 0;
    while (start <= text.size() && families.size() < 8) {
        size_t end = std::min(text.find(u',', start), text.size());
        String family = Trim(text.substr(start, end - start));
        // LOGFONT holds 31 characters of a face name.
        if (!family.empty() && family.size() <= 31)
            families.push_back(family);
        start = end + 1;
    }
    if (families.empty())
        return std::nullopt;
    return families;
}

std::optional<TSkinTextAlign> ParseSkinTextAlign(StringView text)
{
    static const std::pair<const char16_t*, TSkinTextAlign> kNames[] = {{u"Left", TSkinTextAlign::Left},
        {u"Center", TSkinTextAlign::Center}, {u"Right", TSkinTextAlign::Right}};
    return Lookup(text, kNames);
}

std::optional<TBuiltinGlyph> ParseBuiltinGlyph(StringView text)
{
    return Lookup(text, kGlyphNames);
}

bool IsSkinImageName(StringView name)
{
    return name.size() > 4 && SameText(name.substr(name.size() - 4), u".png");
}

std::optional<TSkinImageName> SplitSkinImageName(StringView name)
{
    String trimmed = Trim(name);
    if (!IsSkinImageName(trimmed))
        return std::nullopt;
    StringView stem = StringView(trimmed).substr(0, trimmed.size() - 4);
    size_t at = stem.rfind(u'@');
    size_t slash = stem.find_last_of(u"/\\");
    // "@" inside a folder name is part of the name.
    if (at == StringView::npos || (slash != StringView::npos && slash > at))
        return TSkinImageName{trimmed, 1.0};
    std::optional<std::string> scaleText = AsciiValue(stem.substr(at + 1));
    std::optional<std::string_view> number = scaleText ? StripSuffix(*scaleText, "x") : std::nullopt;
    std::optional<double> scale = number ? ParseDecimal(*number) : std::nullopt;
    if (!scale || *scale < 1.0 || *scale > 4.0)
        return std::nullopt;
    return TSkinImageName{
        String(stem.substr(0, at)) + String(StringView(trimmed).substr(trimmed.size() - 4)), *scale};
}

} // namespace vp
