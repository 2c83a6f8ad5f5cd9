#include "support/TestSupportWin.h"

#include "framework/rtl/WinText.h"

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace vp;

namespace vptest {

String TestExeFolder()
{
    wchar_t buffer[MAX_PATH * 2];
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH * 2);
    String path = FromWStr(buffer, length);
    return path.substr(0, path.find_last_of(u'\\') + 1);
}

String RecordArgsPath()
{
    return TestExeFolder() + u"recordargs.exe";
}

std::vector<TRecord> ReadRecords(const String& recordFile, size_t minCount, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (true) {
        std::vector<TRecord> records;
        std::ifstream in(std::filesystem::path(ToWide(recordFile)), std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("cmd=", 0) == 0)
                records.push_back({Utf8ToU16(line.substr(4)), String()});
            else if (line.rfind("cwd=", 0) == 0 && !records.empty())
                records.back().WorkingFolder = Utf8ToU16(line.substr(4));
        }
        if (records.size() >= minCount || GetTickCount() - start >= timeoutMs)
            return records;
        Sleep(50);
    }
}

TKernelHandle HoldFile(const String& path, DWORD shareMode)
{
    return TKernelHandle(CreateFileW(
        WStr(path), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool StartXdotool(const String& arguments)
{
    std::wstring line = ToWide(u"Z:\\usr\\bin\\xdotool " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // Where Wine does give a handle, the input is sent before the next call's.
    DWORD code = 0;
    if (process.hProcess) {
        WaitForSingleObject(process.hProcess, 10000);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hProcess);
    }
    if (process.hThread)
        CloseHandle(process.hThread);
    return code == 0;
}

int RunAndWait(const String& commandLine, DWORD timeoutMs)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring buffer = ToWide(commandLine);
    if (!CreateProcessW(
            nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

TRegistryValueGuard::TRegistryValueGuard(HKEY root, String keyPath, String valueName)
    : FRoot(root), FKeyPath(std::move(keyPath)), FValueName(std::move(valueName))
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(FRoot, WStr(FKeyPath), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD size = 0;
    if (RegQueryValueExW(key, WStr(FValueName), nullptr, &FType, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<BYTE> data(size);
        if (RegQueryValueExW(key, WStr(FValueName), nullptr, &FType, data.data(), &size) == ERROR_SUCCESS)
            FData = std::move(data);
    }
    RegCloseKey(key);
}

TRegistryValueGuard::~TRegistryValueGuard()
{
    if (!FData) {
        DeleteRegistryValue(FRoot, FKeyPath, FValueName);
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(FRoot, WStr(FKeyPath), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, WStr(FValueName), 0, FType, FData->data(), static_cast<DWORD>(FData->size()));
    RegCloseKey(key);
}

void SetRegistryString(HKEY root, const String& keyPath, const String& valueName, const String& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(root, WStr(keyPath), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, WStr(valueName), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void DeleteRegistryValue(HKEY root, const String& keyPath, const String& valueName)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, WStr(keyPath), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, WStr(valueName));
    RegCloseKey(key);
}

} // namespace vptest
