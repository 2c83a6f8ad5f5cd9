#include "e2e/E2eSupport.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <random>

using namespace vp;
using namespace vptest;

namespace {

// Waits for the message box of the process, gives its text and presses OK ("" when none came).
String AnswerMessageBox(HANDLE process, const String& caption)
{
    const DWORD processId = GetProcessId(process);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 30000 && WaitForSingleObject(process, 50);) {
        HWND box = nullptr;
        while ((box = FindWindowExW(nullptr, box, L"#32770", WStr(caption))) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(box, &owner);
            wchar_t text[1024] = {};
            if (owner != processId || !GetDlgItemTextW(box, 0xFFFF, text, 1024))
                continue;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return FromWStr(text);
        }
    }
    return String();
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
TEST(VeilportStartUp, ASettingsFileHeldByAnotherProgramIsReportedAndKept)
{
    TInstalledVeilport veilport(u"Setting.NoAllUser=1\r\n");
    const String file = veilport.UserSettingFile();
    const std::string before = "[setting]\r\nRunTimes=7\r\nLanguage=Deutsch\r\n";
    ForceDirectories(ExtractFilePath(file));
    WriteAllBytesAtomic(file, before);
    // Held without sharing it cannot be read; held by a reader it cannot be replaced.
    const std::pair<DWORD, const char16_t*> holds[] = {{0, u"Cannot open file \""},
        {0, u"Cannot open file \""}, {0, u"Cannot open file \""}, {FILE_SHARE_READ, u"Cannot write file \""}};
    const char16_t* arguments[] = {u"", u"/s", u"-r", u""};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        TKernelHandle held = HoldFile(file, holds[i].first);
        ASSERT_TRUE(held);
        HANDLE process = veilport.Start(arguments[i]);
        String text = AnswerMessageBox(process, u"Veilport");
        EXPECT_NE(text.find(holds[i].second + file + u"\""), String::npos) << U16ToUtf8(text);
        ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
        EXPECT_EQ(ExitCode(process), 1u);
    }
    EXPECT_EQ(ReadAllBytes(file), before);
    EXPECT_FALSE(PathExists(file + u".new"));
}
