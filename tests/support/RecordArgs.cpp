// Test stand-in for programs that Veilport starts (browsers, the default web browser).
// Appends two UTF-8 lines to the file named by VP_RECORD_FILE:
//   cmd=<the whole command line as the process received it>
//   cwd=<the working folder>
// and exits with the code named by VP_RECORD_EXIT (0 when unset).
#include <windows.h>

#include <string>

namespace {

std::string ToUtf8(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string out(static_cast<size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), size, nullptr, nullptr);
    return out;
}

std::wstring Env(const wchar_t* name)
{
    wchar_t buffer[32768];
    DWORD size = GetEnvironmentVariableW(name, buffer, 32768);
    if (size == 0 || size >= 32768)
        return {};
    return std::wstring(buffer, size);
}

} // namespace

int wmain()
{
    std::wstring recordFile = Env(L"VP_RECORD_FILE");
    if (!recordFile.empty()) {
        wchar_t cwd[MAX_PATH * 4];
        DWORD cwdLength = GetCurrentDirectoryW(MAX_PATH * 4, cwd);
        if (cwdLength == 0 || cwdLength >= MAX_PATH * 4)
            cwd[0] = 0;
        std::string line = "cmd=" + ToUtf8(GetCommandLineW()) + "\ncwd=" + ToUtf8(cwd) + "\n";
        // Several copies may record at once: retry (for up to 30 s on a busy machine) while
        // another writes. A test reading the file meanwhile does not hold the writer up.
        for (int attempt = 0; attempt < 3000; ++attempt) {
            HANDLE file = CreateFileW(recordFile.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                DWORD written = 0;
                WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
                CloseHandle(file);
                break;
            }
            Sleep(10);
        }
    }
    std::wstring exitCode = Env(L"VP_RECORD_EXIT");
    return exitCode.empty() ? 0 : _wtoi(exitCode.c_str());
}
