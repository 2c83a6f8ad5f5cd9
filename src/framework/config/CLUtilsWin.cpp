#include "framework/config/CLUtilsWin.h"

#include <aclapi.h>
#include <shellapi.h>
#include <shlobj.h>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Random.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"

#include <vector>

namespace vp {

namespace {

const String kShellFoldersKey = u"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const String kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

String gAppFileNameOverride;

bool IsDotEntry(const wchar_t* name)
{
    return (name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0);
}

// Starts a process and closes its handles; returns whether it started.
bool StartProcess(const String& application, String commandLine, const String& workingFolder,
    bool hideAndWait, int32_t timeoutMs)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    if (hideAndWait) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_HIDE;
    }
    PROCESS_INFORMATION process{};
    // CreateProcessW may write into the command line buffer.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    BOOL started =
        CreateProcessW(application.empty() ? nullptr : WStr(application), buffer.data(), nullptr, nullptr,
            FALSE, 0, nullptr, workingFolder.empty() ? nullptr : WStr(workingFolder), &startup, &process);
    if (!started)
        return false;
    TKernelHandle thread(process.hThread);
    TKernelHandle processHandle(process.hProcess);
    if (hideAndWait)
        WaitForSingleObjectEx(
            processHandle.Get(), timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs), TRUE);
    return true;
}

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM, LPARAM data) noexcept
{
    if (message == BFFM_INITIALIZED) {
        LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_CONTEXTHELP));
        if (data != 0)
            SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
    }
    return 0;
}

} // namespace

String GetAppFileName()
{
    if (!gAppFileNameOverride.empty())
        return gAppFileNameOverride;
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return String();
    return FromWStr(buffer, length);
}

void SetAppFileNameForTests(StringView path)
{
    gAppFileNameOverride = String(path);
}

String GetAppPath()
{
    return GetLongPath(ExtractFilePath(GetAppFileName()));
}

String GetAppPathNoSlash()
{
    String path = GetAppPath();
    if (!path.empty())
        path.pop_back();
    return path;
}

String GetLongPath(StringView path)
{
    String input(path);
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetLongPathNameW(WStr(input), buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return input;
    return FromWStr(buffer, length);
}

String GetTempFolder()
{
    return SystemTempFolder();
}

String GetShellFolder(StringView name)
{
    String value = RegReadString(HKEY_CURRENT_USER, kShellFoldersKey, name, u"");
    if (value.empty())
        value = GetCommonShellFolder(name);
    return value;
}

String GetCommonShellFolder(StringView name)
{
    return RegReadString(HKEY_LOCAL_MACHINE, kShellFoldersKey, name, u"");
}

String MakeTempFileName(StringView folder, StringView prefix, StringView extension)
{
    if (!IsRandomized())
        Randomize();
    // There are 0xFFFFF names; past that many tries every one of them is taken.
    for (int attempt = 0; attempt < 0x400000; ++attempt) {
        String name =
            String(prefix) + IntToHex(static_cast<uint32_t>(Random(0xFFFFF))) + u"." + String(extension);
        String path = PathJoin(folder, name);
        if (!PathExists(path))
            return path;
    }
    return String();
}

void ListFiles(StringView mask, TStringList& list, bool withPath)
{
    String pattern(mask);
    String folder = withPath ? ExtractFilePath(pattern) : String();
    WIN32_FIND_DATAW data;
    TFindHandle find(FindFirstFileW(WStr(pattern), &data));
    if (!find)
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            list.Add(folder + FromWStr(data.cFileName));
    } while (FindNextFileW(find.Get(), &data));
}

