#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Random.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kShellFolders = u"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

String WinFolder(const TTempFolder& folder)
{
    return GetLongPath(folder.Folder());
}

// Sets VP_RECORD_FILE for the processes this test starts.
class TRecordFile {
public:
    TRecordFile() : FPath(FFolder.Folder() + u"record.txt")
    {
        SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(FPath));
    }
    ~TRecordFile() { SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr); }
    const String& Path() const { return FPath; }

private:
    TTempFolder FFolder;
    String FPath;
};

} // namespace

TEST(AppPaths, FolderOfTheExecutableInLongForm)
{
    String path = GetAppPath();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(path.back(), u'\\');
    EXPECT_TRUE(DirectoryExists(path));
    EXPECT_EQ(GetAppPathNoSlash() + u"\\", path);
    EXPECT_TRUE(SameText(ExtractFileName(GetAppFileName()), u"test_clutils_win.exe"));

    SetAppFileNameForTests(u"C:\\NoSuch\\Folder\\app.exe");
    EXPECT_EQ(GetAppPath(), u"C:\\NoSuch\\Folder\\"); // no long form: the path itself
    SetAppFileNameForTests(u"");
    EXPECT_EQ(GetAppPath(), path);
}

TEST(AppPaths, TempFolderExists)
{
    String temp = GetTempFolder();
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(temp.back(), u'\\');
    EXPECT_TRUE(DirectoryExists(temp));
}

TEST(ShellFolders, PerUserValueFirstThenMachineWide)
{
    const String name = u"VeilportTestFolder";
    TRegistryValueGuard user(HKEY_CURRENT_USER, kShellFolders, name);
    TRegistryValueGuard machine(HKEY_LOCAL_MACHINE, kShellFolders, name);
    SetRegistryString(HKEY_LOCAL_MACHINE, kShellFolders, name, u"C:\\Machine");
    SetRegistryString(HKEY_CURRENT_USER, kShellFolders, name, u"C:\\User");
    EXPECT_EQ(GetShellFolder(name), u"C:\\User");
    EXPECT_EQ(GetCommonShellFolder(name), u"C:\\Machine");
    SetRegistryString(HKEY_CURRENT_USER, kShellFolders, name, u"");
    EXPECT_EQ(GetShellFolder(name), u"C:\\Machine");
    DeleteRegistryValue(HKEY_CURRENT_USER, kShellFolders, name);
    EXPECT_EQ(GetShellFolder(name), u"C:\\Machine");
    DeleteRegistryValue(HKEY_LOCAL_MACHINE, kShellFolders, name);
    EXPECT_EQ(GetShellFolder(name), u"");
}

TEST(Registry, ReadGivesTheDefaultOnAnyFailureAndWriteCreatesKeys)
{
    const String key = u"Software\\VeilportTest\\Deep\\Key";
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, u"Software\\VeilportTest\\Missing", u"v", u"dflt"), u"dflt");
    RegWriteString(HKEY_CURRENT_USER, key, u"v", u"\u00E9x");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, u"v", u"dflt"), u"\u00E9x");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, u"other", u"dflt"), u"dflt");
    DWORD number = 5;
    HKEY handle;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, WStr(key), 0, KEY_WRITE, &handle), ERROR_SUCCESS);
    RegSetValueExW(handle, L"n", 0, REG_DWORD, reinterpret_cast<BYTE*>(&number), sizeof(number));
    RegCloseKey(handle);
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, key, u"n", u"dflt"), u"dflt"); // not a string
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\VeilportTest");
}

TEST(Registry, AutorunAddsAndRemovesTheRunValue)
{
    const String run = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    TRegistryValueGuard guard(HKEY_CURRENT_USER, run, u"VeilportTest");
    SetAutorun(true, u"VeilportTest", u"\"C:\\App\\Veilport.exe\" -a");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, run, u"VeilportTest", u""), u"\"C:\\App\\Veilport.exe\" -a");
    SetAutorun(false, u"VeilportTest", u"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, run, u"VeilportTest", u"gone"), u"gone");
    SetAutorun(false, u"VeilportTest", u""); // removing twice is harmless
}

