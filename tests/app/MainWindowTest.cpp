// The main window: its frame commands (close to the tray, shutdown, maximise), the stored
// size, the flag list, the location reply and what the start leaves in the browsers.
#include "MainWindowTestSupport.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/GdiPlus.h"
#include "framework/ui/Dpi.h"
#include "framework/ui/Menus.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

TEST(MainWindow, StartsReadyWithTheProxyClearedAndTheMenusInOrder)
{
    TMainWindowFixture fixture;
    // A proxy left behind by some earlier run is cleared at the start.
    SetRegistryString(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
        u"ProxyServer", u"192.0.2.1:8080");
    TfrmMain& main = fixture.Create();
    EXPECT_FALSE(TMainWindowFixture::ProxyEnabled());
    EXPECT_FALSE(main.IsHiding());
    EXPECT_EQ(main.btnHide->Action(), main.actStartHide);
    EXPECT_EQ(main.StartHide1->Action(), main.actStartHide);
    EXPECT_FALSE(main.tmrChangeIP->Enabled());
    EXPECT_FALSE(main.tmrTouch->Enabled());
    EXPECT_TRUE(main.tmrInit->Enabled());
    EXPECT_FALSE(main.FLocalInfoGot);
    // The location lookup went out; the status line says so until it answers.
    EXPECT_TRUE(PumpUntil([] { return MainInstall().CountRequests("/getinfo") > 0; }));
    EXPECT_EQ(fixture.PanelState().InfoText.Text, main.CLEngine->GetAppString(u"FLSMsg.Verifing"));
    EXPECT_FALSE(fixture.PanelState().InfoText.Text.empty());
    EXPECT_TRUE(fixture.MessageTexts().empty());

    // The status panel fills its container.
    RECT panel{}, container{};
    GetClientRect(fixture.Panel().Handle(), &panel);
    GetClientRect(main.pnlFlash->Handle(), &container);
    EXPECT_EQ(GetParent(fixture.Panel().Handle()), main.pnlFlash->Handle());
    EXPECT_EQ(panel.right, container.right);
    EXPECT_EQ(panel.bottom, container.bottom);
    EXPECT_GT(panel.right, 400);

    std::vector<String> tray;
    for (int i = 0; i < main.pmTray->Items()->Count(); ++i)
        tray.push_back(main.pmTray->Items()->Items(i)->Caption());
    EXPECT_EQ(tray, (std::vector<String>{u"&Open...", u"&Hide IP", u"Check IP I&nfo", u"Choose &IP Country", u"-",
                        u"Se&ttings", u"Update...", u"-", u"Ho&me Page", u"&Help Center", u"About...", u"&Exit"}));
    std::vector<String> sys;
    for (int i = 0; i < main.pmSys->Items()->Count(); ++i)
        sys.push_back(main.pmSys->Items()->Items(i)->Caption());
    EXPECT_EQ(sys, (std::vector<String>{u"Always on top", u"-", u"Se&ttings", u"Update...", u"-", u"Ho&me Page",
                       u"&Help Center", u"About..."}));
}

TEST(MainWindow, TheStoredSizeCountsOnlyAboveZero)
{
    {
        TMainWindowFixture fixture;
        fixture.Set(u"MainForm.Width", u"0");
        fixture.Set(u"MainForm.Height", u"-5");
        TfrmMain& main = fixture.Create();
        EXPECT_EQ(main.ClientWidth(), 474);
        EXPECT_EQ(main.ClientHeight(), 236);
    }
    {
        TMainWindowFixture fixture;
        fixture.Set(u"MainForm.Width", u"600");
        fixture.Set(u"MainForm.Height", u"0");
        TfrmMain& main = fixture.Create();
        RECT window{};
        GetWindowRect(main.Handle(), &window);
        EXPECT_EQ(UnscaleFromDpi(window.right - window.left, WindowDpi(main.Handle())), 600);
        EXPECT_EQ(main.ClientHeight(), 236);
    }
}

