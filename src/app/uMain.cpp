#include "app/uMain.h"

#include "app/uFlashForm.h"
#include "app/uIPsTesting.h"
#include "browsers/FirefoxBridgeWin.h"
#include "dialogs/uChooseIPCountry.h"
#include "dialogs/uSettings.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/LangWindowList.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Menus.h"

namespace vp {

TfrmMain* frmMain = nullptr;

namespace {

// The window's client area.
constexpr int kClientWidth = 474;
constexpr int kClientHeight = 236;
constexpr uint32_t kWhite = 0xFFFFFF;

} // namespace

const TClassInfo& TfrmMain::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmMain, TForm>(u"TfrmMain").Build();
    return info;
}

TfrmMain::TfrmMain(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmMain");
    BorderStyle = TBorderStyle::bsSingle;
    Position = TPosition::poScreenCenter;
    // Tahoma at 11 pixels comes with the skin's fonts.
    SetClientSize(kClientWidth, kClientHeight);

    spCompressedStoredSkin = new TspCompressedStoredSkin(this);
    spCompressedStoredSkin->SetName(u"spCompressedStoredSkin");
    LoadBuiltinSkin(*spCompressedStoredSkin);
    spResourceStrData = new TspResourceStrData(this);
    spResourceStrData->SetName(u"spResourceStrData");
    spSkinData = new TspSkinData(this);
    spSkinData->SetName(u"spSkinData");
    spSkinData->SetCompressedStoredSkin(spCompressedStoredSkin);
    spSkinData->SetResourceStrData(spResourceStrData);

    // The title is the engine's: the program name and the version.
    CLEngine = new TCLEngine(this);
    CLEngine->SetName(u"CLEngine");
    CLForm = new TCLForm(this);
    CLForm->SetName(u"CLForm");

    CLMultiLangData = new TCLMultiLangData(this);
    CLMultiLangData->SetName(u"CLMultiLangData");
    CLMultiLangData->SetExcludeEmptyProp(false);
    CLMultiLangData->SetExcludeNumberEndProps(false);
    CLMultiLangData->SetAutoApply(true);
    CLMultiLangData->SetExcludeWithAction(false);
    // The window keeps the built-in exclusion patterns.
    CLMultiLangData->SetExcludeProps(DefaultExcludeProps());
    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");
    CLMultiLang->SetLanguageData(CLMultiLangData);

    actmgr = new TActionManager(this);
    actmgr->SetName(u"actmgr");
    auto action = [this](TAction*& field, const char16_t* name, const char16_t* caption,
                      void (TfrmMain::*handler)(TObject*)) {
        field = new TAction(this);
        field->SetName(name);
        field->SetCaption(caption);
        field->SetActionList(actmgr);
        field->OnExecute = [this, handler](TObject* Sender) { (this->*handler)(Sender); };
    };
    action(actStartHide, u"actStartHide", u"&Hide IP", &TfrmMain::actStartHideExecute);
    actStartHide->SetHint(u"Hide IP");
    action(actStopHide, u"actStopHide", u"&Stop Hide", &TfrmMain::actStopHideExecute);
    action(actChooseIPCountry, u"actChooseIPCountry", u"Choose &IP Country", &TfrmMain::actChooseIPCountryExecute);
    action(actSettings, u"actSettings", u"Se&ttings", &TfrmMain::actSettingsExecute);
    action(actCheckIPInfo, u"actCheckIPInfo", u"Check IP I&nfo", &TfrmMain::actCheckIPInfoExecute);
    action(actHelpCenter, u"actHelpCenter", u"&Help Center", &TfrmMain::actHelpCenterExecute);
    action(actHomePage, u"actHomePage", u"Ho&me Page", &TfrmMain::actHomePageExecute);
    action(actExit, u"actExit", u"&Exit", &TfrmMain::actExitExecute);
    action(actOpen, u"actOpen", u"&Open...", &TfrmMain::actOpenExecute);
    action(actAlwaysOnTop, u"actAlwaysOnTop", u"Always on top", &TfrmMain::actAlwaysOnTopExecute);
    action(actUpdate, u"actUpdate", u"Update...", &TfrmMain::actUpdateExecute);
    action(actAbout, u"actAbout", u"About...", &TfrmMain::actAboutExecute);

    pnlFlash = NewSkinControl<TspSkinPanel>(this, this, u"pnlFlash", spSkinData);
    pnlFlash->SetBounds(0, 0, 474, 180);
    pnlFlash->SetAlign(TAlign::alTop);

    btnHide = NewSkinControl<TspSkinButton>(this, this, u"btnHide", spSkinData);
    btnHide->SetBounds(8, 186, 124, 39);
    btnHide->SetAction(actStartHide);

    btnChooseIP = NewSkinControl<TspSkinButton>(this, this, u"btnChooseIP", spSkinData);
    btnChooseIP->SetBounds(138, 186, 124, 39);
    btnChooseIP->SetAction(actChooseIPCountry);
    btnChooseIP->SetCaption(u"Select &Fake Location");

    imgFL = new TImage(this);
    imgFL->SetName(u"imgFL");
    imgFL->SetParent(this);
    imgFL->SetBounds(270, 181, 48, 48);
    imgFL->SetCursor(TCursor::crHandPoint);
    imgFL->SetTransparent(true);
    imgFL->SetHint(u"Flag of fake location");
    imgFL->SetShowHint(false);
    imgFL->OnClick = [this](TObject* Sender) { imgFLClick(Sender); };

    lblOptions = NewSkinControl<TspSkinLinkLabel>(this, this, u"lblOptions", spSkinData);
    lblOptions->SetLeft(414);
    lblOptions->SetTop(211);
    lblOptions->SetCaption(u"Options");
    lblOptions->OnClick = [this](TObject* Sender) { lblOptionsClick(Sender); };

    auto timer = [this](TTimer*& field, const char16_t* name, unsigned interval, bool enabled,
                     void (TfrmMain::*handler)(TObject*)) {
        field = new TTimer(this);
        field->SetName(name);
        field->SetInterval(interval);
        field->SetEnabled(enabled);
        field->OnTimer = [this, handler](TObject* Sender) { (this->*handler)(Sender); };
    };
    timer(tmrInit, u"tmrInit", 1000, true, &TfrmMain::tmrInitTimer);
    timer(tmrChangeIP, u"tmrChangeIP", 10000, false, &TfrmMain::tmrChangeIPTimer);
    timer(tmrTouch, u"tmrTouch", 300000, false, &TfrmMain::tmrTouchTimer);

    sdFlag = new TSingleDownloader(this);
    sdFlag->SetName(u"sdFlag");
    sdFlag->SetAcceptTypes(u"*/*");
    sdFlag->SetBinaryData(true);
    sdFlag->SetUseCache(false);
    sdFlag->SetWaitThread(false);
    sdFlag->SetHttpCharset(KAnsi);
    sdFlag->OnDoneFile = [this](TObject* Sender, const String& strFileName, int32_t iFileSize) {
        sdFlagDoneFile(Sender, strFileName, iFileSize);
    };

    BuildMenus();

    spTrayIcon = new TspTrayIcon(this);
    spTrayIcon->SetName(u"spTrayIcon");
    spTrayIcon->SetHint(u"Shadeway");
    spTrayIcon->SetPopupMenu(pmTray);
    spTrayIcon->OnClick = [this](TObject* Sender) { spTrayIconClick(Sender); };

    spDynamicSkinForm = new TspDynamicSkinForm(this);
    spDynamicSkinForm->SetName(u"spDynamicSkinForm");
    spDynamicSkinForm->SetSkinData(spSkinData);
    spDynamicSkinForm->SetSysMenuButton(true);
    spDynamicSkinForm->SetMinimizeButton(true);
    spDynamicSkinForm->SetMaximizeButton(false);
    spDynamicSkinForm->SetRollUpButton(false);
    spDynamicSkinForm->SetSizeable(false);
    spDynamicSkinForm->SetSysMenu(pmSys);
    spDynamicSkinForm->SetTrayIcon(spTrayIcon);
    spDynamicSkinForm->SetAlwaysShowTrayIcon(true);
    spDynamicSkinForm->OnSkinFormObjectCommand = [this](TspFormCommand Command, bool& bCancel) {
        spDynamicSkinFormObjectCommand(Command, bCancel);
    };

    imglstFlag = new TPngImageList(this);
    imglstFlag->SetName(u"imglstFlag");
    imglstFlag->SetWidth(48);
    imglstFlag->SetHeight(48);

    CLEngine->SetLanguageData(CLMultiLangData);
    CLEngine->SetSkinData(spSkinData);
    CLEngine->SetSkinForm(spDynamicSkinForm);

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
    OnDestroy = [this](TObject* Sender) { FormDestroy(Sender); };
}

