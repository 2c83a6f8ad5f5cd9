#include "support/UiTestSupport.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
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
        if (message.Msg >= 0xC000 || message.Msg == WM_QUERYENDSESSION || message.Msg == WM_COPYDATA)
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
        CLEngine->SetName(u"CLEngine");
        CLMultiLangData = new TCLMultiLangData(this);
        CLMultiLangData->SetName(u"CLMultiLangData");
        CLEngine->SetLanguageData(CLMultiLangData);
        CLEngine->OnLanguageChanged = [this](TObject*) { ++LanguageChanges; };
        CLEngine->OnTitleChange = [this](TObject*) { ++TitleChanges; };
    }
    TCLEngine* CLEngine;
    TCLMultiLangData* CLMultiLangData;
    int LanguageChanges = 0;
    int TitleChanges = 0;
};

const TClassInfo& TfrmLangHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmLangHost, TForm>(u"TfrmLangHost").Build();
    return info;
}

// The language folder beside the test's executable, emptied before and after each test.
class TLanguageFolder {
public:
    TLanguageFolder() { Clear(); }
    ~TLanguageFolder() { Clear(); }
    void Write(const String& name, const std::string& text) const
    {
        ForceDirectories(Folder());
        WriteAllBytesAtomic(Folder() + name, text);
    }
    void Remove(const String& name) const { std::filesystem::remove(ToFsPath(Folder() + name)); }
    static String Folder() { return GetAppPath() + u"lang\\"; }

private:
    static void Clear() { std::filesystem::remove_all(ToFsPath(Folder())); }
};

String LanguageSetting()
{
    return GetCLSettings().GetSettingString(u"Language");
}

const std::string kEnglishLan =
    "[AppRes]\r\nAppName=Veilport EN\r\nGreeting=A {1} {1} {2}\r\nGap=A {1} {3}\r\n"
    "[LibRes]\r\nTfrmCLAboutForm.CopyRightLine2=Version {1}\r\n";

} // namespace

TEST(EngineLanguage, AnEmptySettingLoadsEnglishAndRaisesTheEventOnlyFromTheLoop)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    lang.Write(u"English.lan", kEnglishLan);
    GetCLSettings().SetSettingstring(u"Language", u"");
    auto* form = Application().CreateForm<TfrmLangHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_EQ(engine->GetAppName(), u"Veilport EN");
    EXPECT_EQ(engine->GetAppStringEx(u"Greeting", {u"X", u"Y"}), u"A X X Y");
    EXPECT_EQ(engine->GetAppStringEx(u"Gap", {u"X", u"Y"}), u"A X {3}");
    EXPECT_EQ(engine->GetLibStringEx(u"TfrmCLAboutForm.CopyRightLine2", {u"1.2.3.4"}), u"Version 1.2.3.4");
    EXPECT_EQ(engine->GetAppString(u"TfrmCLAboutForm.CopyRightLine2"), u"");
    EXPECT_EQ(engine->GetAppString(u"NoSuchKey"), u"");
    // The start-up language is announced once, by the deferred start-up.
    EXPECT_EQ(form->LanguageChanges, 0);
    EXPECT_TRUE(PumpUntil([&] { return !engine->InInited(); }));
    EXPECT_EQ(form->LanguageChanges, 1);
    EXPECT_EQ(form->Caption(), u"Veilport EN  1.2.3.4");
    EXPECT_EQ(Application().Title(), u"Veilport EN  1.2.3.4");
}

TEST(EngineLanguage, WithoutEnglishLanTextsAreEmptyAndTheNameComesFromTheSettings)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    GetCLSettings().SetSettingstring(u"Language", u"");
    auto* form = Application().CreateForm<TfrmLangHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"");
    EXPECT_EQ(engine->GetAppName(), u"Shadeway");
    EXPECT_EQ(engine->AppTitle(), u"Shadeway  1.2.3.4");
}

