#include "framework/engine/CLEngine.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/PageAddress.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"
#include "framework/ui/Menus.h"
#include "framework/ui/SkinMessage.h"
#include "framework/ui/RegisteredMessages.h"
#include "framework/ui/SkinForm.h"

#include <algorithm>

namespace vp {

namespace {

TCLEngine* gEngine = nullptr;

// A forwarded command text is a path or an address; anything longer is not one of ours.
constexpr DWORD kMaxCopyDataBytes = 64 * 1024;
constexpr uint32_t kSessionEndingWindowMs = 300000;

const String kEnglish = u"English";

// The folder of the language files, ending in "\".
String LanguageFolder()
{
    return GetAppPath() + GetCLSettings().GetSettingString(u"Path.Languages") + u"\\";
}

} // namespace

const TClassInfo& TCLEngine::StaticClassInfo()
{
    // The setting lists are listed, not offered as texts: a language file must not write them.
    static const TClassInfo info = TClassBuilder<TCLEngine, TComponent>(u"TCLEngine")
                                       .Object(u"LanguageData", u"TCLMultiLangData", &TCLEngine::LanguageData,
                                           &TCLEngine::SetLanguageData)
                                       .Other(u"SettingOverwrite", u"TStrings")
                                       .Other(u"SettingDefault", u"TStrings")
                                       .Other(u"ParentHWND", u"HWND")
                                       .Object(u"SkinData", u"TspSkinData", &TCLEngine::SkinData,
                                           &TCLEngine::SetSkinData)
                                       .Object(u"SkinMenuItem", u"TMenuItem", &TCLEngine::SkinMenuItem,
                                           &TCLEngine::SetSkinMenuItem)
                                       .Object(u"LanguageMenuItem", u"TMenuItem", &TCLEngine::LanguageMenuItem,
                                           &TCLEngine::SetLanguageMenuItem)
                                       .Object(u"SkinForm", u"TspDynamicSkinForm", &TCLEngine::SkinForm,
                                           &TCLEngine::SetSkinForm)
                                       .Other(u"OnCmdFile", u"TOnCmdFile")
                                       .Other(u"OnTitleChange", u"TNotifyEvent")
                                       .Other(u"OnSkinChanged", u"TNotifyEvent")
                                       .Other(u"OnLanguageChanged", u"TNotifyEvent")
                                       .Other(u"TitleIncludeVer", u"Boolean")
                                       .Other(u"OnEndSession", u"TNotifyEvent")
                                       .Build();
    return info;
}

TCLEngine* GetCLEngine()
{
    return gEngine;
}

TCLEngine::TCLEngine(TComponent* aOwner) : TComponent(aOwner)
{
    FForm = dynamic_cast<TForm*>(aOwner);
    if (!FForm)
        throw EInvalidCast(u"The application engine must be placed on a form");
    FWM_CL_GET_APPID = RegisteredMessage(kMsgGetAppId);
    FWM_CL_CLOSE_APP = RegisteredMessage(kMsgCloseApp);
    FWM_CL_INITPOST = RegisteredMessage(kMsgInitPost);
    FWM_CL_CMDPARAM = RegisteredMessage(kMsgCmdParam);
    FWM_CL_IF_BUSY = RegisteredMessage(kMsgIfBusy);
    FWM_CL_BRING_TO_FRONT = RegisteredMessage(kMsgBringToFront);
    if (!IsDesigning())
        FWndProcHook = FForm->AddMessageHook([this](TMessage& message) { HookWndProc(message); });
    FSettingDefault.Add(u"Path.Skins=skins");
    FSettingDefault.Add(u"Path.Languages=lang");
    if (!gEngine) {
        gEngine = this;
        RegisterSettingLists(this);
        RegisterEngineResources(this);
    }
    FDebug = DebugMode();
}

TCLEngine::~TCLEngine()
{
    if (gEngine == this) {
        UnregisterEngineResources(this);
        UnregisterSettingLists(this);
        gEngine = nullptr;
    }
    SetLanguageData(nullptr);
    FWndProcHook.Remove();
}

void TCLEngine::SetSkinForm(TspDynamicSkinForm* value)
{
    if (FSkinForm)
        RemoveFreeNotification(FSkinForm);
    FSkinForm = value;
    if (FSkinForm)
        FreeNotification(FSkinForm);
}

void TCLEngine::Loaded()
{
    TComponent::Loaded();
    if (IsDesigning())
        return;
    FInLoaded = true;
    GuardCall([this] {
        if (!FSkinData)
            return;
        FDefaultSkin = FSkinData->CompressedStoredSkin();
        if (FDefaultSkin)
            FreeNotification(FDefaultSkin);
        FDefaultSkinForm = FSkinData->SkinnableForm();
        String name = GetCLSettings().GetSettingString(u"Skin");
        SetSkin(name.empty() ? String(u"Default") : name);
        if (FSkinMenuItem)
            BuildChoiceMenu(FSkinMenuItem, FSkinMenuItems, SkinList(), FSkin, false);
    });
    // A language file that cannot be read is reported; the window still comes up, in the
    // language it was designed in, and the setting keeps the user's choice.
    GuardCall([this] {
        if (FLanguageData) {
            String name = GetCLSettings().GetSettingString(u"Language");
            SetLanguage(name.empty() ? kEnglish : name);
            if (FLanguageMenuItem)
                BuildChoiceMenu(FLanguageMenuItem, FLanguageMenuItems, LanguageList(), FLanguage, true);
        }
    });
    FInLoaded = false;
    PostMessageW(FForm->Handle(), FWM_CL_INITPOST, 0, 0);
}

void TCLEngine::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    if (aComponent == FLanguageData)
        FLanguageData = nullptr;
    if (aComponent == FSkinForm)
        FSkinForm = nullptr;
    if (aComponent == FSkinData)
        FSkinData = nullptr;
    if (aComponent == FDefaultSkin)
        FDefaultSkin = nullptr;
    if (aComponent == FMessageDlg)
        FMessageDlg = nullptr;
    if (aComponent == FAboutForm)
        FAboutForm = nullptr;
    if (aComponent == FLanguageMenuItem) {
        FLanguageMenuItem = nullptr;
        FLanguageMenuItems.clear();
    }
    if (aComponent == FSkinMenuItem) {
        FSkinMenuItem = nullptr;
        FSkinMenuItems.clear();
    }
}

