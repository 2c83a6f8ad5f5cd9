#include "AppCopy.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupportWin.h"

#include <random>

using namespace vp;

namespace vptest {

namespace {

String RandomHex()
{
    std::random_device device;
    return IntToHex(device(), 8) + IntToHex(device(), 8);
}

} // namespace

TAppCopy::TAppCopy(const TStringList& settings)
{
    FFolder = GetLongPath(FTemp.Folder());
    FExe = FFolder + u"instancetestapp.exe";
    FRecordFile = FFolder + u"record.txt";
    CopyFileW(WStr(TestExeFolder() + u"instancetestapp.exe"), WStr(FExe), FALSE);
    TStringList lines = settings;
    std::random_device device;
    FAppId = static_cast<int>(device() % 1000000) + 1000;
    String word = RandomHex();
    if (lines.IndexOfName(u"App.GUID") < 0)
        lines.Add(u"App.GUID={" + word + u"}");
    if (lines.IndexOfName(u"App.ID") < 0)
        lines.Add(u"App.ID=" + IntToStr(FAppId));
    else
        FAppId = StrToIntSafe(lines.Values(u"App.ID"), 0);
    if (lines.IndexOfName(u"App.ConfigPath") < 0)
        lines.Add(u"App.ConfigPath=VeilportTest-" + word);
    WriteAllBytesAtomic(FFolder + u"const.dat", U16ToUtf8(u"[setting]\r\n" + lines.Text()));
}

TAppCopy::~TAppCopy()
{
    for (HANDLE process : FProcesses) {
        if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process, 99);
            WaitForSingleObject(process, 5000);
        }
        CloseHandle(process);
    }
}

HANDLE TAppCopy::Start(const String& arguments, const TStringList& env)
{
    SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(FRecordFile));
    for (int i = 0; i < env.Count(); ++i)
        SetEnvironmentVariableW(WStr(env.Names(i)), WStr(env.ValueFromIndex(i)));
    String commandLine = u"\"" + FExe + u"\" " + arguments;
    std::wstring buffer = ToWide(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    BOOL started = CreateProcessW(
        WStr(FExe), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, WStr(FFolder), &startup, &process);
    for (int i = 0; i < env.Count(); ++i)
        SetEnvironmentVariableW(WStr(env.Names(i)), nullptr);
    SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr);
    if (!started)
        return nullptr;
    CloseHandle(process.hThread);
    FProcesses.push_back(process.hProcess);
    return process.hProcess;
}

int TAppCopy::Run(const String& arguments, const TStringList& env, DWORD timeoutMs)
{
    HANDLE process = Start(arguments, env);
    if (!process || !WaitForExit(process, timeoutMs))
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return static_cast<int>(code);
}

HWND TAppCopy::Window() const
{
    UINT getAppId = RegisterWindowMessageW(L"CL GetAppID");
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"TfrmMain", nullptr)) != nullptr)
        if (static_cast<int>(SendMessageW(window, getAppId, 0, 0)) == FAppId)
            return window;
    return nullptr;
}

bool TAppCopy::WaitForExit(HANDLE process, DWORD timeoutMs)
{
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

std::vector<String> TAppCopy::Lines() const
{
    std::vector<String> lines;
    if (!FileExists(FRecordFile))
        return lines;
    TStringList list;
    list.SetText(Utf8ToU16(ReadAllBytes(FRecordFile)));
    lines.assign(list.begin(), list.end());
    return lines;
}

int TAppCopy::CountLines(const String& line) const
{
    int count = 0;
    for (const String& seen : Lines())
        count += seen == line ? 1 : 0;
    return count;
}

bool TAppCopy::WaitForLines(const String& line, int count, DWORD timeoutMs) const
{
    DWORD start = GetTickCount();
    while (CountLines(line) < count) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

} // namespace vptest
