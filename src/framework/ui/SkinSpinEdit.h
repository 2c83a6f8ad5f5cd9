// TspSkinSpinEdit: an integer field drawn from the skin ("SpinEdit", with up and down
// buttons drawn as ButtonSkinDataName + ".Up" / ".Down"). Only digits (and "-" where the
// range allows) can be typed; the buttons, the arrow keys and the wheel step by Increment
// within MinValue..MaxValue; typed text is held within the range when the field is left and
// when Enter is pressed. OnChange follows Value.
#pragma once

#include "framework/ui/SkinControl.h"
#include "framework/ui/SkinEditField.h"
#include "framework/ui/SpinValue.h"

#include <memory>

namespace vp {

class TspSkinSpinEdit : public TspSkinControl {
    VP_CLASS(TspSkinSpinEdit)
public:
    explicit TspSkinSpinEdit(TComponent* aOwner);
    ~TspSkinSpinEdit() override;

    int MinValue() const { return FRange.MinValue; }
    void SetMinValue(int value);
    int MaxValue() const { return FRange.MaxValue; }
    void SetMaxValue(int value);
    int Increment = 1;
    // The value the field stands for, what is being typed included (held within the range).
    int Value() const;
    void SetValue(int value);
    String ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& value);
    TNotifyEvent OnChange;

    // The field shows the value its text stands for (what leaving the field does).
    void CommitText();
    // Moves the value by steps times Increment.
    void Step(int steps);
    TSkinEditField& Field() { return *FField; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint(HDC dc, const RECT& client) override;
    void AdjustClientRect(RECT& rect) override;
    void SkinLayoutChanged() override;
    void MouseEnterLeave() override;

private:
    enum class TButton { None, Up, Down };
    bool FieldMessage(TMessage& message);
    void ShowValue();
    void NotifyChange();
    RECT ButtonRect(TButton button) const;
    TButton ButtonAt(POINT point) const;

    std::unique_ptr<TSkinEditField> FField;
    TSpinRange FRange{0, 100};
    int FValue = 0;
    int FNotified = 0;
    String FButtonSkinDataName;
    TButton FHot = TButton::None;
    TButton FPressed = TButton::None;
};

} // namespace vp
