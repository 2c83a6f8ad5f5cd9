// The update window and the engine's three update operations under Wine, against the local
// publisher (tests/support/run_with_publisher.sh starts it and passes its port). Each test
// gives the publisher the reply it needs through /control.
#include "support/UiTestSupport.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/engine/CLEngine.h"
#include "framework/engine/CLUpdateForm.h"
#include "framework/rtl/DateTime.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/TextUtils.h"
#include "framework/rtl/UrlText.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <cmath>
#include <filesystem>
#include <random>

using namespace vp;
using namespace vptest;

namespace {

String PublisherBase()
{
    const char* port = std::getenv("VP_PUBLISHER_PORT");
    return port ? u"http://127.0.0.1:" + Utf8ToU16(port) : String();
}

// A GET straight to the publisher, past any proxy; the body, "" on failure.
std::string DirectGet(const String& url)
{
    HINTERNET session = InternetOpenW(L"vptest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    std::string body;
    if (!session)
        return body;
    if (HINTERNET request = InternetOpenUrlW(session, WStr(url), nullptr, 0,
            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0)) {
        char buffer[4096];
        DWORD read = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &read) && read > 0)
            body.append(buffer, read);
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
    return body;
}

// Sets how the publisher's update service answers: a mode, and for "raw" the body.
void SetUpdateReply(const String& mode, const String& body = u"")
{
    String url = PublisherBase() + u"/control?update=" + mode;
    if (!body.empty())
        url += u"&update_body=" + URLEncode(body);
    ASSERT_NE(DirectGet(url).find("update=" + U16ToUtf8(mode)), std::string::npos) << U16ToUtf8(url);
}

// The requests the update service got so far.
int UpdateRequests()
{
    const char* log = std::getenv("VP_PUBLISHER_LOG");
    if (!log)
        return -1;
    const std::string text = ReadFileBytes(ToFsPath(Utf8ToU16(log)));
    int count = 0;
    for (size_t at = 0; (at = text.find("\t/update\t", at)) != std::string::npos; ++at)
        ++count;
    return count;
}

const String kLastVersion = u"You have the latest version.";
const String kNetError = u"The update service could not be reached.";
const String kConnecting = u"Connecting to the service...";

// The executable's folder holds the product's constants, pointing at the publisher, and the
// English texts of the window; the settings folder is new for this run, so this is the
// program's first start.
class TUpdateTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        ASSERT_FALSE(PublisherBase().empty()) << "run through tests/support/run_with_publisher.sh";
        FFolder = std::make_unique<TTempFolder>();
        const String folder = GetLongPath(FFolder->Folder());
        FConfigPath = u"VeilportUpdateTest-" + IntToHex(std::random_device()(), 8);
        WriteAllBytesAtomic(folder + u"const.dat",
            U16ToUtf8(u"[setting]\r\nApp.ID=4713\r\nApp.ConfigPath=" + FConfigPath +
                u"\r\nApp.Name=Shadeway\r\nApp.Ver=1.2.3.4\r\nApp.RegPath=VeilportUpdateTest\r\n"
                u"App.PID=vp7\r\nApp.MagicWord=Veilport\r\nURL.Update=" + PublisherBase() + u"/update\r\n"));
        ForceDirectories(folder + u"lang\\");
        WriteAllBytesAtomic(folder + u"lang\\English.lan",
            U16ToUtf8(u"[LibRes]\r\nTfrmCLUpdateForm.Caption=Software update\r\nbtnOk.Caption=O&K\r\n"
                u"btnCancel.Caption=Ca&ncel\r\ncbAutoCheckUpdate.Caption=Check &automatically\r\n"
                u"Update.Connecting=" + kConnecting + u"\r\nlblTimer.Caption=Closing in {1} s ({1})\r\n"
                u"Update.LastVersionAlready=" + kLastVersion + u"\r\nUpdate.NetError=" + kNetError + u"\r\n"
                u"[TfrmCLUpdateForm]\r\nlbProcess.Caption=Asking the service...\r\n"
                u"btnCancelProcess.Caption=&Stop\r\nlbInfo.Caption=overridden\r\n"));
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
    String FConfigPath;
};

