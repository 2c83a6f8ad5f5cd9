// TspSkinMessage: the skinned modal message box. MessageDlg makes a box of its own each time
// (icon by kind, word-wrapped text, the buttons of the set in the toolkit's texts, optionally
// the show-again check box), runs it modally and returns the pressed button's modal result.
// Like every modal window it asks the test responder first.
#pragma once

#include "framework/rtl/Component.h"
#include "framework/ui/Dialogs.h"

namespace vp {

class TspSkinData;

class TspSkinMessage : public TComponent {
    VP_CLASS(TspSkinMessage)
public:
    explicit TspSkinMessage(TComponent* aOwner);

    TspSkinData* SkinData() const { return FSkinData; }
    void SetSkinData(TspSkinData* value);
    // The elements of the box's body ("MessageBox"), its buttons ("Button"; the default one
    // draws as ".Default") and its text ("Label").
    String SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const String& value) { FSkinDataName = value; }
    String ButtonSkinDataName() const { return FButtonSkinDataName; }
    void SetButtonSkinDataName(const String& value) { FButtonSkinDataName = value; }
    String MessageLabelSkinDataName() const { return FMessageLabelSkinDataName; }
    void SetMessageLabelSkinDataName(const String& value) { FMessageLabelSkinDataName = value; }

    // The next boxes offer "Show this message again", ticked at first.
    bool ShowAgainCheckBox() const { return FShowAgainCheckBox; }
    void SetShowAgainCheckBox(bool value) { FShowAgainCheckBox = value; }
    // Whether the last box left the choice ticked (true when it offered none).
    bool ShowAgainChecked() const { return FShowAgainChecked; }

    // Shows a box and returns the modal result of the pressed button. An empty set gives an
    // OK button; defaultButton (one of the set) is the one Enter presses, the first of the
    // set when none is given. Esc presses Cancel, or the only button; with neither, Esc and
    // the close command do nothing. An empty caption gives the kind's name.
    TModalResult MessageDlg(const String& text, const String& caption, TMsgDlgType dlgType, TMsgDlgButtons buttons,
        TMsgDlgButtons defaultButton = 0);

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    TspSkinData* FSkinData = nullptr;
    String FSkinDataName;
    String FButtonSkinDataName;
    String FMessageLabelSkinDataName;
    bool FShowAgainCheckBox = false;
    bool FShowAgainChecked = true;
};

} // namespace vp
