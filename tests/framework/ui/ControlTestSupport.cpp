#include "ControlTestSupport.h"

#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;

namespace vptest {

namespace {

SIZE ClientSize(TCustomControl& control)
{
    RECT client{};
    GetClientRect(control.Handle(), &client);
    return SIZE{client.right, client.bottom};
}

} // namespace

TRendered::TRendered(TCustomControl& control) : TBitmapCanvas(ClientSize(control).cx, ClientSize(control).cy)
{
    control.PaintTo(DC());
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
    StartXdotool(u"mousemove " + IntToStr(point.x) + u" " + IntToStr(point.y) + u" click 1");
}

} // namespace vptest
