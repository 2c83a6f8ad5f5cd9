#include "framework/ui/Dpi.h"

#include <map>
#include <mutex>

namespace vp {

namespace {

template <class F>
F User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TGetDpiForSystem = UINT(WINAPI*)();
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
using TSystemParametersInfoForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using TGetSystemMetricsForDpi = int(WINAPI*)(int, UINT);

using TGetDpiForMonitor = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

struct TDpiCalls {
    TGetDpiForWindow GetDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
    TGetDpiForSystem GetDpiForSystem = User32Function<TGetDpiForSystem>("GetDpiForSystem");
    TAdjustWindowRectExForDpi AdjustWindowRectExForDpi =
        User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
    TSystemParametersInfoForDpi SystemParametersInfoForDpi =
        User32Function<TSystemParametersInfoForDpi>("SystemParametersInfoForDpi");
    TGetSystemMetricsForDpi GetSystemMetricsForDpi =
        User32Function<TGetSystemMetricsForDpi>("GetSystemMetricsForDpi");
    // shcore.dll stays loaded for the process once asked for.
    TGetDpiForMonitor GetDpiForMonitor = [] {
        HMODULE shcore = LoadLibraryW(L"shcore.dll");
        return shcore ? reinterpret_cast<TGetDpiForMonitor>(
                            reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                      : nullptr;
    }();
};

const TDpiCalls& Calls()
{
    static const TDpiCalls calls;
    return calls;
}

UINT ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : static_cast<int>(kDesignDpi);
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

} // namespace

UINT SystemDpi()
{
    if (Calls().GetDpiForSystem)
        return Calls().GetDpiForSystem();
    return ScreenDpi();
}

UINT WindowDpi(HWND window)
{
    if (window && Calls().GetDpiForWindow) {
        UINT dpi = Calls().GetDpiForWindow(window);
        if (dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

UINT DpiAtPoint(POINT point)
{
    if (Calls().GetDpiForMonitor) {
        UINT dpiX = 0, dpiY = 0;
        HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
        constexpr int kEffectiveDpi = 0; // MDT_EFFECTIVE_DPI
        if (monitor && SUCCEEDED(Calls().GetDpiForMonitor(monitor, kEffectiveDpi, &dpiX, &dpiY)) && dpiY != 0)
            return dpiY;
    }
    return SystemDpi();
}

int ScaleToDpi(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

int UnscaleFromDpi(int value, UINT dpi)
{
    return dpi == 0 ? value : MulDiv(value, static_cast<int>(kDesignDpi), static_cast<int>(dpi));
}

RECT WindowRectForClient(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi)
{
    RECT rect{0, 0, clientWidth, clientHeight};
    if (Calls().AdjustWindowRectExForDpi)
        Calls().AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return rect;
}

HFONT MessageFont(UINT dpi)
{
    static std::mutex guard;
    static std::map<UINT, HFONT> fonts;
    std::lock_guard<std::mutex> lock(guard);
    if (auto found = fonts.find(dpi); found != fonts.end())
        return found->second;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    bool known = Calls().SystemParametersInfoForDpi &&
        Calls().SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    if (!known) {
        known = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        // Those metrics are at the system DPI.
        if (known)
            metrics.lfMessageFont.lfHeight =
                MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
    }
    HFONT font = known ? CreateFontIndirectW(&metrics.lfMessageFont) : nullptr;
    if (!font)
        font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts[dpi] = font;
    return font;
}

int SystemMetricForDpi(int index, UINT dpi)
{
    if (Calls().GetSystemMetricsForDpi)
        return Calls().GetSystemMetricsForDpi(index, dpi);
    return MulDiv(GetSystemMetrics(index), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

} // namespace vp