const auto* const gUpdateEnvironment = ::testing::AddGlobalTestEnvironment(new TUpdateTestEnvironment);

class TfrmUpdateHost : public TForm {
    VP_CLASS(TfrmUpdateHost)
public:
    explicit TfrmUpdateHost(TComponent* owner) : TForm(owner)
    {
        CLEngine = new TCLEngine(this);
        CLMultiLangData = new TCLMultiLangData(this);
        CLMultiLangData->SetAutoApply(true);
        CLEngine->SetLanguageData(CLMultiLangData);
    }
    TCLEngine* CLEngine;
    TCLMultiLangData* CLMultiLangData;
};

const TClassInfo& TfrmUpdateHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmUpdateHost, TForm>(u"TfrmUpdateHost").Build();
    return info;
}

class TSettableClock : public TClock {
public:
    TDateTime Now() override { return Time; }
    uint32_t TickCount() override { return SystemClock().TickCount(); }
    TDateTime Time = EncodeDateTime({2026, 3, 10, 12, 0, 0, 0});
};

constexpr double kSecond = 1.0 / 86400;

// Acts on the update window while it runs its modal loop: once ready(window) holds, act(window)
// runs once, from a timer of the loop.
class TModalDriver {
public:
    using TStep = std::function<bool(TfrmCLUpdateForm&)>;
    TModalDriver(TStep ready, std::function<void(TfrmCLUpdateForm&)> act)
        : FReady(std::move(ready)), FAct(std::move(act))
    {
        gDriver = this;
        SetModalResponder([this](const TModalRequest& request) {
            if (auto* window = dynamic_cast<TfrmCLUpdateForm*>(request.Form)) {
                FWindow = window;
                ++Shown;
            }
            return mrNone;
        });
        FTimer = SetTimer(nullptr, 0, 50, &TModalDriver::Tick);
    }
    ~TModalDriver()
    {
        KillTimer(nullptr, FTimer);
        SetModalResponder(nullptr);
        gDriver = nullptr;
    }

    int Shown = 0;
    bool Acted = false;

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept
    {
        TModalDriver* driver = gDriver;
        if (!driver || !driver->FWindow)
            return;
        // A window that never closes fails the test instead of holding it.
        if (GetTickCount() - driver->FStart > kModalLimitMs) {
            ADD_FAILURE() << "the update window was still open";
            driver->FWindow->SetModalResult(mrCancel);
            return;
        }
        if (driver->Acted || !driver->FReady(*driver->FWindow))
            return;
        driver->Acted = true;
        driver->FAct(*driver->FWindow);
    }

    static constexpr DWORD kModalLimitMs = 15000;
    static inline TModalDriver* gDriver = nullptr;
    DWORD FStart = GetTickCount();
    TStep FReady;
    std::function<void(TfrmCLUpdateForm&)> FAct;
    TfrmCLUpdateForm* FWindow = nullptr;
    UINT_PTR FTimer = 0;
};

