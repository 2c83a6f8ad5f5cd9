#include "UiTestSupport.h"

#include "framework/rtl/Exceptions.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Threads.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace vp;
using namespace vptest;

namespace {

class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : TThread(true), FBody(std::move(body))
    {
    }
    ~TLambdaThread() override { ++Destroyed; }
    static std::atomic<int> Destroyed;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

std::atomic<int> TLambdaThread::Destroyed{0};

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

TEST(Threads, SynchronizeRunsOnTheUserInterfaceThreadWhileTheWorkerWaits)
{
    TApplicationScope scope;
    const DWORD uiThread = GetCurrentThreadId();
    std::atomic<DWORD> ranOn{0};
    std::atomic<DWORD> workerThread{0};
    std::vector<int> order; // touched on the user-interface thread only, and by the worker after it
    TLambdaThread thread([&](TLambdaThread&) {
        workerThread = GetCurrentThreadId();
        TThread::Synchronize([&] {
            ranOn = GetCurrentThreadId();
            order.push_back(1);
        });
        order.push_back(2); // the synchronized call has finished by now
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(ranOn.load(), uiThread);
    EXPECT_NE(workerThread.load(), uiThread);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(Threads, SynchronizeWorksWhileAModalLoopRuns)
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

TEST(Threads, AnErrorInASynchronizedCallComesBackToTheWorker)
{
    TApplicationScope scope;
    TLambdaThread thread(
        [](TLambdaThread&) { TThread::Synchronize([] { throw EListError(u"sync failed"); }); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException);
    try {
        std::rethrow_exception(thread.FatalException);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"sync failed");
    }
}

TEST(Threads, FreeOnTerminateRunsOnTerminateOnTheUserInterfaceThreadThenDeletes)
{
    TApplicationScope scope;
    const DWORD uiThread = GetCurrentThreadId();
    int destroyedBefore = TLambdaThread::Destroyed;
    std::atomic<DWORD> terminatedOn{0};
    auto* thread = new TLambdaThread([](TLambdaThread& self) {
        while (!self.Terminated())
            Sleep(1);
    });
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TThread*) { terminatedOn = GetCurrentThreadId(); };
    thread->Start();
    thread->Terminate();
    EXPECT_TRUE(PumpUntil([&] { return TLambdaThread::Destroyed == destroyedBefore + 1; }));
    EXPECT_EQ(terminatedOn.load(), uiThread);
}

TEST(Threads, SynchronizeWithoutAnApplicationDoesNotWaitForEver)
{
    DestroyApplication();
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread&) { TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_FALSE(ran);
}

TEST(Threads, PendingCallsAreCancelledWhenTheApplicationGoes)
{
    Application();
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
    DestroyApplication();
    thread.WaitFor();
    EXPECT_FALSE(ran);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) { }
}
