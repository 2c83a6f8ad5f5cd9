#include <windows.h>

#include "framework/engine/cwm_WinVersionWin.h"
#include "framework/rtl/WinText.h"

namespace vp {

namespace {

constexpr int kSmServerR2 = 89;

bool QueryVersion(OSVERSIONINFOEXW& version)
{
    version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXW);
    if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)))
        return true;
    // The basic structure has no product type: it reads as 0.
    version = {};
    version.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
    return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&version)) != FALSE;
}

} // namespace

bool IsWow64()
{
    using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto isWow64Process = kernel
        ? reinterpret_cast<TIsWow64Process>(reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
        : nullptr;
    BOOL wow64 = FALSE;
    return isWow64Process && isWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

void GetWindowsTypeEx(TWindowsTypeEx& record)
{
    OSVERSIONINFOEXW version;
    if (!QueryVersion(version))
        return;
    TWindowsVersionInfo info;
    info.PlatformId = version.dwPlatformId;
    info.Major = version.dwMajorVersion;
    info.Minor = version.dwMinorVersion;
    info.Build = version.dwBuildNumber;
    info.CSDVersion = FromWStr(version.szCSDVersion);
    info.ServicePackMajor = version.wServicePackMajor;
    info.ServicePackMinor = version.wServicePackMinor;
    info.ProductType = version.wProductType;
    // A 64-bit program runs on a 64-bit Windows by itself; a 32-bit one only under WOW64.
    info.Is64BitWindows = sizeof(void*) == 8 || IsWow64();
    info.ServerR2 = GetSystemMetrics(kSmServerR2) != 0;
    SYSTEM_INFO system{};
    GetNativeSystemInfo(&system);
    info.Amd64Processor = system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
    ClassifyWindows(info, record);
}

bool IsWindowsVista64()
{
    TWindowsTypeEx record;
    GetWindowsTypeEx(record);
    return record.OSKind == TWindowsType::winVista64;
}

} // namespace vp
