#include "framework/ui/Application.h"

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Forms.h"
#include "framework/ui/Threads.h"
#include "framework/ui/Timers.h"

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
    TComponent::Loaded(); // nothing to load: forms made later build their own descriptions
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(instance, kUtilityClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = UtilityProc;
        wc.hInstance = instance;
        wc.lpszClassName = kUtilityClass;
        RegisterClassExW(&wc);
    }
    FUtilityWindow =
        CreateWindowExW(0, kUtilityClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr);
    if (FUtilityWindow)
        SetWindowLongPtrW(FUtilityWindow, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TApplication::~TApplication()
{
    FMainForm = nullptr;
    DestroyComponents();
    for (auto& [id, timer] : FTimers)
        KillTimer(FUtilityWindow, id);
    FTimers.clear();
    // Workers waiting for this thread must not wait for ever.
    CancelPendingSynchronize();
    if (FUtilityWindow) {
        SetWindowLongPtrW(FUtilityWindow, GWLP_USERDATA, 0);
        DestroyWindow(FUtilityWindow);
    }
}

void TApplication::FinishFormCreation(TForm* form)
{
    if (!FMainForm)
        FMainForm = form;
    LoadComponentTree(*form);
    form->DoCreate();
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
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
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
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void TApplication::SetTitle(const String& value)
{
    FTitle = value;
}

String TApplication::CurrentExceptionText()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Utf8ToU16(e.what());
    } catch (...) {
        return u"Unknown error";
    }
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

void TApplication::CheckSynchronize()
{
    RunPendingSynchronize();
}

LRESULT CALLBACK TApplication::UtilityProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* app = reinterpret_cast<TApplication*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!app)
        return DefWindowProcW(window, msg, wParam, lParam);
    switch (msg) {
    case WM_TIMER: {
        auto found = app->FTimers.find(wParam);
        if (found != app->FTimers.end()) {
            TTimer* timer = found->second;
            app->Guard([&] { timer->Timer(); });
        }
        return 0;
    }
    case WM_VP_SYNCHRONIZE: app->CheckSynchronize(); return 0;
    default: return DefWindowProcW(window, msg, wParam, lParam);
    }
}

TApplication& Application()
{
    if (!gApplication)
        gApplication = new TApplication();
    return *gApplication;
}

void DestroyApplication()
{
    TApplication* app = gApplication;
    gApplication = nullptr;
    delete app;
}

bool ApplicationExists()
{
    return gApplication != nullptr;
}

} // namespace vp
