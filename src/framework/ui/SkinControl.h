// TspSkinControl: a control that draws from skin data. SkinData is the TspSkinData it draws
// from (the built-in look while there is none); SkinDataName names its skin element, and the
// parts it draws besides are named after it ("Button" draws a default button as
// "Button.Default"). It repaints, and lays itself out again, when the skin changes.
#pragma once

#include "framework/ui/CustomControl.h"
#include "framework/ui/SkinData.h"

namespace vp {

class TspSkinControl : public TCustomControl, public ISkinClient {
    VP_CLASS(TspSkinControl)
public:
    TspSkinControl(TComponent* aOwner, const String& skinDataName);
    ~TspSkinControl() override;

    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    String SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& value);

    void SkinChanged() override;

    // The skin drawn from now: the skin data's, or the built-in look.
    const TSkinDefinition& Skin() const;
    // The control's element, or one of its parts (SkinDataName + suffix).
    const TSkinElement& Element(StringView suffix = {}) const;
    TSkinPainter Painter() const;
    // Pixels of a designed length at the control's DPI.
    int Scaled(int designed) const { return ScaleValue(designed); }

protected:
    // The state an element is drawn in: disabled, pressed, hot, focused (when the keyboard
    // cues show), in that order of precedence.
    TSkinState StateFor(bool pressed, bool hot, bool focused) const;
    // The skin, the skin data or the DPI changed: sizes that follow them are worked out again.
    virtual void SkinLayoutChanged() { }

    void Notification(TComponent* aComponent, TOperation operation) override;
    void ConfigureTooltip(HWND tooltip) override;
    void DpiChanged(UINT dpi) override;

private:
    TspSkinData* FSkinData = nullptr;
    String FSkinDataName;
};

// A skinned control made as a window description makes one: owned by the window, named,
// placed on its parent and drawing from the given skin data (nullptr: the built-in look).
template <class T>
T* NewSkinControl(TComponent* aOwner, TWinControl* parent, const String& name, TspSkinData* skinData)
{
    auto* control = new T(aOwner);
    control->SetName(name);
    control->SetParent(parent);
    control->SetSkinData(skinData);
    return control;
}

} // namespace vp
