// The status panel's scene: where cards, flag, texts, logo and hot spots lie on the panel,
// their fonts and colours, and how long turns and fades take. It is read from
// "res\veilport.dat", an INI text; every missing or bad value keeps its built-in default, and
// the defaults are the values of the shipped file, so a panel without the file still looks right.
#pragma once

#include "framework/rtl/Rect.h"
#include "framework/rtl/RtlText.h"

#include <cstdint>

namespace vp {

// Colours of the scene are 0xAARRGGBB.
constexpr uint32_t PanelArgb(uint32_t rgb, uint32_t alpha = 0xFF)
{
    return (alpha << 24) | (rgb & 0xFFFFFF);
}
// A Windows colour value 0x00BBGGRR (the status line commands) as an opaque 0xAARRGGBB.
uint32_t ColorRefToArgb(uint32_t colorRef);

struct TPanelPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPanelPoint&) const = default;
};

enum class TPanelAlign { Left, Center, Right };

struct TPanelFont {
    String Face;
    int32_t Size = 10; // points
    bool Bold = false;
    bool Italic = false;
    bool operator==(const TPanelFont&) const = default;
};

struct TPanelTextBox {
    TRect Rect;
    TPanelFont Font;
    uint32_t Color = 0; // card texts; the status lines take theirs from the commands
    TPanelAlign Align = TPanelAlign::Left;
    bool operator==(const TPanelTextBox&) const = default;
};

struct TPanelCardStyle {
    // The slots of the card in front and the card behind, in panel coordinates.
    TRect Front;
    TRect Back;
    // How far the cards swerve apart halfway through a turn (Local one way, Target the other).
    TPanelPoint Swing;
    int32_t Radius = 0;
    uint32_t Fill = 0;
    uint32_t Border = 0;
    uint32_t Shadow = 0;
    TPanelPoint ShadowOffset;
    uint32_t LocalAccent = 0;
    uint32_t TargetAccent = 0;
    int32_t AccentWidth = 0;
    // The card's content, relative to the card's top left in the front slot; a card elsewhere
    // is the same drawing scaled to its rectangle.
    TRect Flag;
    TPanelTextBox IP;
    TPanelTextBox Country;
    TPanelTextBox City;
    bool operator==(const TPanelCardStyle&) const = default;
};

struct TPanelScene {
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t Color = 0; // under the background picture, and instead of it when there is none
    int32_t TurnMs = 0;
    int32_t FadeMs = 0; // a fade over the whole range 0..100; shorter distances take less
    int32_t FrameMs = 0; // time between frames while something moves
    TPanelCardStyle Cards;
    TRect Logo;
    TPanelTextBox InfoText;
    TPanelTextBox InfoText2;
    // Hot spots: a click raises "CMD" with "CHECKIPINFO" or "HOMEPAGE".
    TRect CheckIP;
    TRect Home;
    bool operator==(const TPanelScene&) const = default;
};

// Larger files are not read.
constexpr size_t kPanelMaxSceneFileSize = 64 * 1024;

TPanelScene DefaultPanelScene();
// Each value that is missing or bad keeps its default.
TPanelScene ParsePanelScene(StringView text);
// False when the file cannot be read (missing, or too large to be a scene); the scene then
// holds the defaults.
bool LoadPanelScene(StringView path, TPanelScene& scene);

// "CHECKIPINFO", "HOMEPAGE" or "" for a point on the panel.
StringView PanelHotSpotAt(const TPanelScene& scene, int32_t x, int32_t y);

} // namespace vp
