#include "support/UiTestSupport.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace vp;
using namespace vptest;

namespace {

class TfrmHost : public TForm {
    VP_CLASS(TfrmHost)
public:
    explicit TfrmHost(TComponent* owner) : TForm(owner)
    {
        CLEngine = new TCLEngine(this);
        CLEngine->SetName(u"CLEngine");
    }
    TCLEngine* CLEngine;
    std::vector<UINT> Passed; // messages that reached the window's own handling

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg >= 0xC000 || message.Msg == WM_QUERYENDSESSION || message.Msg == WM_ENDSESSION ||
            message.Msg == WM_COPYDATA)
            Passed.push_back(message.Msg);
        TForm::WndProc(message);
    }
};

const TClassInfo& TfrmHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmHost, TForm>(u"TfrmHost").Build();
    return info;
}

class TManualClock : public TClock {
public:
    TDateTime Now() override { return 45000; }
    uint32_t TickCount() override { return Ticks; }
    uint32_t Ticks = 0;
};

// A settings store of its own: the executable's folder points at a test folder with a
// const.dat, and the store lives for the whole test program.
class TEngineTestEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        FFolder = std::make_unique<TTempFolder>();
        String folder = GetLongPath(FFolder->Folder());
        WriteAllBytesAtomic(folder + u"const.dat",
            "[setting]\r\nApp.ID=4711\r\nApp.ConfigPath=VeilportEngineTest\r\nApp.Name=Shadeway\r\n"
            "App.Ver=1.2.3.4\r\nApp.RegPath=VeilportEngineTest\r\nApp.PID=vp7\r\n"
            "URL.home=http://127.0.0.1/home\r\nURL.help=\r\nURL.Redirect=http://127.0.0.1/go?\r\n");
        SetAppFileNameForTests(folder + u"Veilport.exe");
        GetCLSettings();
    }

private:
    std::unique_ptr<TTempFolder> FFolder;
};

const auto* const gEnvironment = ::testing::AddGlobalTestEnvironment(new TEngineTestEnvironment);

LRESULT Send(TForm* form, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageW(form->Handle(), msg, wParam, lParam);
}

} // namespace

TEST(Engine, IsTheProcessEngineAndPlugsItsSettingListsIntoTheStore)
{
    TApplicationScope scope;
    EXPECT_EQ(GetCLEngine(), nullptr);
    EXPECT_EQ(GetCLSettings().GetSettingString(u"Path.Languages"), u"");
    auto* form = Application().CreateForm<TfrmHost>();
    EXPECT_EQ(GetCLEngine(), form->CLEngine);
    EXPECT_EQ(GetCLSettings().GetSettingString(u"Path.Languages"), u"lang");
    EXPECT_EQ(GetCLSettings().GetSettingString(u"PATH.SKINS"), u"skins");

    // A second engine works on its own window but is not the process's engine.
    auto* other = Application().CreateForm<TfrmHost>();
    EXPECT_EQ(GetCLEngine(), form->CLEngine);
    delete other;
    EXPECT_EQ(GetCLEngine(), form->CLEngine);
    delete form;
    EXPECT_EQ(GetCLEngine(), nullptr);
    EXPECT_EQ(GetCLSettings().GetSettingString(u"Path.Languages"), u"");
}

TEST(Engine, AnOwnerThatIsNoFormIsRefused)
{
    TComponent owner(nullptr);
    EXPECT_THROW(TCLEngine engine(&owner), EInvalidCast);
    EXPECT_EQ(GetCLEngine(), nullptr);
}

TEST(Engine, AnswersTheInstanceProtocol)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL GetAppID")), 4711);
    // Busy until the posted deferred start-up has run from the loop.
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL IfBusy")), 1);
    EXPECT_TRUE(PumpUntil([&] { return !engine->InInited(); }));
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL IfBusy")), 0);
    // No tray icon: the sender has to bring the window forward itself.
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL BringtoFront")), 0);
    bool restored = false;
    engine->OnRestoreFromTray = [&] { return restored = true; };
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL BringtoFront")), 1);
    EXPECT_TRUE(restored);
    EXPECT_TRUE(form->Passed.empty()); // none of these reached the window itself

    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(Send(form, RegisterWindowMessageW(L"CL CloseApp")), 0);
    EXPECT_TRUE(Application().Terminated());
}