class UpdateCheck : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetClock(&Clock);
        TCLSettings& settings = GetCLSettings();
        for (const char16_t* key : {u"Update.LastDate", u"Update.Days", u"Update.DelaySeconds", u"Update.AutoClose",
                 u"Update.NoAutoCheck", u"Update.Times", u"Update.BeginAuto"})
            settings.SetSettingstring(key, u"");
        settings.SetSettingBool(u"Update.AutoCheck", true);
        settings.SetSettingstring(u"App.MagicWord", u"Veilport");
        settings.SetSettingstring(u"URL.Update", PublisherBase() + u"/update");
        Host = Application().CreateForm<TfrmUpdateHost>();
        ASSERT_TRUE(PumpUntil([&] { return !Host->CLEngine->InInited(); }));
    }

    void TearDown() override
    {
        SetClock(nullptr);
        SetUpdateReply(u"normal");
    }

    // The user's check, shown at once but not modal; returns when the reply was handled and
    // the outcome, if any, is on the window.
    TfrmCLUpdateForm* UserCheck(const String& reply)
    {
        SetUpdateReply(u"raw", reply);
        return Run(true, true);
    }

    TfrmCLUpdateForm* Run(bool showConnecting, bool doUpdate, bool autoClose = false)
    {
        auto* window = NewForm<TfrmCLUpdateForm>(Host);
        window->StartUpdate(false, showConnecting, doUpdate, false, autoClose);
        EXPECT_TRUE(PumpUntil([&] { return !window->Updating(); }));
        // The outcome is posted: it is there once the Ok button is enabled, or never.
        PumpUntil([&] { return window->btnOK2->Enabled(); }, 300);
        return window;
    }

    // The update windows the main window owns.
    int UpdateWindows()
    {
        int windows = 0;
        for (int i = 0; i < Host->ComponentCount(); ++i)
            windows += dynamic_cast<TfrmCLUpdateForm*>(Host->Components(i)) != nullptr;
        return windows;
    }

    int Times() { return GetCLSettings().GetSettingInteger(u"Update.Times"); }
    TDateTime LastDate() { return GetCLSettings().GetSettingFloat(u"Update.LastDate"); }
    // The user's settings file as it is on disk.
    TStringList SavedKeys()
    {
        TIniFile file(GetCLSettings().UserDataPath() + u"setting.dat");
        TStringList keys;
        file.Document().ReadSection(u"setting", keys);
        return keys;
    }
    String Saved(const String& key)
    {
        TIniFile file(GetCLSettings().UserDataPath() + u"setting.dat");
        return file.Document().ReadString(u"setting", key, u"<none>");
    }

    TApplicationScope Scope;
    TSettableClock Clock;
    TfrmUpdateHost* Host = nullptr;
};

} // namespace

TEST_F(UpdateCheck, TheMagicLineAloneInAnotherCaseCountsAndWritesNothingElse)
{
    const TStringList keysBefore = SavedKeys();
    TfrmCLUpdateForm* window = UserCheck(u"MAGICWORD=vEILPORT\r\n");
    EXPECT_EQ(Times(), 1);
    EXPECT_EQ(Saved(u"Update.Times"), u"1");
    EXPECT_NEAR(LastDate(), Clock.Time, 1e-8);
    TStringList keysAfter = SavedKeys();
    EXPECT_EQ(keysAfter.Count(), keysBefore.Count() + (keysBefore.IndexOf(u"Update.LastDate") < 0 ? 1 : 0) +
            (keysBefore.IndexOf(u"Update.Times") < 0 ? 1 : 0));
    // The user's check says so, with the single Ok button.
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->lbInfo->Caption(), kLastVersion);
    EXPECT_TRUE(window->pnOK->Visible());
    EXPECT_FALSE(window->pnOkCancel->Visible());
    EXPECT_FALSE(window->btnCancel->Visible());
    EXPECT_TRUE(window->btnOK2->Enabled());
    EXPECT_EQ(window->Caption(), u"Software update");
    EXPECT_EQ(window->btnOK2->Caption(), u"O&K");
    // Ok closes the window and keeps the check box's state.
    window->cbAutoCheckUpdate->SetChecked(false);
    window->btnOK2->Click();
    EXPECT_FALSE(window->Visible());
    EXPECT_FALSE(GetCLSettings().GetSettingBool(u"Update.AutoCheck"));
}