TEST(MainWindow, CloseGoesToTheTrayWithItsNoticeUnlessWindowsIsEnding)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    main.Show();
    EXPECT_FALSE(main.spDynamicSkinForm->ExecuteCommand(TspFormCommand::cmClose));
    EXPECT_TRUE(IsWindow(main.Handle()));
    EXPECT_FALSE(IsWindowVisible(main.Handle()));
    EXPECT_TRUE(main.spDynamicSkinForm->InTray());
    ASSERT_EQ(fixture.CountMessages(u"MSGBox.CloseNotify"), 1);
    // The notice offers its show-again box.
    EXPECT_NE(fixture.Requests().back().ShowAgain, nullptr);

    // The tray icon brings it back.
    main.spTrayIcon->OnClick(main.spTrayIcon);
    EXPECT_TRUE(IsWindowVisible(main.Handle()));
    EXPECT_FALSE(main.spDynamicSkinForm->InTray());

    // Maximise and roll-up are refused.
    EXPECT_FALSE(main.spDynamicSkinForm->ExecuteCommand(TspFormCommand::cmMaximize));
    EXPECT_FALSE(IsZoomed(main.Handle()));
    bool cancel = false;
    main.spDynamicSkinFormObjectCommand(TspFormCommand::cmRollUp, cancel);
    EXPECT_TRUE(cancel);
    cancel = false;
    main.spDynamicSkinFormObjectCommand(TspFormCommand::cmMinimize, cancel);
    EXPECT_FALSE(cancel);

    // Windows shutting down: the close goes through, without the notice.
    fixture.ClearMessages();
    SendMessageW(main.Handle(), WM_QUERYENDSESSION, 0, 0);
    ASSERT_TRUE(main.CLEngine->GetSessionEnding());
    cancel = false;
    main.spDynamicSkinFormObjectCommand(TspFormCommand::cmClose, cancel);
    EXPECT_FALSE(cancel);
    EXPECT_TRUE(fixture.MessageTexts().empty());
}

TEST(MainWindow, TheNoticeTurnedOffSendsToTheTraySilently)
{
    TMainWindowFixture fixture;
    GetCLSettings().SetMessageShowAgainFlag(1, false);
    TfrmMain& main = fixture.Create();
    main.Show();
    EXPECT_FALSE(main.spDynamicSkinForm->ExecuteCommand(TspFormCommand::cmClose));
    EXPECT_TRUE(main.spDynamicSkinForm->InTray());
    EXPECT_TRUE(fixture.MessageTexts().empty());
}

TEST(MainWindow, FlagListFindsCodesInAnyCaseAndAnswersMinusOneOtherwise)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    ASSERT_GT(main.imglstFlag->Count(), 10);
    const int us = main.GetImageIndex(u"US");
    ASSERT_GE(us, 0);
    EXPECT_EQ(main.GetImageIndex(u"us"), us);
    EXPECT_EQ(main.GetImageIndex(u"Us"), us);
    EXPECT_NE(main.GetImageIndex(u"DE"), us);
    EXPECT_EQ(main.GetImageIndex(u"ZZ"), -1);
    EXPECT_EQ(main.GetImageIndex(u""), -1);

    // The flags are read when first drawn; a file that is no picture leaves the item as it was.
    Gdiplus::Bitmap* flag = main.imglstFlag->Picture(us);
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->GetWidth(), 48u);
    TTempFolder temp;
    const String damaged = GetLongPath(temp.Folder()) + u"XX.png";
    WriteAllBytesAtomic(damaged, std::string("<html>not found</html>"));
    const int xx = main.imglstFlag->Add(u"XX");
    main.imglstFlag->LoadFromFileWhenUsed(xx, damaged);
    EXPECT_EQ(main.imglstFlag->Picture(xx), nullptr);
    main.imglstFlag->LoadFromFileWhenUsed(us, damaged);
    EXPECT_EQ(main.imglstFlag->Picture(us), flag);
}

