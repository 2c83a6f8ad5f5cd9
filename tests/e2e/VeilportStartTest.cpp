#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <random>

using namespace vp;
using namespace vptest;

namespace {

// Veilport.exe with the shipped data files in a folder of its own. An oem.const.dat gives
// it an identity of its own, so it meets no other copy.
class TInstalledVeilport {
public:
    // oemLines: further lines of the section "setting" of oem.const.dat.
    explicit TInstalledVeilport(const String& oemLines = u"")
    {
        FFolder = GetLongPath(FTemp.Folder());
        std::filesystem::copy(
            std::filesystem::path(ToWide(TestExeFolder() + u"Veilport.exe")), FTemp.Path() / "Veilport.exe");
        const char* source = std::getenv("VP_SOURCE_DIR");
        std::filesystem::copy(std::filesystem::path(source ? source : ".") / "data", FTemp.Path(),
            std::filesystem::copy_options::recursive);
        std::random_device device;
        FAppId = static_cast<int>(device() % 1000000) + 5000;
        FConfigPath = u"VeilportE2E-" + IntToHex(device(), 8);
        WriteAllBytesAtomic(FFolder + u"oem.const.dat",
            U16ToUtf8(u"[setting]\r\nApp.GUID={e2e-" + FConfigPath + u"}\r\nApp.ID=" + IntToStr(FAppId) +
                u"\r\nApp.ConfigPath=" + FConfigPath + u"\r\n" + oemLines));
    }

    ~TInstalledVeilport()
    {
        for (HANDLE process : FProcesses) {
            if (WaitForSingleObject(process, 0) == WAIT_TIMEOUT)
                TerminateProcess(process, 99);
            CloseHandle(process);
        }
    }

    HANDLE Start(const String& arguments)
    {
        String commandLine = u"\"" + FFolder + u"Veilport.exe\" " + arguments;
        std::wstring buffer = ToWide(commandLine);
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, WStr(FFolder),
                &startup, &process))
            return nullptr;
        CloseHandle(process.hThread);
        FProcesses.push_back(process.hProcess);
        return process.hProcess;
    }

    // The main window once it answers the protocol and is no longer busy.
    HWND WaitUntilReady(DWORD timeoutMs = 30000)
    {
        UINT getAppId = RegisterWindowMessageW(L"CL GetAppID");
        UINT ifBusy = RegisterWindowMessageW(L"CL IfBusy");
        DWORD start = GetTickCount();
        while (GetTickCount() - start < timeoutMs) {
            HWND window = nullptr;
            while ((window = FindWindowExW(nullptr, window, L"TfrmMain", nullptr)) != nullptr)
                if (static_cast<int>(SendMessageW(window, getAppId, 0, 0)) == FAppId &&
                    SendMessageW(window, ifBusy, 0, 0) == 0)
                    return window;
            Sleep(50);
        }
        return nullptr;
    }

    // The user file lives in the all-users folder when that is writable, else per user.
    String UserSettingFile() const
    {
        String allUsers = GetCommonShellFolder(u"Common AppData") + u"\\" + FConfigPath + u"\\setting.dat";
        return FileExists(allUsers) ? allUsers
                                    : GetShellFolder(u"AppData") + u"\\" + FConfigPath + u"\\setting.dat";
    }
    int AppId() const { return FAppId; }
    // The title the engine gives the main window: the name, two blanks, the version.
    String Title() const
    {
        TIniFile constants(FFolder + u"const.dat");
        return constants.Document().ReadString(u"setting", u"App.Name", u"") + u"  " +
            constants.Document().ReadString(u"setting", u"App.Ver", u"");
    }

private:
    TTempFolder FTemp;
    String FFolder;
    String FConfigPath;
    int FAppId = 0;
    std::vector<HANDLE> FProcesses;
};

struct TShownBox {
    String Caption;
    String Text;
};

// Waits for the message box of the process, reads it and presses OK.
std::optional<TShownBox> AnswerMessageBox(HANDLE process, DWORD timeoutMs = 30000)
{
    struct TSearch {
        DWORD ProcessId;
        HWND Box = nullptr;
    } search{GetProcessId(process)};
    auto isBox = [](HWND window, LPARAM data) -> BOOL {
        auto* found = reinterpret_cast<TSearch*>(data);
        DWORD owner = 0;
        wchar_t className[16] = {};
        GetWindowThreadProcessId(window, &owner);
        GetClassNameW(window, className, 16);
        if (owner == found->ProcessId && IsWindowVisible(window) && wcscmp(className, L"#32770") == 0) {
            found->Box = window;
            return FALSE;
        }
        return TRUE;
    };
    DWORD start = GetTickCount();
    while (
        !search.Box && GetTickCount() - start < timeoutMs && WaitForSingleObject(process, 50) == WAIT_TIMEOUT)
        EnumWindows(isBox, reinterpret_cast<LPARAM>(&search));
    if (!search.Box)
        return std::nullopt;
    TShownBox shown;
    wchar_t text[1024] = {};
    GetWindowTextW(search.Box, text, 1024);
    shown.Caption = FromWStr(text);
    auto addStatic = [](HWND child, LPARAM data) -> BOOL {
        wchar_t className[16] = {};
        wchar_t childText[1024] = {};
        GetClassNameW(child, className, 16);
        if (_wcsicmp(className, L"Static") == 0 && GetWindowTextW(child, childText, 1024) > 0)
            reinterpret_cast<String*>(data)->append(FromWStr(childText));
        return TRUE;
    };
    EnumChildWindows(search.Box, addStatic, reinterpret_cast<LPARAM>(&shown.Text));
    PostMessageW(search.Box, WM_COMMAND, IDOK, 0);
    return shown;
}