TEST_F(UpdateCheck, TheVersionAnswerDecidesWhatTheUserSees)
{
    // Not a number: the latest version.
    TfrmCLUpdateForm* window = UserCheck(u"magicword=Veilport\r\nResult=abc\r\n");
    EXPECT_EQ(window->lbInfo->Caption(), kLastVersion);
    EXPECT_TRUE(window->Visible());
    // The latest version is news only to someone watching: a hidden check stays hidden.
    window = Run(false, true);
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(window->lbInfo->Caption(), kConnecting);
    // Any other number: the window closes without a word.
    window = UserCheck(u"magicword=Veilport\r\nResult=2\r\ninfo=x\r\n");
    EXPECT_FALSE(window->Visible());
    EXPECT_EQ(window->lbInfo->Caption(), kConnecting);
    // A newer version without a page: its text, the single Ok button, nothing to open.
    window = UserCheck(u"magicword=Veilport\r\nResult=1\r\ninfo=Version 2 is out\r\npage=\r\n");
    EXPECT_EQ(window->lbInfo->Caption(), u"Version 2 is out");
    EXPECT_TRUE(window->pnOK->Visible());
    EXPECT_FALSE(window->pnOkCancel->Visible());
    // With a page: OK and Cancel; Cancel closes without storing the check box.
    window = UserCheck(u"magicword=Veilport\nResult=1\ninfo=Version 3\npage=http://127.0.0.1:1/setup.exe\n");
    EXPECT_EQ(window->lbInfo->Caption(), u"Version 3");
    EXPECT_TRUE(window->pnOkCancel->Visible());
    EXPECT_FALSE(window->pnOK->Visible());
    EXPECT_TRUE(window->btnCancel->Visible());
    EXPECT_TRUE(window->btnOK->Enabled());
    window->cbAutoCheckUpdate->SetChecked(false);
    window->btnCancel->Click();
    EXPECT_FALSE(window->Visible());
    EXPECT_TRUE(GetCLSettings().GetSettingBool(u"Update.AutoCheck"));
    EXPECT_EQ(Times(), 5);
}

TEST_F(UpdateCheck, PushedLinesAreWrittenInReplyOrderAndSavedBeforeTheCount)
{
    UserCheck(u"magicword=Veilport\r\n__modify__.URL.CheckIP=x\r\n__MODIFY__.A=1=2\r\n"
              u"__MODIFY__.Twice=first\r\n__MODIFY__.Twice=second\r\nbanner.Top=7\r\nBanner.Low=8\r\n"
              u"Other.Key=no\r\n magicword=no\r\n");
    EXPECT_EQ(Saved(u"URL.CheckIP"), u"x");
    EXPECT_EQ(Saved(u"A"), u"1=2");
    EXPECT_EQ(Saved(u"Twice"), u"second");
    EXPECT_EQ(Saved(u"banner.Top"), u"7");
    EXPECT_EQ(Saved(u"Banner.Low"), u"8");
    EXPECT_EQ(Saved(u"Other.Key"), u"<none>");
    EXPECT_EQ(Saved(u"Update.Times"), u"1");
    EXPECT_EQ(GetCLSettings().GetSettingString(u"URL.CheckIP"), u"x");
}

TEST_F(UpdateCheck, OnlyTheFirstMagicLineCountsAndARejectedReplyWritesNothingButTheDate)
{
    TfrmCLUpdateForm* window = UserCheck(u"magicword=Veilport\r\nmagicword=wrong\r\n__MODIFY__.M1=a\r\n");
    EXPECT_EQ(Times(), 1);
    EXPECT_EQ(Saved(u"M1"), u"a");

    Clock.Time += 2;
    window = UserCheck(u"magicword=wrong\r\nmagicword=Veilport\r\n__MODIFY__.M2=b\r\nResult=1\r\ninfo=no\r\n");
    EXPECT_EQ(Times(), 1);
    EXPECT_EQ(Saved(u"M2"), u"<none>");
    EXPECT_NEAR(LastDate(), Clock.Time, 1e-8);
    EXPECT_EQ(window->lbInfo->Caption(), kNetError);
    EXPECT_TRUE(window->pnOK->Visible());
    EXPECT_TRUE(window->btnOK2->Enabled());
}

TEST_F(UpdateCheck, AnEmptyMagicWordAcceptsAMissingOrEmptyLineOnly)
{
    GetCLSettings().SetSettingstring(u"App.MagicWord", u"");
    UserCheck(u"__MODIFY__.E1=a\r\n");
    UserCheck(u"magicword=\r\n__MODIFY__.E2=b\r\n");
    EXPECT_EQ(Times(), 2);
    TfrmCLUpdateForm* window = UserCheck(u"magicword=Veilport\r\n__MODIFY__.E3=c\r\n");
    EXPECT_EQ(Times(), 2);
    EXPECT_EQ(Saved(u"E1") + Saved(u"E2") + Saved(u"E3"), u"ab<none>");
    EXPECT_EQ(window->lbInfo->Caption(), kNetError);
}

