#include "AppCopy.h"

#include "app/CLMain.h"
#include "framework/rtl/WinText.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

void CloseCopy(TAppCopy& copy, HANDLE process)
{
    EXPECT_EQ(copy.Run(u"/s"), 0);
    EXPECT_TRUE(TAppCopy::WaitForExit(process));
}

} // namespace

TEST(Locale, RefusesChinesePrcByIdOrByName)
{
    EXPECT_TRUE(IsRefusedLocale(0x0804, u"Chinese (Simplified, China)"));
    EXPECT_TRUE(IsRefusedLocale(0x0409, u"chinese (simplified, prc)"));
    EXPECT_FALSE(IsRefusedLocale(0x0409, u"English (United States)"));
    EXPECT_FALSE(IsRefusedLocale(0x0404, u"Chinese (Traditional, Taiwan)"));
    EXPECT_FALSE(IsRefusedLocale(0x1004, u"Chinese (Simplified, Singapore)"));
}

TEST(Switches, OnlyDashOrSlashAndTheLetterAlone)
{
    EXPECT_TRUE(HasSwitch({u"x.txt", u"/S"}, u's'));
    EXPECT_TRUE(HasSwitch({u"-s"}, u's'));
    EXPECT_FALSE(HasSwitch({u"-silent"}, u's'));
    EXPECT_FALSE(HasSwitch({u"s"}, u's'));
    EXPECT_FALSE(HasSwitch({u"-"}, u's'));
    EXPECT_FALSE(HasSwitch({}, u's'));
}

TEST(InstanceProtocol, SwitchSClosesTheRunningCopyWhateverItsCase)
{
    for (const char16_t* sSwitch : {u"/S", u"-s"}) {
        TAppCopy copy;
        HANDLE first = copy.Start(u"-h");
        ASSERT_TRUE(copy.WaitForLine(u"ready"));
        EXPECT_EQ(copy.Run(sSwitch), 0);
        EXPECT_TRUE(TAppCopy::WaitForExit(first));
        EXPECT_EQ(copy.CountLines(u"destroyed"), 1);
        EXPECT_EQ(copy.CountLines(u"created debug=0"), 1); // the closing copy made no window
    }
}

TEST(InstanceProtocol, SilentIsNoSwitchAndForwardsNothing)
{
    TAppCopy copy;
    HANDLE first = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    EXPECT_EQ(copy.Run(u"-silent"), 0);
    EXPECT_EQ(copy.Run(u""), 0);
    EXPECT_EQ(copy.Run(u"-x plain"), 0);
    EXPECT_EQ(copy.Run(u"/x"), 0);
    // A plain argument afterwards arrives; had the others forwarded anything it would be first.
    EXPECT_EQ(copy.Run(u"marker.txt"), 0);
    ASSERT_TRUE(copy.WaitForLine(u"cmdfile=marker.txt"));
    int forwarded = 0;
    for (const String& line : copy.Lines())
        forwarded += line.rfind(u"cmdfile=", 0) == 0 ? 1 : 0;
    EXPECT_EQ(forwarded, 1);
    EXPECT_EQ(copy.CountLines(u"destroyed"), 0);
    CloseCopy(copy, first);
}

TEST(InstanceProtocol, ASecondCopyForwardsItsFirstArgumentWholeAndBringsTheFirstForward)
{
    TAppCopy copy;
    HANDLE first = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    HWND window = copy.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)); // h: created, not shown
    EXPECT_EQ(copy.CountLines(u"shown"), 0);

    EXPECT_EQ(copy.Run(u"\"C:\\some folder\\file name.txt\" second"), 0);
    EXPECT_TRUE(copy.WaitForLine(u"cmdfile=C:\\some folder\\file name.txt"));
    // No tray icon yet, so the sender forced the window to the front itself.
    EXPECT_TRUE(copy.WaitForLine(u"shown"));
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(copy.CountLines(u"created debug=0"), 1);
    CloseCopy(copy, first);
}

TEST(InstanceProtocol, ABusyCopyIsNotBroughtForwardButStillGetsTheArgument)
{
    TAppCopy copy;
    HANDLE first = copy.Start(u"-h", {u"VP_BUSY_MS=4000"});
    ASSERT_TRUE(copy.WaitForLine(u"created debug=0"));
    // The first copy's deferred start-up has not run yet.
    EXPECT_EQ(copy.Run(u"busy.txt"), 0);
    ASSERT_TRUE(copy.WaitForLine(u"cmdfile=busy.txt"));
    EXPECT_EQ(copy.CountLines(u"ready"), 0);
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    EXPECT_EQ(copy.CountLines(u"shown"), 0);
    // Once it is ready it is brought forward.
    EXPECT_EQ(copy.Run(u"later.txt"), 0);
    EXPECT_TRUE(copy.WaitForLine(u"shown"));
    CloseCopy(copy, first);
}

