#include "framework/ui/Application.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Timers.h"

#include <algorithm>

namespace vp {

namespace {

TApplication* gApplication = nullptr;
const wchar_t kUtilityClass[] = L"TVeilportUtilityWindow";

} // namespace

const TClassInfo& TApplication::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TApplication, TComponent>(u"TApplication").Build();
    return info;
}

TApplication::TApplication() : TComponent(nullptr), FMainThreadId(GetCurrentThreadId())
{
    if (gApplication)
        throw Exception(u"The application object exists already");
    TComponent::Loaded(); // nothing to load: forms made later build their own descriptions
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, kUtilityClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = UtilityProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = instance;
        wc.lpszClassName = kUtilityClass;
        RegisterClassExW(&wc);
    }
    FUtilityWindow =
        CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (!FUtilityWindow)
        throw Exception(u"Cannot create the application's utility window");
    gApplication = this;
    SetSyncDispatcher(this);
    SetErrorReporter([this](const String& text) { ShowException(text); });
}

TApplication::~TApplication()
{
    SetErrorReporter(nullptr);
    // Workers waiting for this thread must not wait for ever.
    SetSyncDispatcher(nullptr);
    FMainForm = nullptr;
    FreeReleasedForms();
    DestroyComponents();
    for (auto& [id, timer] : FTimers)
        KillTimer(FUtilityWindow, id);
    FTimers.clear();
    SetWindowLongPtrW(FUtilityWindow, 0, 0);
    DestroyWindow(FUtilityWindow);
    gApplication = nullptr;
}

void TApplication::FinishFormCreation(TForm* form)
{
    if (!FMainForm)
        FMainForm = form;
    form->FinishCreation();
}

void TApplication::Notification(TComponent* aComponent, TOperation operation)
{
    TComponent::Notification(aComponent, operation);
    if (operation != TOperation::Remove)
        return;
    if (aComponent == FMainForm)
        FMainForm = nullptr;
    FReleased.erase(std::remove(FReleased.begin(), FReleased.end(), aComponent), FReleased.end());
}

void TApplication::Run()
{
    if (FMainForm && ShowMainForm)
        FMainForm->Show();
    while (!FTerminated && HandleMessage()) { }
}

void TApplication::Terminate()
{
    if (!FTerminated)
        PostQuitMessage(0);
    FTerminated = true;
}

bool TApplication::IsDialogKey(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    HWND top = GetAncestor(msg.hwnd, GA_ROOT);
    auto* form = dynamic_cast<TForm*>(TWinControl::FindControl(top));
    if (!form)
        return false;
    bool consumed = false;
    GuardCall([&] { consumed = form->PreviewKey(msg); });
    return consumed || (form->WantsDialogKeys() && IsDialogMessageW(top, &msg));
}

void TApplication::Dispatch(MSG& msg)
{
    if (!IsDialogKey(msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (!FReleased.empty() && WindowDispatchDepth() == 0)
        FreeReleasedForms();
}

bool TApplication::HandleMessage()
{
    MSG msg;
    BOOL result = GetMessageW(&msg, nullptr, 0, 0);
    if (result == 0) {
        FTerminated = true;
        return false;
    }
    if (result == -1)
        return false;
    Dispatch(msg);
    return true;
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            FTerminated = true;
            PostQuitMessage(static_cast<int>(msg.wParam)); // the loop that runs must see it too
            return;
        }
        Dispatch(msg);
    }
    // A form released by a handler that has returned since, with nothing queued after it.
    if (!FReleased.empty() && WindowDispatchDepth() == 0)
        FreeReleasedForms();
}

void TApplication::ReleaseForm(TForm* form)
{
    if (std::find(FReleased.begin(), FReleased.end(), form) != FReleased.end())
        return;
    FReleased.push_back(form);
    FreeNotification(form); // whoever frees it first, this list forgets it
    // Wake the loop, which frees it once the current dispatch has returned.
    PostMessageW(FUtilityWindow, WM_VP_RELEASE, 0, 0);
}

void TApplication::FreeReleasedForms()
{
    // One at a time: a form may own, and so free, another one on the list.
    while (!FReleased.empty()) {
        TForm* form = FReleased.back();
        FReleased.pop_back();
        RemoveFreeNotification(form);
        delete form;
    }
}

void TApplication::SetTitle(const String& value)
{
    FTitle = value;
}

void TApplication::HandleException()
{
    ShowException(CurrentExceptionText());
}

void TApplication::ShowException(const String& message)
{
    HWND owner = (FMainForm && FMainForm->HandleAllocated()) ? FMainForm->Handle() : nullptr;
    String caption = FTitle.empty() && FMainForm ? FMainForm->Caption() : FTitle;
    try {
        MessageDlg(owner, message, caption, TMsgDlgType::mtError, mbOK);
    } catch (...) {
        // A report that fails must not become another error.
    }
}

UINT_PTR TApplication::RegisterTimer(TTimer* timer)
{
    UINT_PTR id = FNextTimerId++;
    FTimers[id] = timer;
    return id;
}

void TApplication::UnregisterTimer(UINT_PTR id)
{
    KillTimer(FUtilityWindow, id);
    FTimers.erase(id);
}

void TApplication::WakeMainThread()
{
    PostMessageW(FUtilityWindow, WM_VP_SYNCHRONIZE, 0, 0);
}

LRESULT CALLBACK TApplication::UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) noexcept
{
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, 0));
    if (!app)
        return DefWindowProcW(window, msg, wParam, lParam);
    TWindowDispatchScope depth;
    switch (msg) {
    case WM_TIMER: {
        auto found = app->FTimers.find(wParam);
        if (found != app->FTimers.end()) {
            TTimer* timer = found->second;
            GuardCall([&] { timer->Timer(); });
        }
        return 0;
    }
    case WM_VP_SYNCHRONIZE: GuardCall([] { RunPendingSynchronize(); }); return 0;
    case WM_VP_RELEASE: return 0; // only wakes the loop
    default: return DefWindowProcW(window, msg, wParam, lParam);
    }
}

TApplication& Application()
{
    if (!gApplication)
        throw Exception(u"The application object does not exist");
    return *gApplication;
}

bool ApplicationExists()
{
    return gApplication != nullptr;
}

} // namespace vp
