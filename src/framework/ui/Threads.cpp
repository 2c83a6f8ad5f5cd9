#include "framework/ui/Threads.h"

#include <windows.h>

#include "framework/ui/Application.h"

#include <deque>
#include <thread>

namespace vp {

namespace {

struct TSyncRequest {
    std::function<void()> Method;
    std::exception_ptr Error;
    bool Done = false;
};

struct TSyncQueue {
    std::mutex Guard;
    std::condition_variable Finished;
    std::deque<TSyncRequest*> Pending;
    HWND Target = nullptr; // the utility window of the user-interface thread
    DWORD TargetThread = 0;
};

TSyncQueue& Queue()
{
    static TSyncQueue queue;
    return queue;
}

} // namespace

void RunPendingSynchronize()
{
    TSyncQueue& queue = Queue();
    while (true) {
        TSyncRequest* request = nullptr;
        {
            std::lock_guard<std::mutex> lock(queue.Guard);
            if (queue.Pending.empty())
                return;
            request = queue.Pending.front();
            queue.Pending.pop_front();
        }
        try {
            request->Method();
        } catch (...) {
            request->Error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(queue.Guard);
            request->Done = true;
        }
        queue.Finished.notify_all();
    }
}

void CancelPendingSynchronize()
{
    TSyncQueue& queue = Queue();
    {
        std::lock_guard<std::mutex> lock(queue.Guard);
        for (TSyncRequest* request : queue.Pending)
            request->Done = true;
        queue.Pending.clear();
        queue.Target = nullptr;
        queue.TargetThread = 0;
    }
    queue.Finished.notify_all();
}

void TThread::Synchronize(const std::function<void()>& method)
{
    TSyncQueue& queue = Queue();
    {
        std::lock_guard<std::mutex> lock(queue.Guard);
        if (queue.TargetThread == 0 && ApplicationExists()) {
            queue.Target = Application().UtilityWindow();
            queue.TargetThread = Application().MainThreadId();
        }
        if (queue.TargetThread == 0)
            return; // no user-interface thread (any more)
        if (GetCurrentThreadId() == queue.TargetThread) {
            // Already there: run it now.
        } else {
            TSyncRequest request{method, nullptr, false};
            queue.Pending.push_back(&request);
            PostMessageW(queue.Target, WM_VP_SYNCHRONIZE, 0, 0);
            std::unique_lock<std::mutex> wait(queue.Guard, std::adopt_lock);
            queue.Finished.wait(wait, [&] { return request.Done; });
            wait.release();
            if (request.Error)
                std::rethrow_exception(request.Error);
            return;
        }
    }
    method();
}

TThread::TThread(bool createSuspended)
{
    if (!createSuspended)
        Start();
}

TThread::~TThread() = default;

void TThread::Start()
{
    if (FStarted)
        return;
    FStarted = true;
    std::thread([this] { Run(); }).detach();
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    if (OnTerminate)
        Synchronize([this] { Application().Guard([this] { OnTerminate(this); }); });
    bool freeIt = FreeOnTerminate;
    {
        std::lock_guard<std::mutex> lock(FDoneGuard);
        FFinished = true;
    }
    FDone.notify_all();
    if (freeIt)
        delete this;
}

void TThread::WaitFor()
{
    if (!FStarted)
        return;
    bool onUiThread = ApplicationExists() && GetCurrentThreadId() == Application().MainThreadId();
    std::unique_lock<std::mutex> lock(FDoneGuard);
    while (!FFinished) {
        if (onUiThread) {
            lock.unlock();
            RunPendingSynchronize();
            lock.lock();
            FDone.wait_for(lock, std::chrono::milliseconds(5), [&] { return FFinished.load(); });
        } else {
            FDone.wait(lock, [&] { return FFinished.load(); });
        }
    }
}

} // namespace vp
