#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include "framework/rtl/WinText.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vp;
using namespace vptest;

namespace {

struct TProbe {
    unsigned Dpi = 0;
    long ClientWidth = 0, ClientHeight = 0, ButtonWidth = 0, ButtonHeight = 0, FontHeight = 0;
};

// Runs dpiprobe.exe in a process of its own with "LogPixels" set to dpi.
TProbe ProbeAt(DWORD dpi)
{
    const String key = u"Control Panel\\Desktop";
    TRegistryValueGuard guard(HKEY_CURRENT_USER, key, u"LogPixels");
    HKEY handle = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, WStr(key), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(handle, L"LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
    RegCloseKey(handle);
    TTempFolder folder;
    String out = folder.Folder() + u"probe.txt";
    EXPECT_EQ(RunAndWait(u"\"" + TestExeFolder() + u"dpiprobe.exe\" \"" + out + u"\""), 0);
    std::istringstream text(ReadFileBytes(folder.Path() / "probe.txt"));
    TProbe probe;
    text >> probe.Dpi >> probe.ClientWidth >> probe.ClientHeight >> probe.ButtonWidth >> probe.ButtonHeight >>
        probe.FontHeight;
    return probe;
}

} // namespace

TEST(HighDpi, AFormDesignedAt96DpiIsOneAndAHalfTimesLargerAt144)
{
    TProbe normal = ProbeAt(96);
    TProbe large = ProbeAt(144);
    ASSERT_EQ(normal.Dpi, 96u);
    ASSERT_EQ(large.Dpi, 144u);
    EXPECT_EQ(normal.ClientWidth, 200);
    EXPECT_EQ(normal.ClientHeight, 100);
    EXPECT_EQ(large.ClientWidth, 300);
    EXPECT_EQ(large.ClientHeight, 150);
    EXPECT_EQ(normal.ButtonWidth, 75);
    EXPECT_EQ(large.ButtonWidth, 113); // 112.5 rounded
    EXPECT_EQ(large.ButtonHeight, 38);
    // The message font grows with the DPI too.
    EXPECT_GT(large.FontHeight, normal.FontHeight);
    EXPECT_NEAR(large.FontHeight, normal.FontHeight * 1.5, 1.0);
}