TfrmMain::~TfrmMain()
{
    // The handler works on this window's own fields, which are gone by the time the form's
    // destructor would call it.
    TNotifyEvent handler = std::move(OnDestroy);
    OnDestroy = nullptr;
    if (handler)
        GuardCall([&] { handler(this); });
    if (frmMain == this)
        frmMain = nullptr;
}

TMenuItem* TfrmMain::AddMenuItem(TspSkinPopupMenu* menu, const String& name, TAction* action)
{
    auto* item = new TMenuItem(this);
    item->SetName(name);
    if (action)
        item->SetAction(action);
    else
        item->SetCaption(u"-");
    menu->Items()->Add(item);
    return item;
}

void TfrmMain::BuildMenus()
{
    pmSys = new TspSkinPopupMenu(this);
    pmSys->SetName(u"pmSys");
    pmSys->SetSkinData(spSkinData);
    AddMenuItem(pmSys, u"AlwaysOnTop1", actAlwaysOnTop);
    AddMenuItem(pmSys, u"N1", nullptr);
    AddMenuItem(pmSys, u"Settings1", actSettings);
    AddMenuItem(pmSys, u"Update1", actUpdate);
    AddMenuItem(pmSys, u"N2", nullptr);
    AddMenuItem(pmSys, u"HomePage1", actHomePage);
    AddMenuItem(pmSys, u"HelpCenter1", actHelpCenter);
    AddMenuItem(pmSys, u"About1", actAbout);

    pmTray = new TspSkinPopupMenu(this);
    pmTray->SetName(u"pmTray");
    pmTray->SetSkinData(spSkinData);
    AddMenuItem(pmTray, u"Open1", actOpen);
    StartHide1 = AddMenuItem(pmTray, u"StartHide1", actStartHide);
    AddMenuItem(pmTray, u"CheckIPInfo1", actCheckIPInfo);
    AddMenuItem(pmTray, u"ChooseIPCountry1", actChooseIPCountry);
    AddMenuItem(pmTray, u"N3", nullptr);
    AddMenuItem(pmTray, u"Settings2", actSettings);
    AddMenuItem(pmTray, u"Update2", actUpdate);
    AddMenuItem(pmTray, u"N4", nullptr);
    AddMenuItem(pmTray, u"HomePage2", actHomePage);
    AddMenuItem(pmTray, u"HelpCenter2", actHelpCenter);
    AddMenuItem(pmTray, u"About2", actAbout);
    AddMenuItem(pmTray, u"Exit1", actExit);
}

