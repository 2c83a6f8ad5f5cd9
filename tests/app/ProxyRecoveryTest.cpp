// Real processes built on the start-up runner hide behind a proxy and end in every way but
// the clean one; the user's own proxy settings must come back all the same.
#include "AppCopy.h"

#include "browsers/IEProxy.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kProxy = u"192.0.2.10:80";
const TStringList kRestoring = {u"SWITCH.IE=1", u"SWITCH.RestoreUserSettings=1"};

String ProxyServer()
{
    return RegReadString(HKEY_CURRENT_USER, String(kInternetSettingsKey), u"ProxyServer", u"(none)");
}

String RunOnceCommand()
{
    return RegReadString(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue, u"(none)");
}

class ProxyRecoveryTest : public ::testing::Test {
protected:
    // A copy whose window hides behind kProxy as it is created.
    HANDLE StartHiding(TAppCopy& copy)
    {
        int earlier = copy.CountLines(u"switched");
        HANDLE process = copy.Start(u"-h", {u"VP_HIDE_PROXY=" + kProxy});
        EXPECT_TRUE(copy.WaitForLines(u"switched", earlier + 1));
        EXPECT_EQ(ProxyServer(), IEProxyServerText(kProxy));
        return process;
    }
    static void Kill(HANDLE process)
    {
        TerminateProcess(process, 9);
        EXPECT_TRUE(TAppCopy::WaitForExit(process));
    }
    static void Close(TAppCopy& copy, HANDLE process)
    {
        EXPECT_EQ(copy.Run(u"/s"), 0);
        EXPECT_TRUE(TAppCopy::WaitForExit(process));
    }

    TUserProxySettings FUser;
    const String FBefore = TUserProxySettings::Snapshot();
};

TEST_F(ProxyRecoveryTest, AfterAKillTheRunOnceEntryAndTheNextStartGiveTheSettingsBack)
{
    TAppCopy copy(kRestoring);
    Kill(StartHiding(copy));
    String command = RunOnceCommand();
    EXPECT_EQ(command, u"\"" + copy.Folder() + u"instancetestapp.exe\" /restore");
    // As Windows runs it at log-on: the entry's text is the command line. It ends by itself.
    EXPECT_EQ(RunAndWait(command), 0);
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_EQ(RunOnceCommand(), u"(none)");
    EXPECT_EQ(copy.CountLines(u"created debug=0"), 1); // no window of its own

    Kill(StartHiding(copy));
    int earlier = copy.CountLines(u"ready"); // killed copies may or may not have got so far
    HANDLE next = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLines(u"ready", earlier + 1));
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_EQ(RunOnceCommand(), u"(none)");
    Close(copy, next);
}

TEST_F(ProxyRecoveryTest, RestoreOnlyLeavesARunningCopyAloneWhoseEndGivesTheSettingsBack)
{
    TAppCopy copy(kRestoring);
    HANDLE process = StartHiding(copy);
    EXPECT_EQ(copy.Run(u"/restore"), 0);
    EXPECT_EQ(ProxyServer(), IEProxyServerText(kProxy));
    Close(copy, process);
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_EQ(RunOnceCommand(), u"(none)");
}

TEST_F(ProxyRecoveryTest, TheEndOfTheSessionGivesTheSettingsBack)
{
    TAppCopy copy(kRestoring);
    HANDLE process = StartHiding(copy);
    HWND window = copy.Window();
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
    SendMessageW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    EXPECT_EQ(RunOnceCommand(), u"(none)");
    Kill(process); // what Windows may do next
}

TEST_F(ProxyRecoveryTest, WithTheSwitchOffAStartAndAHideLeaveTheSettingsAlone)
{
    TAppCopy off({u"SWITCH.IE=0", u"SWITCH.RestoreUserSettings=1"});
    HANDLE process = off.Start(u"-h", {u"VP_HIDE_PROXY=" + kProxy}); // Stop Hide, then Hide IP
    ASSERT_TRUE(off.WaitForLine(u"switched"));
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
    Close(off, process);
    EXPECT_EQ(TUserProxySettings::Snapshot(), FBefore);
}

} // namespace