TEST(InstanceProtocol, ProgramsWithTheSameClassNameButAnotherAppIdAreToldApart)
{
    TAppCopy ours;
    TAppCopy other; // another GUID and App.ID, same window class TfrmMain
    HANDLE first = ours.Start(u"-h");
    ASSERT_TRUE(ours.WaitForLine(u"ready"));
    EXPECT_EQ(other.Run(u"/s"), 0);
    Sleep(300);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_EQ(ours.CountLines(u"destroyed"), 0);
    CloseCopy(ours, first);
}

TEST(StartUp, RestartWaitsTwoSecondsEvenWithNoCopyRunning)
{
    TAppCopy copy;
    DWORD start = GetTickCount();
    HANDLE process = copy.Start(u"-r -h");
    ASSERT_TRUE(copy.WaitForLine(u"created debug=0"));
    EXPECT_GE(GetTickCount() - start, 2000u);
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    CloseCopy(copy, process);
}

TEST(StartUp, RestartClosesTheRunningCopyThenStarts)
{
    TAppCopy copy;
    HANDLE first = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    HANDLE second = copy.Start(u"/R -h");
    EXPECT_TRUE(TAppCopy::WaitForExit(first));
    ASSERT_TRUE(copy.WaitForLine(u"destroyed"));
    // The second copy starts as the only one.
    DWORD start = GetTickCount();
    while (copy.CountLines(u"ready") < 2 && GetTickCount() - start < 20000)
        Sleep(20);
    EXPECT_EQ(copy.CountLines(u"ready"), 2);
    CloseCopy(copy, second);
}

TEST(StartUp, SwitchDTurnsDebugOnEvenWhenDebugIsDisabled)
{
    TAppCopy copy({u"Debug.Disabled=1", u"Debug.Enabled=1"});
    HANDLE process = copy.Start(u"-d -h");
    ASSERT_TRUE(copy.WaitForLine(u"created debug=1"));
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    CloseCopy(copy, process);
    process = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"created debug=0"));
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    CloseCopy(copy, process);
}

TEST(StartUp, DebugEnabledTurnsDebugOn)
{
    TAppCopy copy({u"Debug.Enabled=1"});
    HANDLE process = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"created debug=1"));
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    CloseCopy(copy, process);
}

TEST(StartUp, AutorunSwitchEndsWithoutAWindowWhenAutorunIsOff)
{
    TAppCopy off({u"App.Autorun=0"});
    EXPECT_EQ(off.Run(u"/a"), 0);
    EXPECT_EQ(off.Lines(), (std::vector<String>{u"start", u"exit"}));

    TAppCopy on({u"App.Autorun=1"});
    HANDLE process = on.Start(u"-A -h");
    ASSERT_TRUE(on.WaitForLine(u"ready"));
    CloseCopy(on, process);
}

TEST(StartUp, InstallAndUninstallSwitchesEndAtOnce)
{
    TAppCopy copy;
    EXPECT_EQ(copy.Run(u"-i"), 0);
    EXPECT_EQ(copy.Run(u"/U"), 0);
    EXPECT_EQ(copy.Lines(), (std::vector<String>{u"start", u"exit", u"start", u"exit"}));
}

TEST(StartUp, MultipleCopiesWhenAllowed)
{
    TAppCopy copy({u"App.Multiple=1"});
    HANDLE first = copy.Start(u"-h");
    ASSERT_TRUE(copy.WaitForLine(u"ready"));
    HANDLE second = copy.Start(u"-h");
    DWORD start = GetTickCount();
    while (copy.CountLines(u"ready") < 2 && GetTickCount() - start < 20000)
        Sleep(20);
    EXPECT_EQ(copy.CountLines(u"ready"), 2);
    // "CL CloseApp" goes to the first window found; close both.
    EXPECT_EQ(copy.Run(u"/s"), 0);
    EXPECT_EQ(copy.Run(u"/s"), 0);
    EXPECT_TRUE(TAppCopy::WaitForExit(first));
    EXPECT_TRUE(TAppCopy::WaitForExit(second));
}
