#include "browsers/SystemProxyBackupWin.h"

#include <windows.h>
#include <ras.h>
#include <raserror.h>
#include <sddl.h>
#include <wininet.h>

#include "browsers/IEProxy.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"

#include <filesystem>

namespace vp {

namespace {

constexpr StringView kRunOnceKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr StringView kDebugTag = u"SystemProxy";

TConnectionNamesSource& NamesSource()
{
    static TConnectionNamesSource source;
    return source;
}

std::vector<String> PhonebookEntryNames()
{
    using TEntry = RASENTRYNAMEW; // a macro that names a struct
    std::vector<TEntry> entries(1);
    entries[0].dwSize = sizeof(TEntry);
    DWORD bytes = sizeof(TEntry);
    DWORD count = 0;
    DWORD result = RasEnumEntriesW(nullptr, nullptr, entries.data(), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        entries.assign(bytes / sizeof(TEntry) + 1, TEntry{});
        for (TEntry& entry : entries)
            entry.dwSize = sizeof(TEntry);
        bytes = static_cast<DWORD>(entries.size() * sizeof(TEntry));
        result = RasEnumEntriesW(nullptr, nullptr, entries.data(), &bytes, &count);
    }
    std::vector<String> names;
    if (result != ERROR_SUCCESS)
        return names;
    for (DWORD i = 0; i < count && i < entries.size(); ++i)
        names.push_back(FromWStr(entries[i].szEntryName));
    return names;
}

// WinINet hands out option texts it allocated with GlobalAlloc.
String TakeOptionText(wchar_t* text)
{
    String result = FromWStr(text);
    if (text)
        GlobalFree(text);
    return result;
}

// Four options of one connection, the flags as FLAGS; then the flags once more as FLAGS_UI,
// the only form that keeps automatic detection on systems that know it (others refuse it).
bool SetConnectionOptions(const TConnectionBackup& connection)
{
    std::wstring name = ToWide(connection.Name);
    std::wstring server = ToWide(connection.ProxyServer);
    std::wstring bypass = ToWide(connection.ProxyBypass);
    std::wstring autoConfig = ToWide(connection.AutoConfigURL);
    INTERNET_PER_CONN_OPTIONW options[4] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[0].Value.dwValue = connection.Flags;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[1].Value.pszValue = server.data();
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[2].Value.pszValue = bypass.data();
    options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[3].Value.pszValue = autoConfig.data();
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = connection.Name.empty() ? nullptr : name.data();
    list.dwOptionCount = 4;
    list.pOptions = options;
    bool ok =
        InternetSetOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list)) != FALSE;
    if (ok) {
        options[0].dwOption = INTERNET_PER_CONN_FLAGS_UI;
        list.dwOptionCount = 1;
        InternetSetOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list));
    }
    return ok;
}

bool WriteRegistryValues(const std::vector<TRegistryValueBackup>& values)
{
    String keyPath(kInternetSettingsKey);
    TRegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
            key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = true;
    for (const TRegistryValueBackup& value : values) {
        LONG result = value.Present
            ? RegSetValueExW(key.Get(), WStr(value.Name), 0, value.Type,
                  reinterpret_cast<const BYTE*>(value.Data.data()), static_cast<DWORD>(value.Data.size()))
            : RegDeleteValueW(key.Get(), WStr(value.Name));
        ok = ok && (result == ERROR_SUCCESS || (!value.Present && result == ERROR_FILE_NOT_FOUND));
    }
    return ok;
}

String CurrentUserSid()
{
    TKernelHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive()))
        return String();
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return String();
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
        return String();
    TLocalMemory owner(text);
    return FromWStr(text);
}

} // namespace

void SetConnectionNamesSource(TConnectionNamesSource source)
{
    NamesSource() = std::move(source);
}

std::vector<String> DialUpConnectionNames()
{
    std::vector<String> names = NamesSource() ? NamesSource()() : PhonebookEntryNames();
    // The default connection has no name; an empty entry would stand for it twice.
    std::erase(names, String());
    return names;
}

std::optional<TConnectionBackup> CaptureConnection(StringView name)
{
    std::wstring wideName = ToWide(name);
    for (DWORD flagsOption : {DWORD(INTERNET_PER_CONN_FLAGS_UI), DWORD(INTERNET_PER_CONN_FLAGS)}) {
        INTERNET_PER_CONN_OPTIONW options[4] = {};
        options[0].dwOption = flagsOption;
        options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
        options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
        options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
        INTERNET_PER_CONN_OPTION_LISTW list = {};
        list.dwSize = sizeof(list);
        list.pszConnection = name.empty() ? nullptr : wideName.data();
        list.dwOptionCount = 4;
        list.pOptions = options;
        DWORD size = sizeof(list);
        if (!InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size))
            continue;
        TConnectionBackup connection;
        connection.Name = String(name);
        connection.Flags = options[0].Value.dwValue;
        connection.ProxyServer = TakeOptionText(options[1].Value.pszValue);
        connection.ProxyBypass = TakeOptionText(options[2].Value.pszValue);
        connection.AutoConfigURL = TakeOptionText(options[3].Value.pszValue);
        return connection;
    }
    return std::nullopt;
}

