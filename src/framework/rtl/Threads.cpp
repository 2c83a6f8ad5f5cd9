#include "framework/rtl/Threads.h"

#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/Exceptions.h"

#include <chrono>
#include <deque>

namespace vp {

namespace {

struct TSyncRequest {
    const std::function<void()>* Method = nullptr;
    std::exception_ptr Error;
    bool Done = false;
};

struct TSyncQueue {
    std::mutex Guard;
    std::condition_variable Finished;
    std::deque<TSyncRequest*> Pending;
    ISyncDispatcher* Dispatcher = nullptr;
    std::thread::id MainThread;
};

TSyncQueue& Queue()
{
    static TSyncQueue queue;
    return queue;
}

} // namespace

void SetSyncDispatcher(ISyncDispatcher* dispatcher)
{
    TSyncQueue& queue = Queue();
    {
        std::lock_guard<std::mutex> lock(queue.Guard);
        if (!dispatcher)
            for (TSyncRequest* request : queue.Pending)
                request->Done = true;
        if (!dispatcher)
            queue.Pending.clear();
        queue.Dispatcher = dispatcher;
        queue.MainThread = dispatcher ? std::this_thread::get_id() : std::thread::id();
    }
    queue.Finished.notify_all();
}

bool IsMainThread()
{
    TSyncQueue& queue = Queue();
    std::lock_guard<std::mutex> lock(queue.Guard);
    return queue.Dispatcher && queue.MainThread == std::this_thread::get_id();
}

void RunPendingSynchronize()
{
    TSyncQueue& queue = Queue();
    while (true) {
        TSyncRequest* request = nullptr;
        {
            std::lock_guard<std::mutex> lock(queue.Guard);
            if (queue.Pending.empty() || queue.MainThread != std::this_thread::get_id())
                return;
            request = queue.Pending.front();
            queue.Pending.pop_front();
        }
        std::exception_ptr error;
        try {
            (*request->Method)();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(queue.Guard);
            request->Error = error;
            request->Done = true;
        }
        queue.Finished.notify_all();
    }
}

void TThread::Synchronize(const std::function<void()>& method)
{
    TSyncQueue& queue = Queue();
    std::unique_lock<std::mutex> lock(queue.Guard);
    if (!queue.Dispatcher)
        return; // no main thread (any more)
    if (queue.MainThread == std::this_thread::get_id()) {
        lock.unlock();
        method();
        return;
    }
    TSyncRequest request;
    request.Method = &method;
    queue.Pending.push_back(&request);
    queue.Dispatcher->WakeMainThread();
    queue.Finished.wait(lock, [&] { return request.Done; });
    if (request.Error)
        std::rethrow_exception(request.Error);
}

TThread::TThread() = default;

TThread::~TThread()
{
    if (FThread.joinable()) {
        Terminate();
        FThread.join();
    }
}

void TThread::Start()
{
    std::lock_guard<std::mutex> lock(FGuard);
    if (FStarted)
        return;
    FStarted = true;
    // The worker waits for this lock, so FThread is assigned before it can detach itself.
    FThread = std::thread([this] {
        {
            std::lock_guard<std::mutex> gate(FGuard);
        }
        Run();
    });
}

void TThread::Run()
{
    try {
        Execute();
    } catch (...) {
        FatalException = std::current_exception();
    }
    if (OnTerminate)
        Synchronize([this] { GuardCall([this] { OnTerminate(this); }); });
    if (FreeOnTerminate) {
        // Nobody waits for this object: release the worker and go.
        FThread.detach();
        delete this;
        return;
    }
    {
        std::lock_guard<std::mutex> lock(FGuard);
        FFinished = true;
    }
    FDone.notify_all();
}

void TThread::WaitFor()
{
    if (FreeOnTerminate)
        throw Exception(u"A thread that frees itself cannot be waited for");
    {
        std::lock_guard<std::mutex> lock(FGuard);
        if (!FStarted)
            return;
    }
    if (IsMainThread()) {
        std::unique_lock<std::mutex> lock(FGuard);
        while (!FFinished) {
            lock.unlock();
            RunPendingSynchronize();
            lock.lock();
            FDone.wait_for(lock, std::chrono::milliseconds(5), [&] { return FFinished.load(); });
        }
    }
    // Joining, not only the finished flag, guarantees the worker no longer touches us.
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id())
        FThread.join();
}

} // namespace vp
