// TfrmSettings: the modal options dialog. Its two pages show the user's options (start at
// log-on, update check at start, rotation and its interval, the browsers whose proxy is
// switched); OK saves them, Cancel writes nothing. Two buttons act at once: forgetting every
// do-not-show-again answer of the message boxes, and installing the Firefox extension again.
#pragma once

#include "framework/config/CLMultiLang.h"
#include "framework/ui/Forms.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinCheckBox.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinPageControl.h"
#include "framework/ui/SkinSpinEdit.h"

namespace vp {

class TfrmSettings : public TForm {
    VP_CLASS(TfrmSettings)
public:
    explicit TfrmSettings(TComponent* aOwner);

    // The boxes and the field from the settings; the field holds its value within 1..120.
    void LoadOptions();
    // Writes every option (and the log-on entry) in the order the program reads them.
    void SaveOptions();
    void btnOKClick(TObject* Sender);
    void btnClearShowAgainFlagClick(TObject* Sender);
    void btnReinstallFFClick(TObject* Sender);

    // The Firefox executable in a folder the user chose: folder + "\firefox.exe" when that
    // file exists, else "".
    static String FirefoxPathInFolder(StringView folder);

    TspDynamicSkinForm* spDynamicSkinForm;
    TCLMultiLang* CLMultiLang;
    TspSkinPageControl* pcSetting;
    TspSkinTabSheet* tsGeneral;
    TspSkinCheckRadioBox* cbAutoRun;
    TspSkinCheckRadioBox* cbAutoUpdate;
    TspSkinCheckRadioBox* cbChangeIP;
    TspSkinSpinEdit* edtChangeIPTime;
    TspSkinButton* btnClearShowAgainFlag;
    TspSkinTabSheet* tsBrowser;
    TspSkinStdLabel* lblBrowser;
    TspSkinCheckRadioBox* cbIE;
    TspSkinCheckRadioBox* cbFF;
    TspSkinCheckRadioBox* cbOpera;
    TspSkinButton* btnReinstallFF;
    TspSkinButton* btnOK;
    TspSkinButton* btnCancel;

private:
    void FormCreate(TObject* Sender);
    void ShowInformation(const String& strMsgName);
};

} // namespace vp
