#include "framework/ui/SkinSpinEdit.h"

#include <windowsx.h>

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 400;
constexpr UINT kRepeatMs = 60;

} // namespace

const TClassInfo& TspSkinSpinEdit::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinSpinEdit, TspSkinControl>(u"TspSkinSpinEdit")
            .Other(u"MinValue", u"Integer")
            .Other(u"MaxValue", u"Integer")
            .Other(u"Increment", u"Integer")
            .Other(u"Value", u"Integer")
            .WideText(u"ButtonSkinDataName", u"string", &TspSkinSpinEdit::ButtonSkinDataName,
                &TspSkinSpinEdit::SetButtonSkinDataName)
            .Other(u"OnChange", u"TNotifyEvent")
            .Build();
    return info;
}

TspSkinSpinEdit::TspSkinSpinEdit(TComponent* aOwner)
    : TspSkinControl(aOwner, skin::kSpinEdit),
      FField(std::make_unique<TSkinEditField>(*this, ES_AUTOHSCROLL)),
      FButtonSkinDataName(skin::kSpinButton)
{
    FWidth = 60;
    FHeight = 22;
    FClicksOnMouseUp = false;
    FField->SetCaption(IntToStr(FValue));
    FField->SetAlign(TAlign::alClient);
    FField->SetParent(this);
    FField->OnMessage = [this](TMessage& message) { return FieldMessage(message); };
}

TspSkinSpinEdit::~TspSkinSpinEdit()
{
    // The field goes first, while this window still exists.
    FField.reset();
}

void TspSkinSpinEdit::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TspSkinSpinEdit::SetMinValue(int value)
{
    FRange.MinValue = value;
    SetValue(FValue);
}

void TspSkinSpinEdit::SetMaxValue(int value)
{
    FRange.MaxValue = value;
    SetValue(FValue);
}

void TspSkinSpinEdit::SetButtonSkinDataName(const String& value)
{
    FButtonSkinDataName = value;
    Invalidate();
}

int TspSkinSpinEdit::Value() const
{
    return SpinValueFromText(FField->Text(), FRange, FValue);
}

void TspSkinSpinEdit::SetValue(int value)
{
    FValue = FRange.Clamp(value);
    ShowValue();
    NotifyChange();
}

void TspSkinSpinEdit::CommitText()
{
    SetValue(Value());
}

void TspSkinSpinEdit::Step(int steps)
{
    SetValue(SpinStep(Value(), Increment, steps, FRange));
    if (FField->HandleAllocated()) {
        const int length = GetWindowTextLengthW(FField->Handle());
        SendMessageW(FField->Handle(), EM_SETSEL, length, length);
    }
}

void TspSkinSpinEdit::ShowValue()
{
    String text = IntToStr(FValue);
    if (FField->Text() != text)
        FField->SetText(text);
}

void TspSkinSpinEdit::NotifyChange()
{
    const int value = Value();
    if (value == FNotified)
        return;
    FNotified = value;
    if (OnChange)
        OnChange(this);
}

bool TspSkinSpinEdit::FieldMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_CHAR:
        // Digits (and a sign where negative values are allowed); other keys go nowhere.
        if (!SpinAcceptsChar(static_cast<char16_t>(message.WParam), FRange)) {
            message.Result = 0;
            message.Handled = true;
            return true;
        }
        return false;
    case WM_KEYDOWN:
        if (message.WParam == VK_UP || message.WParam == VK_DOWN) {
            Step(message.WParam == VK_UP ? 1 : -1);
            message.Result = 0;
            message.Handled = true;
            return true;
        }
        return false;
    case WM_GETDLGCODE: {
        // Enter fixes the typed value before it reaches the window's default button.
        const auto* msg = reinterpret_cast<const MSG*>(message.LParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
            CommitText();
        return false;
    }
    case WM_MOUSEWHEEL:
        Step(GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA);
        message.Result = 0;
        message.Handled = true;
        return true;
    case WM_KILLFOCUS:
        CommitText();
        Invalidate();
        return false;
    case WM_SETFOCUS: Invalidate(); return false;
    case CN_COMMAND:
        if (HIWORD(message.WParam) == EN_CHANGE) {
            NotifyChange();
            message.Result = 0;
            message.Handled = true;
            return true;
        }
        return false;
    default: return false;
    }
}

