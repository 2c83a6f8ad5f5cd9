// The system switch under Wine against the real registry and WinINet's per-connection options.
#include "support/BrowsersTestSupport.h"

#include <wininet.h>

#include "browsers/IEProxyWin.h"
#include "browsers/SystemProxyBackupWin.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vp;
using namespace vptest;

namespace {

const auto gStore = (UseBrowsersSettingsStore(), 0);

const String kSettingsKey(kInternetSettingsKey);
const String kConnectionsKey = kSettingsKey + u"\\Connections";

struct TConnectionOptions {
    DWORD Flags = 0;
    String Server;
    String Bypass;
};

// The default connection's options as WinINet reports them.
std::optional<TConnectionOptions> QueryConnectionOptions()
{
    INTERNET_PER_CONN_OPTIONW options[3] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.dwOptionCount = 3;
    list.pOptions = options;
    DWORD size = sizeof(list);
    if (!InternetQueryOptionW(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size))
        return std::nullopt;
    TConnectionOptions result;
    result.Flags = options[0].Value.dwValue;
    result.Server = FromWStr(options[1].Value.pszValue);
    result.Bypass = FromWStr(options[2].Value.pszValue);
    GlobalFree(options[1].Value.pszValue);
    GlobalFree(options[2].Value.pszValue);
    return result;
}

struct TRegistryState {
    std::optional<String> ProxyServer;
    std::optional<DWORD> ProxyEnable;
    DWORD ProxyEnableType = REG_NONE;
    bool operator==(const TRegistryState&) const = default;
};

TRegistryState ReadRegistryState()
{
    TRegistryState state;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WStr(kSettingsKey), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return state;
    wchar_t text[1024];
    DWORD size = sizeof(text);
    DWORD type = 0;
    if (RegQueryValueExW(key, L"ProxyServer", nullptr, &type, reinterpret_cast<BYTE*>(text), &size) ==
            ERROR_SUCCESS &&
        type == REG_SZ)
        state.ProxyServer = FromWStr(text);
    DWORD enable = 0;
    size = sizeof(enable);
    if (RegQueryValueExW(key, L"ProxyEnable", nullptr, &state.ProxyEnableType,
            reinterpret_cast<BYTE*>(&enable), &size) == ERROR_SUCCESS)
        state.ProxyEnable = enable;
    RegCloseKey(key);
    return state;
}

// The plain switch ("SWITCH.RestoreUserSettings" off). Everything the switch (and
// WinINet on its behalf) may write is put back afterwards.
class IEProxyTest : public ::testing::Test {
protected:
    TRegistryValueGuard FServer{HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer"};
    TRegistryValueGuard FEnable{HKEY_CURRENT_USER, kSettingsKey, u"ProxyEnable"};
    TRegistryValueGuard FOverride{HKEY_CURRENT_USER, kSettingsKey, u"ProxyOverride"};
    TRegistryValueGuard FAutoConfig{HKEY_CURRENT_USER, kSettingsKey, u"AutoConfigURL"};
    TRegistryValueGuard FDefaultConnection{HKEY_CURRENT_USER, kConnectionsKey, u"DefaultConnectionSettings"};
    TRegistryValueGuard FSavedLegacy{HKEY_CURRENT_USER, kConnectionsKey, u"SavedLegacySettings"};
    TSettingOverride FSwitch{u"SWITCH.IE", u"1"};
    TSettingOverride FRestore{u"SWITCH.RestoreUserSettings", u"0"};
};

TEST_F(IEProxyTest, ProxyGivesRegistryValuesAndWinInetOptions)
{
    SetIEProxy(u"192.0.2.10:80");

    TRegistryState state = ReadRegistryState();
    EXPECT_EQ(state.ProxyServer, u"http=192.0.2.10:80;ftp=192.0.2.10:80;https=192.0.2.10:80;");
    EXPECT_EQ(state.ProxyEnable, 1u);
    EXPECT_EQ(state.ProxyEnableType, static_cast<DWORD>(REG_DWORD));

    auto options = QueryConnectionOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Flags, static_cast<DWORD>(PROXY_TYPE_PROXY));
    EXPECT_EQ(options->Server, u"192.0.2.10:80");
}

TEST_F(IEProxyTest, ClearingWritesEmptyServerListAndDirectConnection)
{
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer", u"corp-proxy:3128");
    SetIEProxy(u"192.0.2.10:80");
    SetIEProxy(u"");

    TRegistryState state = ReadRegistryState();
    // The user's own server list is not restored: nothing of it was kept.
    EXPECT_EQ(state.ProxyServer, u"http=;ftp=;https=;");
    EXPECT_EQ(state.ProxyEnable, 0u);
    EXPECT_FALSE(FileExists(SystemProxyBackupPath()));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue, u"(none)"), u"(none)");
    auto options = QueryConnectionOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Flags, static_cast<DWORD>(PROXY_TYPE_DIRECT));
}

