// The skinned message box's own controls: a push button and the show-again check box, drawn
// with the skin painter. They serve the message box only (the toolkit's general controls are
// elsewhere); keyboard and mnemonics work through the form's dialog navigation.
#pragma once

#include "framework/ui/Forms.h"
#include "framework/ui/SkinData.h"

#include <memory>

namespace vp {

// What both controls share: the skin they draw from, the pointer and the keyboard state.
class TspMessageControl : public TWinControl {
    VP_CLASS(TspMessageControl)
public:
    explicit TspMessageControl(TComponent* aOwner);

    TspSkinData* SkinData = nullptr;
    String SkinDataName;
    // The element of the box behind the control, drawn around rounded corners.
    String BackgroundSkinDataName;

    // What a click, Space or the accelerator does.
    virtual void Click() = 0;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    virtual void Paint(HDC dc, const TSkinPainter& painter, const RECT& rect) = 0;
    virtual UINT DialogCode() const = 0;
    TSkinState State() const;
    // Accelerators and focus cues show once the keyboard has been used.
    bool HideAccelerators() const;
    bool HideFocus() const;
    const TSkinDefinition& Skin() const;
    TSkinPainter Painter() const;

private:
    void PaintWindow(HDC target);
    std::unique_ptr<TSkinResources> FFallback; // the built-in look, without skin data
    bool FHot = false;
    bool FPressed = false;
    bool FTracking = false;
};

class TspMessageButton : public TspMessageControl, public IDialogButton {
    VP_CLASS(TspMessageButton)
public:
    explicit TspMessageButton(TComponent* aOwner);

    TModalResult ModalResult = mrNone;
    bool Default = false;
    bool Cancel = false;
    bool IsDefaultButton() const override { return Default; }
    bool IsCancelButton() const override { return Cancel; }
    void Click() override;

protected:
    void Paint(HDC dc, const TSkinPainter& painter, const RECT& rect) override;
    UINT DialogCode() const override;
};

class TspMessageCheckBox : public TspMessageControl {
    VP_CLASS(TspMessageCheckBox)
public:
    explicit TspMessageCheckBox(TComponent* aOwner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    TNotifyEvent OnChange;
    void Click() override { SetChecked(!FChecked); }

protected:
    void Paint(HDC dc, const TSkinPainter& painter, const RECT& rect) override;
    UINT DialogCode() const override { return DLGC_BUTTON; }

private:
    bool FChecked = true;
};

} // namespace vp
