// TThread: work on a worker thread. Synchronize runs a function on the user-interface
// thread while the worker waits; it works inside modal loops and message boxes too, since
// any message loop of that thread dispatches it.
#pragma once

#include "framework/rtl/RtlText.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>

namespace vp {

class TThread {
public:
    explicit TThread(bool createSuspended = true);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    virtual ~TThread();

    // Starts Execute on a new thread (once).
    void Start();
    // Asks Execute to stop at its next check of Terminated().
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    bool Finished() const { return FFinished; }
    // Waits until Execute has ended and OnTerminate has run; on the user-interface thread
    // it runs synchronized calls meanwhile. Not for free-on-terminate threads.
    void WaitFor();

    // The thread deletes itself after OnTerminate.
    bool FreeOnTerminate = false;
    // Runs on the user-interface thread after Execute, before a free-on-terminate delete.
    std::function<void(TThread* Sender)> OnTerminate;
    // What escaped Execute, if anything.
    std::exception_ptr FatalException;

    // Runs method on the user-interface thread and returns when it has run there. An error
    // it raises is raised here again. Returns at once without running it when the
    // application is gone.
    static void Synchronize(const std::function<void()>& method);

protected:
    virtual void Execute() = 0;

private:
    void Run();

    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    bool FStarted = false;
    std::mutex FDoneGuard;
    std::condition_variable FDone;
};

// Used by the application object: runs or cancels the queued calls.
void RunPendingSynchronize();
void CancelPendingSynchronize();

} // namespace vp
