#include "support/UiTestSupport.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

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
        WriteAllBytesAtomic(
            folder + u"const.dat", "[setting]\r\nApp.ID=4711\r\nApp.ConfigPath=VeilportEngineTest\r\n");
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
