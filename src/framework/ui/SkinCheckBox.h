// TspSkinCheckRadioBox: a check box drawn from the skin: the square ("CheckBox"; ticked it
// draws as "CheckBox.Checked", whose glyph is the mark) and the caption beside it. A click,
// Space or its mnemonic flip Checked and run OnClick; setting Checked from the program does
// not. It answers BM_GETCHECK, BM_SETCHECK and BM_CLICK as a system check box does.
#pragma once

#include "framework/ui/SkinControl.h"

namespace vp {

class TspSkinCheckRadioBox : public TspSkinControl {
    VP_CLASS(TspSkinCheckRadioBox)
public:
    explicit TspSkinCheckRadioBox(TComponent* aOwner);

    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    // Flips the box, then OnClick: what the user's click does.
    void Click() override;

protected:
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;

private:
    bool FChecked = false;
    bool FKeyDown = false;
};

} // namespace vp
