// The setup program of this build, run silently as a user would script it: install, start
// the installed program, uninstall while it runs; then a second install and an uninstall
// that also removes the settings.
#include "e2e/E2eSupport.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/TextUtils.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vp;
using namespace vptest;

namespace {

const String kUninstallKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Veilport";
const String kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const String kInternetSettings = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

String ConstSetting(const String& name)
{
    return TIniFile(LayoutFolder() + u"const.dat").Document().ReadString(u"setting", name, u"");
}

// Every file below a folder, as paths relative to it with their sizes.
std::vector<std::pair<String, uint64_t>> FilesBelow(const String& folder)
{
    TStringList list;
    FindFiles(folder, list, u"*", true);
    std::vector<std::pair<String, uint64_t>> files;
    for (const String& path : list)
        files.emplace_back(path.substr(folder.size()), std::filesystem::file_size(ToFsPath(path)));
    std::sort(files.begin(), files.end());
    return files;
}

std::optional<DWORD> RegistryDword(HKEY root, const String& key, const String& name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueW(root, WStr(key), WStr(name), RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool KeyExists(HKEY root, const String& key)
{
    HKEY handle = nullptr;
    if (RegOpenKeyExW(root, WStr(key), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return false;
    RegCloseKey(handle);
    return true;
}

// The uninstaller runs on from a copy of itself and returns at once: its work is done when
// the install folder and then, last of all, the programs-list entry are gone.
bool WaitUntilUninstalled(const String& folder, DWORD timeoutMs = 60000)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (!PathExists(folder) && !KeyExists(HKEY_CURRENT_USER, kUninstallKey))
            return true;
        Sleep(100);
    }
    return false;
}

// Leaves no programs-list entry behind when a test fails halfway.
struct TUninstallKeyCleanup {
    ~TUninstallKeyCleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, WStr(kUninstallKey)); }
};

} // namespace

TEST(Installer, InstallsStartsAndUninstallsWhileTheProgramRuns)
{
    TTempFolder temp;
    const String folder = GetLongPath(temp.Folder()) + u"Veilport";
    const String exe = folder + u"\\Veilport.exe";
    const String setup = u"\"" + TestExeFolder() + u"..\\" VP_SETUP_NAME u"\"";
    // The program names its settings folder after its path.
    String configWord = exe;
    std::replace_if(configWord.begin(), configWord.end(), [](char16_t c) { return c == u'\\' || c == u':'; }, u'_');
    const String allUsersSettings = GetCommonShellFolder(u"Common AppData") + u"\\" + configWord;
    const String userSettings = GetShellFolder(u"AppData") + u"\\" + configWord;
    const String shortcut = GetShellFolder(u"Programs") + u"\\Veilport.lnk";
    TRegistryValueGuard runGuard(HKEY_CURRENT_USER, kRunKey, u"Veilport");
    TRegistryValueGuard enableGuard(HKEY_CURRENT_USER, kInternetSettings, u"ProxyEnable");
    TUninstallKeyCleanup keyCleanup;

    ASSERT_EQ(RunAndWait(setup + u" /S /D=" + folder, 120000), 0);
    EXPECT_EQ(FilesBelow(folder + u"\\"), [&] {
        auto files = FilesBelow(LayoutFolder());
        files.emplace_back(u"Uninstall.exe", std::filesystem::file_size(ToFsPath(folder + u"\\Uninstall.exe")));
        std::sort(files.begin(), files.end());
        return files;
    }());
    EXPECT_TRUE(FileExists(shortcut));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"DisplayName", u""), ConstSetting(u"App.Name"));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"DisplayVersion", u""), ConstSetting(u"App.Ver"));
    EXPECT_NE(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"Publisher", u""), u"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"DisplayIcon", u""), exe + u",0");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"UninstallString", u""),
        u"\"" + folder + u"\\Uninstall.exe\"");
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kUninstallKey, u"InstallLocation", u""), folder);
    // The programs list shows kilobytes: the program alone is more than one.
    EXPECT_GT(RegistryDword(HKEY_CURRENT_USER, kUninstallKey, u"EstimatedSize").value_or(0),
        std::filesystem::file_size(ToFsPath(exe)) / 1024);

    // The installed program starts with the shipped identity and answers the instance protocol.
    HANDLE program = StartProgram(u"\"" + exe + u"\"", folder);
    ASSERT_NE(program, nullptr);
    TKernelHandle programOwner(program);
    HWND window = WaitUntilReady(StrToIntSafe(ConstSetting(u"App.ID"), -1));
    if (!window)
        TerminateProcess(program, 99);
    ASSERT_NE(window, nullptr);
    // What the options dialog writes for a start at log-on.
    SetAutorun(true, ConstSetting(u"App.Name"), exe);
    DWORD direct = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, WStr(kInternetSettings), L"ProxyEnable", REG_DWORD, &direct, sizeof(direct));

    EXPECT_EQ(RunAndWait(u"\"" + folder + u"\\Uninstall.exe\" /S"), 0);
    bool ended = WaitForSingleObject(program, 30000) == WAIT_OBJECT_0;
    if (!ended)
        TerminateProcess(program, 99);
    ASSERT_TRUE(ended);
    // Closed through its own "/s", which ends it as any normal exit does, not killed.
    EXPECT_EQ(ExitCode(program), 0u);
    ASSERT_TRUE(WaitUntilUninstalled(folder));
    EXPECT_FALSE(FileExists(shortcut));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kRunKey, ConstSetting(u"App.Name"), u"<none>"), u"<none>");
    EXPECT_EQ(RegistryDword(HKEY_CURRENT_USER, kInternetSettings, u"ProxyEnable"), std::optional<DWORD>(0));
    // The settings stay unless asked for.
    EXPECT_TRUE(FileExists(UserSettingFile(configWord)));

    // Installed again over the kept settings, then removed with them.
    ASSERT_EQ(RunAndWait(setup + u" /S /D=" + folder, 120000), 0);
    ASSERT_TRUE(FileExists(exe));
    EXPECT_EQ(RunAndWait(u"\"" + folder + u"\\Uninstall.exe\" /S /REMOVESETTINGS"), 0);
    ASSERT_TRUE(WaitUntilUninstalled(folder));
    EXPECT_FALSE(PathExists(allUsersSettings));
    EXPECT_FALSE(PathExists(userSettings));
}