TEST(Engine, ForwardedTextIsStoredAndRaisedOnlyWithAHandler)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    String text = u"C:\\some folder\\\u00E9.txt";
    COPYDATASTRUCT data{0, static_cast<DWORD>(text.size() * 2), text.data()};
    EXPECT_EQ(Send(form, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 0);
    EXPECT_EQ(engine->ParamFile(), text);
    // Without a handler "CL CmdParam" goes on to the window.
    const UINT cmdParam = RegisterWindowMessageW(L"CL CmdParam");
    EXPECT_TRUE(
        PumpUntil([&] { return std::count(form->Passed.begin(), form->Passed.end(), cmdParam) == 1; }));

    std::vector<String> received;
    engine->OnCmdFile = [&](const String& name) { received.push_back(name); };
    String second = u"next";
    COPYDATASTRUCT data2{0, static_cast<DWORD>(second.size() * 2), second.data()};
    Send(form, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data2));
    EXPECT_TRUE(PumpUntil([&] { return received.size() == 1; }));
    EXPECT_EQ(received, std::vector<String>{u"next"});
    EXPECT_EQ(std::count(form->Passed.begin(), form->Passed.end(), cmdParam), 1);
}

TEST(Engine, MalformedCopyDataIsIgnoredUnread)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    int raised = 0;
    engine->OnCmdFile = [&](const String&) { ++raised; };
    String text = u"abc";
    COPYDATASTRUCT odd{0, 5, text.data()};
    COPYDATASTRUCT missing{0, 6, nullptr};
    COPYDATASTRUCT absurd{0, 0x7FFFFFFE, text.data()};
    for (COPYDATASTRUCT* data : {&odd, &missing, &absurd})
        EXPECT_EQ(Send(form, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(data)), 0);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(raised, 0);
    EXPECT_EQ(engine->ParamFile(), u"");
    // An empty text is a text.
    COPYDATASTRUCT empty{0, 0, text.data()};
    Send(form, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&empty));
    EXPECT_TRUE(PumpUntil([&] { return raised == 1; }));
}

TEST(Engine, SessionEndingLastsFiveMinutesAcrossTheTickWrap)
{
    TApplicationScope scope;
    TManualClock clock;
    SetClock(&clock);
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    clock.Ticks = 0xFFFFFF00u;
    EXPECT_FALSE(engine->GetSessionEnding()); // nothing announced yet
    Send(form, WM_QUERYENDSESSION, 0, 0);
    EXPECT_EQ(std::count(form->Passed.begin(), form->Passed.end(), static_cast<UINT>(WM_QUERYENDSESSION)), 1);
    EXPECT_TRUE(engine->GetSessionEnding());
    clock.Ticks = 0xFFFFFF00u + 299999u; // wrapped past zero
    EXPECT_TRUE(engine->GetSessionEnding());
    clock.Ticks = 0xFFFFFF00u + 300000u;
    EXPECT_FALSE(engine->GetSessionEnding());
    SetClock(nullptr);
}

TEST(Engine, SessionEndIsRaisedOnlyWhenTheSessionEndsAndStillReachesTheWindow)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    Send(form, WM_ENDSESSION, TRUE, 0); // no handler
    std::vector<TObject*> raised;
    form->CLEngine->OnEndSession = [&](TObject* Sender) { raised.push_back(Sender); };
    Send(form, WM_ENDSESSION, FALSE, 0); // the end was called off
    EXPECT_TRUE(raised.empty());
    Send(form, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(raised, std::vector<TObject*>{form->CLEngine});
    EXPECT_EQ(std::count(form->Passed.begin(), form->Passed.end(), static_cast<UINT>(WM_ENDSESSION)), 3);
}

TEST(Engine, DestructionGivesTheWindowItsHandlerBack)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    const UINT getAppId = RegisterWindowMessageW(L"CL GetAppID");
    EXPECT_EQ(Send(form, getAppId), 4711);
    delete form->CLEngine;
    form->Passed.clear();
    EXPECT_EQ(Send(form, getAppId), 0);
    EXPECT_EQ(form->Passed, std::vector<UINT>{getAppId});
}

// ---- Texts, language and title ----

