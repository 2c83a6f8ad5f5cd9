#include "browsers/IEProxyWin.h"

#include <windows.h>
#include <wininet.h>

#include "browsers/SystemProxyBackupWin.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"

#include <vector>

namespace vp {

namespace {

constexpr StringView kDebugTag = u"SystemProxy";

// WinINet takes the option texts as writable pointers.
std::vector<wchar_t> WritableText(StringView text)
{
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(0);
    return buffer;
}

// The plain switch: the default connection and the two registry values, nothing kept.
void SetIEProxyWithoutBackup(StringView aProxy)
{
    if (aProxy.empty())
        SetInternetProxyOption(false, u"", u"");
    else
        SetInternetProxyOption(true, u"", aProxy);
    WriteIEProxyRegistry(aProxy);
}

// Without a readable backup nothing is known of what the user had. When the settings still
// hold the switch's own proxy (a damaged backup, or a run with "SWITCH.RestoreUserSettings"
// off that never ended), the user would be left behind it: clear to a direct connection as
// the plain switch does. Anything else is the user's and stays.
void ClearOwnProxyLeftBehind()
{
    String keyPath(kInternetSettingsKey);
    String server = RegReadString(HKEY_CURRENT_USER, keyPath, u"ProxyServer", u"");
    if (!IsIEProxyServerText(server))
        return;
    DebugSend(u"Clearing the program's own proxy left behind: " + server, kDebugTag);
    for (const String& name : DialUpConnectionNames())
        SetInternetProxyOption(false, u"", u"", name);
    SetIEProxyWithoutBackup(u"");
    NotifyProxySettingsChanged();
}

std::optional<TSystemProxyBackup> LoadBackupOrClear()
{
    TBackupFile file = LoadSystemProxyBackup();
    if (file.State == TBackupFileState::Valid)
        return std::move(file.Backup);
    // Also before a first backup, which would otherwise keep the switch's proxy as the user's.
    ClearOwnProxyLeftBehind();
    return std::nullopt;
}

// The backup to switch under: the saved one, completed by connections that appeared since
// (still as the user left them), or a new one. nullopt when it could not be saved.
std::optional<TSystemProxyBackup> BackupBeforeSwitch(const std::vector<String>& names)
{
    std::optional<TSystemProxyBackup> saved = LoadBackupOrClear();
    TSystemProxyBackup backup;
    if (saved) {
        backup = std::move(*saved);
    } else {
        auto registry = CaptureProxyRegistryValues();
        auto lan = CaptureConnection(u"");
        if (!registry || !lan)
            return std::nullopt;
        backup.RegistryValues = std::move(*registry);
        backup.Connections.push_back(std::move(*lan));
    }
    size_t known = backup.Connections.size();
    for (const String& name : names)
        if (!backup.FindConnection(name))
            if (auto connection = CaptureConnection(name))
                backup.Connections.push_back(std::move(*connection));
    if (!saved || backup.Connections.size() != known)
        SaveSystemProxyBackup(backup);
    return backup;
}

} // namespace

void SetIEProxy(StringView aProxy)
{
    try {
        TCLSettings& settings = GetCLSettings();
        bool enabled = settings.GetSettingBool(u"SWITCH.IE");
        if (!settings.GetSettingBool(u"SWITCH.RestoreUserSettings"))
            SetIEProxyWithoutBackup(enabled ? aProxy : StringView());
        else if (enabled && !aProxy.empty())
            SwitchSystemProxy(aProxy);
        else
            RestoreSystemProxy();
    } catch (...) {
        // The switch reports nothing: a failed step only skips the steps after it.
    }
}

bool SwitchSystemProxy(StringView aProxy)
{
    try {
        std::optional<TSystemProxyBackup> backup = BackupBeforeSwitch(DialUpConnectionNames());
        if (!backup) {
            DebugSend(u"The user's proxy settings could not be saved; the proxy was not set", kDebugTag);
            return false;
        }
        // Before the change: a crash right after it is then covered.
        if (!SetRestoreAtLogOn(true))
            DebugSend(u"The log-on restore entry could not be written", kDebugTag);
        // Only connections whose settings are saved are changed.
        for (const TConnectionBackup& connection : backup->Connections)
            if (!connection.Name.empty())
                SetInternetProxyOption(true, u"", aProxy, connection.Name);
        SetIEProxyWithoutBackup(aProxy);
        NotifyProxySettingsChanged();
        return true;
    } catch (...) {
        DebugSend(u"The user's proxy settings could not be saved; the proxy was not set", kDebugTag);
        return false;
    }
}

bool RestoreSystemProxy()
{
    try {
        std::optional<TSystemProxyBackup> backup = LoadBackupOrClear();
        if (backup && !ApplySystemProxyBackup(*backup)) {
            // Kept, with its log-on entry, for the next attempt.
            DebugSend(u"The user's proxy settings could not all be given back", kDebugTag);
            return false;
        }
        DeleteSystemProxyBackup();
        SetRestoreAtLogOn(false);
        return true;
    } catch (...) {
        return false;
    }
}

bool SetInternetProxyOption(bool aUseProxy, StringView aBypass, StringView aServer, StringView aConnection)
{
    std::vector<wchar_t> bypass = WritableText(aBypass);
    std::vector<wchar_t> server = WritableText(aServer);
    std::vector<wchar_t> connection = WritableText(aConnection);

    INTERNET_PER_CONN_OPTIONW options[3] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[0].Value.dwValue = aUseProxy ? PROXY_TYPE_PROXY : PROXY_TYPE_DIRECT;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[1].Value.pszValue = bypass.data();
    options[2].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[2].Value.pszValue = server.data();

    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = aConnection.empty() ? nullptr : connection.data(); // null: the default connection
    list.dwOptionCount = 3;
    list.dwOptionError = 0;
    list.pOptions = options;
    return InternetSetOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list)) != FALSE;
}

void WriteIEProxyRegistry(StringView aProxy)
{
    String keyPath(kInternetSettingsKey);
    TRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Receive(),
            nullptr) != ERROR_SUCCESS)
        return;
    String server = IEProxyServerText(aProxy);
    DWORD enable = aProxy.empty() ? 0 : 1;
    RegSetValueExW(key.Get(), L"ProxyServer", 0, REG_SZ, reinterpret_cast<const BYTE*>(server.c_str()),
        static_cast<DWORD>((server.size() + 1) * sizeof(wchar_t)));
    RegSetValueExW(key.Get(), L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
}

} // namespace vp
