// Hide IP and Stop Hide with their one-second rule, the three browser switches (the system's
// proxy in the registry stands for all three), and the rotation, keep-alive and start-up
// timers, with time moved by the test.
#include "MainWindowTestSupport.h"

#include "app/uIPsTesting.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// The selection tells proxies apart by address: two names of the loopback address give two.
const String kGermanA = PoolEntry(u"127.0.0.1:3101", u"Germany", u"DE");
const String kGermanB = PoolEntry(u"localhost:3102", u"Germany", u"DE");
const String kFrenchSuper = PoolEntry(u"127.0.0.1:3201", u"France", u"FR");
const String kFrenchNormal = PoolEntry(u"localhost:3202", u"France", u"FR");

// A started main window with a location reply and German proxies, a second after the start.
class MainHide : public ::testing::Test {
protected:
    void SetUp() override
    {
        Main = &Fixture.Create();
        Fixture.ReplyLocation();
        Fixture.SetPools(kGermanA + u";" + kGermanB);
        Fixture.Clock.AddSeconds(1);
        Fixture.ClearMessages();
    }
    // Hide IP as the button runs it; false when it did not reach the browsers.
    void Hide() { Main->actStartHide->Execute(); }
    void Stop() { Main->actStopHide->Execute(); }
    String Proxy() const { return Main->FProxyManager->FTargetProxy.IP + u":" + Main->FProxyManager->FTargetProxy.Port; }

    TMainWindowFixture Fixture;
    TfrmMain* Main = nullptr;
};

} // namespace

TEST_F(MainHide, HideWritesTheProxyTurnsTheButtonAndStopClearsItAgain)
{
    Hide();
    EXPECT_TRUE(Fixture.MessageTexts().empty());
    ASSERT_TRUE(Main->IsHiding());
    EXPECT_EQ(Main->StartHide1->Action(), Main->actStopHide);
    EXPECT_EQ(Main->btnHide->Caption(), u"&Stop Hide");
    EXPECT_TRUE(TMainWindowFixture::ProxyEnabled());
    EXPECT_TRUE(Proxy() == u"127.0.0.1:3101" || Proxy() == u"localhost:3102") << U16ToUtf8(Proxy());
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(Proxy()));
    // No rotation asked for; a normal proxy needs no keep-alive.
    EXPECT_FALSE(Main->tmrChangeIP->Enabled());
    EXPECT_FALSE(Main->tmrTouch->Enabled());

    const TPanelState& state = Fixture.PanelState();
    const TPanelCard& target = state.Card(TPanelCardId::Target);
    EXPECT_TRUE(target.Display);
    EXPECT_EQ(target.IP, u"127.0.0.1");
    EXPECT_EQ(target.CountryName, u"Germany");
    EXPECT_EQ(target.City, u"");
    EXPECT_EQ(target.FlagURL, MainInstall().Folder() + u"res\\flag_short\\DE.PNG");
    EXPECT_EQ(state.Front, TPanelCardId::Target);
    EXPECT_EQ(state.Card(TPanelCardId::Local).Alpha, 50);
    EXPECT_EQ(state.InfoText.Text, Main->CLEngine->GetAppString(u"FLSMsg.Hiding"));
    EXPECT_EQ(state.InfoText.Color, 0u);

    // Less than a second later Stop is refused and the proxy stays.
    Fixture.Clock.AddSeconds(0.9);
    Stop();
    EXPECT_EQ(Fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
    EXPECT_TRUE(Main->IsHiding());
    EXPECT_TRUE(TMainWindowFixture::ProxyEnabled());

    Fixture.Clock.AddSeconds(1);
    Stop();
    EXPECT_EQ(Fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
    EXPECT_FALSE(Main->IsHiding());
    EXPECT_EQ(Main->StartHide1->Action(), Main->actStartHide);
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
    EXPECT_EQ(state.Front, TPanelCardId::Local);
    EXPECT_EQ(state.Card(TPanelCardId::Local).Alpha, 100);
    EXPECT_EQ(state.InfoText.Text, Main->CLEngine->GetAppString(u"FLSMsg.Ready"));
    EXPECT_EQ(state.InfoText.Color, 0xFF0000u);
}

TEST_F(MainHide, ClosingWithinASecondOfHideStillClearsTheProxy)
{
    Hide();
    ASSERT_TRUE(TMainWindowFixture::ProxyEnabled());
    Fixture.Clock.AddSeconds(0.2);
    Fixture.Destroy();
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
    EXPECT_TRUE(Fixture.MessageTexts().empty());
}

TEST_F(MainHide, HideWhileHidingMovesToAnotherProxyAndRestartsTheRotationClock)
{
    Hide();
    const String first = Proxy();
    const TDateTime firstChange = Main->FLastChangeIPTime;
    Fixture.Clock.AddSeconds(30);
    Hide();
    EXPECT_TRUE(Main->IsHiding());
    EXPECT_NE(Proxy(), first);
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(Proxy()));
    EXPECT_GT(Main->FLastChangeIPTime, firstChange);
    EXPECT_EQ(Main->FLastChangeIPTime, Fixture.Clock.Time);
}