TEST(EngineLanguage, AMissingFileFallsBackToEnglishAndRewritesTheSetting)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    lang.Write(u"Deutsch.lan", "[AppRes]\r\nAppName=Veilport DE\r\nGreeting=Hallo\r\n");
    GetCLSettings().SetSettingstring(u"Language", u"Klingon");
    auto* form = Application().CreateForm<TfrmLangHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_TRUE(PumpUntil([&] { return !engine->InInited(); }));

    engine->SetLanguage(u"Deutsch");
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"Hallo");
    EXPECT_EQ(form->Caption(), u"Veilport DE  1.2.3.4");
    EXPECT_EQ(form->LanguageChanges, 2);
    // A language loaded before is cleared: lookups find nothing any more.
    engine->SetLanguage(u"Francais");
    EXPECT_EQ(engine->Language(), u"English");
    EXPECT_EQ(LanguageSetting(), u"English");
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"");
    EXPECT_EQ(form->LanguageChanges, 3);
}

TEST(EngineLanguage, TheCurrentNameChangesNothingAndAnEmptyNameMeansDefault)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    lang.Write(u"English.lan", kEnglishLan);
    lang.Write(u"Default.lan", "[AppRes]\r\nGreeting=default\r\n");
    GetCLSettings().SetSettingstring(u"Language", u"English");
    auto* form = Application().CreateForm<TfrmLangHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_TRUE(PumpUntil([&] { return !engine->InInited(); }));
    const int titles = form->TitleChanges;
    // Were the file looked for again, its absence would switch to the fall-back.
    lang.Remove(u"English.lan");
    engine->SetLanguage(u"English");
    EXPECT_EQ(engine->GetAppStringEx(u"Greeting", {u"X", u"Y"}), u"A X X Y");
    EXPECT_EQ(form->LanguageChanges, 1);
    EXPECT_EQ(form->TitleChanges, titles);

    engine->SetLanguage(u"");
    EXPECT_EQ(engine->Language(), u"Default");
    EXPECT_EQ(LanguageSetting(), u"Default");
    EXPECT_EQ(engine->GetAppString(u"Greeting"), u"default");
    GetCLSettings().SetSettingstring(u"Language", u"English");
}

TEST(EngineLanguage, TheListHasEnglishFirstThenTheFilesInOrder)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    for (const char16_t* name : {u"zulu.lan", u"Deutsch.lan", u"english.lan", u"ab.lan", u"notes.txt"})
        lang.Write(name, "[Info]\r\n");
    std::filesystem::create_directories(ToFsPath(TLanguageFolder::Folder() + u"folder.lan"));
    auto* form = Application().CreateForm<TfrmLangHost>();
    TStringList expected{u"English", u"ab", u"Deutsch", u"zulu"};
    EXPECT_EQ(form->CLEngine->LanguageList(), expected);
    // Built once: a file added later is not listed.
    lang.Write(u"Eesti.lan", "[Info]\r\n");
    EXPECT_EQ(form->CLEngine->LanguageList(), expected);
}

TEST(EngineTitle, NameTwoBlanksVersionUnlessSwitchedOff)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    int changes = 0;
    engine->OnTitleChange = [&](TObject*) { ++changes; };
    engine->RefreshTitle();
    EXPECT_EQ(form->Caption(), u"Shadeway  1.2.3.4");
    EXPECT_EQ(Application().Title(), u"Shadeway  1.2.3.4");
    engine->SetTitleIncludeVer(false);
    EXPECT_EQ(form->Caption(), u"Shadeway");
    EXPECT_EQ(changes, 2);
    // "App.NoAutoTitle": the title is computed, and left off the window.
    engine->SetSettingOverwrite({u"App.NoAutoTitle=1"});
    engine->SetTitleIncludeVer(true);
    EXPECT_EQ(engine->AppTitle(), u"Shadeway  1.2.3.4");
    EXPECT_EQ(form->Caption(), u"Shadeway");
    EXPECT_EQ(changes, 2);
}