void TspSkinSpinEdit::AdjustClientRect(RECT& rect)
{
    // The field: inside the frame and padding, left of the buttons, its text line centred.
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    RECT padding = painter.Padding(element);
    const int border = element.BorderWidth > 0 ? std::max(1, painter.Scale(element.BorderWidth)) : 0;
    rect.left += border + padding.left;
    rect.right -= border + painter.Scale(Skin().Metrics().SpinButtonWidth) + padding.right / 2;
    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, painter.ElementFont(element));
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const int line = metrics.tmHeight + 2;
    const int height = rect.bottom - rect.top;
    if (line < height) {
        rect.top += (height - line) / 2;
        rect.bottom = rect.top + line;
    }
    rect.right = std::max(rect.left, rect.right);
}

void TspSkinSpinEdit::SkinLayoutChanged()
{
    FField->SkinChanged();
    AlignControls();
}

RECT TspSkinSpinEdit::ButtonRect(TButton button) const
{
    RECT client{0, 0, 0, 0};
    if (HandleAllocated())
        GetClientRect(const_cast<TspSkinSpinEdit*>(this)->Handle(), &client);
    const TSkinElement& element = Element();
    const int border = element.BorderWidth > 0 ? std::max(1, ScaleValue(element.BorderWidth)) : 0;
    const int width = ScaleValue(Skin().Metrics().SpinButtonWidth);
    RECT column{client.right - border - width, client.top + border, client.right - border, client.bottom - border};
    const int middle = (column.top + column.bottom) / 2;
    if (button == TButton::Up)
        return RECT{column.left, column.top, column.right, middle};
    if (button == TButton::Down)
        return RECT{column.left, middle, column.right, column.bottom};
    return RECT{0, 0, 0, 0};
}

TspSkinSpinEdit::TButton TspSkinSpinEdit::ButtonAt(POINT point) const
{
    for (TButton button : {TButton::Up, TButton::Down}) {
        RECT rect = ButtonRect(button);
        if (PtInRect(&rect, point))
            return button;
    }
    return TButton::None;
}

void TspSkinSpinEdit::MouseEnterLeave()
{
    if (!MouseInControl())
        FHot = TButton::None;
    Invalidate();
}

void TspSkinSpinEdit::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = Element();
    const bool focused = FField->Focused();
    // A field shows that it has the focus whether or not the keyboard brought it there.
    TSkinState frame = !Enabled() ? TSkinState::Disabled
        : focused                 ? TSkinState::Focused
        : MouseInControl()        ? TSkinState::Hot
                                  : TSkinState::Normal;
    painter.DrawElement(dc, client, element, frame);
    for (TButton button : {TButton::Up, TButton::Down}) {
        const TSkinElement& part =
            Skin().Element(FButtonSkinDataName + (button == TButton::Up ? u".Up" : u".Down"));
        const TSkinState state = !Enabled() ? TSkinState::Disabled
            : FPressed == button           ? TSkinState::Pressed
            : FHot == button               ? TSkinState::Hot
                                           : TSkinState::Normal;
        RECT rect = ButtonRect(button);
        painter.DrawElement(dc, rect, part, state);
        painter.DrawElementGlyph(dc, rect, part, state);
    }
}

void TspSkinSpinEdit::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
        // The frame is not a stop of its own: the focus goes on to the field.
        if (FField->HandleAllocated())
            ::SetFocus(FField->Handle());
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_MOUSEMOVE: {
        TButton hot = ButtonAt(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
        if (hot != FHot) {
            FHot = hot;
            Invalidate();
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (FField->HandleAllocated())
            ::SetFocus(FField->Handle());
        FPressed = ButtonAt(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
        if (FPressed != TButton::None) {
            SetCapture(Handle());
            Step(FPressed == TButton::Up ? 1 : -1);
            SetTimer(Handle(), kRepeatTimer, kFirstRepeatMs, nullptr);
            Invalidate();
        }
        message.Result = 0;
        message.Handled = true;
        return;
    }
    case WM_TIMER:
        if (message.WParam == kRepeatTimer) {
            POINT point;
            GetCursorPos(&point);
            ScreenToClient(Handle(), &point);
            if (FPressed == TButton::None) {
                KillTimer(Handle(), kRepeatTimer);
            } else {
                if (ButtonAt(point) == FPressed)
                    Step(FPressed == TButton::Up ? 1 : -1);
                SetTimer(Handle(), kRepeatTimer, kRepeatMs, nullptr);
            }
            message.Handled = true;
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (FPressed != TButton::None)
            ReleaseCapture();
        break;
    case WM_CAPTURECHANGED:
        if (FPressed != TButton::None) {
            FPressed = TButton::None;
            KillTimer(Handle(), kRepeatTimer);
            Invalidate();
        }
        break;
    case WM_MOUSEWHEEL:
        Step(GET_WHEEL_DELTA_WPARAM(message.WParam) / WHEEL_DELTA);
        message.Result = 0;
        message.Handled = true;
        return;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