TEST(MainHideStart, HideRightAfterTheStartIsRefused)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    fixture.ReplyLocation();
    fixture.SetPools(kGermanA);
    fixture.Clock.AddSeconds(0.5);
    main.actStartHide->Execute();
    EXPECT_EQ(fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
    EXPECT_FALSE(main.IsHiding());
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
}

TEST(MainHideStart, WithoutALocationReplyHideAsksAgainAndStillCountsForTheRule)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    fixture.SetPools(kGermanA);
    ASSERT_TRUE(PumpUntil([] { return MainInstall().CountRequests("/getinfo") > 0; }));
    const size_t lookups = MainInstall().CountRequests("/getinfo");
    fixture.Clock.AddSeconds(2);
    main.actStartHide->Execute();
    EXPECT_EQ(fixture.CountMessages(u"MSGBox.CHKNET"), 1);
    EXPECT_FALSE(main.IsHiding());
    EXPECT_TRUE(PumpUntil([&] { return MainInstall().CountRequests("/getinfo") > lookups; }));

    // Counted for the rule: half a second later the refusal is the other one.
    fixture.ReplyLocation();
    fixture.Clock.AddSeconds(0.5);
    main.actStartHide->Execute();
    EXPECT_EQ(fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
    EXPECT_EQ(fixture.CountMessages(u"MSGBox.CHKNET"), 1);
    EXPECT_FALSE(main.IsHiding());
}

TEST(MainHideStart, WithoutAConfigurationPushHideAndTheCountryChoiceAreRefused)
{
    TMainWindowFixture fixture;
    fixture.Set(u"Update.Times", u"0");
    TfrmMain& main = fixture.Create();
    fixture.ReplyLocation();
    fixture.SetPools(kGermanA);
    fixture.Clock.AddSeconds(2);
    main.actStartHide->Execute();
    main.actChooseIPCountry->Execute();
    EXPECT_EQ(fixture.CountMessages(u"MSGBox.CHKNET"), 2);
    EXPECT_FALSE(main.IsHiding());
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
}

TEST_F(MainHide, NoProxyForTheCountryLeavesTheBrowsersAloneAndCountsForTheRule)
{
    Main->FProxyManager->FTargetCountry = u"JP";
    Hide();
    EXPECT_EQ(Fixture.CountMessages(u"MSGBox.NoProxy"), 1);
    EXPECT_FALSE(Main->IsHiding());
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
    EXPECT_NE(TMainWindowFixture::ProxyServer(), u":");
    EXPECT_FALSE(Fixture.PanelState().Card(TPanelCardId::Target).Display);
    Fixture.Clock.AddSeconds(0.5);
    Hide();
    EXPECT_EQ(Fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
}

TEST_F(MainHide, SuperProxiesAreKeptAliveAndANormalOneStopsTheKeepAlive)
{
    Fixture.SetPools(kFrenchNormal, kFrenchSuper);
    Main->FProxyManager->FTargetCountry = u"FR";
    const size_t touches = MainInstall().CountRequests("/touch");
    Fixture.Random.Value = 0; // the super pool's turn
    Hide();
    ASSERT_TRUE(Main->FProxyManager->FTargetProxy.IsSuper);
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(u"127.0.0.1:3201"));
    EXPECT_TRUE(Main->tmrTouch->Enabled());
    EXPECT_EQ(Main->FLastTouchTime, Fixture.Clock.Time);
    ASSERT_TRUE(PumpUntil([&] { return MainInstall().CountRequests("/touch") == touches + 1; }));

    // The keep-alive timer sends again only after more than 30 whole minutes.
    Fixture.Clock.AddSeconds(30 * 60 + 59);
    Main->tmrTouchTimer(Main->tmrTouch);
    Fixture.Clock.AddSeconds(1);
    Main->tmrTouchTimer(Main->tmrTouch);
    EXPECT_EQ(Main->FLastTouchTime, Fixture.Clock.Time);
    ASSERT_TRUE(PumpUntil([&] { return MainInstall().CountRequests("/touch") == touches + 2; }));

    // Rotating to a normal proxy switches the keep-alive off.
    Fixture.Random.Value = 5;
    Hide();
    EXPECT_FALSE(Main->FProxyManager->FTargetProxy.IsSuper);
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(u"localhost:3202"));
    EXPECT_FALSE(Main->tmrTouch->Enabled());
    Fixture.Clock.AddSeconds(40 * 60);
    Main->tmrTouchTimer(Main->tmrTouch);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(MainInstall().CountRequests("/touch"), touches + 2);
}

