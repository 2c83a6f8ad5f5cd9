// Helpers of the skinned toolkit's Wine tests: pixels of windows and of the screen, work done
// from inside a modal loop (an open menu, a message box), and the shipped skin files.
#pragma once

#include "support/BitmapCanvas.h"

#include <windows.h>

#include "framework/rtl/RtlText.h"

#include <functional>
#include <vector>

namespace vptest {

// A window as PrintWindow draws it (frame included), read back pixel by pixel.
class TWindowShot {
public:
    explicit TWindowShot(HWND window);
    COLORREF Pixel(int x, int y) const;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }

private:
    int FWidth = 0, FHeight = 0;
    std::vector<uint32_t> FBits;
};

// A pixel of a device context drawn by paint into a bitmap of width x height.
COLORREF PaintedPixel(int width, int height, int x, int y, const std::function<void(HDC)>& paint);
// A pixel of the screen as the X server shows it.
COLORREF ScreenPixel(int x, int y);

// Calls step every 50 ms on this thread, from inside whatever modal loop runs (a menu's, a
// message box's), until it returns true.
class TWhileModal {
public:
    explicit TWhileModal(std::function<bool()> step);
    ~TWhileModal();
    TWhileModal(const TWhileModal&) = delete;
    TWhileModal& operator=(const TWhileModal&) = delete;
    bool Done() const { return FDone; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept;
    std::function<bool()> FStep;
    UINT_PTR FTimer = 0;
    bool FDone = false;
};

// The pop-up menu open now, or nullptr; its items as the menu knows them.
HWND OpenMenuWindow();
HMENU OpenMenuHandle();
std::vector<vp::String> OpenMenuTexts();
// Posts a key press to the thread's focus (a menu takes it from the queue).
void PostKey(HWND window, WORD key);

// A skin file the build packed.
vp::String BuiltSkin(const char* fileName);

} // namespace vptest
