#include "dialogs/uSettings.h"

#include "browsers/FirefoxBridgeWin.h"
#include "browsers/FirefoxLocator.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/FileUtils.h"

#include <algorithm>

namespace vp {

namespace {

constexpr int kMinChangeIPTime = 1;
constexpr int kMaxChangeIPTime = 120;

} // namespace

const TClassInfo& TfrmSettings::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmSettings, TForm>(u"TfrmSettings").Build();
    return info;
}

TfrmSettings::TfrmSettings(TComponent* aOwner) : TForm(aOwner)
{
    SetName(u"frmSettings");
    SetCaption(u"Options");
    BorderStyle = TBorderStyle::bsDialog;
    Position = TPosition::poMainFormCenter;
    SetClientSize(434, 280);

    TCLEngine* engine = GetCLEngine();
    TspSkinData* skinData = engine ? engine->SkinData() : nullptr;

    spDynamicSkinForm = NewDialogFrame(this, skinData, TDialogFrameButtons::SysMenuAndClose);

    CLMultiLang = new TCLMultiLang(this);
    CLMultiLang->SetName(u"CLMultiLang");
    CLMultiLang->SetLanguageData(engine ? engine->LanguageData() : nullptr);

    pcSetting = NewSkinControl<TspSkinPageControl>(this, this, u"pcSetting", skinData);
    pcSetting->SetBounds(8, 8, 418, 226);

    tsGeneral = NewSkinControl<TspSkinTabSheet>(this, this, u"tsGeneral", skinData);
    tsGeneral->SetCaption(u"General");
    tsGeneral->SetPageControl(pcSetting);
    cbAutoRun = NewSkinControl<TspSkinCheckRadioBox>(this, tsGeneral, u"cbAutoRun", skinData);
    cbAutoRun->SetBounds(12, 14, 390, 20);
    cbAutoRun->SetCaption(u"Automatically run Shadeway when I log on to Windows");
    cbAutoUpdate = NewSkinControl<TspSkinCheckRadioBox>(this, tsGeneral, u"cbAutoUpdate", skinData);
    cbAutoUpdate->SetBounds(12, 44, 390, 20);
    cbAutoUpdate->SetCaption(u"Automatically check updates when Shadeway starts");
    cbChangeIP = NewSkinControl<TspSkinCheckRadioBox>(this, tsGeneral, u"cbChangeIP", skinData);
    cbChangeIP->SetBounds(12, 73, 300, 22);
    cbChangeIP->SetCaption(u"Change IP Every                     Minutes ");
    // The number field sits over the blanks of the caption.
    edtChangeIPTime = NewSkinControl<TspSkinSpinEdit>(this, tsGeneral, u"edtChangeIPTime", skinData);
    edtChangeIPTime->SetBounds(132, 73, 62, 22);
    edtChangeIPTime->SetMinValue(kMinChangeIPTime);
    edtChangeIPTime->SetMaxValue(kMaxChangeIPTime);
    edtChangeIPTime->Increment = 1;
    edtChangeIPTime->SetValue(10);
    btnClearShowAgainFlag = NewSkinControl<TspSkinButton>(this, tsGeneral, u"btnClearShowAgainFlag", skinData);
    btnClearShowAgainFlag->SetBounds(12, 116, 180, 30);
    btnClearShowAgainFlag->SetCaption(u"Clear Show Again Flag");
    btnClearShowAgainFlag->OnClick = [this](TObject* Sender) { btnClearShowAgainFlagClick(Sender); };

    tsBrowser = NewSkinControl<TspSkinTabSheet>(this, this, u"tsBrowser", skinData);
    tsBrowser->SetCaption(u"Browser");
    tsBrowser->SetPageControl(pcSetting);
    lblBrowser = NewSkinControl<TspSkinStdLabel>(this, tsBrowser, u"lblBrowser", skinData);
    lblBrowser->SetBounds(12, 14, 390, 16);
    lblBrowser->SetCaption(u"Enable Hide IP For Selected Browsers");
    // The system switch always runs; its box only shows the stored value.
    cbIE = NewSkinControl<TspSkinCheckRadioBox>(this, tsBrowser, u"cbIE", skinData);
    cbIE->SetBounds(24, 40, 250, 20);
    cbIE->SetCaption(u"Internet Explorer");
    cbIE->SetEnabled(false);
    cbFF = NewSkinControl<TspSkinCheckRadioBox>(this, tsBrowser, u"cbFF", skinData);
    cbFF->SetBounds(24, 66, 250, 20);
    cbFF->SetCaption(u"Fire Fox");
    cbOpera = NewSkinControl<TspSkinCheckRadioBox>(this, tsBrowser, u"cbOpera", skinData);
    cbOpera->SetBounds(24, 92, 250, 20);
    cbOpera->SetCaption(u"Opera");
    btnReinstallFF = NewSkinControl<TspSkinButton>(this, tsBrowser, u"btnReinstallFF", skinData);
    btnReinstallFF->SetBounds(12, 130, 230, 30);
    btnReinstallFF->SetCaption(u"Re-install FireFox Extension");
    btnReinstallFF->OnClick = [this](TObject* Sender) { btnReinstallFFClick(Sender); };

    btnOK = NewSkinControl<TspSkinButton>(this, this, u"btnOK", skinData);
    btnOK->SetBounds(250, 243, 85, 30);
    btnOK->SetCaption(u"&OK");
    btnOK->SetDefault(true);
    // The result is set once everything is saved, not before.
    btnOK->OnClick = [this](TObject* Sender) { btnOKClick(Sender); };
    btnCancel = NewSkinControl<TspSkinButton>(this, this, u"btnCancel", skinData);
    btnCancel->SetBounds(341, 243, 85, 30);
    btnCancel->SetCaption(u"&Cancel");
    btnCancel->SetCancel(true);
    btnCancel->ModalResult = mrCancel;

    OnCreate = [this](TObject* Sender) { FormCreate(Sender); };
}

