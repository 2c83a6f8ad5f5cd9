// TThread: work on a worker thread. Synchronize runs a function on the main (user-interface)
// thread while the worker waits. The main thread's side is plugged in by the toolkit through
// a dispatcher that wakes its message loop; any loop of that thread then runs the call, so
// it works inside modal loops and message boxes too.
#pragma once

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace vp {

// Wakes the main thread so that it calls RunPendingSynchronize soon. Called from any thread.
class ISyncDispatcher {
public:
    virtual ~ISyncDispatcher() = default;
    virtual void WakeMainThread() = 0;
};

// Makes the calling thread the main thread, woken through dispatcher. nullptr ends that:
// calls still waiting are released without running, and later ones return at once.
void SetSyncDispatcher(ISyncDispatcher* dispatcher);
bool IsMainThread();
// Runs the calls that workers queued; the main thread calls it when woken.
void RunPendingSynchronize();

class TThread {
public:
    TThread();
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    // A worker that still runs is told to terminate and joined first; a class whose Execute
    // uses its own fields waits for the worker in its own destructor.
    virtual ~TThread();

    // Starts Execute on a new thread (once). Nothing runs before this call, so a derived
    // class is complete when its Execute starts.
    void Start();
    // Asks Execute to stop at its next check of Terminated().
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // Waits until the worker has ended (OnTerminate included) and joins it; on the main
    // thread it runs synchronized calls meanwhile. Not for free-on-terminate threads.
    void WaitFor();

    // The worker deletes the object after OnTerminate; nobody may wait for it.
    bool FreeOnTerminate = false;
    // Runs on the main thread after Execute, before a free-on-terminate delete.
    std::function<void(TThread* Sender)> OnTerminate;
    // What escaped Execute, if anything.
    std::exception_ptr FatalException;

    // Runs method on the main thread and returns when it has run there. An error it raises
    // is raised here again. Returns at once without running it when there is no main thread.
    static void Synchronize(const std::function<void()>& method);

protected:
    virtual void Execute() = 0;

private:
    void Run();

    std::thread FThread;
    std::mutex FGuard;
    std::condition_variable FDone;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
};

} // namespace vp
