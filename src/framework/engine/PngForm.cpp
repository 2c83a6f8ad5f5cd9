#include "framework/engine/PngForm.h"

#include "framework/rtl/Exceptions.h"

namespace vp {

const TClassInfo& TspPngForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspPngForm, TComponent>(u"TspPngForm")
                                       .Other(u"AlphaDegeri", u"Integer")
                                       .Other(u"PngImage", u"TPngObject")
                                       .Build();
    return info;
}

TspPngForm::TspPngForm(TComponent* aOwner) : TComponent(aOwner)
{
    FForm = dynamic_cast<TForm*>(aOwner);
    if (!FForm)
        throw EInvalidCast(u"Form only");
    FForm->BorderStyle = TBorderStyle::bsNone;
    if (!IsDesigning())
        FHook = FForm->AddMessageHook([this](TMessage& message) { HookMessage(message); });
}

TspPngForm::~TspPngForm()
{
    FHook.Remove();
    ReleaseBitmap();
}

void TspPngForm::LoadPng(StringView strFileName)
{
    std::unique_ptr<Gdiplus::Bitmap> picture = LoadPngFile(strFileName);
    if (!picture)
        throw EFOpenError(strFileName, u"not a PNG picture");
    FPngImage = std::move(picture);
    DataUpdated();
}

void TspPngForm::LoadPngBytes(std::string_view bytes)
{
    std::unique_ptr<Gdiplus::Bitmap> picture = DecodePng(bytes);
    if (!picture)
        throw EFOpenError(u"(built-in picture)", u"not a PNG picture");
    FPngImage = std::move(picture);
    DataUpdated();
}

SIZE TspPngForm::PngSize() const
{
    if (!FPngImage)
        return SIZE{0, 0};
    return SIZE{static_cast<LONG>(FPngImage->GetWidth()), static_cast<LONG>(FPngImage->GetHeight())};
}

SIZE TspPngForm::DrawnSize() const
{
    SIZE size = PngSize();
    UINT dpi = FForm->CurrentDpi();
    return SIZE{ScaleToDpi(size.cx, dpi), ScaleToDpi(size.cy, dpi)};
}

void TspPngForm::ReleaseBitmap()
{
    if (FBitmap)
        DeleteObject(FBitmap);
    FBitmap = nullptr;
}

void TspPngForm::DataUpdated()
{
    ReleaseBitmap();
    // A window drawn by UpdateLayeredWindow gets no WM_PAINT any more: draw it now.
    if (FForm->HandleAllocated() && (GetWindowLongPtrW(FForm->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED))
        Draw();
    else if (FForm->HandleAllocated())
        InvalidateRect(FForm->Handle(), nullptr, FALSE);
}

void TspPngForm::HookMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT: Draw(); break; // then on to the window, which validates it
    case WM_ERASEBKGND:
        message.Result = 1;
        message.Handled = true;
        break;
    case WM_DPICHANGED: ReleaseBitmap(); break;
    default: break;
    }
}

void TspPngForm::Draw()
{
    if (!FPngImage || !FForm->HandleAllocated())
        return;
    HWND window = FForm->Handle();
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(exStyle & WS_EX_LAYERED))
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    const UINT dpi = FForm->CurrentDpi();
    const SIZE size = DrawnSize();
    if (size.cx <= 0 || size.cy <= 0)
        return;
    if (FBitmap && FBitmapDpi != dpi)
        ReleaseBitmap();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    if (!FBitmap) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        FBitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (FBitmap && bits) {
            // Premultiplied alpha, as UpdateLayeredWindow wants it.
            Gdiplus::Bitmap target(size.cx, size.cy, size.cx * 4, PixelFormat32bppPARGB, static_cast<BYTE*>(bits));
            Gdiplus::Graphics graphics(&target);
            graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
            graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
            graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
            graphics.DrawImage(FPngImage.get(), Gdiplus::Rect(0, 0, size.cx, size.cy));
        }
        FBitmapDpi = dpi;
    }
    if (FBitmap) {
        HGDIOBJ old = SelectObject(memory, FBitmap);
        RECT bounds;
        GetWindowRect(window, &bounds);
        if (bounds.right - bounds.left != size.cx || bounds.bottom - bounds.top != size.cy)
            FForm->SetClientSize(PngSize().cx, PngSize().cy); // designed size: the picture's own
        SIZE windowSize = size;
        POINT source{0, 0};
        BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(FAlphaDegeri & 0xFF), AC_SRC_ALPHA};
        UpdateLayeredWindow(window, nullptr, nullptr, &windowSize, memory, &source, 0, &blend, ULW_ALPHA);
        SelectObject(memory, old);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace vp