void TfrmSettings::FormCreate(TObject*)
{
    pcSetting->SetActivePage(tsGeneral);
    LoadOptions();
}

void TfrmSettings::LoadOptions()
{
    TCLSettings& settings = GetCLSettings();
    cbAutoRun->SetChecked(settings.GetSettingBool(u"AutoRun"));
    cbAutoUpdate->SetChecked(settings.GetSettingBool(u"Update.AutoCheck"));
    cbChangeIP->SetChecked(settings.GetSettingBool(u"ChangeIP"));
    const int32_t minutes = settings.GetSettingInteger(u"ChangeIPTime");
    edtChangeIPTime->SetValue(std::clamp<int32_t>(minutes, kMinChangeIPTime, kMaxChangeIPTime));
    cbIE->SetChecked(settings.GetSettingBool(u"SWITCH.IE"));
    cbFF->SetChecked(settings.GetSettingBool(u"SWITCH.FF"));
    cbOpera->SetChecked(settings.GetSettingBool(u"SWITCH.OPERA"));
}

void TfrmSettings::SaveOptions()
{
    TCLSettings& settings = GetCLSettings();
    settings.SetSettingBool(u"AutoRun", cbAutoRun->Checked());
    // Without a name the value would be the Run key's default one: no entry at all then.
    const String appName = settings.GetSettingString(u"App.Name");
    if (!appName.empty()) {
        // Quoted: an unquoted path with blanks lets Windows try its first word as a program.
        SetAutorun(cbAutoRun->Checked(), appName, u"\"" + GetAppFileName() + u"\"");
    }
    settings.SetSettingBool(u"SWITCH.IE", cbIE->Checked());
    settings.SetSettingBool(u"SWITCH.FF", cbFF->Checked());
    settings.SetSettingBool(u"SWITCH.OPERA", cbOpera->Checked());
    settings.SetSettingBool(u"Update.AutoCheck", cbAutoUpdate->Checked());
    settings.SetSettingBool(u"ChangeIP", cbChangeIP->Checked());
    settings.SetSettingInteger(u"ChangeIPTime", edtChangeIPTime->Value());
}

void TfrmSettings::btnOKClick(TObject*)
{
    SaveOptions();
    SetModalResult(mrOk);
}

void TfrmSettings::btnClearShowAgainFlagClick(TObject*)
{
    GetCLSettings().ClearShowAgainFlag();
}

String TfrmSettings::FirefoxPathInFolder(StringView folder)
{
    if (folder.empty())
        return String();
    const String path = IncludeTrailingBackslash(folder) + u"firefox.exe";
    return FileExists(path) ? path : String();
}

void TfrmSettings::ShowInformation(const String& strMsgName)
{
    if (TCLEngine* engine = GetCLEngine())
        engine->ShowMessageEx(strMsgName, TStringList(), 0, TMsgDlgType::mtInformation, mbOK);
}

void TfrmSettings::btnReinstallFFClick(TObject*)
{
    if (!IsFirefoxInstalled()) {
        ShowInformation(u"MSGBox.FFUninstalled");
        return;
    }
    if (!InstallFirefoxExtension()) {
        ShowInformation(u"MSGBox.FFPath");
        const String known = GetFirefoxPath();
        const String folder = BrowseForFolder(Handle(), known.empty() ? String() : ExtractFilePath(known),
            CLMultiLang->GetResString(u"Choose Firefox Path"));
        // Every reader takes the setting for the executable itself, so a folder without
        // Firefox in it is not stored; the user hears so.
        const String path = FirefoxPathInFolder(folder);
        GetCLSettings().SetSettingstring(kFirefoxPathSetting, path);
        if (!folder.empty() && path.empty())
            ShowInformation(u"MSGBox.FFPath");
        InstallFirefoxExtension();
    }
    if (IsFirefoxRunning())
        ShowInformation(u"MSGBox.FFRestart");
}

} // namespace vp