TEST_F(MainHide, RotationFollowsChangeIPTime)
{
    // "ChangeIP" off: Hide leaves the rotation timer as it was.
    Hide();
    EXPECT_FALSE(Main->tmrChangeIP->Enabled());
    Fixture.Clock.AddSeconds(2);
    Stop();

    GetCLSettings().SetSettingBool(u"ChangeIP", true);
    GetCLSettings().SetSettingInteger(u"ChangeIPTime", 5);
    Fixture.Clock.AddSeconds(2);
    Hide();
    EXPECT_TRUE(Main->tmrChangeIP->Enabled());
    const String first = Proxy();
    // Ticks up to 4:59 change nothing; the first at 5:00 or later rotates.
    for (int seconds = 10; seconds < 300; seconds += 10) {
        Fixture.Clock.AddSeconds(10);
        Main->tmrChangeIPTimer(Main->tmrChangeIP);
    }
    Fixture.Clock.AddSeconds(9);
    const TDateTime hidden = Main->FLastChangeIPTime;
    Main->tmrChangeIPTimer(Main->tmrChangeIP);
    EXPECT_EQ(Proxy(), first);
    EXPECT_EQ(Main->FLastChangeIPTime, hidden);
    Fixture.Clock.AddSeconds(1);
    Main->tmrChangeIPTimer(Main->tmrChangeIP);
    EXPECT_NE(Proxy(), first);
    EXPECT_EQ(Main->FLastChangeIPTime, Fixture.Clock.Time);
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(Proxy()));
    EXPECT_TRUE(Fixture.MessageTexts().empty());

    // Closing the options dialog restarts the clock even while hiding.
    const String second = Proxy();
    Fixture.Clock.AddSeconds(4 * 60);
    Main->ResetChangeIPTime();
    const TDateTime reset = Fixture.Clock.Time;
    EXPECT_EQ(Main->FLastChangeIPTime, reset);
    Fixture.Clock.AddSeconds(2 * 60); // six minutes after the rotation, two after the reset
    Main->tmrChangeIPTimer(Main->tmrChangeIP);
    EXPECT_EQ(Proxy(), second);
    EXPECT_EQ(Main->FLastChangeIPTime, reset);

    // Not hiding: the ticks do nothing however long it has been.
    Stop();
    Fixture.Clock.AddSeconds(60 * 60);
    Main->tmrChangeIPTimer(Main->tmrChangeIP);
    EXPECT_FALSE(Main->IsHiding());
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
}

TEST_F(MainHide, RotationTimeZeroChangesAtEveryTick)
{
    GetCLSettings().SetSettingBool(u"ChangeIP", true);
    GetCLSettings().SetSettingInteger(u"ChangeIPTime", 0);
    Hide();
    const String first = Proxy();
    for (int tick = 0; tick < 3; ++tick) {
        Fixture.Clock.AddSeconds(10);
        Main->tmrChangeIPTimer(Main->tmrChangeIP);
        EXPECT_EQ(Main->FLastChangeIPTime, Fixture.Clock.Time) << tick;
        EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(Proxy())) << tick;
        if (tick == 0) {
            EXPECT_NE(Proxy(), first);
        }
    }
    EXPECT_TRUE(Fixture.MessageTexts().empty());
    // "ChangeIP" turned off: the reset switches the timer off, Stop keeps it off.
    GetCLSettings().SetSettingBool(u"ChangeIP", false);
    Main->ResetChangeIPTime();
    EXPECT_FALSE(Main->tmrChangeIP->Enabled());
}