// Holds the file the way another program may: opened without sharing, or letting others
// read it but not replace it.
class TFileHolder {
public:
    TFileHolder(const String& path, DWORD shareMode)
        : FFile(CreateFileW(
              WStr(path), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~TFileHolder()
    {
        if (FFile != INVALID_HANDLE_VALUE)
            CloseHandle(FFile);
    }
    bool Holding() const { return FFile != INVALID_HANDLE_VALUE; }

private:
    HANDLE FFile;
};

DWORD ExitCode(HANDLE process)
{
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

} // namespace

TEST(Veilport, StartsKeepsToOneCopyAnswersTheProtocolAndEndsCleanly)
{
    TInstalledVeilport veilport;
    HANDLE first = veilport.Start(u"");
    HWND window = veilport.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    wchar_t caption[64];
    GetWindowTextW(window, caption, 64);
    EXPECT_EQ(FromWStr(caption), veilport.Title());
    EXPECT_EQ(veilport.Title().substr(0, 10), u"Veilport  ");

    // A second copy finds the first, forwards nothing and ends.
    HANDLE second = veilport.Start(u"");
    ASSERT_EQ(WaitForSingleObject(second, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(second), 0u);
    EXPECT_EQ(WaitForSingleObject(first, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    HANDLE closer = veilport.Start(u"/s");
    ASSERT_EQ(WaitForSingleObject(closer, 30000), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(first, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(first), 0u);
    EXPECT_FALSE(IsWindow(window));

    // Three processes ran, and each counted one start: the first counted none at its end.
    TIniFile settings(veilport.UserSettingFile());
    EXPECT_EQ(settings.Document().ReadString(u"setting", u"RunTimes", u""), u"3");
    // The engine chose the language at start-up and wrote its choice back.
    EXPECT_EQ(settings.Document().ReadString(u"setting", u"Language", u""), u"English");
}

TEST(Veilport, HiddenStartCreatesTheWindowWithoutShowingIt)
{
    TInstalledVeilport veilport;
    HANDLE process = veilport.Start(u"-h");
    HWND window = veilport.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window));
    HANDLE closer = veilport.Start(u"-S");
    ASSERT_EQ(WaitForSingleObject(closer, 30000), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
}

// A settings file the store cannot take: the user is told, the copy ends with an error code,
// and the user's file is not touched. The store is per user here, so the file's place is known.
TEST(VeilportStartUp, ASettingsFileHeldByAnotherProgramIsReportedOnEveryPath)
{
    TInstalledVeilport veilport(u"Setting.NoAllUser=1\r\n");
    const String file = veilport.UserSettingFile();
    const std::string before = "[setting]\r\nRunTimes=7\r\nLanguage=Deutsch\r\n";
    ForceDirectories(ExtractFilePath(file));
    WriteAllBytesAtomic(file, before);
    {
        TFileHolder holder(file, 0);
        ASSERT_TRUE(holder.Holding());
        for (const char16_t* arguments : {u"", u"/s", u"-r"}) {
            SCOPED_TRACE(U16ToUtf8(arguments));
            HANDLE process = veilport.Start(arguments);
            std::optional<TShownBox> box = AnswerMessageBox(process);
            ASSERT_TRUE(box.has_value());
            EXPECT_EQ(box->Caption, u"Veilport");
            EXPECT_NE(box->Text.find(u"Cannot open file \"" + file + u"\""), String::npos)
                << U16ToUtf8(box->Text);
            ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
            EXPECT_EQ(ExitCode(process), 1u);
        }
    }
    EXPECT_EQ(ReadAllBytes(file), before);
}

TEST(VeilportStartUp, ASettingsFileThatCannotBeReplacedIsReportedAndKept)
{
    TInstalledVeilport veilport(u"Setting.NoAllUser=1\r\n");
    const String file = veilport.UserSettingFile();
    const std::string before = "[setting]\r\nRunTimes=7\r\n";
    ForceDirectories(ExtractFilePath(file));
    WriteAllBytesAtomic(file, before);
    {
        TFileHolder holder(file, FILE_SHARE_READ);
        ASSERT_TRUE(holder.Holding());
        HANDLE process = veilport.Start(u"");
        std::optional<TShownBox> box = AnswerMessageBox(process);
        ASSERT_TRUE(box.has_value());
        EXPECT_NE(box->Text.find(u"Cannot write file \"" + file + u"\""), String::npos)
            << U16ToUtf8(box->Text);
        ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
        EXPECT_EQ(ExitCode(process), 1u);
    }
    EXPECT_EQ(ReadAllBytes(file), before);
    EXPECT_FALSE(PathExists(file + u".new"));
}
