#include "framework/ui/PngDrawing.h"

#include "framework/ui/GdiPlus.h"

#include <algorithm>
#include <cmath>

namespace vp {

RECT FitPicture(Gdiplus::Bitmap& picture, const RECT& box, double scale)
{
    const double width = picture.GetWidth(), height = picture.GetHeight();
    const double boxWidth = box.right - box.left, boxHeight = box.bottom - box.top;
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0)
        return RECT{box.left, box.top, box.left, box.top};
    double fit = std::min(boxWidth / width, boxHeight / height);
    if (scale > 0)
        fit = std::min(fit, scale);
    const int w = static_cast<int>(std::lround(width * fit)), h = static_cast<int>(std::lround(height * fit));
    const int left = box.left + static_cast<int>(boxWidth - w) / 2;
    const int top = box.top + static_cast<int>(boxHeight - h) / 2;
    return RECT{left, top, left + w, top + h};
}

void DrawPicture(HDC dc, Gdiplus::Bitmap& picture, const RECT& rect, float opacity)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(dc);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::Rect target(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    const INT width = static_cast<INT>(picture.GetWidth()), height = static_cast<INT>(picture.GetHeight());
    if (opacity >= 1.0f) {
        // Edge pixels repeat instead of fading into nothing when the picture is scaled.
        Gdiplus::ImageAttributes attributes;
        attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        graphics.DrawImage(&picture, target, 0, 0, width, height, Gdiplus::UnitPixel, &attributes);
        return;
    }
    Gdiplus::ColorMatrix fade = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, opacity, 0},
        {0, 0, 0, 0, 1}}};
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    attributes.SetColorMatrix(&fade);
    graphics.DrawImage(&picture, target, 0, 0, width, height, Gdiplus::UnitPixel, &attributes);
}

} // namespace vp