TEST_F(IEProxyTest, SwitchOffResetsToDirectInsteadOfKeepingTheUsersProxy)
{
    SetIEProxy(u"198.51.100.7:81");
    {
        TSettingOverride off(u"SWITCH.IE", u"0");
        SetIEProxy(u"192.0.2.10:80");
    }
    TRegistryState state = ReadRegistryState();
    EXPECT_EQ(state.ProxyServer, u"http=;ftp=;https=;");
    EXPECT_EQ(state.ProxyEnable, 0u);
    auto options = QueryConnectionOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Flags, static_cast<DWORD>(PROXY_TYPE_DIRECT));
}

TEST_F(IEProxyTest, TwoIdenticalCallsLeaveTheStateOfOne)
{
    for (const char16_t* proxy : {u"192.0.2.10:80", u""}) {
        SetIEProxy(proxy);
        TRegistryState once = ReadRegistryState();
        auto onceOptions = QueryConnectionOptions();
        SetIEProxy(proxy);
        TRegistryState twice = ReadRegistryState();
        auto twiceOptions = QueryConnectionOptions();
        EXPECT_EQ(once, twice) << String(proxy).size();
        ASSERT_TRUE(onceOptions && twiceOptions);
        EXPECT_EQ(onceOptions->Flags, twiceOptions->Flags);
        EXPECT_EQ(onceOptions->Server, twiceOptions->Server);
        EXPECT_EQ(onceOptions->Bypass, twiceOptions->Bypass);
    }
}

TEST_F(IEProxyTest, PlatformAcceptsBothOptionSets)
{
    EXPECT_TRUE(SetInternetProxyOption(true, u"", u"192.0.2.10:80"));
    auto proxied = QueryConnectionOptions();
    ASSERT_TRUE(proxied);
    EXPECT_EQ(proxied->Flags, static_cast<DWORD>(PROXY_TYPE_PROXY));
    EXPECT_EQ(proxied->Server, u"192.0.2.10:80");

    EXPECT_TRUE(SetInternetProxyOption(false, u"", u""));
    auto direct = QueryConnectionOptions();
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->Flags, static_cast<DWORD>(PROXY_TYPE_DIRECT));
}

TEST_F(IEProxyTest, BypassListIsEmptyAfterTheSwitch)
{
    DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, u"ProxyOverride");
    SetIEProxy(u"192.0.2.10:80");
    auto options = QueryConnectionOptions();
    ASSERT_TRUE(options);
    EXPECT_EQ(options->Bypass, u"");

    // A list of the user's own: Windows replaces it by the empty list that the switch passes.
    // Wine 8 ignores the bypass option and goes on reporting the registry's "ProxyOverride".
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyOverride", u"<local>");
    SetIEProxy(u"192.0.2.10:80");
    options = QueryConnectionOptions();
    ASSERT_TRUE(options);
    if (!RunningUnderWine()) {
        EXPECT_EQ(options->Bypass, u"");
    }
}

TEST_F(IEProxyTest, WriteIEProxyRegistryWritesOnlyTheTwoValues)
{
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyOverride", u"<local>");
    WriteIEProxyRegistry(u"192.0.2.10:80");
    TRegistryState state = ReadRegistryState();
    EXPECT_EQ(state.ProxyServer, u"http=192.0.2.10:80;ftp=192.0.2.10:80;https=192.0.2.10:80;");
    EXPECT_EQ(state.ProxyEnable, 1u);
    WriteIEProxyRegistry(u"");
    state = ReadRegistryState();
    EXPECT_EQ(state.ProxyServer, u"http=;ftp=;https=;");
    EXPECT_EQ(state.ProxyEnable, 0u);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyOverride", u""), u"<local>");
}

} // namespace
