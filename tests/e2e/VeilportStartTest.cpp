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

// The laid-out install folder copied to a folder of its own. An oem.const.dat gives the
// program an identity of its own, so it meets no other copy.
class TInstalledVeilport {
public:
    TInstalledVeilport()
    {
        FFolder = GetLongPath(FTemp.Folder());
        // The folder without its final "\": the runtime's stat refuses a folder name ending in one.
        std::filesystem::copy(ToFsPath(LayoutFolder()).parent_path(), FTemp.Path(),
            std::filesystem::copy_options::recursive);
        std::random_device device;
        FAppId = static_cast<int>(device() % 1000000) + 5000;
        FConfigPath = u"VeilportE2E-" + IntToHex(device(), 8);
        WriteAllBytesAtomic(FFolder + u"oem.const.dat",
            U16ToUtf8(u"[setting]\r\nApp.GUID={e2e-" + FConfigPath + u"}\r\nApp.ID=" + IntToStr(FAppId) +
                u"\r\nApp.ConfigPath=" + FConfigPath + u"\r\n"));
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
        HANDLE process = StartProgram(u"\"" + FFolder + u"Veilport.exe\" " + arguments, FFolder);
        if (process)
            FProcesses.push_back(process);
        return process;
    }

    HWND WaitUntilReady() const { return vptest::WaitUntilReady(FAppId); }
    String UserSettingFile() const { return vptest::UserSettingFile(FConfigPath); }

private:
    TTempFolder FTemp;
    String FFolder;
    String FConfigPath;
    int FAppId = 0;
    std::vector<HANDLE> FProcesses;
};

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
    EXPECT_STREQ(caption, L"Veilport");

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
