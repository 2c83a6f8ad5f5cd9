#include "ControlTestSupport.h"

#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;

namespace vptest {

namespace {

void MakeBitmap(int width, int height, HDC& dc, HBITMAP& bitmap, HGDIOBJ& old, uint32_t*& bits)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dc = CreateCompatibleDC(nullptr);
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    old = SelectObject(dc, bitmap);
}

} // namespace

TRendered::TRendered(TCustomControl& control)
{
    RECT client{};
    GetClientRect(control.Handle(), &client);
    FWidth = std::max<int>(1, client.right);
    FHeight = std::max<int>(1, client.bottom);
    MakeBitmap(FWidth, FHeight, FDC, FBitmap, FOld, FBits);
    control.PaintTo(FDC);
}

TRendered::TRendered(int width, int height, COLORREF background) : FWidth(width), FHeight(height)
{
    MakeBitmap(width, height, FDC, FBitmap, FOld, FBits);
    RECT all{0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(FDC, &all, brush);
    DeleteObject(brush);
}

TRendered::~TRendered()
{
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
}

COLORREF TRendered::Pixel(int x, int y) const
{
    GdiFlush();
    if (x < 0 || y < 0 || x >= FWidth || y >= FHeight)
        return CLR_INVALID;
    uint32_t bgra = FBits[y * FWidth + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

int TRendered::CountNear(const RECT& rect, COLORREF color, int tolerance) const
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

COLORREF FillOf(TspSkinData& data, StringView element, TSkinState state)
{
    return data.Skin().Element(element).Fill[state];
}

COLORREF TextOf(TspSkinData& data, StringView element, TSkinState state)
{
    return data.Skin().Element(element).Text[state];
}

COLORREF BorderOf(TspSkinData& data, StringView element, TSkinState state)
{
    return data.Skin().Element(element).Border[state];
}

String BuiltSkin(const char16_t* fileName)
{
    return FromAscii(VP_BUILT_SKINS_DIR) + u"/" + fileName;
}

String DataFolder()
{
    return FromAscii(VP_SOURCE_DATA_DIR);
}

TfrmControlsDemo* ShowDemo(const String& skinFile)
{
    // The pointer out of the way: no control is hot where a test does not put it.
    SetCursorPos(0, 0);
    auto* form = Application().CreateForm<TfrmControlsDemo>(DataFolder());
    if (!skinFile.empty())
        form->UseSkin(skinFile);
    form->Show();
    UpdateWindow(form->Handle());
    PumpUntil([] { return false; }, 200);
    return form;
}

void PressKey(WORD key, std::initializer_list<WORD> modifiers)
{
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, bool up) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(input);
    };
    for (WORD modifier : modifiers)
        add(modifier, false);
    add(key, false);
    add(key, true);
    for (auto it = std::rbegin(modifiers); it != std::rend(modifiers); ++it)
        add(*it, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    PumpUntil([] { return false; }, 60);
}

void TypeText(const String& text)
{
    for (char16_t c : text) {
        SHORT scan = VkKeyScanW(static_cast<wchar_t>(c));
        if (HIBYTE(scan) & 1)
            PressKey(LOBYTE(scan), {VK_SHIFT});
        else
            PressKey(LOBYTE(scan));
    }
}

void ClickWithX(HWND window, POINT offset)
{
    RECT rect;
    GetWindowRect(window, &rect);
    POINT point = offset.x < 0 ? POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}
                               : POINT{rect.left + offset.x, rect.top + offset.y};
    // Wine starts the program of the X server's side but cannot wait for it: the caller waits
    // for the click's effect.
    String command = u"/usr/bin/xdotool mousemove " + IntToStr(point.x) + u" " + IntToStr(point.y) + u" click 1";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring buffer = ToWide(command);
    if (CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

} // namespace vptest
