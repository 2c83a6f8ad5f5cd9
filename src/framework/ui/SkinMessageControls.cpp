#include "framework/ui/SkinMessageControls.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

// ---- TspMessageControl ----

const TClassInfo& TspMessageControl::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspMessageControl, TWinControl>(u"TspMessageControl").Build();
    return info;
}

TspMessageControl::TspMessageControl(TComponent* aOwner)
    : TWinControl(aOwner), FFallback(std::make_unique<TSkinResources>(nullptr))
{
    TabStop = true;
}

void TspMessageControl::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Background = nullptr; // the control paints every pixel
}

const TSkinDefinition& TspMessageControl::Skin() const
{
    return SkinData ? SkinData->Skin() : FFallback->Skin();
}

TSkinPainter TspMessageControl::Painter() const
{
    return SkinData ? SkinData->Painter(CurrentDpi()) : TSkinPainter(*FFallback, CurrentDpi());
}

TSkinState TspMessageControl::State() const
{
    if (!Enabled())
        return TSkinState::Disabled;
    if (FPressed && FHot)
        return TSkinState::Pressed;
    if (FHot || FPressed)
        return TSkinState::Hot;
    if (Focused())
        return TSkinState::Focused;
    return TSkinState::Normal;
}

bool TspMessageControl::HideAccelerators() const
{
    HWND window = const_cast<TspMessageControl*>(this)->Handle();
    return SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL;
}

bool TspMessageControl::HideFocus() const
{
    HWND window = const_cast<TspMessageControl*>(this)->Handle();
    return SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS;
}

void TspMessageControl::PaintWindow(HDC target)
{
    RECT rect;
    GetClientRect(Handle(), &rect);
    if (rect.right <= 0 || rect.bottom <= 0)
        return;
    // Off the screen first: no flicker while the pointer moves over it.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, rect.right, rect.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    TSkinPainter painter = Painter();
    const TColor back = Skin().Element(BackgroundSkinDataName).Fill[TSkinState::Normal];
    painter.Fill(dc, rect, back != kClNone ? back : GetSysColor(COLOR_BTNFACE));
    Paint(dc, painter, rect);
    BitBlt(target, 0, 0, rect.right, rect.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

void TspMessageControl::WndProc(TMessage& message)
{
    HWND window = HandleAllocated() ? Handle() : nullptr;
    auto answer = [&](LRESULT result) {
        message.Result = result;
        message.Handled = true;
    };
    switch (message.Msg) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintWindow(dc);
        EndPaint(window, &paint);
        return answer(0);
    }
    case WM_PRINTCLIENT: PaintWindow(reinterpret_cast<HDC>(message.WParam)); return answer(0);
    case WM_ERASEBKGND: return answer(1);
    case WM_GETDLGCODE: return answer(DialogCode());
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
        DefaultHandler(message);
        InvalidateRect(window, nullptr, FALSE);
        return;
    case WM_MOUSEMOVE: {
        POINT point{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        RECT rect;
        GetClientRect(window, &rect);
        const bool inside = PtInRect(&rect, point);
        if (inside != FHot) {
            FHot = inside;
            InvalidateRect(window, nullptr, FALSE);
        }
        if (!FTracking) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window, 0};
            FTracking = TrackMouseEvent(&track);
        }
        return answer(0);
    }
    case WM_MOUSELEAVE:
        FTracking = false;
        FHot = false;
        InvalidateRect(window, nullptr, FALSE);
        return answer(0);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus();
        FPressed = true;
        FHot = true;
        SetCapture(window);
        InvalidateRect(window, nullptr, FALSE);
        return answer(0);
    case WM_LBUTTONUP: {
        const bool click = FPressed && FHot;
        FPressed = false;
        ReleaseCapture();
        InvalidateRect(window, nullptr, FALSE);
        if (click)
            Click();
        return answer(0);
    }
    case WM_CAPTURECHANGED:
        if (FPressed && reinterpret_cast<HWND>(message.LParam) != window) {
            FPressed = false;
            InvalidateRect(window, nullptr, FALSE);
        }
        return answer(0);
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FPressed = true;
            FHot = true;
            InvalidateRect(window, nullptr, FALSE);
            return answer(0);
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE && FPressed) {
            FPressed = false;
            FHot = false;
            InvalidateRect(window, nullptr, FALSE);
            Click();
            return answer(0);
        }
        break;
    case BM_CLICK: // the accelerator
        Click();
        return answer(0);
    case CN_COMMAND: // Enter, through the form's dialog navigation
        if (HIWORD(message.WParam) == BN_CLICKED) {
            Click();
            return answer(0);
        }
        break;
    default: break;
    }
    TWinControl::WndProc(message);
}

