// barewindow.exe: the yardstick of tools/startup-bench. The least a Win32 program with a
// window does: register a class, create and show a window of the main window's size, run the
// message loop. No toolkit, no manifest, no resources.
//
// Built a second time as barewindow-imports.exe (VP_BARE_IMPORTS): the same window, but the
// process loads the system libraries Veilport.exe imports (GDI+, WinINet, the shell, COM,
// common controls, themes, RAS), which tells their share of Veilport's start-up.
#include <windows.h>

#ifdef VP_BARE_IMPORTS
#include <commctrl.h>
#include <objbase.h>
#include <ras.h>
#include <shellapi.h>
#include <shlwapi.h>
#include <uxtheme.h>
#include <wininet.h>

#include <gdiplus.h>
#endif

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
#ifdef VP_BARE_IMPORTS
    // One call into each library, as Veilport makes them at start-up.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    InitCommonControls();
    CoInitialize(nullptr);
    if (HINTERNET session = InternetOpenW(L"bare", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))
        InternetCloseHandle(session);
    // The remaining libraries are loaded by reference, as Veilport's imports load them.
    void* const imported[] = {reinterpret_cast<void*>(&RasEnumConnectionsW), reinterpret_cast<void*>(&ShellExecuteW),
        reinterpret_cast<void*>(&PathFileExistsW), reinterpret_cast<void*>(&SetWindowTheme)};
    for (void* function : imported)
        if (!function)
            return 1;
#endif
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = L"BareWindow";
    RegisterClassW(&windowClass);
    RECT rect{0, 0, 474, 236};
    AdjustWindowRect(&rect, WS_OVERLAPPEDWINDOW, FALSE);
    HWND window = CreateWindowExW(0, L"BareWindow", L"Bare window", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
        rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
