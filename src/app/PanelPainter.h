// Draws frames of the status panel with GDI+ into an off-screen bitmap: the background and
// logo pictures, the two cards as the model places them at a moment, and the status lines.
// What stays the same from frame to frame is drawn once and kept: the pictures as one layer,
// each card as a picture that a frame only places, scales and fades (PanelBlend). Win32 only.
#pragma once

#include "app/PanelFlags.h"
#include "app/PanelModel.h"
#include "framework/rtl/WinHandles.h"

#include <array>
#include <map>
#include <tuple>

namespace vp {

// The family of face, else Tahoma, else the family of the system's message font, else
// GDI+'s own sans serif (a system may lack the scene's face).
std::unique_ptr<Gdiplus::FontFamily> PanelFontFamily(StringView face);

// The panel without GDI+: the scene's colour and the two status lines in the message font,
// so that the panel still tells what the program is doing.
void PaintPanelPlain(HDC dc, const TPanelModel& model, int width, int height, UINT dpi);

class TPanelPainter {
public:
    TPanelPainter();
    ~TPanelPainter();
    TPanelPainter(const TPanelPainter&) = delete;
    TPanelPainter& operator=(const TPanelPainter&) = delete;

    // Draws the frame at t, the scene stretched over width x height pixels, and returns the
    // memory device context that holds it (valid until the next call); nullptr when the
    // size is empty, GDI+ did not start or no bitmap could be made.
    HDC Render(const TPanelModel& model, const TPanelFlagCache& flags, int64_t t, int width, int height);

    // Low quality draws without smoothing (the player's quality 0).
    void SetHighQuality(bool value);
    // Forgets every kept drawing, pictures included (they are read again).
    void Reset();

private:
    struct TCardKey {
        String IP;
        String CountryName;
        String City;
        Gdiplus::Bitmap* Flag = nullptr;
        uint32_t Accent = 0;
        double Scale = 0;
        bool HighQuality = true;
        TPanelCardStyle Style;
        bool operator==(const TCardKey&) const = default;
    };
    // A card drawn once, with room for its shadow; premultiplied pixels.
    struct TCardImage {
        TCardKey Key;
        std::vector<uint32_t> Pixels;
        int Width = 0;
        int Height = 0;
    };
    struct TBaseKey {
        String Background;
        String Logo;
        uint32_t Color = 0;
        TRect LogoRect;
        int Width = 0;
        int Height = 0;
        bool operator==(const TBaseKey&) const = default;
    };

    bool EnsureBuffer(int width, int height);
    void EnsureBase(const TPanelModel& model, double scale);
    Gdiplus::Bitmap* Picture(const String& path);
    TCardImage& EnsureCard(const TPanelModel& model, const TPanelFlagCache& flags, TPanelCardId card, double scale);
    void PlaceCard(const TPanelCardStyle& style, const TCardImage& image, const TPanelCardPlacement& placement,
        double scale);
    // In scene units: the caller's transform places the text.
    void PaintText(Gdiplus::Graphics& graphics, const String& text, const TPanelTextBox& box, uint32_t argb);
    // In scene units (the scene's pixels), for drawing under the scene's scaling.
    Gdiplus::Font& Font(const TPanelFont& font);
    void SetQuality(Gdiplus::Graphics& graphics) const;

    bool FHighQuality = true;

    // The frame: a top-down 32-bit section, selected into its memory context, and the same
    // pixels as a GDI+ bitmap.
    TMemoryDC FBufferDC;
    TGdiBitmap FBufferBitmap;
    HGDIOBJ FBufferOldBitmap = nullptr;
    uint32_t* FBufferBits = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> FBuffer;
    int FWidth = 0;
    int FHeight = 0;

    // Background colour, background picture and logo, copied into each frame.
    std::vector<uint32_t> FBasePixels;
    TBaseKey FBaseKey;
    bool FBaseValid = false;

    std::map<String, std::unique_ptr<Gdiplus::Bitmap>> FPictures;
    std::array<TCardImage, kPanelCardCount> FCards;
    // Families before fonts, so that the fonts go first.
    std::map<String, std::unique_ptr<Gdiplus::FontFamily>> FFamilies;
    std::map<std::tuple<String, int32_t, bool, bool>, std::unique_ptr<Gdiplus::Font>> FFonts;
};

} // namespace vp