TEST(MainTimers, TheStartTimerWaitsForThePoolsThenShowsTheFlagAndTheVerifyingWindow)
{
    TMainWindowFixture fixture;
    fixture.Set(u"TestIPfromLocal", u"1");
    TfrmMain& main = fixture.Create();
    main.tmrInitTimer(main.tmrInit);
    EXPECT_TRUE(main.tmrInit->Enabled());
    EXPECT_TRUE(fixture.Requests().empty());
    Gdiplus::Color blank;
    if (main.imgFL->Picture()) {
        main.imgFL->Picture()->GetPixel(main.imgFL->Picture()->GetWidth() / 2, main.imgFL->Picture()->GetHeight() / 2, &blank);
        EXPECT_EQ(blank.GetA(), 0);
    }

    // The verifying window as it shows: modal, its progress bar running.
    struct {
        int Shown = 0;
        String ClassName, Caption;
        bool Animating = false, ReadOnlyLog = false;
    } seen;
    SetModalResponder([&](const TModalRequest& request) {
        auto* testing = dynamic_cast<TfrmTesting*>(request.Form);
        if (!testing)
            return mrOk;
        ++seen.Shown;
        seen.ClassName = testing->ClassName();
        seen.Caption = testing->Caption();
        seen.Animating = testing->pbTesting->ProgressAnimation() && testing->pbTesting->ProgressAnimationPause() == 1000;
        seen.ReadOnlyLog = testing->mmLog->Lines()->Count() == 0;
        return mrCancel;
    });
    GetCLSettings().SetSettingstring(u"NORMAL_IPS", kGermanA);
    main.tmrInitTimer(main.tmrInit);
    SetModalResponder(nullptr);
    EXPECT_FALSE(main.tmrInit->Enabled());
    EXPECT_EQ(seen.Shown, 1);
    EXPECT_EQ(seen.ClassName, u"TfrmTesting");
    EXPECT_EQ(seen.Caption, u"Verifying with the server..."); // as English.lan words it
    EXPECT_TRUE(seen.Animating);
    EXPECT_TRUE(seen.ReadOnlyLog);
    // The target country's flag (DE) is drawn: the middle of the image is opaque now.
    ASSERT_NE(main.imgFL->Picture(), nullptr);
    Gdiplus::Color middle;
    main.imgFL->Picture()->GetPixel(main.imgFL->Picture()->GetWidth() / 2, main.imgFL->Picture()->GetHeight() / 2, &middle);
    EXPECT_EQ(middle.GetA(), 255);
}

TEST(MainTimers, WithoutTestIPfromLocalNoVerifyingWindowComes)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    GetCLSettings().SetSettingstring(u"NORMAL_IPS", kGermanA);
    main.tmrInitTimer(main.tmrInit);
    EXPECT_FALSE(main.tmrInit->Enabled());
    EXPECT_TRUE(fixture.Requests().empty());
}

// A preference file of Opera's that cannot be written: the error ends the command after the
// system's switch (which came first) and before the button, the timers and the status line.
TEST_F(MainHide, AnErrorOfTheOperaSwitchEndsTheCommandThere)
{
    const String shellFolders = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
    TRegistryValueGuard appDataGuard(HKEY_CURRENT_USER, shellFolders, u"AppData");
    TTempFolder appData;
    String folder = GetLongPath(appData.Folder());
    folder.pop_back(); // the registry holds the folder without a final "\"
    SetRegistryString(HKEY_CURRENT_USER, shellFolders, u"AppData", folder);
    const String prefs = folder + u"\\Opera\\Opera\\operaprefs.ini";
    ForceDirectories(ExtractFilePath(prefs));
    WriteAllBytesAtomic(prefs, std::string("[Proxy]\r\nUse HTTP=0\r\n"));
    GetCLSettings().SetSettingBool(u"ChangeIP", true);
    Main->tmrChangeIP->SetEnabled(false);
    const String ready = Fixture.PanelState().InfoText.Text;
    {
        TKernelHandle held = HoldFile(prefs, 0);
        ASSERT_TRUE(held);
        EXPECT_THROW(Hide(), EWriteError);
    }
    EXPECT_TRUE(TMainWindowFixture::SystemProxyIs(Proxy()));
    EXPECT_FALSE(Main->IsHiding());
    EXPECT_FALSE(Main->tmrChangeIP->Enabled());
    EXPECT_FALSE(Fixture.PanelState().Card(TPanelCardId::Target).Display);
    EXPECT_EQ(Fixture.PanelState().InfoText.Text, ready);

    // The time was taken before the error: half a second later the rule refuses.
    Fixture.Clock.AddSeconds(0.5);
    Hide();
    EXPECT_EQ(Fixture.CountMessages(u"MSGBox_ACTIONFAST"), 1);
    // With the file free again the next Hide goes through to the end.
    Fixture.Clock.AddSeconds(1);
    Hide();
    EXPECT_TRUE(Main->IsHiding());
    EXPECT_NE(ReadAllBytes(prefs).find(U16ToUtf8(Proxy())), std::string::npos) << ReadAllBytes(prefs);
}
