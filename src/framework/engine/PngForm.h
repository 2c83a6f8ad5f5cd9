// TspPngForm: turns the form it is placed on into a layered window whose pixels, with their
// alpha, come from a PNG picture. The picture is drawn at the window's DPI.
#pragma once

#include "framework/rtl/Component.h"
#include "framework/ui/Forms.h"
#include "framework/ui/GdiPlus.h"

#include <memory>
#include <string_view>

namespace vp {

class TspPngForm : public TComponent {
    VP_CLASS(TspPngForm)
public:
    // The owner must be a form ("Form only" otherwise); it loses its border.
    explicit TspPngForm(TComponent* aOwner);
    ~TspPngForm() override;

    // Opacity of the whole picture (its low 8 bits); takes effect at the next drawing.
    int AlphaDegeri() const { return FAlphaDegeri; }
    void SetAlphaDegeri(int value) { FAlphaDegeri = value; }

    // Raises EFOpenError when the file cannot be read as a picture.
    void LoadPng(StringView strFileName);
    // The same from a PNG file's bytes (the picture a window carries built in).
    void LoadPngBytes(std::string_view bytes);
    bool Empty() const { return !FPngImage; }
    // The picture's size in pixels of its own (0 x 0 when empty).
    SIZE PngSize() const;
    // The picture's size on screen: scaled to the window's DPI.
    SIZE DrawnSize() const;
    // Drops the drawn copy and draws the window again.
    void DataUpdated();

private:
    void HookMessage(TMessage& message);
    void Draw();
    void ReleaseBitmap();

    TForm* FForm = nullptr;
    int FAlphaDegeri = 255;
    std::unique_ptr<Gdiplus::Bitmap> FPngImage;
    HBITMAP FBitmap = nullptr; // the 32-bit copy drawn on screen
    UINT FBitmapDpi = 0;
    THookToken FHook;
};

} // namespace vp