TEST_F(UpdateCheck, ANetworkFailureInEachMode)
{
    // An empty reply, and a service that cannot be reached. (An error page is a reply like
    // any other: it has no magic line.)
    for (bool reachable : {true, false}) {
        SCOPED_TRACE(reachable);
        SetUpdateReply(u"empty");
        if (!reachable)
            GetCLSettings().SetSettingstring(u"URL.Update", u"http://127.0.0.1:1/update");
        // The user's check says so.
        TfrmCLUpdateForm* window = Run(true, true);
        EXPECT_TRUE(window->Visible());
        EXPECT_EQ(window->lbInfo->Caption(), kNetError);
        EXPECT_TRUE(window->pnOK->Visible());
        // The automatic check closes silently.
        window = Run(false, true);
        EXPECT_FALSE(window->Visible());
        EXPECT_EQ(window->lbInfo->Caption(), kConnecting);
        // The wait for the first update ends by itself, with no.
        TModalDriver driver([](TfrmCLUpdateForm&) { return false; }, [](TfrmCLUpdateForm&) {});
        EXPECT_FALSE(Host->CLEngine->AppWaitFirstUpdate());
        EXPECT_EQ(driver.Shown, 1);
        EXPECT_EQ(Times(), 0);
        EXPECT_EQ(LastDate(), 0);
    }
}

TEST_F(UpdateCheck, TheCountdownLastsAtLeastFiveSecondsOfTheClock)
{
    GetCLSettings().SetSettingInteger(u"Update.DelaySeconds", 2);
    SetUpdateReply(u"raw", u"magicword=Veilport\r\nResult=1\r\ninfo=New\r\n");
    TfrmCLUpdateForm* window = Run(false, true, true);
    EXPECT_EQ(window->DelaySeconds(), 5);
    // Hidden until a newer version was reported; now it shows and counts down.
    ASSERT_TRUE(window->Visible());
    ASSERT_TRUE(PumpUntil([&] { return window->lblTimer->Visible(); }));
    EXPECT_EQ(window->lblTimer->Caption(), u"Closing in 5 s (5)");
    Clock.Time += 1 * kSecond;
    EXPECT_TRUE(PumpUntil([&] { return window->lblTimer->Caption() == u"Closing in 4 s (4)"; }));
    Clock.Time += 3.999 * kSecond;
    EXPECT_TRUE(PumpUntil([&] { return window->lblTimer->Caption() == u"Closing in 1 s (1)"; }));
    PumpUntil([] { return false; }, 450);
    EXPECT_TRUE(window->Visible());
    Clock.Time += 0.001 * kSecond;
    EXPECT_TRUE(PumpUntil([&] { return !window->Visible(); }));
    EXPECT_FALSE(window->tmrTimer->Enabled());
}

TEST_F(UpdateCheck, TheAutomaticCheckWaitsItsDaysCountedEitherWay)
{
    TCLSettings& settings = GetCLSettings();
    settings.SetSettingInteger(u"Update.Days", 3);
    SetUpdateReply(u"raw", u"magicword=Veilport\r\n");
    const int before = UpdateRequests();
    ASSERT_GE(before, 0);
    settings.SetSettingFloat(u"Update.LastDate", Clock.Time - 3 + 1.0 / 24);
    Host->CLEngine->AppUpdateAuto();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(UpdateRequests(), before);

    settings.SetSettingFloat(u"Update.LastDate", Clock.Time - 3);
    Host->CLEngine->AppUpdateAuto();
    EXPECT_TRUE(PumpUntil([&] { return Times() == 1; }));
    EXPECT_EQ(UpdateRequests(), before + 1);

    // Four days ahead (the clock was set back) is as far as four days ago.
    settings.SetSettingFloat(u"Update.LastDate", Clock.Time + 4);
    Host->CLEngine->AppUpdateAuto();
    EXPECT_TRUE(PumpUntil([&] { return Times() == 2; }));

    // A rejected reply moves the date too: the next start waits again.
    SetUpdateReply(u"raw", u"magicword=other\r\n");
    Clock.Time += 10;
    Host->CLEngine->AppUpdateAuto();
    EXPECT_TRUE(PumpUntil([&] { return std::fabs(LastDate() - Clock.Time) < 1e-8; }));
    EXPECT_EQ(Times(), 2);
    Clock.Time += 2;
    Host->CLEngine->AppUpdateAuto();
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(UpdateRequests(), before + 3);
}

