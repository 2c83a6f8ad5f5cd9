// The pieces a skin is made of: colours, states, margins, glyphs, fonts and elements.
#pragma once

#include "framework/rtl/RtlText.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vp {

// A Windows colour value 0x00BBGGRR. kClNone (high byte set, never a real colour) draws nothing.
using TColor = uint32_t;
inline constexpr TColor kClNone = 0x1FFFFFFF;

constexpr TColor RGBColor(uint8_t r, uint8_t g, uint8_t b)
{
    return static_cast<TColor>(r) | static_cast<TColor>(g) << 8 | static_cast<TColor>(b) << 16;
}

// What the pointer and the keyboard do to a control. A state a skin leaves out draws as Normal.
enum class TSkinState : uint8_t { Normal, Hot, Pressed, Disabled, Focused };
inline constexpr size_t kSkinStateCount = 5;
inline constexpr std::array<TSkinState, kSkinStateCount> kSkinStates = {
    TSkinState::Normal, TSkinState::Hot, TSkinState::Pressed, TSkinState::Disabled, TSkinState::Focused};

// "Normal", "Hot", "Pressed", "Disabled", "Focused": the suffixes of per-state keys.
StringView SkinStateName(TSkinState state);

// One value per state.
template <class T>
class TSkinStates {
public:
    TSkinStates() = default;
    explicit TSkinStates(const T& all) { FValues.fill(all); }

    const T& operator[](TSkinState state) const { return FValues[static_cast<size_t>(state)]; }
    T& operator[](TSkinState state) { return FValues[static_cast<size_t>(state)]; }
    bool operator==(const TSkinStates&) const = default;

private:
    std::array<T, kSkinStateCount> FValues{};
};

// Distances from the four edges, in pixels at 96 DPI (nine-slice margins: in 1x image pixels).
struct TSkinMargins {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
    bool operator==(const TSkinMargins&) const = default;
};

// Symbols the toolkit draws itself as vector shapes, in any colour and at any size.
enum class TBuiltinGlyph : uint8_t {
    None,
    Close,
    Minimize,
    Maximize,
    Restore,
    RollUp,
    RollDown,
    SysMenu,
    Check,
    Bullet,
    ArrowUp,
    ArrowDown,
    ArrowLeft,
    ArrowRight,
    Warning,
    Error,
    Information,
    Confirmation,
};

// The glyph's name as a skin writes it ("Close", "ArrowUp", ...); "" for None.
StringView BuiltinGlyphName(TBuiltinGlyph glyph);

// A symbol drawn on an element: a built-in glyph, or an image of the skin, or nothing.
struct TSkinGlyph {
    TBuiltinGlyph Builtin = TBuiltinGlyph::None;
    String Image; // an image name of the skin (then Builtin is None)

    bool Empty() const { return Builtin == TBuiltinGlyph::None && Image.empty(); }
    bool operator==(const TSkinGlyph&) const = default;
};

enum class TSkinTextAlign : uint8_t { Left, Center, Right };

struct TSkinFont {
    // Families in order of preference; the first one installed is used.
    std::vector<String> Families = {u"Tahoma"};
    // Character height in pixels at 96 DPI (a LOGFONT height of -Height).
    int32_t Height = 11;
    int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool operator==(const TSkinFont&) const = default;
};

// How one named part of the toolkit draws. An element draws flat (fill, border, corner radius:
// crisp at any scale) unless it has an image for the state, which is then stretched by nine-slice
// margins; either way text, glyph and glow come from the element.
struct TSkinElement {
    String Name;
    bool Defined = false; // the skin has a section of this name

    TSkinStates<TColor> Fill{kClNone};
    TSkinStates<TColor> Border{kClNone};
    TSkinStates<TColor> Text{RGBColor(0x1E, 0x29, 0x3B)};
    TSkinStates<TColor> GlyphColor{RGBColor(0x1E, 0x29, 0x3B)};
    TSkinStates<TColor> Glow{kClNone};
    int32_t BorderWidth = 0; // 96-DPI pixels
    int32_t Radius = 0; // corner radius, 96-DPI pixels
    int32_t GlowSize = 0;
    int32_t GlyphSize = 0; // 0: the control's own choice
    TSkinMargins Padding; // room between the edges and the content
    TSkinStates<String> Image; // image names of the skin; "" draws flat
    TSkinMargins Margins; // nine-slice margins of the images, in 1x image pixels
    TSkinStates<TSkinGlyph> Glyph;
    String Font = u"Default";
    TSkinTextAlign TextAlign = TSkinTextAlign::Left;

    bool HasImage(TSkinState state) const { return !Image[state].empty(); }
};

} // namespace vp