namespace {

// A main window with language data, as the program's has; the handlers are in place before
// the engine's start-up runs.
class TfrmLangHost : public TForm {
    VP_CLASS(TfrmLangHost)
public:
    explicit TfrmLangHost(TComponent* owner) : TForm(owner)
    {
        CLEngine = new TCLEngine(this);
        CLMultiLangData = new TCLMultiLangData(this);
        CLEngine->SetLanguageData(CLMultiLangData);
        CLEngine->OnLanguageChanged = [this](TObject*) { ++LanguageChanges; };
    }
    TCLEngine* CLEngine;
    TCLMultiLangData* CLMultiLangData;
    int LanguageChanges = 0;
};

const TClassInfo& TfrmLangHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmLangHost, TForm>(u"TfrmLangHost").Build();
    return info;
}

// The language folder beside the test's executable, emptied before and after each test.
struct TLanguageFolder {
    TLanguageFolder() { std::filesystem::remove_all(ToFsPath(Folder())); }
    ~TLanguageFolder() { std::filesystem::remove_all(ToFsPath(Folder())); }
    void Write(const String& name, const std::string& text) const
    {
        ForceDirectories(Folder());
        WriteAllBytesAtomic(Folder() + name, text);
    }
    static String Folder() { return GetAppPath() + u"lang\\"; }
};

String LanguageSetting()
{
    return GetCLSettings().GetSettingString(u"Language");
}

TfrmLangHost* CreateWithLanguageSetting(const String& language)
{
    GetCLSettings().SetSettingstring(u"Language", language);
    return Application().CreateForm<TfrmLangHost>();
}

} // namespace

TEST(EngineLanguage, AnEmptySettingLoadsEnglishAndAnnouncesItOnlyFromTheLoop)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    lang.Write(u"English.lan",
        "[AppRes]\r\nAppName=Veilport EN\r\nGreeting=A {1} {1} {2}\r\nGap=A {1} {3}\r\n"
        "[LibRes]\r\nLine=Version {1}\r\n");
    auto* form = CreateWithLanguageSetting(u"");
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_EQ(engine->GetAppStringEx(u"Greeting", {u"X", u"Y"}), u"A X X Y");
    EXPECT_EQ(engine->GetAppStringEx(u"Gap", {u"X", u"Y"}), u"A X {3}");
    EXPECT_EQ(engine->GetLibStringEx(u"Line", {u"1.2.3.4"}), u"Version 1.2.3.4");
    EXPECT_EQ(engine->GetAppString(u"Line"), u"");
    EXPECT_EQ(form->LanguageChanges, 0);
    EXPECT_TRUE(PumpUntil([&] { return !engine->InInited(); }));
    EXPECT_EQ(form->LanguageChanges, 1);
    EXPECT_EQ(form->Caption(), u"Veilport EN  1.2.3.4");
    EXPECT_EQ(Application().Title(), u"Veilport EN  1.2.3.4");

    // The current name again: no file is looked for (it is gone) and nothing is announced.
    std::filesystem::remove(ToFsPath(lang.Folder() + u"English.lan"));
    engine->SetLanguage(u"English");
    EXPECT_EQ(engine->GetAppString(u"Gap"), u"A {1} {3}");
    EXPECT_EQ(form->LanguageChanges, 1);
    // An empty name looks for Default.lan.
    lang.Write(u"Default.lan", "[AppRes]\r\nGap=default\r\n");
    engine->SetLanguage(u"");
    EXPECT_EQ(engine->Language(), u"Default");
    EXPECT_EQ(engine->GetAppString(u"Gap"), u"default");

    // The window decorator finds the language data through the engine, while it exists.
    EXPECT_EQ(RegisteredEngineResources()->LanguageData(), form->CLMultiLangData);
    delete form->CLMultiLangData;
    EXPECT_EQ(engine->LanguageData(), nullptr);
    EXPECT_EQ(engine->GetAppString(u"Gap"), u"");
}

