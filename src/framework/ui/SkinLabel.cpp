#include "framework/ui/SkinLabel.h"

#include <shellapi.h>

#include "framework/rtl/WinText.h"
#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

// ---- TspSkinStdLabel ----

const TClassInfo& TspSkinStdLabel::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspSkinStdLabel, TspSkinControl>(u"TspSkinStdLabel")
                                       .Other(u"AutoSize", u"Boolean")
                                       .Other(u"WordWrap", u"Boolean")
                                       .Other(u"Transparent", u"Boolean")
                                       .Build();
    return info;
}

TspSkinStdLabel::TspSkinStdLabel(TComponent* aOwner) : TspSkinStdLabel(aOwner, skin::kLabel)
{
}

TspSkinStdLabel::TspSkinStdLabel(TComponent* aOwner, const String& skinDataName)
    : TspSkinControl(aOwner, skinDataName)
{
    FWidth = 65;
    FHeight = 13;
}

void TspSkinStdLabel::SetAutoSize(bool value)
{
    if (value == FAutoSize)
        return;
    FAutoSize = value;
    AdjustSize();
}

void TspSkinStdLabel::SetWordWrap(bool value)
{
    if (value == FWordWrap)
        return;
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TspSkinStdLabel::SetTransparent(bool value)
{
    if (value == FTransparent)
        return;
    FTransparent = value;
    Invalidate();
}

void TspSkinStdLabel::CaptionChanged()
{
    TspSkinControl::CaptionChanged();
    AdjustSize();
}

void TspSkinStdLabel::SkinLayoutChanged()
{
    AdjustSize();
}

void TspSkinStdLabel::CreateWnd()
{
    TspSkinControl::CreateWnd();
    AdjustSize();
}

UINT TspSkinStdLabel::TextFormat() const
{
    UINT format = FWordWrap ? DT_WORDBREAK | DT_EDITCONTROL : DT_SINGLELINE | DT_END_ELLIPSIS;
    return format | DT_TOP | PrefixFlags();
}

TSkinState TspSkinStdLabel::TextState() const
{
    return Enabled() ? TSkinState::Normal : TSkinState::Disabled;
}

void TspSkinStdLabel::AdjustSize()
{
    if (!FAutoSize)
        return;
    // Measured at the control's DPI and kept in designed units like every size.
    const UINT dpi = CurrentDpi();
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    RECT padding = painter.Padding(element);
    HDC screen = GetDC(nullptr);
    int wrapWidth = FWordWrap ? std::max<int>(1, ScaleToDpi(FWidth, dpi) - padding.left - padding.right) : 0;
    SIZE text = painter.MeasureText(screen, element, FCaption.empty() ? StringView(u" ") : StringView(FCaption), wrapWidth);
    ReleaseDC(nullptr, screen);
    int height = UnscaleFromDpi(text.cy + padding.top + padding.bottom, dpi);
    if (FWordWrap)
        SetBounds(FLeft, FTop, FWidth, height);
    else
        SetBounds(FLeft, FTop, UnscaleFromDpi(text.cx + padding.left + padding.right, dpi) + 1, height);
}

RECT TspSkinStdLabel::TextRect(HDC dc, const RECT& client) const
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    RECT padding = painter.Padding(element);
    RECT inner{client.left + padding.left, client.top + padding.top, client.right - padding.right,
        client.bottom - padding.bottom};
    SIZE text = painter.MeasureText(dc, element, FCaption, FWordWrap ? inner.right - inner.left : 0);
    int width = std::min<int>(text.cx, inner.right - inner.left);
    int left = inner.left;
    if (element.TextAlign == TSkinTextAlign::Center)
        left += (inner.right - inner.left - width) / 2;
    else if (element.TextAlign == TSkinTextAlign::Right)
        left = inner.right - width;
    return RECT{left, inner.top, left + width, std::min<LONG>(inner.bottom, inner.top + text.cy)};
}

void TspSkinStdLabel::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    const TSkinState state = TextState();
    if (!FTransparent)
        painter.DrawElement(dc, client, element, state);
    painter.DrawText(dc, client, element, state, FCaption, TextFormat());
}

void TspSkinStdLabel::WndProc(TMessage& message)
{
    if (message.Msg == WM_GETDLGCODE) {
        // Its mnemonic moves the focus on to the control after it.
        message.Result = DLGC_STATIC;
        message.Handled = true;
        return;
    }
    TspSkinControl::WndProc(message);
}

// ---- TspSkinLinkLabel ----

const TClassInfo& TspSkinLinkLabel::StaticClassInfo()
{
    // The address is the program's (from its settings), not a text of the language files.
    static const TClassInfo info =
        TClassBuilder<TspSkinLinkLabel, TspSkinStdLabel>(u"TspSkinLinkLabel").Other(u"URL", u"string").Build();
    return info;
}

TspSkinLinkLabel::TspSkinLinkLabel(TComponent* aOwner) : TspSkinStdLabel(aOwner, skin::kLinkLabel)
{
    TabStop = true;
    SetCursor(TCursor::crHandPoint);
    SetTransparent(true);
}

void TspSkinLinkLabel::Click()
{
    if (OnClick) {
        OnClick(this);
        return;
    }
    if (FURL.empty())
        return;
    HWND owner = HandleAllocated() ? GetAncestor(Handle(), GA_ROOT) : nullptr;
    ShellExecuteW(owner, L"open", WStr(FURL), nullptr, nullptr, SW_SHOWNORMAL);
}

void TspSkinLinkLabel::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    const TSkinState state = StateFor(FMouseDown || FKeyDown, MouseInControl(), false);
    if (!Transparent())
        painter.DrawElement(dc, client, element, state);
    painter.DrawText(dc, client, element, state, FCaption, TextFormat());
    if (Focused() && FocusCuesShown()) {
        RECT focus = TextRect(dc, client);
        InflateRect(&focus, 1, 0);
        focus.left = std::max(focus.left, client.left);
        focus.right = std::min(focus.right, client.right);
        SetTextColor(dc, element.Text[state] == kClNone ? 0 : element.Text[state]);
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void TspSkinLinkLabel::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE: {
        // A button to the dialog navigation (its mnemonic clicks it); it takes Enter itself.
        const auto* msg = reinterpret_cast<const MSG*>(message.LParam);
        message.Result = DLGC_BUTTON;
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            message.Result |= DLGC_WANTMESSAGE;
        message.Handled = true;
        return;
    }
    case BM_CLICK:
        Click();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_KEYDOWN:
        if (message.WParam == VK_RETURN) {
            Click();
            message.Handled = true;
            return;
        }
        if (message.WParam == VK_SPACE && !FKeyDown) {
            FKeyDown = true;
            Invalidate();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE && FKeyDown) {
            FKeyDown = false;
            Invalidate();
            Click();
            message.Handled = true;
            return;
        }
        break;
    case WM_KILLFOCUS: FKeyDown = false; break;
    case WM_LBUTTONDOWN:
        if (TabStop && Enabled())
            SetFocus();
        break;
    default: break;
    }
    TspSkinStdLabel::WndProc(message);
}

} // namespace vp
