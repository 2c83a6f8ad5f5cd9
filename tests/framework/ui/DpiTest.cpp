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

// Runs a probe program in a process of its own with "LogPixels" set to dpi; what it wrote.
std::string RunProbeAt(DWORD dpi, const String& program)
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
    EXPECT_EQ(RunAndWait(u"\"" + TestExeFolder() + program + u"\" \"" + out + u"\""), 0);
    return ReadFileBytes(folder.Path() / "probe.txt");
}

TProbe ProbeAt(DWORD dpi)
{
    std::istringstream text(RunProbeAt(dpi, u"dpiprobe.exe"));
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

TEST(HighDpi, TheSkinnedFrameMenusAndMessageBoxScaleWithTheDpi)
{
    struct TSkinned {
        unsigned Dpi = 0;
        long Caption = 0, ClientTop = 0, CloseWidth = 0, MenuItem = 0, MessageButton = 0;
    };
    auto probe = [](DWORD dpi) {
        std::istringstream text(RunProbeAt(dpi, u"skinframeprobe.exe"));
        TSkinned skinned;
        text >> skinned.Dpi >> skinned.Caption >> skinned.ClientTop >> skinned.CloseWidth >> skinned.MenuItem >>
            skinned.MessageButton;
        return skinned;
    };
    TSkinned normal = probe(96);
    TSkinned large = probe(144);
    ASSERT_EQ(normal.Dpi, 96u);
    ASSERT_EQ(large.Dpi, 144u);
    // The built-in skin: a 32-pixel caption with a 1-pixel border, 40-pixel buttons, 26-pixel
    // menu items and 28-pixel message box buttons at 96 DPI; one and a half times that at 144.
    EXPECT_EQ(normal.Caption, 32);
    EXPECT_EQ(large.Caption, 48);
    EXPECT_EQ(normal.ClientTop, 33);
    EXPECT_EQ(large.ClientTop, 50);
    EXPECT_EQ(normal.CloseWidth, 40);
    EXPECT_EQ(large.CloseWidth, 60);
    EXPECT_EQ(normal.MenuItem, 26);
    EXPECT_EQ(large.MenuItem, 39);
    EXPECT_EQ(normal.MessageButton, 28);
    EXPECT_EQ(large.MessageButton, 42);
}
