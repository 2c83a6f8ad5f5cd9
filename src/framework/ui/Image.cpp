#include "framework/ui/Image.h"

#include "framework/ui/GdiPlus.h"
#include "framework/ui/PngDrawing.h"

#include <algorithm>

namespace vp {

const TClassInfo& TImage::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TImage, TCustomControl>(u"TImage")
                                       .Other(u"Stretch", u"Boolean")
                                       .Other(u"Center", u"Boolean")
                                       .Other(u"Transparent", u"Boolean")
                                       .Build();
    return info;
}

TImage::TImage(TComponent* aOwner) : TCustomControl(aOwner)
{
    FWidth = 105;
    FHeight = 105;
}

TImage::~TImage() = default;

void TImage::SetStretch(bool value)
{
    FStretch = value;
    Invalidate();
}

void TImage::SetCenter(bool value)
{
    FCenter = value;
    Invalidate();
}

bool TImage::LoadFromFile(StringView fileName)
{
    auto picture = LoadPngFile(fileName);
    if (!picture)
        return false;
    SetPicture(std::move(picture));
    return true;
}

void TImage::SetPicture(std::unique_ptr<Gdiplus::Bitmap> picture)
{
    FPicture = std::move(picture);
    FCanvas.reset();
    FCanvasPicture.reset();
    Invalidate();
}

Gdiplus::Bitmap* TImage::Picture() const
{
    return FCanvasPicture ? FCanvasPicture.get() : FPicture.get();
}

RECT TImage::PictureRect(const RECT& client) const
{
    if (FStretch || !FPicture)
        return client;
    const int width = ScaleValue(static_cast<int>(FPicture->GetWidth()));
    const int height = ScaleValue(static_cast<int>(FPicture->GetHeight()));
    if (!FCenter)
        return RECT{client.left, client.top, client.left + width, client.top + height};
    const int left = client.left + (client.right - client.left - width) / 2;
    const int top = client.top + (client.bottom - client.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

void TImage::MakeCanvas()
{
    const UINT dpi = CurrentDpi();
    const int width = std::max(1, ScaleToDpi(FWidth, dpi)), height = std::max(1, ScaleToDpi(FHeight, dpi));
    EnsureGdiPlus();
    auto target = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppPARGB);
    {
        Gdiplus::Graphics graphics(target.get());
        graphics.Clear(Gdiplus::Color(0, 0, 0, 0));
    }
    // What showed is where it showed; a canvas of another DPI is scaled over.
    RECT all{0, 0, width, height};
    if (FCanvasPicture) {
        Gdiplus::Graphics graphics(target.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.DrawImage(FCanvasPicture.get(), Gdiplus::Rect(0, 0, width, height));
    } else if (FPicture) {
        RECT place = PictureRect(all);
        Gdiplus::Graphics graphics(target.get());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        graphics.DrawImage(FPicture.get(),
            Gdiplus::Rect(place.left, place.top, place.right - place.left, place.bottom - place.top));
    }
    FPicture.reset();
    FCanvasPicture = std::move(target);
    FCanvasDpi = dpi;
    FCanvas = std::make_unique<TCanvas>(*FCanvasPicture, dpi / static_cast<double>(kDesignDpi), [this] { Invalidate(); });
}

TCanvas& TImage::Canvas()
{
    if (!FCanvas)
        MakeCanvas();
    return *FCanvas;
}

void TImage::DpiChanged(UINT dpi)
{
    TCustomControl::DpiChanged(dpi);
    if (FCanvas && dpi != FCanvasDpi) {
        TBrush brush = FCanvas->Brush;
        MakeCanvas();
        FCanvas->Brush = brush;
    }
}

void TImage::Paint(HDC dc, const RECT& client)
{
    if (FCanvasPicture) {
        DrawPicture(dc, *FCanvasPicture,
            RECT{0, 0, static_cast<LONG>(FCanvasPicture->GetWidth()), static_cast<LONG>(FCanvasPicture->GetHeight())});
        return;
    }
    if (FPicture)
        DrawPicture(dc, *FPicture, PictureRect(client));
}

} // namespace vp
