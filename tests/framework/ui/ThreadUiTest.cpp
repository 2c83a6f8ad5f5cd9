#include "support/UiTestSupport.h"

#include "framework/rtl/Threads.h"
#include "framework/ui/Forms.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace vp;
using namespace vptest;

namespace {

class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : FBody(std::move(body)) { }

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

class TfrmDialog : public TForm {
    VP_CLASS(TfrmDialog)
public:
    using TForm::TForm;
};

const TClassInfo& TfrmDialog::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmDialog, TForm>(u"TfrmDialog").Build();
    return info;
}

} // namespace

TEST(ThreadsWithTheApplication, SynchronizeRunsOnTheUserInterfaceThread)
{
    TApplicationScope scope;
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    TLambdaThread thread([&](TLambdaThread&) { TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(ranOn.load(), uiThread);
}

TEST(ThreadsWithTheApplication, SynchronizeWorksWhileAModalLoopRuns)
{
    TApplicationScope scope;
    Application().CreateForm<TfrmDialog>();
    auto* dialog = Application().CreateForm<TfrmDialog>();
    TLambdaThread thread([&](TLambdaThread&) {
        Sleep(50);
        TThread::Synchronize([&] { dialog->SetModalResult(mrOk); });
    });
    thread.Start();
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    thread.WaitFor();
}

TEST(ThreadsWithTheApplication, FreeOnTerminateThreadsEndThroughTheMessageLoop)
{
    TApplicationScope scope;
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> terminatedOn{0};
    auto* thread = new TLambdaThread([](TLambdaThread&) { });
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TThread*) { terminatedOn = GetCurrentThreadId(); };
    thread->Start();
    EXPECT_TRUE(PumpUntil([&] { return terminatedOn.load() != 0; }));
    EXPECT_EQ(terminatedOn.load(), uiThread);
}

TEST(ThreadsWithTheApplication, PendingCallsAreReleasedWhenTheApplicationGoes)
{
    TApplicationScope scope;
    std::atomic<bool> queued{false};
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread&) {
        queued = true;
        TThread::Synchronize([&] { ran = true; });
    });
    thread.Start();
    while (!queued)
        Sleep(1);
    Sleep(50); // the call is queued, and nobody runs the loop
    scope.Reset();
    thread.WaitFor();
    EXPECT_FALSE(ran);
}
