// The plain system controls: a push button and a one-line edit field. They are subclassed
// system windows, so they look and behave as the system draws them; the skinned controls
// build on the same routing.
#pragma once

#include "framework/ui/Forms.h"

namespace vp {

class TButton : public TWinControl, public IDialogButton {
    VP_CLASS(TButton)
public:
    explicit TButton(TComponent* aOwner);

    // Enter presses the default button of a form, Esc its cancel button.
    bool Default = false;
    bool Cancel = false;
    // Pressing the button sets this result on its form (a modal form then closes).
    TModalResult ModalResult = mrNone;

    bool IsDefaultButton() const override { return Default; }
    bool IsCancelButton() const override { return Cancel; }
    // What a press does: the form's result, then OnClick.
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

class TEdit : public TWinControl {
    VP_CLASS(TEdit)
public:
    explicit TEdit(TComponent* aOwner);

    String Text() const { return Caption(); }
    void SetText(const String& value) { SetCaption(value); }
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
};

} // namespace vp
