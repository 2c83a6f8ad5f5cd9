#include "support/UiTestSupport.h"

#include "framework/rtl/Exceptions.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Timers.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

std::vector<String> gLog;

class TLoggingTimer : public TTimer {
public:
    TLoggingTimer(TComponent* owner, String name) : TTimer(owner) { SetName(name); }
    void Loaded() override
    {
        TTimer::Loaded();
        gLog.push_back(u"loaded " + Name());
    }
};

class TfrmProbe : public TForm {
    VP_CLASS(TfrmProbe)
public:
    explicit TfrmProbe(TComponent* owner) : TForm(owner)
    {
        gLog.push_back(u"construct");
        tmrFirst = new TLoggingTimer(this, u"tmrFirst");
        tmrSecond = new TLoggingTimer(this, u"tmrSecond");
        tmrFirst->SetEnabled(false);
        tmrSecond->SetEnabled(false);
        OnCreate = [this](TObject*) { FormCreate(); };
        SetCaption(u"Probe");
    }

    void Loaded() override
    {
        TForm::Loaded();
        gLog.push_back(u"loaded form");
    }

    void FormCreate() { gLog.push_back(u"FormCreate"); }

    TLoggingTimer* tmrFirst;
    TLoggingTimer* tmrSecond;
};

const TClassInfo& TfrmProbe::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmProbe, TForm>(u"TfrmProbe").Build();
    return info;
}

} // namespace

TEST(Forms, CreationBuildsComponentsThenLoadsThemInOrderThenRunsFormCreate)
{
    TApplicationScope scope;
    gLog.clear();
    auto* form = Application().CreateForm<TfrmProbe>();
    EXPECT_EQ(gLog,
        (std::vector<String>{
            u"construct", u"loaded form", u"loaded tmrFirst", u"loaded tmrSecond", u"FormCreate"}));
    EXPECT_EQ(Application().MainForm(), form);
    EXPECT_EQ(form->Owner(), &Application());
}

TEST(Forms, WindowClassIsTheFormClassName)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmProbe>();
    HWND window = form->Handle();
    EXPECT_EQ(FindWindowExW(nullptr, nullptr, L"TfrmProbe", nullptr), window);
    wchar_t caption[32];
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"Probe");
    form->SetCaption(u"Renamed");
    GetWindowTextW(window, caption, 32);
    EXPECT_STREQ(caption, L"Renamed");
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST(Forms, MessagesCanBeHookedAndGivenBack)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmProbe>();
    const UINT probe = RegisterWindowMessageW(L"Veilport Test Probe");
    std::vector<UINT> seen;
    THookToken hook = form->AddMessageHook([&](TMessage& m) {
        if (m.Msg == probe) {
            seen.push_back(m.Msg);
            m.Result = 42;
            m.Handled = true;
        }
    });
    EXPECT_EQ(SendMessageW(form->Handle(), probe, 0, 0), 42);
    EXPECT_EQ(seen.size(), 1u);
    hook.Remove();
    EXPECT_EQ(SendMessageW(form->Handle(), probe, 0, 0), 0);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(Forms, ShowModalAsksTheResponderFirst)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmProbe>();
    auto* dialog = Application().CreateForm<TfrmProbe>();
    TModalRecorder recorder(mrYes);
    EXPECT_EQ(dialog->ShowModal(), mrYes);
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Form, dialog);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
}

TEST(Forms, ShowModalRunsItsLoopUntilAResultIsSet)
{
    TApplicationScope scope;
    auto* main = Application().CreateForm<TfrmProbe>();
    main->Show();
    auto* dialog = Application().CreateForm<TfrmProbe>();
    TTimer closer(&Application());
    int ticks = 0;
    closer.SetInterval(20);
    closer.OnTimer = [&](TObject*) {
        // The main window is disabled while the dialog is modal.
        EXPECT_FALSE(IsWindowEnabled(main->Handle()));
        EXPECT_TRUE(IsWindowVisible(dialog->Handle()));
        if (++ticks == 3)
            dialog->SetModalResult(mrRetry);
    };
    EXPECT_EQ(dialog->ShowModal(), mrRetry);
    closer.SetEnabled(false);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->IsModal());
}

