#include "framework/ui/StdCtrls.h"

namespace vp {

// ---- TButton ----

const TClassInfo& TButton::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TButton, TWinControl>(u"TButton")
                                       .Other(u"Default", u"Boolean")
                                       .Other(u"Cancel", u"Boolean")
                                       .Other(u"ModalResult", u"TModalResult")
                                       .Build();
    return info;
}

TButton::TButton(TComponent* aOwner) : TWinControl(aOwner)
{
    TabStop = true;
    FWidth = 75;
    FHeight = 25;
}

void TButton::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = u"BUTTON";
    params.Style |= Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click()
{
    if (ModalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(ModalResult);
    if (OnClick)
        OnClick(this);
}

void TButton::WndProc(TMessage& message)
{
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
        message.Handled = true;
        Click();
        return;
    }
    TWinControl::WndProc(message);
}

// ---- TEdit ----

const TClassInfo& TEdit::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TEdit, TWinControl>(u"TEdit").Other(u"OnChange", u"TNotifyEvent").Build();
    return info;
}

TEdit::TEdit(TComponent* aOwner) : TWinControl(aOwner)
{
    TabStop = true;
    FWidth = 120;
    FHeight = 23;
}

void TEdit::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.SystemClass = u"EDIT";
    params.Style |= ES_AUTOHSCROLL;
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::WndProc(TMessage& message)
{
    if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
        message.Handled = true;
        if (OnChange)
            OnChange(this);
        return;
    }
    TWinControl::WndProc(message);
}

} // namespace vp