TEST(EngineLanguage, TheLanguageDataIsTheEnginesResourceUntilItGoes)
{
    TApplicationScope scope;
    TLanguageFolder lang;
    auto* form = Application().CreateForm<TfrmLangHost>();
    ASSERT_NE(RegisteredEngineResources(), nullptr);
    EXPECT_EQ(RegisteredEngineResources()->LanguageData(), form->CLMultiLangData);
    EXPECT_EQ(RegisteredEngineResources()->SkinData(), nullptr);
    delete form->CLMultiLangData;
    EXPECT_EQ(form->CLEngine->LanguageData(), nullptr);
    EXPECT_EQ(form->CLEngine->GetAppString(u"Greeting"), u"");
    delete form;
    EXPECT_EQ(RegisteredEngineResources(), nullptr);
}

// ---- Publisher pages ----

namespace {

class TFixedTimeClock : public TClock {
public:
    // 7.041 seconds past a minute.
    TDateTime Now() override { return EncodeDateTime({2024, 5, 6, 10, 11, 7, 41}); }
    uint32_t TickCount() override { return SystemClock().TickCount(); }
};

const String kChannelKey = u"Software\\VeilportEngineTest";

} // namespace

TEST(EnginePages, TheBlockGathersClockRegistryAndSettings)
{
    TApplicationScope scope;
    TFixedTimeClock clock;
    SetClock(&clock);
    TRegistryValueGuard guard(HKEY_LOCAL_MACHINE, kChannelKey, u"CHL");
    SetRegistryString(HKEY_LOCAL_MACHINE, kChannelKey, u"CHL", u"\"C:\\Downloads\\setup_ab.exe\"");
    auto* form = Application().CreateForm<TfrmHost>();
    TCLEngine* engine = form->CLEngine;
    GetCLSettings().SetSettingstring(u"Language", u"Traditional Chinese");
    String url = engine->GetURL(u"home", true);
    const String start = u"http://127.0.0.1/home?ACTION=home&07041&PID=vp7&LANG=Traditional+Chinese&DAY=" +
        IntToStr(GetCLSettings().GetRunDays()) + u"&RUNTIME=" + IntToStr(GetCLSettings().RunTimes()) +
        u"&VER=01020304&SVER=0&WVER=";
    EXPECT_EQ(url.substr(0, start.size()), start);
    const String end = u"&WLANG=" + IntToStr(GetSystemDefaultLangID()) + u"&CHL=73657475705F61622E657865";
    ASSERT_GE(url.size(), end.size());
    EXPECT_EQ(url.substr(url.size() - end.size()), end);
    // A blank page key reaches the redirect address, which already ends in "?".
    EXPECT_EQ(engine->GetURL(u"help", false), u"http://127.0.0.1/go?");
    EXPECT_EQ(engine->GetURL(u"help", true).substr(0, 38), u"http://127.0.0.1/go?ACTION=help&07041&");

    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kChannelKey, u"CHL");
    EXPECT_EQ(engine->GetURLParam().substr(engine->GetURLParam().size() - 17), u"&CHL=756E6B6E6F77");
    GetCLSettings().SetSettingstring(u"Language", u"English");
    SetClock(nullptr);
}

TEST(EnginePages, ShowPageHandsTheAddressToTheBrowser)
{
    TApplicationScope scope;
    TTempFolder records;
    const String recordFile = records.Folder() + u"records.txt";
    SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(recordFile));
    const String key = u"HTTP\\shell\\open\\command";
    TRegistryValueGuard guard(HKEY_CLASSES_ROOT, key, u"");
    SetRegistryString(HKEY_CLASSES_ROOT, key, u"", u"\"" + RecordArgsPath() + u"\" %1");
    auto* form = Application().CreateForm<TfrmHost>();
    form->CLEngine->ShowPage(u"home");
    auto found = ReadRecords(recordFile, 1, 20000);
    SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_NE(found[0].CommandLine.find(u" http://127.0.0.1/home?ACTION=home&"), String::npos)
        << U16ToUtf8(found[0].CommandLine);
}
