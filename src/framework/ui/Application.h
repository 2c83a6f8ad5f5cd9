// TApplication: the message loop, the main form, the utility window behind timers and
// synchronized calls, forms waiting to be freed, and the general error report. The entry
// point creates the one application object and destroys it at the end; nothing creates it
// on the side.
#pragma once

#include <windows.h>

#include "framework/rtl/Component.h"
#include "framework/rtl/ErrorReport.h"
#include "framework/rtl/Threads.h"
#include "framework/ui/Messages.h"

#include <map>
#include <vector>

namespace vp {

class TForm;
class TTimer;

class TApplication : public TComponent, private ISyncDispatcher {
    VP_CLASS(TApplication)
public:
    // Becomes the process's application; a second one at the same time is an error.
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
    // box and returns. Call it from a catch block.
    void HandleException();
    void ShowException(const String& message);
    // Runs fn, reporting anything it throws (GuardCall).
    template <class F>
    void Guard(F&& fn) noexcept
    {
        GuardCall(std::forward<F>(fn));
    }

    // A form closed with caFree: freed once no window procedure runs any more.
    void ReleaseForm(TForm* form);

    // The hidden window that carries timers and synchronized calls.
    HWND UtilityWindow() const { return FUtilityWindow; }
    UINT_PTR RegisterTimer(TTimer* timer);
    void UnregisterTimer(UINT_PTR id);
    DWORD MainThreadId() const { return FMainThreadId; }

private:
    void FinishFormCreation(TForm* form);
    // Keyboard navigation of dialogs (Tab, Enter, Esc, mnemonics) for the toolkit's forms.
    bool IsDialogKey(MSG& msg);
    void Dispatch(MSG& msg);
    void FreeReleasedForms();
    void WakeMainThread() override;
    void Notification(TComponent* aComponent, TOperation operation) override;
    static LRESULT CALLBACK UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept;

    TForm* FMainForm = nullptr;
    bool FTerminated = false;
    String FTitle;
    HWND FUtilityWindow = nullptr;
    DWORD FMainThreadId = 0;
    std::map<UINT_PTR, TTimer*> FTimers;
    UINT_PTR FNextTimerId = 1;
    std::vector<TForm*> FReleased;
};

// The application object of the process; raises when there is none.
TApplication& Application();
bool ApplicationExists();

} // namespace vp
