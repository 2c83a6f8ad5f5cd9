#include "framework/ui/SkinCheckBox.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr StringView kCheckedPart = u".Checked";

} // namespace

const TClassInfo& TspSkinCheckRadioBox::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinCheckRadioBox, TspSkinControl>(u"TspSkinCheckRadioBox").Other(u"Checked", u"Boolean").Build();
    return info;
}

TspSkinCheckRadioBox::TspSkinCheckRadioBox(TComponent* aOwner) : TspSkinControl(aOwner, skin::kCheckBox)
{
    TabStop = true;
    FWidth = 150;
    FHeight = 20;
}

void TspSkinCheckRadioBox::SetChecked(bool value)
{
    if (value == FChecked)
        return;
    FChecked = value;
    Invalidate();
}

void TspSkinCheckRadioBox::Click()
{
    SetChecked(!FChecked);
    TspSkinControl::Click();
}

void TspSkinCheckRadioBox::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& box = FChecked ? Element(kCheckedPart) : Element();
    const TSkinState state = StateFor(FMouseDown || FKeyDown, MouseInControl(), Focused());
    const TSkinMetrics& metrics = Skin().Metrics();
    const int size = painter.Scale(metrics.CheckBoxSize);
    const int top = client.top + (client.bottom - client.top - size) / 2;
    RECT square{client.left, top, client.left + size, top + size};
    painter.DrawElement(dc, square, box, state);
    painter.DrawElementGlyph(dc, square, box, state);

    // The caption in the unticked element's text colours, whatever the box shows.
    const TSkinElement& text = Element();
    const TSkinState textState = Enabled() ? TSkinState::Normal : TSkinState::Disabled;
    RECT caption{square.right + painter.Scale(metrics.CheckBoxSpacing), client.top, client.right, client.bottom};
    painter.DrawText(dc, caption, text, textState, FCaption,
        DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | PrefixFlags());
    if (Focused() && FocusCuesShown() && !FCaption.empty()) {
        SIZE extent = painter.MeasureText(dc, text, FCaption);
        RECT padding = painter.Padding(text);
        int left = caption.left + padding.left;
        int mid = (client.top + client.bottom) / 2;
        RECT focus{left - 1, mid - extent.cy / 2 - 1, std::min<LONG>(caption.right, left + extent.cx + 1),
            mid - extent.cy / 2 + extent.cy + 1};
        SetTextColor(dc, text.Text[textState] == kClNone ? 0 : text.Text[textState]);
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
}

void TspSkinCheckRadioBox::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DLGC_BUTTON;
        message.Handled = true;
        return;
    case BM_GETCHECK:
        message.Result = FChecked ? BST_CHECKED : BST_UNCHECKED;
        message.Handled = true;
        return;
    case BM_SETCHECK:
        SetChecked(message.WParam == BST_CHECKED);
        message.Result = 0;
        message.Handled = true;
        return;
    case BM_CLICK:
        if (Enabled())
            Click();
        message.Result = 0;
        message.Handled = true;
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (Enabled())
            SetFocus();
        break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE && !FKeyDown) {
            FKeyDown = true;
            Invalidate();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE && FKeyDown) {
            FKeyDown = false;
            Click();
            message.Handled = true;
            return;
        }
        break;
    case WM_KILLFOCUS:
        FKeyDown = false;
        break;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
