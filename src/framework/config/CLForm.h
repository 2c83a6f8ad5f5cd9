// TCLForm: the window decorator. When its window (the owner) has loaded it can hand the
// engine's skin data to the window's skinned components, hand the engine's language data to
// the window's binders, and fix some properties of the window.
#pragma once

#include "framework/rtl/Component.h"

namespace vp {

class TCLForm : public TComponent {
    VP_CLASS(TCLForm)
public:
    explicit TCLForm(TComponent* aOwner);

    // At run time, in this order and each when its flag is set: ApplySkinData,
    // ApplyLanguageData, ApplyFormProperties.
    void Loaded() override;

    // Properties of the skin-data type ("TspSkinData") that hold nothing get the engine's.
    void ApplySkinData();
    // Binders (exactly TCLMultiLang) without language data get the engine's.
    void ApplyLanguageData();
    // A window is no longer scaled with the system font, no longer scrolls or sizes itself
    // and is placed centred on the main window.
    void ApplyFormProperties();

    bool RuntimeSetSkinData() const { return FRuntimeSetSkinData; }
    void SetRuntimeSetSkinData(bool value) { FRuntimeSetSkinData = value; }
    bool RuntimeSetLanguageData() const { return FRuntimeSetLanguageData; }
    void SetRuntimeSetLanguageData(bool value) { FRuntimeSetLanguageData = value; }
    bool RunTimeSetFormProperties() const { return FRunTimeSetFormProperties; }
    void SetRunTimeSetFormProperties(bool value) { FRunTimeSetFormProperties = value; }

private:
    bool FRuntimeSetLanguageData = false;
    bool FRuntimeSetSkinData = false;
    bool FRunTimeSetFormProperties = false;
};

// Gives a window the fixed properties of ApplyFormProperties; false when the component is no
// window. Only the Windows build has windows.
bool FixFormProperties(TComponent& component);

// The declared type of the skinned toolkit's skin data properties.
inline constexpr StringView kSkinDataTypeName = u"TspSkinData";

} // namespace vp
