// Readers of the values a skin.ini holds. Each answers nothing for a value it cannot read in
// full, so that the caller falls back to what it would have used without the key.
#pragma once

#include "framework/ui/SkinTypes.h"

#include <optional>

namespace vp {

// A decimal whole number with an optional sign, within [minimum, maximum].
std::optional<int32_t> ParseSkinInt(StringView text, int32_t minimum, int32_t maximum);
// "1", "true", "yes", "on" or "0", "false", "no", "off".
std::optional<bool> ParseSkinBool(StringView text);
// "#RRGGBB" (hexadecimal digits in either case), or "none" for kClNone.
std::optional<TColor> ParseSkinColor(StringView text);
// One number for all four sides, two for left/right and top/bottom, or four for left, top,
// right, bottom; separated by ",", each within [0, maximum].
std::optional<TSkinMargins> ParseSkinMargins(StringView text, int32_t maximum);
// A font size as a character height in 96-DPI pixels: "11" or "11px" are pixels, "8.25pt" points.
std::optional<int32_t> ParseSkinFontSize(StringView text);
// 100 to 1000, or "Thin", "Light", "Normal", "Medium", "SemiBold", "Bold", "Black".
std::optional<int32_t> ParseSkinFontWeight(StringView text);
// "Family, Family, ..." with blanks around each name trimmed; empty names dropped.
std::optional<std::vector<String>> ParseSkinFontFamilies(StringView text);
std::optional<TSkinTextAlign> ParseSkinTextAlign(StringView text);
// A built-in glyph by its name (without regard to case); None is not a glyph.
std::optional<TBuiltinGlyph> ParseBuiltinGlyph(StringView text);

// Image names end in ".png". A name may carry a scale before that: "button@1.5x.png" is the
// 1.5 times larger picture of "button.png".
bool IsSkinImageName(StringView name);
struct TSkinImageName {
    String Base; // the name without the scale ("button.png")
    double Scale = 1.0;
};
// The base name and scale of an image name; a scale outside 1..4 or one that does not read
// gives nothing.
std::optional<TSkinImageName> SplitSkinImageName(StringView name);

} // namespace vp
