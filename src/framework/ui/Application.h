// TApplication: the message loop, the main form, the utility window behind timers and
// synchronized calls, and the general error report.
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/ui/Messages.h"

#include <functional>
#include <map>

namespace vp {

class TForm;
class TTimer;

class TApplication : public TComponent {
    VP_CLASS(TApplication)
public:
    TApplication();
    ~TApplication() override;

    // Builds a form owned by the application: its components, their Loaded in creation
    // order, then its creation handler. The first form made this way is the main form.
    template <class T, class... Args>
    T* CreateForm(Args&&... args)
    {
        T* form = new T(this, std::forward<Args>(args)...);
        FinishFormCreation(form);
        return form;
    }

    TForm* MainForm() const { return FMainForm; }
    void SetMainForm(TForm* form) { FMainForm = form; }
    // Show the main form when Run starts.
    bool ShowMainForm = true;

    // Runs the message loop until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return FTerminated; }
    // Dispatches the messages waiting now, then returns.
    void ProcessMessages();
    // One message: waits for it, dispatches it; false when WM_QUIT arrived.
    bool HandleMessage();

    String Title() const { return FTitle; }
    void SetTitle(const String& value);

    // The general error report: shows the text of the exception being handled in a message
    // box and returns. Call it from a catch block; every dispatch from Win32 does.
    void HandleException();
    void ShowException(const String& message);
    // The text of the exception being handled.
    static String CurrentExceptionText();

    // Runs fn, reporting anything it throws. Every callback from Win32 goes through this.
    template <class F>
    void Guard(F&& fn) noexcept
    {
        try {
            fn();
        } catch (...) {
            HandleException();
        }
    }

    // The hidden window that carries timers and synchronized calls.
    HWND UtilityWindow() const { return FUtilityWindow; }
    UINT_PTR RegisterTimer(TTimer* timer);
    void UnregisterTimer(UINT_PTR id);
    // Runs the calls that worker threads queued with Synchronize.
    void CheckSynchronize();
    DWORD MainThreadId() const { return FMainThreadId; }

private:
    void FinishFormCreation(TForm* form);
    static LRESULT CALLBACK UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    String FTitle;
    HWND FUtilityWindow = nullptr;
    DWORD FMainThreadId = 0;
    std::map<UINT_PTR, TTimer*> FTimers;
    UINT_PTR FNextTimerId = 1;
};

// The application object of the process, created on first use.
TApplication& Application();
// Frees the application object and everything it owns (the end of a run).
void DestroyApplication();
bool ApplicationExists();

} // namespace vp
