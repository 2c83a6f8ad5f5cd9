#include "app/CLMain.h"

#include "browsers/IEProxyWin.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/RegisteredMessages.h"

#include <float.h>

namespace vp {

namespace {

std::function<void()>& SplashHook()
{
    static std::function<void()> hook;
    return hook;
}

constexpr LANGID kChinesePrc = 0x0804;

// The exit code of a start-up that failed.
constexpr int kStartFailed = 1;

// A copy of this user's runs: it holds the instance mutex. Another user's copy, whose
// mutex this user may not open, changed only that user's settings.
bool OwnCopyRuns(const String& mutexName)
{
    TKernelHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, WStr(mutexName)));
    return mutex.Valid();
}

// "/restore", as the log-on entry starts the program: no window and no talk with a running
// copy; the user's proxy settings are given back and the program ends.
int RunRestoreOnly()
{
    int result = 0;
    try {
        TCLSettings& settings = GetCLSettings();
        // Not a start of the program: the count stays as it was.
        settings.SetSettingInteger(u"RunTimes", settings.RunTimes());
        // A running copy owns the settings it changed and gives them back itself.
        if (settings.GetSettingBool(u"App.Multiple") ||
            !OwnCopyRuns(u"Global\\" + settings.GetSettingString(u"App.GUID")))
            result = RestoreSystemProxy() ? 0 : 1;
    } catch (...) {
        result = 1;
    }
    ReleaseCLSettings();
    return result;
}

// Session end can come while hiding, and nothing runs after it.
void RestoreProxyAtSessionEnd()
{
    TCLEngine* engine = GetCLEngine();
    if (!engine)
        return;
    TNotifyEvent previous = engine->OnEndSession;
    engine->OnEndSession = [previous](TObject* Sender) {
        if (previous)
            previous(Sender);
        RestoreSystemProxy();
    };
}

} // namespace

bool IsRefusedLocale(LANGID languageId, StringView languageName)
{
    // Newer systems name the language "Chinese (Simplified, China)", so the id decides too.
    return languageId == kChinesePrc || SameText(languageName, u"Chinese (Simplified, PRC)");
}

bool IsLocaleAllowed()
{
    if (!IsRefusedLocale(GetSystemDefaultLangID(), GetSystemLanguageName()))
        return true;
    MessageDlg(nullptr, u"This product is unavailable in this country.", u"", TMsgDlgType::mtCustom, mbOK);
    return false;
}

void CLSetSplashHook(std::function<void()> showSplash)
{
    SplashHook() = std::move(showSplash);
}

bool HasSwitch(const TStringList& arguments, char16_t letter)
{
    return HasSwitch(arguments, StringView(&letter, 1));
}

bool HasSwitch(const TStringList& arguments, StringView name)
{
    for (const String& argument : arguments)
        if (argument.size() == name.size() + 1 && (argument[0] == u'-' || argument[0] == u'/') &&
            SameText(StringView(argument).substr(1), name))
            return true;
    return false;
}