// ---- TspMessageButton ----

const TClassInfo& TspMessageButton::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TspMessageButton, TspMessageControl>(u"TspMessageButton").Build();
    return info;
}

TspMessageButton::TspMessageButton(TComponent* aOwner) : TspMessageControl(aOwner)
{
    SkinDataName = skin::kButton;
}

void TspMessageButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(ModalResult);
    if (OnClick)
        OnClick(this);
}

UINT TspMessageButton::DialogCode() const
{
    // Enter presses the button that has the focus, else the default one.
    return DLGC_BUTTON | (Default || Focused() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TspMessageButton::Paint(HDC dc, const TSkinPainter& painter, const RECT& rect)
{
    const TSkinElement& element = painter.Element(Default ? SkinDataName + u".Default" : SkinDataName);
    const TSkinState state = State();
    RECT body = rect;
    const bool glow = (!SkinData || SkinData->ShowButtonGlowFrame()) && element.GlowSize > 0;
    if (glow) {
        // The glow stays inside the window.
        const int size = painter.Scale(element.GlowSize);
        InflateRect(&body, -size, -size);
        painter.DrawGlow(dc, body, element, state);
    }
    painter.DrawElement(dc, body, element, state);
    painter.DrawText(dc, body, element, state, Caption(),
        DT_SINGLELINE | DT_VCENTER | DT_CENTER | (HideAccelerators() ? DT_HIDEPREFIX : 0));
}

// ---- TspMessageCheckBox ----

const TClassInfo& TspMessageCheckBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspMessageCheckBox, TspMessageControl>(u"TspMessageCheckBox").Build();
    return info;
}

TspMessageCheckBox::TspMessageCheckBox(TComponent* aOwner) : TspMessageControl(aOwner)
{
    SkinDataName = skin::kCheckBox;
}

void TspMessageCheckBox::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    if (HandleAllocated())
        InvalidateRect(Handle(), nullptr, FALSE);
    if (OnChange)
        OnChange(this);
}

void TspMessageCheckBox::Paint(HDC dc, const TSkinPainter& painter, const RECT& rect)
{
    const TSkinMetrics& metrics = painter.Skin().Metrics();
    const TSkinElement& box = painter.Element(SkinDataName);
    const TSkinElement& checked = painter.Element(SkinDataName + u".Checked");
    const TSkinElement& square = FChecked ? checked : box;
    const TSkinState state = State();
    const int size = painter.Scale(metrics.CheckBoxSize);
    const int top = (rect.top + rect.bottom - size) / 2;
    const RECT mark{rect.left + 1, top, rect.left + 1 + size, top + size};
    painter.DrawElement(dc, mark, square, state);
    if (FChecked)
        painter.DrawElementGlyph(dc, mark, square, state);
    RECT text{mark.right + painter.Scale(metrics.CheckBoxSpacing), rect.top, rect.right, rect.bottom};
    painter.DrawText(dc, text, box, state, Caption(),
        DT_SINGLELINE | DT_VCENTER | DT_LEFT | (HideAccelerators() ? DT_HIDEPREFIX : 0));
    if (Focused() && !HideFocus()) {
        SIZE extent = painter.MeasureText(dc, box, Caption());
        RECT cue{text.left - 2, (rect.top + rect.bottom - extent.cy) / 2 - 1,
            std::min<LONG>(text.left + extent.cx + 2, rect.right), (rect.top + rect.bottom + extent.cy) / 2 + 1};
        SetTextColor(dc, box.Text[TSkinState::Normal]);
        DrawFocusRect(dc, &cue);
    }
}

} // namespace vp