TEST(Forms, ClosingAModalFormCancelsIt)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmProbe>();
    auto* dialog = Application().CreateForm<TfrmProbe>();
    PostMessageW(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

TEST(Forms, CloseHidesAFormAndEndsTheApplicationForTheMainForm)
{
    TApplicationScope scope;
    auto* main = Application().CreateForm<TfrmProbe>();
    auto* other = Application().CreateForm<TfrmProbe>();
    other->Show();
    bool asked = false;
    other->OnCloseQuery = [&](TObject*, bool& canClose) {
        asked = true;
        canClose = false;
    };
    other->Close();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(IsWindowVisible(other->Handle()));
    other->OnCloseQuery = nullptr;
    other->Close();
    EXPECT_FALSE(IsWindowVisible(other->Handle()));
    EXPECT_FALSE(Application().Terminated());

    main->Show();
    SendMessageW(main->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(Application().Terminated());
    Application().Run(); // returns at once: the loop has ended
}

TEST(Forms, FreeOnCloseDeletesTheFormFromTheLoop)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmProbe>();
    auto* other = Application().CreateForm<TfrmProbe>();
    other->OnClose = [](TObject*, TCloseAction& action) { action = TCloseAction::caFree; };
    int before = Application().ComponentCount();
    other->Close();
    EXPECT_EQ(Application().ComponentCount(), before); // still there until the loop runs
    EXPECT_TRUE(PumpUntil([&] { return Application().ComponentCount() == before - 1; }));
}

TEST(ErrorReport, ATimerErrorIsReportedAndTheLoopGoesOn)
{
    TApplicationScope scope;
    TModalRecorder recorder;
    auto* form = Application().CreateForm<TfrmProbe>();
    Application().SetTitle(u"Veilport");
    TTimer timer(form);
    int ticks = 0;
    timer.SetInterval(10);
    timer.OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 1)
            throw EFOpenError(u"C:\\x.dat");
        if (ticks == 3)
            Application().Terminate();
    };
    Application().ShowMainForm = false;
    Application().Run();
    EXPECT_EQ(ticks, 3);
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Text, u"Cannot open file \"C:\\x.dat\"");
    EXPECT_EQ(recorder.Requests[0].Caption, u"Veilport");
    EXPECT_EQ(recorder.Requests[0].DlgType, TMsgDlgType::mtError);
}

TEST(ErrorReport, AnErrorInAMessageHandlerIsReported)
{
    TApplicationScope scope;
    TModalRecorder recorder;
    auto* form = Application().CreateForm<TfrmProbe>();
    THookToken hook = form->AddMessageHook([&](TMessage& m) {
        if (m.Msg == WM_USER + 7)
            throw std::runtime_error("handler failed");
    });
    SendMessageW(form->Handle(), WM_USER + 7, 0, 0);
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Text, u"handler failed");
    EXPECT_TRUE(IsWindow(form->Handle()));
}

TEST(Dialogs, MessageDlgAsksTheResponder)
{
    TModalRecorder recorder(mrNo);
    EXPECT_EQ(MessageDlg(nullptr, u"Text", u"Caption", TMsgDlgType::mtConfirmation, mbYes | mbNo), mrNo);
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Buttons, static_cast<TMsgDlgButtons>(mbYes | mbNo));
    EXPECT_EQ(recorder.Requests[0].Form, nullptr);
}

TEST(Timers, DisabledOrZeroIntervalTimersDoNotFire)
{
    TApplicationScope scope;
    TTimer timer(&Application());
    int ticks = 0;
    timer.OnTimer = [&](TObject*) { ++ticks; };
    timer.SetInterval(5);
    timer.SetEnabled(false);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(ticks, 0);
    timer.SetEnabled(true);
    EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
    timer.SetInterval(0);
    int seen = ticks;
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(ticks, seen);
}
