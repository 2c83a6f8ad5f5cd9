// TfrmMain: the program's main window. A small skinned window of fixed size that lives in the
// notification area: the status panel across its top, Hide IP / Stop Hide, the country choice
// with the target country's flag and the options link; the tray menu offers every command. It
// owns what every window shares (skin data, language data, the engine), the proxy pool and the
// flag list; its creation sets the program in motion and its destruction leaves every browser
// with a direct connection.
#pragma once

#include "framework/config/CLForm.h"
#include "framework/config/CLMultiLang.h"
#include "framework/engine/CLEngine.h"
#include "framework/engine/SingleDownloader.h"
#include "framework/rtl/DateTime.h"
#include "framework/ui/Actions.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Image.h"
#include "framework/ui/PngImageList.h"
#include "framework/ui/SkinButton.h"
#include "framework/ui/SkinData.h"
#include "framework/ui/SkinForm.h"
#include "framework/ui/SkinLabel.h"
#include "framework/ui/SkinPanel.h"
#include "framework/ui/SkinPopupMenu.h"
#include "framework/ui/Timers.h"
#include "framework/ui/TrayIcon.h"
#include "proxy/uProxyManager.h"

#include <memory>

namespace vp {

class TLangWindowList;
class TfrmFlashForm;

class TfrmMain : public TForm {
    VP_CLASS(TfrmMain)
public:
    explicit TfrmMain(TComponent* aOwner);
    ~TfrmMain() override;

    // ---- Components ----
    TspSkinPanel* pnlFlash;
    TspSkinButton* btnHide;
    TspSkinButton* btnChooseIP;
    TImage* imgFL;
    TspSkinLinkLabel* lblOptions;
    TCLEngine* CLEngine;
    TspCompressedStoredSkin* spCompressedStoredSkin;
    TspResourceStrData* spResourceStrData;
    TspSkinData* spSkinData;
    TCLForm* CLForm;
    // The language data every window of the program shares, and this window's binder.
    TCLMultiLangData* CLMultiLangData;
    TCLMultiLang* CLMultiLang;
    TspDynamicSkinForm* spDynamicSkinForm;
    TActionManager* actmgr;
    TAction* actStartHide;
    TAction* actStopHide;
    TAction* actChooseIPCountry;
    TAction* actSettings;
    TAction* actCheckIPInfo;
    TAction* actHelpCenter;
    TAction* actHomePage;
    TAction* actExit;
    TAction* actOpen;
    TAction* actAlwaysOnTop;
    TAction* actUpdate;
    TAction* actAbout;
    TTimer* tmrInit;
    TTimer* tmrChangeIP;
    TTimer* tmrTouch;
    TSingleDownloader* sdFlag;
    TspSkinPopupMenu* pmSys;
    TspSkinPopupMenu* pmTray;
    // The tray menu's Hide IP item, bound to the same action as btnHide.
    TMenuItem* StartHide1;
    TspTrayIcon* spTrayIcon;
    TPngImageList* imglstFlag;

    // ---- State ----
    bool FLocalInfoGot = false;
    TDateTime FLastTouchTime = 0;
    // When Hide IP or Stop Hide last got past the one-second rule; 0 before the first.
    TDateTime FLastActionTime = 0;
    // The colour of the verifying status line (0x00BBGGRR).
    uint32_t FTextColor = 0;
    std::unique_ptr<TProxyManager> FProxyManager;
    // The last proxy change: the rotation clock.
    TDateTime FLastChangeIPTime = 0;

    // ---- Window ----
    void FormCreate(TObject* Sender);
    void FormDestroy(TObject* Sender);
    void PlaceWindow();
    void PlaceFlashForm(TWinControl* aContainer);
    void ClearAllWindow();
    void SetAOT();
    void spDynamicSkinFormObjectCommand(TspFormCommand Command, bool& bCancel);

    // ---- Flags ----
    void LoadFlagPNGList();
    // aCountryName holds a country code.
    void LoadFlag(const String& aCountryName);
    // False when the file is no picture; the flag shown stays then.
    bool LoadPNG(const String& aFileName);
    // The first flag named CN without regard to case; -1 when there is none.
    int GetImageIndex(const String& CN) const;
    void ResetCountryDisp();
    void sdFlagDoneFile(TObject* Sender, const String& strFileName, int32_t iFileSize);
    // The flag picture of a country for the status panel: the shipped one, with aDownloaded
    // one downloaded earlier into the user data folder, else its web address ("" for a code
    // that is no plain code).
    String FlagAddress(const String& aCountryCode, bool aDownloaded);

    // ---- Location ----
    void CheckLocalIP();
    void LocalInfoReceived(TProxyManager* Sender);

    // ---- Hide IP and Stop Hide ----
    void actStartHideExecute(TObject* Sender);
    void actStopHideExecute(TObject* Sender);
    bool IsHiding() const;

    // ---- Timers ----
    void tmrInitTimer(TObject* Sender);
    void tmrChangeIPTimer(TObject* Sender);
    void tmrTouchTimer(TObject* Sender);
    void ResetChangeIPTime();
    void TestIPfromLocal();

    // ---- Commands ----
    void actChooseIPCountryExecute(TObject* Sender);
    void actSettingsExecute(TObject* Sender);
    void actCheckIPInfoExecute(TObject* Sender);
    void actHelpCenterExecute(TObject* Sender);
    void actHomePageExecute(TObject* Sender);
    void actExitExecute(TObject* Sender);
    void actOpenExecute(TObject* Sender);
    void actAlwaysOnTopExecute(TObject* Sender);
    void actUpdateExecute(TObject* Sender);
    void actAboutExecute(TObject* Sender);
    void imgFLClick(TObject* Sender);
    void lblOptionsClick(TObject* Sender);
    void spTrayIconClick(TObject* Sender);

private:
    void BuildMenus();
    TMenuItem* AddMenuItem(TspSkinPopupMenu* menu, const String& name, TAction* action);
    // The one-second rule shared by Hide IP and Stop Hide: false (after telling the user)
    // when the last accepted command was less than a whole second ago.
    bool PassesActionRule();
    // Stop Hide itself; the destruction handler runs it without the rule.
    void StopHide(bool applyRule);
    void ApplyProxy(const String& aProxy);
    void BindHideAction(TAction* action);
    int ShowAppMessage(const String& key, TMsgDlgType dlgType, int32_t showAgainNumber);
    TfrmFlashForm* Panel() const;
};

extern TfrmMain* frmMain;

// Adds the program's windows (the main window and the verifying window) to the translator's list.
void RegisterAppLangWindows(TLangWindowList& windows);

} // namespace vp
