// TCanvas: drawing on a picture with its alpha, in designed (96-DPI) units: fill with the
// brush, draw PNG pictures. Its brush starts clear, so filling empties the picture (the
// parent shows through) until the program gives the brush a colour.
#pragma once

#include <windows.h>

#include "framework/rtl/Rect.h"
#include "framework/ui/SkinTypes.h"

#include <functional>

namespace Gdiplus {
class Bitmap;
}

namespace vp {

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = RGBColor(255, 255, 255);
    TBrushStyle Style = TBrushStyle::bsClear;
};

class TCanvas {
public:
    // Draws on target, whose pixels are scale times the designed units; changed runs after
    // every drawing.
    TCanvas(Gdiplus::Bitmap& target, double scale, std::function<void()> changed);

    TBrush Brush;

    void FillRect(const TRect& rect);
    // The picture at its own size (its pixels as designed units) with its top left at (x, y).
    void Draw(int x, int y, Gdiplus::Bitmap& picture);
    void StretchDraw(const TRect& rect, Gdiplus::Bitmap& picture);

private:
    RECT Pixels(const TRect& rect) const;

    Gdiplus::Bitmap& FTarget;
    double FScale;
    std::function<void()> FChanged;
};

} // namespace vp