TEST(EngineLanguage, AMissingFileFallsBackToEnglishWithNoTextsAndRewritesTheSetting)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    for (const char16_t* setting : {u"", u"Klingon"}) {
        auto* form = CreateWithLanguageSetting(setting);
        EXPECT_EQ(form->CLEngine->Language(), u"English");
        EXPECT_EQ(LanguageSetting(), u"English");
        EXPECT_EQ(form->CLEngine->AppTitle(), u"Shadeway  1.2.3.4");
        delete form;
    }
    lang.Write(u"Deutsch.lan", "[AppRes]\r\nAppName=Veilport DE\r\nGreeting=Hallo\r\n");
    auto* form = CreateWithLanguageSetting(u"Deutsch");
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"Hallo");
    // A language loaded before is cleared when the next one is missing.
    engine->SetLanguage(u"Francais");
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"");
    EXPECT_EQ(engine->GetAppName(), u"Shadeway");
    EXPECT_EQ(form->LanguageChanges, 1);
}

TEST(EngineLanguage, TheListHasEnglishFirstThenTheFilesInOrder)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    for (const char16_t* name : {u"zulu.lan", u"Deutsch.lan", u"english.lan", u"ab.lan", u"notes.txt"})
        lang.Write(name, "[Info]\r\n");
    std::filesystem::create_directories(ToFsPath(lang.Folder() + u"folder.lan"));
    auto* form = Application().CreateForm<TfrmHost>();
    EXPECT_EQ(form->CLEngine->LanguageList(), (TStringList{u"English", u"ab", u"Deutsch", u"zulu"}));
}

TEST(EngineTitle, NameTwoBlanksVersionUnlessSwitchedOff)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    int changes = 0;
    engine->OnTitleChange = [&](TObject*) { ++changes; };
    engine->SetTitleIncludeVer(false);
    EXPECT_EQ(form->Caption(), u"Shadeway");
    engine->SetTitleIncludeVer(true);
    EXPECT_EQ(form->Caption(), u"Shadeway  1.2.3.4");
    EXPECT_EQ(changes, 2);
    // "App.NoAutoTitle": the title is computed, and left off the window.
    engine->SetSettingOverwrite({u"App.NoAutoTitle=1"});
    engine->SetTitleIncludeVer(false);
    EXPECT_EQ(engine->AppTitle(), u"Shadeway");
    EXPECT_EQ(form->Caption(), u"Shadeway  1.2.3.4");
    EXPECT_EQ(changes, 2);
}

// ---- Publisher pages ----

namespace {

class TFixedTimeClock : public TClock {
public:
    // 7.041 seconds past a minute.
    TDateTime Now() override { return EncodeDateTime({2024, 5, 6, 10, 11, 7, 41}); }
    uint32_t TickCount() override { return SystemClock().TickCount(); }
};

} // namespace

TEST(EnginePages, TheBlockGathersClockRegistryAndSettings)
{
    TApplicationScope scope;
    TFixedTimeClock clock;
    SetClock(&clock);
    const String channelKey = u"Software\\VeilportEngineTest";
    TRegistryValueGuard guard(HKEY_LOCAL_MACHINE, channelKey, u"CHL");
    SetRegistryString(HKEY_LOCAL_MACHINE, channelKey, u"CHL", u"\"C:\\Downloads\\setup_ab.exe\"");
    auto* form = Application().CreateForm<TfrmHost>();
    TCLSettings& settings = GetCLSettings();
    settings.SetSettingstring(u"Language", u"Traditional Chinese");
    String url = form->CLEngine->GetURL(u"home", true);
    const String start = u"http://127.0.0.1/home?ACTION=home&07041&PID=vp7&LANG=Traditional+Chinese&DAY=" +
        IntToStr(settings.GetRunDays()) + u"&RUNTIME=" + IntToStr(settings.RunTimes()) +
        u"&VER=01020304&SVER=0&WVER=";
    const String end = u"&WLANG=" + IntToStr(GetSystemDefaultLangID()) + u"&CHL=73657475705F61622E657865";
    EXPECT_EQ(url.substr(0, start.size()), start);
    ASSERT_GE(url.size(), end.size());
    EXPECT_EQ(url.substr(url.size() - end.size()), end);
    // A blank page key reaches the redirect address, which already ends in "?".
    EXPECT_EQ(form->CLEngine->GetURL(u"help", true).substr(0, 38), u"http://127.0.0.1/go?ACTION=help&07041&");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, channelKey, u"CHL");
    url = form->CLEngine->GetURLParam();
    EXPECT_EQ(url.substr(url.size() - 17), u"&CHL=756E6B6E6F77");
    settings.SetSettingstring(u"Language", u"English");
    SetClock(nullptr);
}