void TCLEngine::SetLanguageData(TCLMultiLangData* value)
{
    if (value == FLanguageData)
        return;
    if (FLanguageData)
        RemoveFreeNotification(FLanguageData);
    FLanguageData = value;
    if (FLanguageData)
        FreeNotification(FLanguageData);
}

String TCLEngine::LookupText(const String& section, const String& strName) const
{
    String value;
    if (FLanguageData)
        FLanguageData->GetProp(section, u"", strName, value);
    return value;
}

String TCLEngine::GetAppString(const String& strName) const
{
    return LookupText(u"AppRes", strName);
}

String TCLEngine::GetLibString(const String& strName) const
{
    return LookupText(u"LibRes", strName);
}

String TCLEngine::GetAppStringEx(const String& strName, const TStringList& Params) const
{
    return ReplaceParams(GetAppString(strName), Params);
}

String TCLEngine::GetLibStringEx(const String& strName, const TStringList& Params) const
{
    return ReplaceParams(GetLibString(strName), Params);
}

String TCLEngine::GetAppName() const
{
    // Looked up rather than read through ReadAppName, which would also change the name
    // that "{AppName}" stands for.
    String name = LookupText(u"AppRes", u"AppName");
    return name.empty() ? GetCLSettings().GetSettingString(u"App.Name") : name;
}

void TCLEngine::SetLanguage(const String& Value)
{
    if (!FLanguageData)
        return;
    String name = Value.empty() ? String(u"Default") : Value;
    if (name == FLanguage)
        return;
    String fileName = LanguageFolder() + name + u".lan";
    if (FileExists(fileName)) {
        FLanguageData->LoadCurrentFromFile(fileName);
        FLanguage = name;
    } else {
        if (!FLanguage.empty())
            FLanguageData->ClearCurrentAll();
        FLanguage = kEnglish;
    }
    GetCLSettings().SetSettingstring(u"Language", FLanguage);
    TickChoiceMenu(FLanguageMenuItems, FLanguage);
    MergeSkinTexts();
    if (!FInLoaded && OnLanguageChanged)
        OnLanguageChanged(this);
    RefreshTitle();
}

const TStringList& TCLEngine::LanguageList()
{
    if (FLanguageListBuilt)
        return FLanguageList;
    FLanguageListBuilt = true;
    TStringList files;
    ListFiles(LanguageFolder() + u"*.lan", files, false);
    std::vector<String> names;
    for (const String& file : files) {
        String name = ExtractFileNameNoExt(file);
        if (!SameText(name, kEnglish))
            names.push_back(name);
    }
    std::stable_sort(
        names.begin(), names.end(), [](const String& a, const String& b) { return CompareText(a, b) < 0; });
    FLanguageList.Add(kEnglish);
    for (const String& name : names)
        FLanguageList.Add(name);
    return FLanguageList;
}

void TCLEngine::SetTitleIncludeVer(bool value)
{
    FTitleIncludeVer = value;
    RefreshTitle();
}