TEST_F(UpdateCheck, TheFirstStartPushesSettingsButShowsNoVersion)
{
    ASSERT_EQ(GetCLSettings().RunTimes(), 0);
    SetUpdateReply(u"raw", u"magicword=Veilport\r\n__MODIFY__.NORMAL_IPS=127.0.0.1:8901\r\nResult=1\r\ninfo=New\r\n");
    Host->CLEngine->AppUpdateAuto();
    EXPECT_TRUE(PumpUntil([&] { return Times() == 1; }));
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Saved(u"NORMAL_IPS"), u"127.0.0.1:8901");
    for (int i = 0; i < Host->ComponentCount(); ++i)
        if (auto* window = dynamic_cast<TfrmCLUpdateForm*>(Host->Components(i))) {
            EXPECT_FALSE(window->Visible());
        }
}

TEST_F(UpdateCheck, TheFirstUpdateWaitAnswersFromTheCountOrFromTheReply)
{
    // No reply accepted yet: a modal strip until the reply arrives.
    SetUpdateReply(u"raw", u"magicword=Veilport\r\n__MODIFY__.SUPER_IPS=127.0.0.1:8904\r\nResult=1\r\ninfo=x\r\n");
    {
        TModalDriver driver([](TfrmCLUpdateForm&) { return false; }, [](TfrmCLUpdateForm&) {});
        EXPECT_TRUE(Host->CLEngine->AppWaitFirstUpdate());
        EXPECT_EQ(driver.Shown, 1);
    }
    EXPECT_EQ(Saved(u"SUPER_IPS"), u"127.0.0.1:8904");
    // From now on at once, without the network: a stalled service would hold any request.
    SetUpdateReply(u"stall");
    const int before = UpdateRequests();
    TModalDriver driver([](TfrmCLUpdateForm&) { return false; }, [](TfrmCLUpdateForm&) {});
    EXPECT_TRUE(Host->CLEngine->AppWaitFirstUpdate());
    EXPECT_EQ(driver.Shown, 0);
    EXPECT_EQ(UpdateRequests(), before);
}

TEST_F(UpdateCheck, ARejectedFirstUpdateWaitsForTheUsersOk)
{
    SetUpdateReply(u"raw", u"magicword=nope\r\n");
    bool sawOk = false;
    String strip;
    TModalDriver driver([](TfrmCLUpdateForm& window) { return window.btnOK2->Enabled(); },
        [&](TfrmCLUpdateForm& window) {
            sawOk = window.pnOK->Visible() && window.pnProcess->Visible() && !window.pnInfo->Visible();
            strip = window.lbProcess->Caption() + u"|" + window.btnCancelProcess->Caption() + u"|" +
                window.lbInfo->Caption();
            window.btnOK2->Click();
        });
    EXPECT_FALSE(Host->CLEngine->AppWaitFirstUpdate());
    EXPECT_TRUE(driver.Acted);
    EXPECT_TRUE(sawOk);
    // The strip says what went wrong, not "Connecting...".
    EXPECT_EQ(strip, kNetError + u"|&Stop|" + kNetError);
}

