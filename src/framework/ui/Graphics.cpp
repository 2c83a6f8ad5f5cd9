#include "framework/ui/Graphics.h"

#include "framework/ui/GdiPlus.h"

#include <cmath>

namespace vp {

TCanvas::TCanvas(Gdiplus::Bitmap& target, double scale, std::function<void()> changed)
    : FTarget(target), FScale(scale), FChanged(std::move(changed))
{
}

RECT TCanvas::Pixels(const TRect& rect) const
{
    auto scaled = [&](int32_t value) { return static_cast<LONG>(std::lround(value * FScale)); };
    return RECT{scaled(rect.Left), scaled(rect.Top), scaled(rect.Right), scaled(rect.Bottom)};
}

void TCanvas::FillRect(const TRect& rect)
{
    RECT r = Pixels(rect);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(&FTarget);
    graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
    Gdiplus::SolidBrush brush(Brush.Style == TBrushStyle::bsClear ? Gdiplus::Color(0, 0, 0, 0) : ToGdiPlus(Brush.Color));
    graphics.FillRectangle(&brush, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top));
    if (FChanged)
        FChanged();
}

void TCanvas::Draw(int x, int y, Gdiplus::Bitmap& picture)
{
    StretchDraw(TRect{x, y, x + static_cast<int32_t>(picture.GetWidth()), y + static_cast<int32_t>(picture.GetHeight())},
        picture);
}

void TCanvas::StretchDraw(const TRect& rect, Gdiplus::Bitmap& picture)
{
    RECT r = Pixels(rect);
    if (r.right <= r.left || r.bottom <= r.top)
        return;
    EnsureGdiPlus();
    Gdiplus::Graphics graphics(&FTarget);
    graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    graphics.DrawImage(&picture, Gdiplus::Rect(r.left, r.top, r.right - r.left, r.bottom - r.top), 0, 0,
        static_cast<INT>(picture.GetWidth()), static_cast<INT>(picture.GetHeight()), Gdiplus::UnitPixel, &attributes);
    if (FChanged)
        FChanged();
}

} // namespace vp
