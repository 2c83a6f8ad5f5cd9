// The system switch with "SWITCH.RestoreUserSettings" on, under Wine against the real
// registry and WinINet: the user's own configuration is saved before the first change and
// comes back byte for byte.
#include "support/BrowsersTestSupport.h"

#include <wininet.h>

#include "browsers/IEProxyWin.h"
#include "browsers/SystemProxyBackupWin.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/FileUtils.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kSettingsKey(kInternetSettingsKey);

class SystemProxyRestoreTest : public ::testing::Test {
protected:
    ~SystemProxyRestoreTest() override
    {
        SetConnectionNamesSource(nullptr);
        DeleteSystemProxyBackup();
    }

    static String RunOnceCommand()
    {
        return RegReadString(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue, u"(none)");
    }

    TUserProxySettings FUser;
    TSettingOverride FSwitch{u"SWITCH.IE", u"1"};
    TSettingOverride FRestore{u"SWITCH.RestoreUserSettings", u"1"};
    const String FBefore = TUserProxySettings::Snapshot();
};

TEST_F(SystemProxyRestoreTest, HideThenStopGivesBackTheUsersConfigurationByteForByte)
{
    SetIEProxy(u"192.0.2.10:80");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer", u""),
        IEProxyServerText(u"192.0.2.10:80"));
    auto lan = CaptureConnection(u"");
    ASSERT_TRUE(lan);
    EXPECT_EQ(lan->ProxyServer, u"192.0.2.10:80");
    EXPECT_EQ(RunOnceCommand(), u"\"" + GetAppFileName() + u"\" /restore");
    std::string saved = ReadAllBytes(SystemProxyBackupPath());

    // Hide while hiding keeps the user's configuration, not the program's first proxy.
    SetIEProxy(u"198.51.100.7:81");
    EXPECT_EQ(ReadAllBytes(SystemProxyBackupPath()), saved);

    SetIEProxy(u"");
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_FALSE(FileExists(SystemProxyBackupPath()));
    EXPECT_EQ(RunOnceCommand(), u"(none)");

    // Without a backup, Stop (and so every start) leaves what the user has now alone.
    SetRegistryString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer", u"other-proxy:8080");
    String changed = TUserProxySettings::Snapshot();
    SetIEProxy(u"");
    EXPECT_EQ(TUserProxySettings::Snapshot(), changed);

    // Only an automatic configuration script: the switch's two values must go again.
    DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer");
    DeleteRegistryValue(HKEY_CURRENT_USER, kSettingsKey, u"ProxyEnable");
    String before = TUserProxySettings::Snapshot();
    SetIEProxy(u"192.0.2.10:80");
    EXPECT_NE(TUserProxySettings::Snapshot(), before);
    SetIEProxy(u"");
    EXPECT_EQ(TUserProxySettings::Snapshot(), before);
}

// Turned off while hiding: the next call of the switch puts the user's settings back. (A
// switch that is off from the start touches nothing: tests/app/ProxyRecoveryTest.cpp.)
TEST_F(SystemProxyRestoreTest, SwitchTurnedOffWhileHidingGivesBackAtTheNextCall)
{
    SetIEProxy(u"192.0.2.10:80");
    EXPECT_NE(TUserProxySettings::Snapshot(), FBefore);
    TSettingOverride off(u"SWITCH.IE", u"0");
    SetIEProxy(u"198.51.100.7:81");
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_FALSE(FileExists(SystemProxyBackupPath()));
}

TEST_F(SystemProxyRestoreTest, ADamagedBackupIsIgnoredWithADebugLineAndNeverLeavesTheSwitchsProxy)
{
    DebugSetActive(true);
    DebugSetAutoStart(true);
    // A backup that would delete all four values, one byte changed.
    TSystemProxyBackup other;
    for (StringView name : kProxyRegistryValueNames)
        other.RegistryValues.push_back({String(name), false, 0, ""});
    other.Connections.push_back({u"", 1, u"", u"", u""});
    std::string file = SerializeSystemProxyBackup(other);
    file[file.size() / 2] ^= 0x01;
    WriteAllBytesAtomic(SystemProxyBackupPath(), file);

    EXPECT_TRUE(RestoreSystemProxy());
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    std::string log = ReadAllBytes(DebugLogFileName());
    EXPECT_NE(log.find(U16ToUtf8(
                  u"Proxy backup ignored (length or checksum does not match): " + SystemProxyBackupPath())),
        std::string::npos);
    EXPECT_TRUE(FileExists(SystemProxyBackupPath() + u".damaged"));

    // Damaged while the program's own proxy is in place: the user is not left behind it.
    SetIEProxy(u"192.0.2.10:80");
    WriteAllBytesAtomic(SystemProxyBackupPath(), "VeilportProxyBackup 1\n");
    SetIEProxy(u"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer", u""), u"http=;ftp=;https=;");
    auto lan = CaptureConnection(u"");
    ASSERT_TRUE(lan);
    EXPECT_EQ(lan->Flags, static_cast<uint32_t>(PROXY_TYPE_DIRECT));
    EXPECT_EQ(RunOnceCommand(), u"(none)");

    // No backup at all, left behind by the plain switch: cleared the same way.
    {
        TSettingOverride plain(u"SWITCH.RestoreUserSettings", u"0");
        SetIEProxy(u"192.0.2.10:80");
    }
    SetIEProxy(u"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kSettingsKey, u"ProxyServer", u""), u"http=;ftp=;https=;");
    EXPECT_EQ(CaptureConnection(u"")->Flags, static_cast<uint32_t>(PROXY_TYPE_DIRECT));
    DebugSetActive(false);
    DebugStop();
    std::error_code error;
    std::filesystem::remove(ToFsPath(SystemProxyBackupPath() + u".damaged"), error);
}

// Wine's phonebook lists no connection and Wine's WinINet applies every connection's options
// to the default one; the names come through the narrow source, and what a named
// connection reads back is the default's there.
TEST_F(SystemProxyRestoreTest, NamedConnectionsAreSavedSwitchedAndGivenBack)
{
    std::vector<String> names = {u"Office VPN", u"", u"Mobile"};
    SetConnectionNamesSource([&] { return names; });
    SetIEProxy(u"192.0.2.10:80");
    auto backup = ParseSystemProxyBackup(ReadAllBytes(SystemProxyBackupPath()));
    ASSERT_TRUE(backup);
    ASSERT_EQ(backup->Connections.size(), 3u);
    for (const char16_t* name : {u"", u"Office VPN", u"Mobile"}) {
        ASSERT_TRUE(backup->FindConnection(name)) << U16ToUtf8(name);
        EXPECT_EQ(backup->FindConnection(name)->ProxyServer, u"corp-proxy:3128"); // saved before the change
        EXPECT_EQ(CaptureConnection(name)->ProxyServer, u"192.0.2.10:80");
    }

    // A connection made while hiding joins the backup; the saved ones stay as they were.
    names.push_back(u"Dial-up 2");
    SetIEProxy(u"198.51.100.7:81");
    auto grown = ParseSystemProxyBackup(ReadAllBytes(SystemProxyBackupPath()));
    ASSERT_TRUE(grown);
    ASSERT_EQ(grown->Connections.size(), 4u);
    EXPECT_TRUE(
        std::equal(backup->Connections.begin(), backup->Connections.end(), grown->Connections.begin()));
    EXPECT_EQ(grown->Connections.back().Name, u"Dial-up 2");

    SetIEProxy(u"");
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    for (const char16_t* name : {u"Office VPN", u"Mobile"})
        EXPECT_EQ(CaptureConnection(name)->ProxyServer, u"corp-proxy:3128");
}

} // namespace