// ---- Creation and destruction ----

void TfrmMain::FormCreate(TObject*)
{
    TCLSettings& settings = GetCLSettings();
    String icon = GetAppPath() + u"res\\icon.ico";
    if (FileExists(icon) && spTrayIcon->LoadIconFromFile(icon)) {
        spTrayIcon->SetEnabled(false);
        spTrayIcon->SetEnabled(true);
        spTrayIcon->SetVisible(false);
        spTrayIcon->SetVisible(true);
    }

    FTextColor = SameText(settings.GetSettingString(u"App.Name"), u"Cloakwell") ? kWhite : 0;

    FProxyManager = std::make_unique<TProxyManager>(settings);
    FProxyManager->FOnGetCurrentLocalInfo = [this](TProxyManager* Sender) { LocalInfoReceived(Sender); };

    PlaceWindow();
    // Every start clears the proxy from all browsers; the rule lets the first command through.
    actStopHideExecute(this);

    FLocalInfoGot = false;
    FProxyManager->GetCurrentLocalInfo();
    Panel()->SetTextInfo(CLEngine->GetAppString(u"FLSMsg.Verifing"), FTextColor);

    if (IsFirefoxInstalled() && !settings.GetSettingBool(u"FFEXT.INSTALLED")) {
        InstallFirefoxExtension();
        settings.SetSettingBool(u"FFEXT.INSTALLED", true);
        if (IsFirefoxRunning())
            ShowAppMessage(u"MSGBox.FFRestart", TMsgDlgType::mtInformation, 0);
    }

    SetAOT();
    ResetChangeIPTime();
    FLastActionTime = Now();
    LoadFlagPNGList();

    // The stored size is the window's, frame included; the client area gets what the frame
    // leaves of it.
    int width = settings.GetSettingInteger(u"MainForm.Width");
    int height = settings.GetSettingInteger(u"MainForm.Height");
    if (width > 0 || height > 0) {
        RECT window{};
        GetWindowRect(Handle(), &window);
        const UINT dpi = WindowDpi(Handle());
        const int frameWidth = UnscaleFromDpi(window.right - window.left, dpi) - ClientWidth();
        const int frameHeight = UnscaleFromDpi(window.bottom - window.top, dpi) - ClientHeight();
        SetClientSize(width > 0 ? width - frameWidth : ClientWidth(), height > 0 ? height - frameHeight : ClientHeight());
    }
}

void TfrmMain::FormDestroy(TObject*)
{
    // Every normal end leaves the browsers with direct connections, however recent the last
    // command was.
    StopHide(false);
    ClearAllWindow();
    FProxyManager.reset();
}

void TfrmMain::PlaceWindow()
{
    PlaceFlashForm(pnlFlash);
}

void TfrmMain::PlaceFlashForm(TWinControl* aContainer)
{
    auto* panel = NewForm<TfrmFlashForm>(this);
    panel->OnCheckIPInfo = [this](const String& strURL) { CLEngine->ShowPageByURL(strURL); };
    panel->OnHomePage = [this](const String& strPage) { CLEngine->ShowPage(strPage); };
    panel->SetParent(aContainer);
    frmFlashForm = panel;
    panel->Show();
}

