// TspSkinMessageForm: the window of one skinned message box (TspSkinMessage makes it). It
// lays itself out around its text, draws the icon and the text, and copies its contents
// with Ctrl+C the way the system's box does.
#pragma once

#include "framework/rtl/Rect.h"
#include "framework/ui/Forms.h"

#include <vector>

namespace vp {

class TspDynamicSkinForm;
class TspMessageButton;
class TspMessageCheckBox;
class TspSkinData;

class TspSkinMessageForm : public TForm {
    VP_CLASS(TspSkinMessageForm)
public:
    struct TContent {
        String Text;
        String Caption;
        TMsgDlgType DlgType = TMsgDlgType::mtInformation;
        TMsgDlgButtons Buttons = mbOK;
        TMsgDlgButtons DefaultButton = 0; // 0: the first of the set
        bool ShowAgain = false;
        TspSkinData* SkinData = nullptr;
        String SkinDataName;
        String ButtonSkinDataName;
        String MessageLabelSkinDataName;
    };

    TspSkinMessageForm(TComponent* aOwner, const TContent& content);

    bool ShowAgainChecked() const { return FShowAgainChecked; }
    // What Ctrl+C puts on the clipboard: caption, text and buttons between dashed lines.
    String ClipboardText() const;
    // The box's buttons in their order, and the one for Esc (nullptr when Esc does nothing).
    const std::vector<TspMessageButton*>& Buttons() const { return FButtons; }
    TspMessageButton* EscapeButton() const { return FEscape; }
    TspDynamicSkinForm* SkinForm() const { return FSkinForm; }

protected:
    void WndProc(TMessage& message) override;
    void DescribeModalRequest(TModalRequest& request) const override;

private:
    void Arrange();
    void Paint(HDC dc);
    void CopyToClipboard();
    String IconElement() const;

    TContent FContent;
    TspDynamicSkinForm* FSkinForm = nullptr;
    std::vector<TspMessageButton*> FButtons;
    TspMessageButton* FEscape = nullptr;
    TspMessageCheckBox* FCheckBox = nullptr;
    mutable bool FShowAgainChecked = true; // the responder may change it through the request
    TRect FIconRect; // designed units
    TRect FTextRect;
};

} // namespace vp
