#include "e2e/E2eSupport.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupportWin.h"

#include <cstdio>
#include <filesystem>
#include <random>

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

TInstalledVeilport::TInstalledVeilport(const String& oemLines)
{
    FFolder = GetLongPath(FTemp.Folder());
    // The folder without its final "\": the runtime's stat refuses a folder name ending in one.
    std::filesystem::copy(
        ToFsPath(LayoutFolder()).parent_path(), FTemp.Path(), std::filesystem::copy_options::recursive);
    std::random_device device;
    FAppId = static_cast<int>(device() % 1000000) + 5000;
    FConfigPath = u"VeilportE2E-" + IntToHex(device(), 8);
    WriteAllBytesAtomic(FFolder + u"oem.const.dat",
        U16ToUtf8(u"[setting]\r\nApp.GUID={e2e-" + FConfigPath + u"}\r\nApp.ID=" + IntToStr(FAppId) +
            u"\r\nApp.ConfigPath=" + FConfigPath + u"\r\n" + oemLines));
}

TInstalledVeilport::~TInstalledVeilport()
{
    for (HANDLE process : FProcesses) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
            TerminateProcess(process, 99);
        CloseHandle(process);
    }
}

HANDLE TInstalledVeilport::Start(const String& arguments)
{
    HANDLE process = StartProgram(u"\"" + FFolder + u"Veilport.exe\" " + arguments, FFolder);
    if (process)
        FProcesses.push_back(process);
    return process;
}

String TInstalledVeilport::Title() const
{
    TIniFile constants(FFolder + u"const.dat");
    return constants.Document().ReadString(u"setting", u"App.Name", u"") + u"  " +
        constants.Document().ReadString(u"setting", u"App.Ver", u"");
}

} // namespace vptest