void TfrmMain::ClearAllWindow()
{
    if (!frmFlashForm)
        return;
    TfrmFlashForm* panel = frmFlashForm;
    panel->SetParent(nullptr);
    frmFlashForm = nullptr;
    delete panel;
}

TfrmFlashForm* TfrmMain::Panel() const
{
    return frmFlashForm;
}

int TfrmMain::ShowAppMessage(const String& key, TMsgDlgType dlgType, int32_t showAgainNumber)
{
    return CLEngine->ShowMessageEx(key, TStringList(), showAgainNumber, dlgType, mbOK);
}

void TfrmMain::SetAOT()
{
    bool onTop = GetCLSettings().GetSettingBool(u"AlwaysOnTop");
    actAlwaysOnTop->SetChecked(onTop);
    SetTopmost(Handle(), onTop);
}

void TfrmMain::spDynamicSkinFormObjectCommand(TspFormCommand Command, bool& bCancel)
{
    switch (Command) {
    case TspFormCommand::cmClose: {
        // While Windows shuts down or the user logs off the window closes like any other.
        if (CLEngine->GetSessionEnding())
            return;
        ShowAppMessage(u"MSGBox.CloseNotify", TMsgDlgType::mtInformation, 1);
        RECT from{};
        GetWindowRect(Handle(), &from);
        spDynamicSkinForm->MinimizeWindowToTray();
        const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        RECT to{screenWidth - 1, screenHeight - 1, screenWidth, screenHeight};
        DrawAnimatedRects(Handle(), IDANI_CAPTION, &from, &to);
        bCancel = true;
        return;
    }
    case TspFormCommand::cmMaximize:
    case TspFormCommand::cmRollUp: bCancel = true; return;
    case TspFormCommand::cmMinimize:
    case TspFormCommand::cmRestore:
    case TspFormCommand::cmSysMenu:
    case TspFormCommand::cmDefault:
    case TspFormCommand::cmMinimizeToTray: return;
    }
}

// ---- Commands ----

void TfrmMain::actChooseIPCountryExecute(TObject*)
{
    if (CLEngine->AppWaitFirstUpdate() && FLocalInfoGot) {
        std::unique_ptr<TfrmChooseIPCountry> chooser(
            NewForm<TfrmChooseIPCountry>(this, FProxyManager.get(), imglstFlag));
        if (chooser->ShowModal() == mrOk) {
            ResetCountryDisp();
            actStartHideExecute(this);
        }
        return;
    }
    ShowAppMessage(u"MSGBox.CHKNET", TMsgDlgType::mtError, 0);
    FProxyManager->GetCurrentLocalInfo();
}

void TfrmMain::actSettingsExecute(TObject*)
{
    {
        std::unique_ptr<TfrmSettings> settings(NewForm<TfrmSettings>(this));
        settings->ShowModal();
    }
    ResetChangeIPTime();
}

void TfrmMain::actCheckIPInfoExecute(TObject*)
{
    CLEngine->ShowPageByURL(GetCLSettings().GetSettingString(u"URL.CheckIP"));
}

void TfrmMain::actHelpCenterExecute(TObject*)
{
    CLEngine->ShowPage(u"help");
}

void TfrmMain::actHomePageExecute(TObject*)
{
    CLEngine->ShowPage(u"home");
}

void TfrmMain::actExitExecute(TObject*)
{
    Close();
}

void TfrmMain::actOpenExecute(TObject*)
{
    spDynamicSkinForm->RestoreFromTray();
}

void TfrmMain::actAlwaysOnTopExecute(TObject*)
{
    TCLSettings& settings = GetCLSettings();
    settings.SetSettingBool(u"AlwaysOnTop", !settings.GetSettingBool(u"AlwaysOnTop"));
    SetAOT();
}

void TfrmMain::actUpdateExecute(TObject*)
{
    CLEngine->AppUpdate(true);
}

void TfrmMain::actAboutExecute(TObject*)
{
    CLEngine->AppAbout();
}

void TfrmMain::imgFLClick(TObject*)
{
    actChooseIPCountry->Execute();
}

void TfrmMain::lblOptionsClick(TObject*)
{
    actSettings->Execute();
}

void TfrmMain::spTrayIconClick(TObject*)
{
    actOpen->Execute();
}

void RegisterAppLangWindows(TLangWindowList& windows)
{
    windows.Add(u"TfrmMain", [] { return std::unique_ptr<TComponent>(new TfrmMain(nullptr)); });
    windows.Add(u"TfrmTesting", [] { return std::unique_ptr<TComponent>(new TfrmTesting(nullptr)); });
}

} // namespace vp