std::optional<std::vector<TRegistryValueBackup>> CaptureProxyRegistryValues()
{
    std::vector<TRegistryValueBackup> values;
    String keyPath(kInternetSettingsKey);
    TRegKey key;
    LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, KEY_QUERY_VALUE, key.Receive());
    if (opened != ERROR_SUCCESS && opened != ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    for (StringView nameView : kProxyRegistryValueNames) {
        TRegistryValueBackup value;
        value.Name = String(nameView);
        DWORD type = 0;
        DWORD size = 0;
        LONG result = opened == ERROR_SUCCESS
            ? RegQueryValueExW(key.Get(), WStr(value.Name), nullptr, &type, nullptr, &size)
            : ERROR_FILE_NOT_FOUND;
        if (result == ERROR_SUCCESS) {
            value.Data.resize(size);
            result = RegQueryValueExW(key.Get(), WStr(value.Name), nullptr, &type,
                reinterpret_cast<BYTE*>(value.Data.data()), &size);
            value.Data.resize(size);
            value.Present = true;
            value.Type = type;
        }
        if (result != ERROR_SUCCESS && result != ERROR_FILE_NOT_FOUND)
            return std::nullopt; // changed under us or unreadable: no half-true backup
        values.push_back(std::move(value));
    }
    return values;
}

bool ApplySystemProxyBackup(const TSystemProxyBackup& backup)
{
    // Where the system does not tell connections apart (Wine), the default one comes last
    // and so wins.
    for (const TConnectionBackup& connection : backup.Connections)
        if (!connection.Name.empty() && !SetConnectionOptions(connection))
            DebugSend(u"Could not restore the connection " + connection.Name, kDebugTag);
    const TConnectionBackup* lan = backup.FindConnection(u"");
    bool ok = lan && SetConnectionOptions(*lan);
    // Setting the options rewrites these values; what the user had is put back after them.
    ok = WriteRegistryValues(backup.RegistryValues) && ok;
    NotifyProxySettingsChanged();
    return ok;
}

void NotifyProxySettingsChanged()
{
    InternetSetOptionW(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, nullptr, 0);
    InternetSetOptionW(nullptr, INTERNET_OPTION_REFRESH, nullptr, 0);
}

String SystemProxyBackupPath()
{
    String sid = CurrentUserSid();
    return GetCLSettings().UserDataPath() + u"proxybackup" + (sid.empty() ? String() : u"-" + sid) + u".dat";
}

TBackupFile LoadSystemProxyBackup()
{
    TBackupFile file;
    String path = SystemProxyBackupPath();
    if (!FileExists(path))
        return file;
    String reason;
    std::optional<TSystemProxyBackup> backup;
    try {
        backup = ParseSystemProxyBackup(ReadAllBytes(path), &reason);
    } catch (const EFileError&) {
        reason = u"unreadable";
    }
    if (backup) {
        file.State = TBackupFileState::Valid;
        file.Backup = std::move(*backup);
        return file;
    }
    DebugSend(u"Proxy backup ignored (" + reason + u"): " + path, kDebugTag);
    std::error_code error;
    std::filesystem::path target = ToFsPath(path);
    std::filesystem::rename(target, ToFsPath(path + u".damaged"), error);
    file.State = TBackupFileState::Damaged;
    return file;
}

void SaveSystemProxyBackup(const TSystemProxyBackup& backup)
{
    WriteAllBytesAtomic(SystemProxyBackupPath(), SerializeSystemProxyBackup(backup));
}

void DeleteSystemProxyBackup()
{
    std::error_code error;
    std::filesystem::remove(ToFsPath(SystemProxyBackupPath()), error);
}

String RestoreAtLogOnCommand()
{
    return u"\"" + GetAppFileName() + u"\" /restore";
}

String RestoreAtLogOnValueName()
{
    String appName = GetCLSettings().GetSettingString(u"App.Name");
    return (appName.empty() ? String(u"Veilport") : appName) + u".RestoreProxy";
}

bool SetRestoreAtLogOn(bool on)
{
    String keyPath(kRunOnceKey);
    String name = RestoreAtLogOnValueName();
    TRegKey key;
    if (!on) {
        LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, KEY_SET_VALUE, key.Receive());
        if (opened == ERROR_FILE_NOT_FOUND)
            return true;
        LONG result = opened == ERROR_SUCCESS ? RegDeleteValueW(key.Get(), WStr(name)) : opened;
        return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WStr(keyPath), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
            key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    String command = RestoreAtLogOnCommand();
    return RegSetValueExW(key.Get(), WStr(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
               static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

} // namespace vp
