#include "framework/ui/SkinButton.h"

#include "framework/ui/SkinElementNames.h"

#include <algorithm>

namespace vp {

namespace {

constexpr StringView kDefaultPart = u".Default";

} // namespace

const TClassInfo& TspSkinButton::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TspSkinButton, TspSkinControl>(u"TspSkinButton")
            .Object(u"Action", u"TBasicAction", &TspSkinButton::Action, &TspSkinButton::SetAction)
            .Other(u"Default", u"Boolean")
            .Other(u"Cancel", u"Boolean")
            .Other(u"ModalResult", u"TModalResult")
            .Build();
    return info;
}

TspSkinButton::TspSkinButton(TComponent* aOwner) : TspSkinControl(aOwner, skin::kButton)
{
    TabStop = true;
    FWidth = 75;
    FHeight = 25;
    // The system button reports clicks itself (BN_CLICKED), from the mouse and the keyboard.
    FClicksOnMouseUp = false;
}

TspSkinButton::~TspSkinButton()
{
    if (FAction)
        FAction->UnregisterClient(this);
}

void TspSkinButton::CreateParams(TCreateParams& params)
{
    TspSkinControl::CreateParams(params);
    params.SystemClass = u"BUTTON";
    params.Style |= BS_OWNERDRAW;
}

void TspSkinButton::SetAction(TAction* value)
{
    if (value == FAction)
        return;
    if (FAction)
        FAction->UnregisterClient(this);
    FAction = value;
    if (FAction) {
        FAction->RegisterClient(this);
        ActionChanged(FAction);
    }
}

void TspSkinButton::ActionChanged(TAction* action)
{
    if (action != FAction)
        return;
    SetCaption(action->Caption());
    SetHint(action->Hint());
    SetEnabled(action->Enabled());
    SetVisible(action->Visible());
}

void TspSkinButton::Notification(TComponent* aComponent, TOperation operation)
{
    TspSkinControl::Notification(aComponent, operation);
    if (operation == TOperation::Remove && aComponent == FAction)
        FAction = nullptr;
}

void TspSkinButton::SetDefault(bool value)
{
    if (value == FDefault)
        return;
    FDefault = value;
    Invalidate();
}

void TspSkinButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(ModalResult);
    if (FAction)
        FAction->Execute();
    else if (OnClick)
        OnClick(this);
}

bool TspSkinButton::Pressed() const
{
    if (!HandleAllocated())
        return false;
    HWND window = const_cast<TspSkinButton*>(this)->Handle();
    return (SendMessageW(window, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
}

int TspSkinButton::GlowRoom() const
{
    const TSkinElement& element = Element();
    if (!SkinData() || !SkinData()->ShowButtonGlowFrame() || element.GlowSize <= 0)
        return 0;
    return Scaled(element.GlowSize);
}

void TspSkinButton::Paint(HDC dc, const RECT& client)
{
    TSkinPainter painter = Painter();
    const TSkinElement& element = FDefault ? Element(kDefaultPart) : Element();
    const TSkinState state = StateFor(Pressed(), MouseInControl(), Focused());
    RECT face = client;
    if (int room = GlowRoom(); room > 0) {
        InflateRect(&face, -room, -room);
        painter.DrawGlow(dc, face, element, state);
    }
    painter.DrawElement(dc, face, element, state);
    painter.DrawText(dc, face, element, state, FCaption,
        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | PrefixFlags());
}

void TspSkinButton::WndProc(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == BN_CLICKED) {
            message.Handled = true;
            Click();
            return;
        }
        break;
    case CN_DRAWITEM: {
        // The system button paints on its own when its state changes.
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        PaintTo(item->hDC);
        message.Result = TRUE;
        message.Handled = true;
        return;
    }
    case BM_SETSTYLE:
        // The dialog navigation moves the default look between buttons by their style; an
        // owner-drawn button keeps its style (its Default property decides the look).
        message.Result = 0;
        message.Handled = true;
        return;
    case BM_SETSTATE:
        DefaultHandler(message);
        Invalidate();
        return;
    case WM_GETDLGCODE:
        // A focused button takes Enter, as in a dialog; otherwise Enter goes to the default one.
        message.Result = DLGC_BUTTON | (FDefault || Focused() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        message.Handled = true;
        return;
    default: break;
    }
    TspSkinControl::WndProc(message);
}

} // namespace vp
