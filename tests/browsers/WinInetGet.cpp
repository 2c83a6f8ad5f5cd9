// A new process that fetches one address through WinINet with the system's preconfigured
// proxy settings, as a browser following the system settings would:
//   wininetget.exe <address> <output file>
// Writes the response body to the output file; exit code 0 on success, 2 when the request
// failed (the WinINet error code is then written to the file instead).
#include <windows.h>
#include <wininet.h>

#include <string>

namespace {

bool WriteOut(const wchar_t* path, const std::string& bytes)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3)
        return 1;
    HINTERNET session = InternetOpenW(L"VeilportTest", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session) {
        WriteOut(argv[2], "error " + std::to_string(GetLastError()));
        return 2;
    }
    DWORD timeout = 10000;
    InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
    InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    HINTERNET request = InternetOpenUrlW(session, argv[1], nullptr, 0, flags, 0);
    if (!request) {
        WriteOut(argv[2], "error " + std::to_string(GetLastError()));
        InternetCloseHandle(session);
        return 2;
    }
    std::string body;
    char buffer[4096];
    DWORD read = 0;
    while (InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0)
        body.append(buffer, read);
    InternetCloseHandle(request);
    InternetCloseHandle(session);
    return WriteOut(argv[2], body) ? 0 : 1;
}
