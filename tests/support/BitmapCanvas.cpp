#include "support/BitmapCanvas.h"

#include <algorithm>
#include <cstdlib>

namespace vptest {

TBitmapCanvas::TBitmapCanvas(int width, int height, COLORREF background)
    : FWidth(std::max(1, width)), FHeight(std::max(1, height))
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    FDC = CreateCompatibleDC(nullptr);
    FBitmap = CreateDIBSection(FDC, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
    FOld = SelectObject(FDC, FBitmap);
    if (background != CLR_INVALID) {
        RECT all{0, 0, FWidth, FHeight};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(FDC, &all, brush);
        DeleteObject(brush);
    }
}

TBitmapCanvas::~TBitmapCanvas()
{
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
}

COLORREF TBitmapCanvas::Pixel(int x, int y) const
{
    GdiFlush();
    if (!FBits || x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return CLR_INVALID;
    uint32_t bgra = FBits[y * FWidth + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

const uint32_t* TBitmapCanvas::Bits() const
{
    GdiFlush();
    return FBits;
}

int TBitmapCanvas::CountNear(const RECT& rect, COLORREF color, int tolerance) const
{
    int count = 0;
    for (int y = std::max<int>(0, rect.top); y < std::min<int>(FHeight, rect.bottom); ++y)
        for (int x = std::max<int>(0, rect.left); x < std::min<int>(FWidth, rect.right); ++x)
            count += ColorNear(Pixel(x, y), color, tolerance) ? 1 : 0;
    return count;
}

bool ColorNear(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
        std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

} // namespace vptest
