// A 32-bit bitmap with a DC on it, for painting into and reading pixels back in tests.
#pragma once

#include <windows.h>

#include <cstdint>

namespace vptest {

class TBitmapCanvas {
public:
    // background CLR_INVALID leaves the pixels as the system makes them (all zero).
    TBitmapCanvas(int width, int height, COLORREF background = CLR_INVALID);
    ~TBitmapCanvas();
    TBitmapCanvas(const TBitmapCanvas&) = delete;
    TBitmapCanvas& operator=(const TBitmapCanvas&) = delete;

    HDC DC() const { return FDC; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // The pixel as a colour (0x00BBGGRR); CLR_INVALID outside the bitmap.
    COLORREF Pixel(int x, int y) const;
    // The rows as painted: 0xAARRGGBB per pixel, top row first.
    const uint32_t* Bits() const;
    // Pixels in the rectangle within tolerance of the colour.
    int CountNear(const RECT& rect, COLORREF color, int tolerance = 24) const;

private:
    int FWidth;
    int FHeight;
    HDC FDC = nullptr;
    HBITMAP FBitmap = nullptr;
    HGDIOBJ FOld = nullptr;
    uint32_t* FBits = nullptr;
};

// Each channel within tolerance.
bool ColorNear(COLORREF a, COLORREF b, int tolerance = 24);

} // namespace vptest
