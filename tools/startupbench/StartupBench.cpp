// startupbench.exe: start-to-ready time and private memory of Veilport.exe against the bare
// window program, measured in the same run (tools/startup-bench sets up the install folder).
//   startupbench.exe <install folder\> <barewindow.exe> <runs> <App.ID> <App.ConfigPath>
//                    [<barewindow-imports.exe>]
// The optional second yardstick is the bare window loading Veilport's system libraries.
// Before the runs it writes the user's settings with a 10,000-entry normal pool, as an
// accepted configuration push leaves them. Ready: the process's message loop first waits for
// input (WaitForInputIdle); for Veilport also the moment "CL IfBusy" first answers 0.
// Private memory (PrivateUsage, or PagefileUsage where Wine leaves that 0) is taken 2.5 s later, after the start-up timer loaded the pool.
#include <windows.h>
#include <psapi.h>

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/RtlText.h"
#include "framework/rtl/WinText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vp;

namespace {

constexpr int kPoolEntries = 10000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

LARGE_INTEGER Clock()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

struct TSample {
    double IdleSeconds = 0;
    double ReadySeconds = 0; // Veilport only: "CL IfBusy" answered 0
    double PrivateMiB = 0;
};

HANDLE Start(const String& commandLine, const String& folder)
{
    std::wstring line = ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
            folder.empty() ? nullptr : WStr(folder), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

double PrivateMiB(HANDLE process)
{
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters)))
        return -1;
    // Wine leaves PrivateUsage at 0; its commit charge (PagefileUsage) is the same figure on Windows.
    SIZE_T bytes = counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

HWND ReadyVeilport(int appId)
{
    static const UINT getAppId = RegisterWindowMessageW(L"CL GetAppID");
    static const UINT ifBusy = RegisterWindowMessageW(L"CL IfBusy");
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"TfrmMain", nullptr)) != nullptr) {
        DWORD_PTR id = 0, busy = 1;
        if (SendMessageTimeoutW(window, getAppId, 0, 0, SMTO_ABORTIFHUNG, 1000, &id) && static_cast<int>(id) == appId &&
            SendMessageTimeoutW(window, ifBusy, 0, 0, SMTO_ABORTIFHUNG, 1000, &busy) && busy == 0)
            return window;
    }
    return nullptr;
}