TEST(TempFileNames, NeverAnExistingPathAndOneToFiveHexDigits)
{
    TTempFolder folder;
    String base = WinFolder(folder);
    for (int i = 0; i < 200; ++i) {
        String path = MakeTempFileName(base, u"sg", u"tmp");
        ASSERT_EQ(path.substr(0, base.size() + 2), base + u"sg");
        String hex = path.substr(base.size() + 2, path.size() - base.size() - 6);
        ASSERT_GE(hex.size(), 1u);
        ASSERT_LE(hex.size(), 5u);
        EXPECT_EQ(hex.find_first_not_of(u"0123456789ABCDEF"), String::npos) << U16ToUtf8(path);
        EXPECT_EQ(path.substr(path.size() - 4), u".tmp");
        EXPECT_FALSE(PathExists(path));
    }
    // The name the generator gives first is taken: the routine must go on to another one.
    SetRandSeed(12345);
    String first = MakeTempFileName(base, u"sg", u"tmp");
    ASSERT_TRUE(ForceDirectories(first)); // a folder counts as taken too
    SetRandSeed(12345);
    String second = MakeTempFileName(base, u"sg", u"tmp");
    EXPECT_NE(second, first);
    EXPECT_FALSE(PathExists(second));
}

TEST(FileLists, FindFilesListsFilesBeforeSubfoldersDepthFirst)
{
    TTempFolder folder;
    String base = WinFolder(folder);
    ForceDirectories(base + u"b\\deep");
    ForceDirectories(base + u"a");
    WriteAllBytesAtomic(base + u"top.png", "");
    WriteAllBytesAtomic(base + u"a\\in-a.png", "");
    WriteAllBytesAtomic(base + u"b\\deep\\in-deep.png", "");
    WriteAllBytesAtomic(base + u"b\\in-b.png", "");
    WriteAllBytesAtomic(base + u"b\\skip.txt", "");

    TStringList flat;
    FindFiles(base, flat, u"*.png", false);
    EXPECT_EQ(flat, TStringList{base + u"top.png"});

    TStringList all{u"kept"};
    String slashed = base;
    for (char16_t& c : slashed)
        if (c == u'\\')
            c = u'/';
    slashed.pop_back(); // no final separator: one is added
    FindFiles(slashed, all, u"*.png", true);
    // Wine lists entries in name order, as NTFS does.
    EXPECT_EQ(all,
        (TStringList{u"kept", base + u"top.png", base + u"a\\in-a.png", base + u"b\\in-b.png",
            base + u"b\\deep\\in-deep.png"}));
}

TEST(FileLists, ListFilesWithAndWithoutPath)
{
    TTempFolder folder;
    String base = WinFolder(folder);
    ForceDirectories(base + u"sub.lan");
    WriteAllBytesAtomic(base + u"English.lan", "");
    TStringList names;
    ListFiles(base + u"*.lan", names, false);
    EXPECT_EQ(names, TStringList{u"English.lan"});
    ListFiles(base + u"*.lan", names, true);
    EXPECT_EQ(names, (TStringList{u"English.lan", base + u"English.lan"}));
    ListFiles(base + u"nothing\\*.lan", names, true);
    EXPECT_EQ(names.Count(), 2);
}

TEST(FileTimes, CreationTimeOfFilesAndFolders)
{
    TTempFolder folder;
    String base = WinFolder(folder);
    WriteAllBytesAtomic(base + u"f.txt", "x");
    SYSTEMTIME utcNow;
    GetSystemTime(&utcNow);
    TDateTime now = EncodeDateTime({utcNow.wYear, utcNow.wMonth, utcNow.wDay, utcNow.wHour, utcNow.wMinute,
        utcNow.wSecond, utcNow.wMilliseconds});
    TDateTime created = -1;
    ASSERT_TRUE(GetFileCreationTime(base + u"f.txt", created));
    EXPECT_LT(SecondsBetween(created, now), 120);
    TDateTime folderCreated = -1;
    ASSERT_TRUE(GetFileCreationTime(GetAppPathNoSlash(), folderCreated)); // a folder
    EXPECT_GT(folderCreated, EncodeDate(2000, 1, 1));
    TDateTime untouched = 7;
    EXPECT_FALSE(GetFileCreationTime(base + u"missing", untouched));
    EXPECT_EQ(untouched, 7);
}

TEST(FolderAccess, WritableFolderAndMissingPath)
{
    TTempFolder folder;
    EXPECT_TRUE(CheckFolderAccess(kGenericWrite, WinFolder(folder)));
    EXPECT_TRUE(CheckFolderAccess(kGenericRead, WinFolder(folder)));
    EXPECT_FALSE(CheckFolderAccess(kGenericWrite, WinFolder(folder) + u"missing"));
}

TEST(SingleInstance, FirstProcessHoldsTheNameUntilItEnds)
{
    String name = u"Global\\VeilportTest-" + IntToStr(GetCurrentProcessId());
    String probe = u"\"" + TestExeFolder() + u"vpprobe.exe\" first-instance \"";
    // Another process first: it holds the name while it runs; afterwards the name is free.
    EXPECT_EQ(RunAndWait(probe + name + u"-a\""), 0);
    EXPECT_EQ(RunAndWait(probe + name + u"-a\""), 0);
    // This process takes the name: every later process is refused while it lives.
    EXPECT_TRUE(IsFirstInstance(name));
    EXPECT_EQ(RunAndWait(probe + name + u"\""), 1);
    EXPECT_FALSE(IsFirstInstance(name));
    EXPECT_EQ(RunAndWait(probe + name + u"\""), 1); // the refused call did not give the name up
}