void TCLEngine::RefreshTitle()
{
    if (IsDesigning())
        return;
    TCLSettings& settings = GetCLSettings();
    String title = GetAppName();
    if (FTitleIncludeVer)
        title += u"  " + settings.GetSettingString(u"App.Ver");
    FAppTitle = title;
    if (settings.GetSettingBool(u"App.NoAutoTitle"))
        return;
    if (ApplicationExists())
        Application().SetTitle(title);
    FForm->SetCaption(title);
    if (OnTitleChange)
        OnTitleChange(this);
}

String TCLEngine::GetURL(const String& strPage, bool bAddParams)
{
    return BuildPageURL(
        GetCLSettings(), strPage, bAddParams, GetAppPathNoSlash(), [this] { return GetURLParam(); });
}

String TCLEngine::GetURLParam()
{
    TCLSettings& settings = GetCLSettings();
    TURLParamValues values;
    TSystemTime now = DecodeDateTime(Now());
    values.Second = now.Second;
    values.Millisecond = now.Millisecond;
    values.Channel = RegReadString(
        HKEY_LOCAL_MACHINE, u"Software\\" + settings.GetSettingString(u"App.RegPath"), u"CHL", u"unknow");
    values.PID = settings.GetSettingString(u"App.PID");
    if (values.PID.empty())
        values.PID = settings.GetSettingString(u"App.MagicWord");
    values.Language = settings.GetSettingString(u"Language");
    values.RunDays = settings.GetRunDays();
    values.RunTimes = settings.RunTimes();
    values.Version = settings.GetSettingString(u"App.Ver");
    values.SubVersion = settings.GetSettingInteger(u"App.SubVer");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
    if (GetVersionExW(&version)) {
        values.WinMajor = version.dwMajorVersion;
        values.WinMinor = version.dwMinorVersion;
        values.ServicePack = FromWStr(version.szCSDVersion);
    }
    values.SystemLangId = GetSystemDefaultLangID();
    return BuildURLParam(values);
}

void TCLEngine::ShowPage(const String& strPage)
{
    ShowPageByURL(GetURL(strPage, true));
}

void TCLEngine::ShowPageByURL(const String& strURL)
{
    OpenURL(ApplicationExists() ? Application().UtilityWindow() : nullptr, strURL);
}

void TCLEngine::InitPost()
{
    if (OnLanguageChanged)
        OnLanguageChanged(this);
    if (OnSkinChanged)
        OnSkinChanged(this);
    RefreshTitle();
    TStringList arguments = CommandLineArguments();
    if (arguments.Count() > 0 && !arguments[0].empty() && arguments[0][0] != u'-' &&
        arguments[0][0] != u'/') {
        FParamFile = arguments[0];
        PostMessageW(FForm->Handle(), FWM_CL_CMDPARAM, 0, 0);
    }
    FInInited = false;
}

bool TCLEngine::GetSessionEnding() const
{
    return FQueryEndSessionArrived && GetTickCount32() - FQueryEndSessionTime < kSessionEndingWindowMs;
}

void TCLEngine::HookWndProc(TMessage& message)
{
    const UINT msg = message.Msg;
    if (msg == FWM_CL_GET_APPID) {
        message.Result = GetCLSettings().GetSettingInteger(u"App.ID");
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_CLOSE_APP) {
        Application().Terminate();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_INITPOST) {
        InitPost();
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_IF_BUSY) {
        message.Result = FInInited ? 1 : 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_BRING_TO_FRONT) {
        bool restored = false;
        if (FSkinForm && FSkinForm->TrayIcon())
            restored = FSkinForm->RestoreFromTray();
        else if (OnRestoreFromTray)
            restored = OnRestoreFromTray();
        message.Result = restored ? 1 : 0;
        message.Handled = true;
        return;
    }
    if (msg == WM_COPYDATA && message.LParam != 0) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(message.LParam);
        // Another process's bytes: only a plausible UTF-16 text is taken.
        if (data->lpData != nullptr && data->cbData % 2 == 0 && data->cbData <= kMaxCopyDataBytes) {
            FParamFile = String(static_cast<const char16_t*>(data->lpData), data->cbData / 2);
            PostMessageW(FForm->Handle(), FWM_CL_CMDPARAM, 0, 0);
        }
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == FWM_CL_CMDPARAM && OnCmdFile) {
        OnCmdFile(FParamFile);
        message.Result = 0;
        message.Handled = true;
        return;
    }
    if (msg == WM_QUERYENDSESSION) {
        // Noted, then passed on: the window answers it as usual.
        FQueryEndSessionArrived = true;
        FQueryEndSessionTime = GetTickCount32();
    }
    if (msg == WM_ENDSESSION && message.WParam != 0 && OnEndSession) {
        // Passed on too: the window answers it as usual.
        OnEndSession(this);
    }
}

} // namespace vp
