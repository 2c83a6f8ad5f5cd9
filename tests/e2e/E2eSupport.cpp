#include "e2e/E2eSupport.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupportWin.h"

using namespace vp;

namespace vptest {

String LayoutFolder()
{
    return TestExeFolder() + u"..\\layout\\";
}

HANDLE StartProgram(const String& commandLine, const String& folder)
{
    std::wstring buffer = ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(
            nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, WStr(folder), &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

HWND WaitUntilReady(int appId, DWORD timeoutMs)
{
    UINT getAppId = RegisterWindowMessageW(L"CL GetAppID");
    UINT ifBusy = RegisterWindowMessageW(L"CL IfBusy");
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, L"TfrmMain", nullptr)) != nullptr)
            if (static_cast<int>(SendMessageW(window, getAppId, 0, 0)) == appId &&
                SendMessageW(window, ifBusy, 0, 0) == 0)
                return window;
        Sleep(50);
    }
    return nullptr;
}

DWORD ExitCode(HANDLE process)
{
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

String UserSettingFile(const String& configWord)
{
    String allUsers = GetCommonShellFolder(u"Common AppData") + u"\\" + configWord + u"\\setting.dat";
    return FileExists(allUsers) ? allUsers : GetShellFolder(u"AppData") + u"\\" + configWord + u"\\setting.dat";
}

} // namespace vptest