TSample RunVeilport(const String& folder, int appId)
{
    TSample sample;
    LARGE_INTEGER start = Clock();
    HANDLE process = Start(u"\"" + folder + u"Veilport.exe\"", folder);
    if (!process)
        return sample;
    WaitForInputIdle(process, 60000);
    sample.IdleSeconds = Seconds(start, Clock());
    while (!ReadyVeilport(appId) && Seconds(start, Clock()) < 60)
        Sleep(1);
    sample.ReadySeconds = Seconds(start, Clock());
    Sleep(2500);
    sample.PrivateMiB = PrivateMiB(process);
    // Its own way out, so that it leaves direct connections behind.
    HANDLE closer = Start(u"\"" + folder + u"Veilport.exe\" /s", folder);
    if (closer) {
        WaitForSingleObject(closer, 30000);
        CloseHandle(closer);
    }
    if (WaitForSingleObject(process, 30000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    CloseHandle(process);
    return sample;
}

TSample RunBare(const String& bare)
{
    TSample sample;
    LARGE_INTEGER start = Clock();
    HANDLE process = Start(u"\"" + bare + u"\"", u"");
    if (!process)
        return sample;
    WaitForInputIdle(process, 60000);
    sample.IdleSeconds = Seconds(start, Clock());
    Sleep(2500);
    sample.PrivateMiB = PrivateMiB(process);
    if (HWND window = FindWindowW(L"BareWindow", nullptr))
        PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    CloseHandle(process);
    return sample;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The quickest run: what the machine's own hiccups add least to.
double Best(const std::vector<double>& values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

void WritePool(const String& configPath)
{
    String pool;
    for (int i = 0; i < kPoolEntries; ++i)
        pool += u"10." + IntToStr(i / 65536 % 256) + u"." + IntToStr(i / 256 % 256) + u"." + IntToStr(i % 256) +
            u":8080|Germany|DE|10|51;";
    const String folder = GetShellFolder(u"AppData") + u"\\" + configPath;
    ForceDirectories(folder);
    WriteAllBytesAtomic(folder + u"\\setting.dat",
        U16ToUtf8(u"[setting]\r\nUpdate.Times=1\r\nTARGET_COUNTRY=DE\r\nNORMAL_IPS=" + pool + u"\r\n"));
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6 && argc != 7) {
        std::fprintf(stderr, "usage: startupbench <install folder\\> <barewindow.exe> <runs> <App.ID> <App.ConfigPath> "
                             "[<barewindow-imports.exe>]\n");
        return 2;
    }
    const String folder = FromWStr(argv[1]);
    const String bare = FromWStr(argv[2]);
    const int runs = std::max(1, _wtoi(argv[3]));
    const int appId = _wtoi(argv[4]);
    WritePool(FromWStr(argv[5]));
    const String importsBare = argc == 7 ? FromWStr(argv[6]) : String();

    std::vector<double> vIdle, vReady, vMemory, bIdle, bMemory, iIdle, iMemory;
    // Alternating, so that both meet the same state of the machine; the first pair warms up.
    for (int run = 0; run <= runs; ++run) {
        TSample b = RunBare(bare);
        TSample v = RunVeilport(folder, appId);
        TSample i = importsBare.empty() ? TSample{} : RunBare(importsBare);
        std::printf("run %d: bare %.3f s %.1f MiB; bare with libraries %.3f s %.1f MiB; Veilport idle %.3f s ready %.3f s "
                    "%.1f MiB%s\n",
            run, b.IdleSeconds, b.PrivateMiB, i.IdleSeconds, i.PrivateMiB, v.IdleSeconds, v.ReadySeconds, v.PrivateMiB,
            run == 0 ? " (warm-up, not counted)" : "");
        if (run == 0)
            continue;
        bIdle.push_back(b.IdleSeconds);
        bMemory.push_back(b.PrivateMiB);
        vIdle.push_back(v.IdleSeconds);
        vReady.push_back(v.ReadySeconds);
        vMemory.push_back(v.PrivateMiB);
        iIdle.push_back(i.IdleSeconds);
        iMemory.push_back(i.PrivateMiB);
    }
    const double bareIdle = Median(bIdle), bareMemory = Median(bMemory);
    std::printf("\nmedians of %d runs (%d-entry pool):\n", runs, kPoolEntries);
    std::printf("  bare window:  start-to-idle %.3f s, private %.1f MiB\n", bareIdle, bareMemory);
    if (!importsBare.empty())
        std::printf("  bare window with Veilport's system libraries: start-to-idle %.3f s (x%.2f), private %.1f MiB "
                    "(x%.2f)\n",
            Median(iIdle), Median(iIdle) / bareIdle, Median(iMemory), Median(iMemory) / bareMemory);
    std::printf("  Veilport:     start-to-idle %.3f s (x%.2f), start-to-not-busy %.3f s (x%.2f), private %.1f MiB (x%.2f)\n",
        Median(vIdle), Median(vIdle) / bareIdle, Median(vReady), Median(vReady) / bareIdle, Median(vMemory),
        Median(vMemory) / bareMemory);
    std::printf("quickest runs: bare window %.3f s; with the libraries %.3f s (x%.2f); Veilport %.3f s (x%.2f)\n",
        Best(bIdle), Best(iIdle), Best(bIdle) > 0 ? Best(iIdle) / Best(bIdle) : 0, Best(vIdle),
        Best(bIdle) > 0 ? Best(vIdle) / Best(bIdle) : 0);
    return 0;
}
