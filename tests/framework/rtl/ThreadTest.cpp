#include "framework/rtl/Exceptions.h"
#include "framework/rtl/Threads.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <vector>

using namespace vp;

namespace {

// The main thread's side for these tests: woken workers' calls run while the test pumps.
class TTestDispatcher : public ISyncDispatcher {
public:
    TTestDispatcher() { SetSyncDispatcher(this); }
    ~TTestDispatcher() { SetSyncDispatcher(nullptr); }
    TTestDispatcher(const TTestDispatcher&) = delete;
    TTestDispatcher& operator=(const TTestDispatcher&) = delete;

    void WakeMainThread() override
    {
        std::lock_guard<std::mutex> lock(FGuard);
        FWoken = true;
        FWake.notify_all();
    }

    bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = std::chrono::seconds(10))
    {
        auto end = std::chrono::steady_clock::now() + timeout;
        while (!done()) {
            if (std::chrono::steady_clock::now() > end)
                return done();
            RunPendingSynchronize();
            std::unique_lock<std::mutex> lock(FGuard);
            FWake.wait_for(lock, std::chrono::milliseconds(5), [&] { return FWoken; });
            FWoken = false;
        }
        return true;
    }

private:
    std::mutex FGuard;
    std::condition_variable FWake;
    bool FWoken = false;
};

class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : FBody(std::move(body)) { }
    ~TLambdaThread() override { ++Destroyed; }
    static std::atomic<int> Destroyed;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(TLambdaThread&)> FBody;
};

std::atomic<int> TLambdaThread::Destroyed{0};

} // namespace

TEST(Threads, SynchronizeRunsOnTheMainThreadWhileTheWorkerWaits)
{
    TTestDispatcher dispatcher;
    const auto mainThread = std::this_thread::get_id();
    std::thread::id ranOn;
    std::vector<int> order; // the worker appends only after its synchronized call returned
    TLambdaThread thread([&](TLambdaThread&) {
        TThread::Synchronize([&] {
            ranOn = std::this_thread::get_id();
            order.push_back(1);
        });
        order.push_back(2);
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(ranOn, mainThread);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST(Threads, AnErrorInASynchronizedCallComesBackToTheWorker)
{
    TTestDispatcher dispatcher;
    TLambdaThread thread([](TLambdaThread&) { TThread::Synchronize([] { throw EListError(u"sync failed"); }); });
    thread.Start();
    thread.WaitFor();
    ASSERT_TRUE(thread.FatalException);
    try {
        std::rethrow_exception(thread.FatalException);
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"sync failed");
    }
}

TEST(Threads, ThreadObjectsDestroyedRightAfterTheirWaitAreNoLongerTouched)
{
    // The worker's last steps (its completion notice, OnTerminate) must be over when WaitFor
    // returns; AddressSanitizer sees any touch of the freed stack object.
    TTestDispatcher dispatcher;
    int terminated = 0;
    for (int i = 0; i < 200; ++i) {
        TLambdaThread thread([](TLambdaThread&) { });
        thread.OnTerminate = [&](TThread*) { ++terminated; };
        thread.Start();
        thread.WaitFor();
    }
    EXPECT_EQ(terminated, 200);
}

TEST(Threads, FreeOnTerminateRunsOnTerminateOnTheMainThreadThenDeletes)
{
    TTestDispatcher dispatcher;
    const auto mainThread = std::this_thread::get_id();
    int destroyedBefore = TLambdaThread::Destroyed;
    std::thread::id terminatedOn;
    auto* thread = new TLambdaThread([](TLambdaThread& self) {
        while (!self.Terminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    thread->FreeOnTerminate = true;
    thread->OnTerminate = [&](TThread*) { terminatedOn = std::this_thread::get_id(); };
    thread->Start();
    EXPECT_THROW(thread->WaitFor(), Exception);
    thread->Terminate();
    EXPECT_TRUE(dispatcher.PumpUntil([&] { return TLambdaThread::Destroyed == destroyedBefore + 1; }));
    EXPECT_EQ(terminatedOn, mainThread);
}

// Its worker uses nothing of its own, so the base class may end it.
class TSpinThread : public TThread {
public:
    static std::atomic<bool> Left;

protected:
    void Execute() override
    {
        while (!Terminated())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Left = true;
    }
};

std::atomic<bool> TSpinThread::Left{false};

TEST(Threads, ARunningThreadDestroyedUnwaitedIsTerminatedAndJoined)
{
    {
        TSpinThread thread;
        thread.Start();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(TSpinThread::Left);
}

TEST(Threads, WithoutAMainThreadSynchronizeReturnsWithoutRunning)
{
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread&) { TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    thread.WaitFor();
    EXPECT_FALSE(ran);
}

TEST(Threads, CallsStillWaitingAreReleasedWhenTheMainThreadGoes)
{
    auto dispatcher = std::make_unique<TTestDispatcher>();
    std::atomic<bool> queued{false};
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread&) {
        queued = true;
        TThread::Synchronize([&] { ran = true; });
    });
    thread.Start();
    while (!queued)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // queued, and nobody pumps
    dispatcher.reset();
    thread.WaitFor();
    EXPECT_FALSE(ran);
}