namespace {

int RunApplication(
    TApplication& application, const String& mainClassName, const TMainFormFactory& createMainForm)
{
    // Every floating-point exception masked, as the program's arithmetic expects.
    unsigned int control = 0;
    _controlfp_s(&control, _MCW_EM, _MCW_EM);

    DebugSetActive(false);
    DebugSetAutoStart(false);

    TStringList arguments = CommandLineArguments();
    if (HasSwitch(arguments, u"restore"))
        return RunRestoreOnly();
    if (HasSwitch(arguments, u'i') || HasSwitch(arguments, u'u'))
        return 0;
    if (HasSwitch(arguments, u's')) {
        CLCloseRunningApp(mainClassName);
        return 0;
    }
    if (HasSwitch(arguments, u'r')) {
        CLCloseRunningApp(mainClassName);
        Sleep(2000);
    }

    TCLSettings& settings = GetCLSettings();
    bool keyChord = (GetKeyState(VK_CONTROL) & 0x8000) && (GetKeyState(VK_SHIFT) & 0x8000);
    bool debug = HasSwitch(arguments, u'd') ||
        (!settings.GetSettingBool(u"Debug.Disabled") &&
            (settings.GetSettingBool(u"Debug.Enabled") || keyChord));
    SetDebugMode(debug);
    DebugSetActive(debug);
    DebugSetAutoStart(debug);
    if (debug)
        DebugSend(u"Enter Debug Mode...", u"CLMain");

    if (HasSwitch(arguments, u'a') && !settings.GetSettingBool(u"App.Autorun"))
        return 0;

    if (!settings.GetSettingBool(u"App.Multiple") &&
        !IsFirstInstance(u"Global\\" + settings.GetSettingString(u"App.GUID"))) {
        CLBringRunningAppToFront(mainClassName);
        if (arguments.Count() > 0 && !arguments[0].empty() && arguments[0][0] != u'-' &&
            arguments[0][0] != u'/')
            CLSendCmdParam(mainClassName, arguments[0]);
        return 0;
    }

    // A copy that ended while hiding (a crash, a kill, a power cut) left the user's proxy
    // settings saved: they go back before anything else. Off, the switch works as it always did.
    bool restoreProxy = settings.GetSettingBool(u"SWITCH.RestoreUserSettings");
    if (restoreProxy)
        RestoreSystemProxy();

    if (settings.GetSettingBool(u"App.Splash") && SplashHook())
        GuardCall(SplashHook());
    bool created = false;
    GuardCall([&] {
        createMainForm(application);
        created = true;
    });
    if (created) {
        if (restoreProxy)
            RestoreProxyAtSessionEnd();
        application.ShowMainForm = !HasSwitch(arguments, u'h');
        application.Run();
        // However the loop ended, the user's own proxy settings go back.
        if (restoreProxy)
            RestoreSystemProxy();
    }
    ReleaseCLSettings();
    return created ? 0 : kStartFailed;
}

} // namespace

int CLRunApplicationWith(
    TApplication& application, const String& mainClassName, const TMainFormFactory& createMainForm)
{
    try {
        return RunApplication(application, mainClassName, createMainForm);
    } catch (...) {
        // Mostly a settings store that cannot be built (a user file held by another process or
        // one that cannot be replaced): nothing is written, the user is told, the copy ends.
        String text = CurrentExceptionText();
        try {
            MessageDlg(nullptr, text, ExtractFileNameNoExt(GetAppFileName()), TMsgDlgType::mtError, mbOK);
        } catch (...) {
            // The exit code still tells.
        }
        return kStartFailed;
    }
}

HWND CLFindAppWindow(const String& className)
{
    int32_t appId = GetCLSettings().GetSettingInteger(u"App.ID");
    UINT getAppId = RegisteredMessage(kMsgGetAppId);
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, WStr(className), nullptr)) != nullptr)
        if (static_cast<int32_t>(SendMessageW(window, getAppId, 0, 0)) == appId)
            return window;
    return nullptr;
}

void CLCloseRunningApp(const String& className)
{
    if (HWND window = CLFindAppWindow(className))
        SendMessageW(window, RegisteredMessage(kMsgCloseApp), 0, 0);
}

void CLBringRunningAppToFront(const String& className)
{
    HWND window = CLFindAppWindow(className);
    if (!window)
        return;
    if (SendMessageW(window, RegisteredMessage(kMsgIfBusy), 0, 0) == 1)
        return;
    if (SendMessageW(window, RegisteredMessage(kMsgBringToFront), 0, 0) == 1)
        return;
    ForceForegroundWindow(window);
}

void CLSendCmdParam(const String& className, const String& text)
{
    HWND window = CLFindAppWindow(className);
    if (!window)
        return;
    COPYDATASTRUCT data{};
    data.dwData = 0;
    data.cbData = static_cast<DWORD>(text.size() * sizeof(char16_t));
    data.lpData = const_cast<char16_t*>(text.data());
    SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

} // namespace vp