TEST(Processes, RunProgramQuotesThePathAndStartsInItsFolder)
{
    TRecordFile record;
    String helper = RecordArgsPath();
    ASSERT_TRUE(FileExists(helper));
    ASSERT_TRUE(RunProgram(helper, u"-a \"two words\"", true, 20000));
    auto records = ReadRecords(record.Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].CommandLine, u"\"" + helper + u"\" -a \"two words\"");
    EXPECT_TRUE(SameText(IncludeTrailingBackslash(records[0].WorkingFolder), ExtractFilePath(helper)));
}

TEST(Processes, RunProgramFindsARelativeProgramBesideTheExecutable)
{
    TRecordFile record;
    SetAppFileNameForTests(TestExeFolder() + u"Veilport.exe");
    bool started = RunProgram(u"recordargs.exe", u"x", true, 20000);
    SetAppFileNameForTests(u"");
    ASSERT_TRUE(started);
    auto records = ReadRecords(record.Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].CommandLine, u"\"" + GetLongPath(TestExeFolder()) + u"recordargs.exe\" x");
}

TEST(Processes, RunProgramWithoutProgramRunsTheParametersAsTheCommandLine)
{
    TRecordFile record;
    String commandLine = u"\"" + RecordArgsPath() + u"\" plain";
    ASSERT_TRUE(RunProgram(u"", commandLine, true, 20000));
    auto records = ReadRecords(record.Path());
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].CommandLine, commandLine);
    wchar_t cwd[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, cwd);
    EXPECT_TRUE(SameText(
        IncludeTrailingBackslash(records[0].WorkingFolder), IncludeTrailingBackslash(FromWStr(cwd))));
}

TEST(Processes, RunProgramWithoutWaitingAndMissingProgram)
{
    TRecordFile record;
    ASSERT_TRUE(RunProgram(RecordArgsPath(), u"nowait", false, 0));
    EXPECT_EQ(ReadRecords(record.Path(), 1, 20000).size(), 1u);
    EXPECT_FALSE(RunProgram(TestExeFolder() + u"no-such-program.exe", u"", false, 0));
}

TEST(Processes, OpenURLSubstitutesTheAddressIntoTheBrowserCommand)
{
    TRecordFile record;
    const String key = u"HTTP\\shell\\open\\command";
    TRegistryValueGuard guard(HKEY_CLASSES_ROOT, key, u"");
    // Each start is awaited before the next: Wine can take long to start a process on a
    // loaded machine, and the order of the records is then known.
    SetRegistryString(HKEY_CLASSES_ROOT, key, u"", u"\"" + RecordArgsPath() + u"\" -url \"%1\" again=%1");
    EXPECT_TRUE(OpenURL(nullptr, u"http://127.0.0.1/a?b=1&c=2"));
    ASSERT_EQ(ReadRecords(record.Path(), 1, 60000).size(), 1u);
    SetRegistryString(HKEY_CLASSES_ROOT, key, u"", u"\"" + RecordArgsPath() + u"\"");
    EXPECT_TRUE(OpenURL(nullptr, u"http://127.0.0.1/x"));
    auto records = ReadRecords(record.Path(), 2, 60000);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].CommandLine,
        u"\"" + RecordArgsPath() + u"\" -url \"http://127.0.0.1/a?b=1&c=2\" again=http://127.0.0.1/a?b=1&c=2");
    EXPECT_EQ(records[1].CommandLine, u"\"" + RecordArgsPath() + u"\"  \"http://127.0.0.1/x\"");
}

TEST(Processes, OpenURLReportsACommandThatCannotStart)
{
    const String key = u"HTTP\\shell\\open\\command";
    TRegistryValueGuard guard(HKEY_CLASSES_ROOT, key, u"");
    SetRegistryString(HKEY_CLASSES_ROOT, key, u"", u"\"C:\\no\\such\\browser.exe\" %1");
    EXPECT_FALSE(OpenURL(nullptr, u"http://127.0.0.1/"));
}

TEST(SystemLanguage, HasADisplayName)
{
    String name = GetSystemLanguageName();
    EXPECT_FALSE(name.empty());
    EXPECT_LE(name.size(), 50u);
}

TEST(Windows, TopmostAndForeground)
{
    HWND window = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW, 10, 10, 100, 100, nullptr,
        nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    SetTopmost(window, true);
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    SetTopmost(window, false);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(ForceForegroundWindow(window));
    EXPECT_FALSE(IsIconic(window));
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
}
