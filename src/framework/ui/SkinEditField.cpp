#include "framework/ui/SkinEditField.h"

#include "framework/rtl/WinText.h"

namespace vp {

const TClassInfo& TSkinEditField::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TSkinEditField, TWinControl>(u"TSkinEditField").Build();
    return info;
}

TSkinEditField::TSkinEditField(TspSkinControl& host, DWORD style) : TWinControl(nullptr), FHost(host), FStyle(style)
{
    TabStop = true;
}

void TSkinEditField::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = u"EDIT";
    params.Style |= FStyle;
}

String TSkinEditField::Text() const
{
    if (!HandleAllocated())
        return FCaption;
    HWND window = const_cast<TSkinEditField*>(this)->Handle();
    int length = GetWindowTextLengthW(window);
    std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(window, buffer.data(), length + 1);
    return FromWStr(buffer.data(), static_cast<size_t>(std::max(0, length)));
}

void TSkinEditField::SetText(const String& value)
{
    if (HandleAllocated() && Text() != value)
        FCaption.clear(); // the window's text may have been typed over: set it again
    SetCaption(value);
}

HFONT TSkinEditField::FontForDpi(UINT)
{
    return FHost.Painter().ElementFont(FHost.Element());
}

void TSkinEditField::SkinChanged()
{
    if (HandleAllocated()) {
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(FontForDpi(CurrentDpi())), TRUE);
        InvalidateRect(Handle(), nullptr, TRUE);
    }
}

void TSkinEditField::WndProc(TMessage& message)
{
    if (OnMessage && OnMessage(message))
        return;
    switch (message.Msg) {
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC: {
        // The host's element colours; the stock DC brush takes the fill colour.
        const TSkinElement& element = FHost.Element();
        const TSkinState state = Enabled() ? TSkinState::Normal : TSkinState::Disabled;
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        TColor fill = element.Fill[state] == kClNone ? RGBColor(255, 255, 255) : element.Fill[state];
        SetTextColor(dc, element.Text[state] == kClNone ? 0 : element.Text[state]);
        SetBkColor(dc, fill);
        SetDCBrushColor(dc, fill);
        message.Result = reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
        message.Handled = true;
        return;
    }
    default: break;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
