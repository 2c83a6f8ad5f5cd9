#include "SkinUiTestSupport.h"

#include "framework/rtl/WinText.h"
#include "support/BitmapCanvas.h"

#include <cstdlib>
#include <map>

namespace vptest {

namespace {

std::map<UINT_PTR, TWhileModal*>& Timers()
{
    static std::map<UINT_PTR, TWhileModal*> timers;
    return timers;
}

} // namespace

TWindowShot::TWindowShot(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    FWidth = rect.right - rect.left;
    FHeight = rect.bottom - rect.top;
    TBitmapCanvas canvas(FWidth, FHeight);
    PrintWindow(window, canvas.DC(), 0);
    FBits.assign(canvas.Bits(), canvas.Bits() + static_cast<size_t>(canvas.Width()) * canvas.Height());
}

COLORREF TWindowShot::Pixel(int x, int y) const
{
    const uint32_t bgra = FBits[static_cast<size_t>(y) * FWidth + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

COLORREF PaintedPixel(int width, int height, int x, int y, const std::function<void(HDC)>& paint)
{
    TBitmapCanvas canvas(width, height);
    paint(canvas.DC());
    return canvas.Pixel(x, y);
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = GetDC(nullptr);
    TBitmapCanvas canvas(1, 1);
    BitBlt(canvas.DC(), 0, 0, 1, 1, screen, x, y, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return canvas.Pixel(0, 0);
}

TWhileModal::TWhileModal(std::function<bool()> step) : FStep(std::move(step))
{
    FTimer = SetTimer(nullptr, 0, 50, Tick);
    Timers()[FTimer] = this;
}

TWhileModal::~TWhileModal()
{
    KillTimer(nullptr, FTimer);
    Timers().erase(FTimer);
}

void CALLBACK TWhileModal::Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept
{
    auto found = Timers().find(id);
    if (found == Timers().end() || found->second->FDone)
        return;
    TWhileModal* self = found->second;
    self->FDone = self->FStep();
}

HWND OpenMenuWindow()
{
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr)
        if (IsWindowVisible(menu))
            return menu;
    return nullptr;
}

HMENU OpenMenuHandle()
{
    HWND window = OpenMenuWindow();
    constexpr UINT kGetMenuHandle = 0x01E1; // MN_GETHMENU
    return window ? reinterpret_cast<HMENU>(SendMessageW(window, kGetMenuHandle, 0, 0)) : nullptr;
}

std::vector<vp::String> OpenMenuTexts()
{
    std::vector<vp::String> texts;
    HMENU menu = OpenMenuHandle();
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        texts.push_back(vp::FromWStr(text));
    }
    return texts;
}

void PostKey(HWND window, WORD key)
{
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

vp::String BuiltSkin(const char* fileName)
{
    return vp::FromAscii(VP_BUILT_SKINS_DIR) + u"/" + vp::FromAscii(fileName);
}

} // namespace vptest
