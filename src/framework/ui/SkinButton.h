// TspSkinButton: a push button drawn from the skin ("Button"; a default button draws as
// "Button.Default"), with its hot, pressed, focused and disabled looks and the skin's glow
// while the pointer is on it (where the skin data allows glow). It is the system's BUTTON,
// owner-drawn, so Space, mnemonics, BM_CLICK and accessibility behave as on any button.
// Bound to an action it takes the action's caption, hint, enabled and visible states, and
// a click runs the action; binding it to another action changes caption and effect together.
#pragma once

#include "framework/ui/Actions.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinControl.h"

namespace vp {

class TspSkinButton : public TspSkinControl, public IDialogButton, public IActionClient {
    VP_CLASS(TspSkinButton)
public:
    explicit TspSkinButton(TComponent* aOwner);
    ~TspSkinButton() override;

    TAction* Action() const { return FAction; }
    void SetAction(TAction* value);
    // Enter presses the default button of a form, Esc its cancel button.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Pressing the button sets this result on its form (a modal form then closes).
    TModalResult ModalResult = mrNone;

    bool IsDefaultButton() const override { return FDefault; }
    bool IsCancelButton() const override { return FCancel; }
    // The form's result, then the action (or OnClick when there is none).
    void Click() override;
    void ActionChanged(TAction* action) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    bool Pressed() const;
    // Room around the face for the glow, which cannot be drawn outside the window.
    int GlowRoom() const;

    TAction* FAction = nullptr;
    bool FDefault = false;
    bool FCancel = false;
};

} // namespace vp