TEST(MainWindow, ALocationReplyShowsBothCardsAndASecondOneRepeatsThem)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    fixture.ReplyLocation(u"us");
    EXPECT_TRUE(main.FLocalInfoGot);
    const TPanelState& state = fixture.PanelState();
    const TPanelCard& local = state.Card(TPanelCardId::Local);
    const TPanelCard& target = state.Card(TPanelCardId::Target);
    EXPECT_TRUE(local.Display);
    EXPECT_FALSE(target.Display);
    EXPECT_EQ(local.IP, u"203.0.113.10");
    EXPECT_EQ(local.City, u"Denver");
    EXPECT_EQ(target.IP, u"203.0.113.10");
    // The shipped flag, found in the executable's folder.
    EXPECT_EQ(local.FlagURL, MainInstall().Folder() + u"res\\flag_short\\us.PNG");
    EXPECT_EQ(state.InfoText.Text, main.CLEngine->GetAppString(u"FLSMsg.Ready"));
    EXPECT_EQ(state.InfoText.Color, 0xFF0000u);

    // A second reply (after a retry), with a code that has no flag here: the web address.
    fixture.Panel().SetTextInfo(u"something else", 0);
    main.FProxyManager->LocalInfoGot(u"IP=198.51.100.99\r\nCOUNTRY_SHORT=QQ\r\nCOUNTRY_LONG=Elsewhere\r\n");
    EXPECT_EQ(state.Card(TPanelCardId::Local).IP, u"198.51.100.99");
    EXPECT_EQ(state.Card(TPanelCardId::Target).IP, u"198.51.100.99");
    EXPECT_EQ(state.Card(TPanelCardId::Local).FlagURL, GetCLSettings().GetSettingString(u"URL.FlagPath") + u"QQ.PNG");
    EXPECT_EQ(state.InfoText.Text, main.CLEngine->GetAppString(u"FLSMsg.Ready"));
}

TEST(MainWindow, AFlagCodeThatIsNoPlainCodeNeverBecomesAPath)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    main.FProxyManager->LocalInfoGot(u"IP=198.51.100.99\r\nCOUNTRY_SHORT=..\\..\\x\r\n");
    EXPECT_EQ(fixture.PanelState().Card(TPanelCardId::Local).FlagURL, u"");
    EXPECT_TRUE(main.FLocalInfoGot);
}

TEST(MainWindow, AlwaysOnTopFlipsTheSettingAndTheWindow)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    EXPECT_FALSE(main.actAlwaysOnTop->Checked());
    main.actAlwaysOnTop->Execute();
    EXPECT_TRUE(GetCLSettings().GetSettingBool(u"AlwaysOnTop"));
    EXPECT_TRUE(main.actAlwaysOnTop->Checked());
    EXPECT_TRUE(GetWindowLongW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    main.actAlwaysOnTop->Execute();
    EXPECT_FALSE(GetCLSettings().GetSettingBool(u"AlwaysOnTop"));
    EXPECT_FALSE(GetWindowLongW(main.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(MainWindow, EveryTextTheWindowLooksUpIsInTheEnglishFile)
{
    TMainWindowFixture fixture;
    TfrmMain& main = fixture.Create();
    for (const char16_t* key : {u"AppName", u"FLSMsg.Verifing", u"FLSMsg.Ready", u"FLSMsg.Hiding", u"MSGBox.CHKNET",
             u"MSGBox_ACTIONFAST", u"MSGBox.CloseNotify", u"MSGBox.FFRestart", u"MSGBox.NoProxy"}) {
        String text = main.CLEngine->GetAppString(key);
        EXPECT_FALSE(text.empty()) << U16ToUtf8(key);
        EXPECT_EQ(text.find(u"{AppName}"), String::npos) << U16ToUtf8(key);
    }
}
