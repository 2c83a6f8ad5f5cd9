#include "support/BrowsersTestSupport.h"

#include "browsers/SystemProxyBackupWin.h"

#include <wininet.h>

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

using namespace vp;

namespace vptest {

namespace {

// The executable's folder points at a test folder whose const.dat turns the three switches
// on; the store lives for the whole test program, its user folder is removed at the end.
class TBrowsersSettingsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        FFolder = std::make_unique<TTempFolder>();
        String folder = GetLongPath(FFolder->Folder());
        // A user folder of this process's own: another test program ending meanwhile removes
        // only its own.
        WriteAllBytesAtomic(folder + u"const.dat",
            "[setting]\r\nApp.ConfigPath=VeilportBrowsersTest-" + std::to_string(GetCurrentProcessId()) +
                "\r\nSetting.NoAllUser=1\r\nSWITCH.IE=1\r\nSWITCH.OPERA=1\r\nSWITCH.FF=1\r\n");
        SetAppFileNameForTests(folder + u"Veilport.exe");
        GetCLSettings();
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(ToFsPath(GetCLSettings().UserDataPath()), error);
    }

private:
    std::unique_ptr<TTempFolder> FFolder;
};

} // namespace

void UseBrowsersSettingsStore()
{
    ::testing::AddGlobalTestEnvironment(new TBrowsersSettingsEnvironment);
}

TSettingOverride::TSettingOverride(String key, StringView value) : FKey(std::move(key))
{
    FOld = GetCLSettings().GetSettingString(FKey);
    GetCLSettings().SetSettingstring(FKey, value);
}

TSettingOverride::~TSettingOverride()
{
    GetCLSettings().SetSettingstring(FKey, FOld);
}

bool RegistryKeyExists(HKEY root, const String& keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, WStr(keyPath), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TRegistryKeyGuard::TRegistryKeyGuard(HKEY root, String keyPath)
    : FRoot(root), FKeyPath(std::move(keyPath)), FExisted(RegistryKeyExists(root, FKeyPath))
{
}

TRegistryKeyGuard::~TRegistryKeyGuard()
{
    if (!FExisted)
        RegDeleteTreeW(FRoot, WStr(FKeyPath));
}

const String TUserProxySettings::FKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

TUserProxySettings::TUserProxySettings()
{
    std::wstring server = L"corp-proxy:3128", bypass = L"<local>;*.corp;10.*",
                 autoConfig = L"http://127.0.0.1:9/proxy.pac";
    INTERNET_PER_CONN_OPTIONW options[4] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    // A proxy kept but switched off, and an automatic configuration script.
    options[0].Value.dwValue = PROXY_TYPE_DIRECT | PROXY_TYPE_AUTO_PROXY_URL;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[1].Value.pszValue = server.data();
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[2].Value.pszValue = bypass.data();
    options[3].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[3].Value.pszValue = autoConfig.data();
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.dwOptionCount = 4;
    list.pOptions = options;
    EXPECT_TRUE(InternetSetOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list)));
    // Wine keeps only the proxy of these; the registry holds all of it either way.
    DWORD enable = 0;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, WStr(FKey), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        RegSetValueExW(
            key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enable), sizeof(enable));
        RegCloseKey(key);
    }
    SetRegistryString(HKEY_CURRENT_USER, FKey, u"ProxyServer", FromWide(server));
    SetRegistryString(HKEY_CURRENT_USER, FKey, u"ProxyOverride", FromWide(bypass));
    SetRegistryString(HKEY_CURRENT_USER, FKey, u"AutoConfigURL", FromWide(autoConfig));
    DeleteRegistryValue(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue);
}

String TUserProxySettings::Snapshot()
{
    // WinINet first: Wine's creates "ProxyEnable" when it reads the settings and finds none.
    String text = u"wininet: no answer\n";
    if (auto lan = CaptureConnection(u""))
        text = u"wininet flags=" + IntToStr(lan->Flags) + u" server=" + lan->ProxyServer + u" bypass=" +
            lan->ProxyBypass + u" autoconfig=" + lan->AutoConfigURL + u"\n";
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_CURRENT_USER, WStr(FKey), 0, KEY_READ, &key);
    for (const char16_t* name : {u"ProxyEnable", u"ProxyServer", u"ProxyOverride", u"AutoConfigURL"}) {
        BYTE data[2048];
        DWORD type = 0, size = sizeof(data);
        text += String(name) + u"=";
        if (key && RegQueryValueExW(key, WStr(name), nullptr, &type, data, &size) == ERROR_SUCCESS) {
            text += IntToStr(type) + u":";
            for (DWORD i = 0; i < size; ++i)
                text += IntToHex(data[i], 2);
        } else {
            text += u"absent";
        }
        text += u"\n";
    }
    if (key)
        RegCloseKey(key);
    return text;
}

} // namespace vptest
