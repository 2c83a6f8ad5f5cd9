// A new process that fetches through WinINet with the system's preconfigured proxy
// settings, as a browser following the system settings would:
//   wininetget.exe <address> <output file>
// Writes the response body to the output file; exit code 0 on success, 2 when the request
// failed (the WinINet error code is then written to the file instead).
//   wininetget.exe <address> <output> <go file> <address 2> <output 2>
// A program that was running before the settings changed: fetches the first address, waits
// for the go file to appear, then fetches the second address in a new session (the first
// one stays open meanwhile).
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

HINTERNET OpenSession()
{
    HINTERNET session = InternetOpenW(L"VeilportTest", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (session) {
        DWORD timeout = 10000;
        InternetSetOptionW(session, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
        InternetSetOptionW(session, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout));
        InternetSetOptionW(session, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout));
    }
    return session;
}

int Fetch(HINTERNET session, const wchar_t* address, const wchar_t* output)
{
    if (!session) {
        WriteOut(output, "error " + std::to_string(GetLastError()));
        return 2;
    }
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    HINTERNET request = InternetOpenUrlW(session, address, nullptr, 0, flags, 0);
    if (!request) {
        WriteOut(output, "error " + std::to_string(GetLastError()));
        return 2;
    }
    std::string body;
    char buffer[4096];
    DWORD read = 0;
    while (InternetReadFile(request, buffer, sizeof(buffer), &read) && read > 0)
        body.append(buffer, read);
    InternetCloseHandle(request);
    return WriteOut(output, body) ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && argc != 6)
        return 1;
    HINTERNET session = OpenSession();
    int result = Fetch(session, argv[1], argv[2]);
    if (argc == 6) {
        for (int waited = 0; GetFileAttributesW(argv[3]) == INVALID_FILE_ATTRIBUTES && waited < 60000;
             waited += 20)
            Sleep(20);
        HINTERNET later = OpenSession();
        result = Fetch(later, argv[4], argv[5]) | result;
        if (later)
            InternetCloseHandle(later);
    }
    if (session)
        InternetCloseHandle(session);
    return result;
}