TEST_F(UpdateCheck, CancelAndEscAbortAndNothingFollows)
{
    SetUpdateReply(u"stall");
    const int before = UpdateRequests();
    // The progress strip's Cancel.
    TfrmCLUpdateForm* stripWindow = nullptr;
    String stripText;
    {
        TModalDriver driver([&](TfrmCLUpdateForm&) { return UpdateRequests() == before + 1; },
            [&](TfrmCLUpdateForm& window) {
                stripWindow = &window;
                stripText = window.lbProcess->Caption() + u"|" + window.btnCancelProcess->Caption();
                window.btnCancelProcess->Click();
            });
        EXPECT_FALSE(Host->CLEngine->AppWaitFirstUpdate());
        EXPECT_TRUE(driver.Acted);
        // Translated by the window's own section of the language file.
        EXPECT_EQ(stripText, u"Asking the service...|&Stop");
    }
    // Esc on the strip.
    {
        TModalDriver driver([&](TfrmCLUpdateForm&) { return UpdateRequests() == before + 2; },
            [&](TfrmCLUpdateForm& window) {
                PostMessageW(window.Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
                PostMessageW(window.Handle(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
            });
        EXPECT_FALSE(Host->CLEngine->AppWaitFirstUpdate());
        EXPECT_TRUE(driver.Acted);
    }
    // The windows stay with the main window, their requests aborted.
    EXPECT_EQ(UpdateWindows(), 2);
    ASSERT_NE(stripWindow, nullptr);
    // The service answers now; the aborted requests hear nothing of it.
    SetUpdateReply(u"raw", u"magicword=Veilport\r\n");
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(Times(), 0);
    EXPECT_EQ(LastDate(), 0);
    EXPECT_FALSE(stripWindow->Visible());
}

TEST_F(UpdateCheck, TheUsersModalCheckWritesItsLinesToTheDebugChannel)
{
    DebugSetActive(true);
    DebugStart();
    std::error_code error;
    std::filesystem::remove(ToFsPath(DebugLogFileName()), error);
    DebugStop();
    DebugStart();
    SetUpdateReply(u"raw", u"magicword=Veilport\r\nResult=0\r\n");
    String shown;
    TModalDriver driver([](TfrmCLUpdateForm& window) { return window.btnOK2->Enabled(); },
        [&](TfrmCLUpdateForm& window) {
            shown = window.lbInfo->Caption();
            window.btnOK2->Click();
        });
    Host->CLEngine->AppUpdate(true);
    // The user's modal check frees its window when it closes.
    EXPECT_EQ(UpdateWindows(), 0);
    DebugStop();
    DebugSetActive(false);
    EXPECT_EQ(shown, kLastVersion);
    const std::string log = ReadFileBytes(ToFsPath(DebugLogFileName()));
    const std::string url = "Update URL : " + U16ToUtf8(PublisherBase()) + "/update?ACTION=Update&";
    EXPECT_NE(log.find(url), std::string::npos) << log;
    EXPECT_NE(log.find("Update Net : magicword=Veilport"), std::string::npos) << log;
    EXPECT_NE(log.find("CLUpdate"), std::string::npos);
    EXPECT_LT(log.find("Update URL : "), log.find("Update Net : "));
}

TEST_F(UpdateCheck, ASettingsFileThatCannotBeSavedEndsTheCheckAsAFailedOneAndIsReported)
{
    std::vector<String> reports;
    SetErrorReporter([&](const String& text) { reports.push_back(text); });
    const String file = GetCLSettings().UserDataPath() + u"setting.dat";
    TfrmCLUpdateForm* window = nullptr;
    {
        // Read by another program: it cannot be replaced.
        TKernelHandle held = HoldFile(file, FILE_SHARE_READ);
        ASSERT_TRUE(held);
        window = UserCheck(u"magicword=Veilport\r\n__MODIFY__.Held=1\r\n");
    }
    SetErrorReporter(nullptr);
    EXPECT_EQ(window->lbInfo->Caption(), kNetError);
    EXPECT_TRUE(window->btnOK2->Enabled());
    EXPECT_EQ(Saved(u"Held"), u"<none>");
    EXPECT_EQ(Times(), 0);
    ASSERT_FALSE(reports.empty());
    EXPECT_NE(reports[0].find(u"setting.dat"), String::npos) << U16ToUtf8(reports[0]);
}