void FindFiles(StringView folder, TStringList& list, StringView mask, bool recurse)
{
    String base = IncludeTrailingBackslash(FixSlashes(String(folder)));
    WIN32_FIND_DATAW data;
    TFindHandle find(FindFirstFileW(WStr(base + String(mask)), &data));
    if (find) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                list.Add(base + FromWStr(data.cFileName));
        } while (FindNextFileW(find.Get(), &data));
    }
    if (!recurse)
        return;
    find.Reset(FindFirstFileW(WStr(base + u"*"), &data));
    if (!find)
        return;
    std::vector<String> subfolders;
    do {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(data.cFileName))
            subfolders.push_back(base + FromWStr(data.cFileName));
    } while (FindNextFileW(find.Get(), &data));
    find.Reset();
    for (const String& subfolder : subfolders)
        FindFiles(subfolder, list, mask, true);
}

bool GetFileCreationTime(StringView path, TDateTime& creationTime)
{
    String name(path);
    TKernelHandle file(CreateFileW(WStr(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        file.Reset(CreateFileW(WStr(name), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file)
        return false;
    FILETIME created;
    SYSTEMTIME utc;
    bool ok = GetFileTime(file.Get(), &created, nullptr, nullptr) && FileTimeToSystemTime(&created, &utc);
    if (!ok)
        return false;
    creationTime = EncodeDateTime(
        {utc.wYear, utc.wMonth, utc.wDay, utc.wHour, utc.wMinute, utc.wSecond, utc.wMilliseconds});
    return true;
}

bool CheckFolderAccess(uint32_t accessMask, StringView path)
{
    String name(path);
    const SECURITY_INFORMATION what =
        OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
    DWORD needed = 0;
    if (GetFileSecurityW(WStr(name), what, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return false;
    std::vector<BYTE> descriptor(static_cast<size_t>(needed) + 4096, 0);
    if (!GetFileSecurityW(
            WStr(name), what, descriptor.data(), static_cast<DWORD>(descriptor.size()), &needed))
        return false;
    if (!ImpersonateSelf(SecurityImpersonation))
        return false;
    bool result = false;
    TKernelHandle token;
    if (OpenThreadToken(
            GetCurrentThread(), TOKEN_DUPLICATE | TOKEN_IMPERSONATE | TOKEN_QUERY, TRUE, token.Receive())) {
        GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
        DWORD desired = accessMask;
        MapGenericMask(&desired, &mapping);
        PRIVILEGE_SET privileges{};
        DWORD privilegesLength = sizeof(privileges);
        DWORD granted = 0;
        BOOL status = FALSE;
        if (AccessCheck(reinterpret_cast<PSECURITY_DESCRIPTOR>(descriptor.data()), token.Get(), desired,
                &mapping, &privileges, &privilegesLength, &granted, &status))
            result = status != FALSE;
    }
    RevertToSelf();
    return result;
}

String RegReadString(HKEY root, StringView keyPath, StringView valueName, StringView aDefault)
{
    String key(keyPath);
    String name(valueName);
    TRegKey handle;
    if (RegOpenKeyExW(root, WStr(key), 0, KEY_READ, handle.Receive()) != ERROR_SUCCESS)
        return String(aDefault);
    String result(aDefault);
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(handle.Get(), WStr(name), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ) && size < 1024 * 1024) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, 0);
        DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(handle.Get(), WStr(name), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                &bytes) == ERROR_SUCCESS) {
            size_t length = bytes / sizeof(wchar_t);
            while (length > 0 && buffer[length - 1] == 0)
                --length;
            result = FromWStr(buffer.data(), length);
        }
    }
    return result;
}

void RegWriteString(HKEY root, StringView keyPath, StringView valueName, StringView value)
{
    String key(keyPath);
    String name(valueName);
    String data(value);
    TRegKey handle;
    if (RegCreateKeyExW(root, WStr(key), 0, nullptr, 0, KEY_WRITE, nullptr, handle.Receive(), nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(handle.Get(), WStr(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void SetAutorun(bool on, StringView name, StringView command)
{
    if (on) {
        RegWriteString(HKEY_CURRENT_USER, kRunKey, name, command);
        return;
    }
    TRegKey handle;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, WStr(kRunKey), 0, KEY_SET_VALUE, handle.Receive()) != ERROR_SUCCESS)
        return;
    String value(name);
    RegDeleteValueW(handle.Get(), WStr(value));
}

bool OpenURL(HWND owner, StringView address)
{
    String command = RegReadString(HKEY_CLASSES_ROOT, u"HTTP\\shell\\open\\command", u"", u"");
    if (command.empty()) {
        String target(address);
        ShellExecuteW(owner, L"open", WStr(target), nullptr, nullptr, SW_SHOWNORMAL);
        return true;
    }
    if (command.find(u"%1") != String::npos)
        command = ReplaceAll(command, u"%1", address);
    else
        command += u"  \"" + String(address) + u"\"";
    return StartProcess(String(), command, String(), false, 0);
}

bool RunProgram(StringView program, StringView params, bool hideAndWait, int32_t timeoutMs)
{
    if (program.empty())
        return StartProcess(String(), String(params), String(), hideAndWait, timeoutMs);
    String fullPath = PathJoin(GetAppPath(), program);
    String commandLine = u"\"" + fullPath + u"\" " + String(params);
    return StartProcess(fullPath, commandLine, ExtractFilePath(fullPath), hideAndWait, timeoutMs);
}

void SetTopmost(HWND window, bool on)
{
    SetWindowPos(window, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool ForceForegroundWindow(HWND window)
{
    if (IsIconic(window))
        ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_SHOW);
    if (GetForegroundWindow() == window)
        return true;
    // Every supported Windows restricts taking the foreground: borrow the foreground
    // thread's input first, and lift the lock time-out only when that is not enough.
    DWORD foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    DWORD windowThread = GetWindowThreadProcessId(window, nullptr);
    bool attached = foregroundThread != 0 && foregroundThread != windowThread &&
        AttachThreadInput(windowThread, foregroundThread, TRUE);
    BringWindowToTop(window);
    SetForegroundWindow(window);
    if (attached)
        AttachThreadInput(windowThread, foregroundThread, FALSE);
    if (GetForegroundWindow() != window) {
        DWORD timeout = 0;
        SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &timeout, 0);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, nullptr, SPIF_SENDCHANGE);
        BringWindowToTop(window);
        SetForegroundWindow(window);
        SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0,
            reinterpret_cast<PVOID>(static_cast<UINT_PTR>(timeout)), SPIF_SENDCHANGE);
    }
    return GetForegroundWindow() == window;
}

bool IsFirstInstance(StringView name)
{
    String mutexName(name);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, WStr(mutexName));
    DWORD error = GetLastError();
    if (mutex == nullptr)
        return error != ERROR_ACCESS_DENIED; // it exists, owned by someone we may not open
    if (error == ERROR_ALREADY_EXISTS) {
        TKernelHandle close(mutex);
        return false;
    }
    // The handle stays open until the process ends; the system then releases the name.
    return true;
}

TStringList CommandLineArguments()
{
    TStringList arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return arguments;
    TLocalMemory release(argv);
    for (int i = 1; i < count; ++i)
        arguments.Add(FromWStr(argv[i]));
    return arguments;
}

String GetSystemLanguageName()
{
    wchar_t buffer[51];
    int length = GetLocaleInfoW(GetSystemDefaultLCID(), LOCALE_SLANGUAGE, buffer, 51);
    if (length <= 1)
        return String();
    return FromWStr(buffer, static_cast<size_t>(length - 1));
}

String BrowseForFolder(HWND owner, StringView initialFolder, StringView title)
{
    String caption(title);
    String initial(initialFolder);
    wchar_t display[MAX_PATH + 1] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = WStr(caption);
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = initial.empty() ? 0 : reinterpret_cast<LPARAM>(WStr(initial));
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (chosen == nullptr)
        return String();
    wchar_t path[MAX_PATH + 1] = {};
    String result;
    if (SHGetPathFromIDListW(chosen, path))
        result = FromWStr(path);
    CoTaskMemFree(chosen);
    return result;
}

} // namespace vp
