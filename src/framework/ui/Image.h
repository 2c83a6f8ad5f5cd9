// TImage: shows a picture with its alpha over what lies behind it: a PNG the program loads
// (drawn at its size scaled to the DPI, centred or stretched as asked), or what the program
// drew on its Canvas, a picture of the control's own size.
#pragma once

#include "framework/ui/CustomControl.h"
#include "framework/ui/Graphics.h"

#include <memory>

namespace vp {

class TImage : public TCustomControl {
    VP_CLASS(TImage)
public:
    explicit TImage(TComponent* aOwner);
    ~TImage() override;

    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    // The picture always blends with what lies behind; kept for the window descriptions.
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value) { FTransparent = value; }

    // Shows the PNG file; false when it is no picture (what showed stays).
    bool LoadFromFile(StringView fileName);
    void SetPicture(std::unique_ptr<Gdiplus::Bitmap> picture);
    // A picture to draw on, the size of the control: what showed is on it at first.
    TCanvas& Canvas();
    // What shows now (the loaded picture or the canvas's), or nullptr.
    Gdiplus::Bitmap* Picture() const;

protected:
    void Paint(HDC dc, const RECT& client) override;
    void DpiChanged(UINT dpi) override;

private:
    RECT PictureRect(const RECT& client) const;
    void MakeCanvas();

    std::unique_ptr<Gdiplus::Bitmap> FPicture; // loaded
    std::unique_ptr<Gdiplus::Bitmap> FCanvasPicture; // drawn on, in pixels at FCanvasDpi
    std::unique_ptr<TCanvas> FCanvas;
    UINT FCanvasDpi = 0;
    bool FStretch = false;
    bool FCenter = false;
    bool FTransparent = false;
};

} // namespace vp
