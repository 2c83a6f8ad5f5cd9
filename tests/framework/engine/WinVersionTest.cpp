#include "framework/engine/cwm_WinVersion.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

struct TWinVersionRow {
    uint32_t Platform;
    uint32_t Major;
    uint32_t Minor;
    const char16_t* CSDVersion;
    uint8_t ProductType;
    bool Is64Bit;
    bool ServerR2;
    bool Amd64;
    TWindowsType Kind;
    const char16_t* Product;
};

TWindowsTypeEx Classified(const TWinVersionRow& row)
{
    TWindowsVersionInfo info;
    info.PlatformId = row.Platform;
    info.Major = row.Major;
    info.Minor = row.Minor;
    info.CSDVersion = row.CSDVersion;
    info.ProductType = row.ProductType;
    info.Is64BitWindows = row.Is64Bit;
    info.ServerR2 = row.ServerR2;
    info.Amd64Processor = row.Amd64;
    TWindowsTypeEx record;
    ClassifyWindows(info, record);
    return record;
}

using enum TWindowsType;
constexpr uint8_t kWs = kProductWorkstation;
constexpr uint8_t kSrv = kProductServer;

} // namespace

TEST(WindowsType, EveryRowOfTheClassification)
{
    const TWinVersionRow rows[] = {
        {kPlatformWin32s, 3, 10, u"", 0, false, false, false, win31, u"Microsoft Win32s"},
        {kPlatformWin9x, 4, 0, u"", 0, false, false, false, win95, u"Microsoft Windows 95"},
        {kPlatformWin9x, 4, 0, u" A", 0, false, false, false, win95, u"Microsoft Windows 95"},
        {kPlatformWin9x, 4, 0, u" B", 0, false, false, false, win95OSR2, u"Microsoft Windows 95"},
        {kPlatformWin9x, 4, 0, u" C", 0, false, false, false, win95OSR2, u"Microsoft Windows 95"},
        {kPlatformWin9x, 4, 0, u"C", 0, false, false, false, win95, u"Microsoft Windows 95"},
        {kPlatformWin9x, 4, 10, u"", 0, false, false, false, win98, u"Microsoft Windows 98"},
        {kPlatformWin9x, 4, 10, u" A ", 0, false, false, false, win98se, u"Microsoft Windows 98"},
        {kPlatformWin9x, 4, 90, u"", 0, false, false, false, winME, u"Microsoft Windows Millennium Edition"},
        {kPlatformWin9x, 4, 20, u"", 0, false, false, false, winUnknown, u""},
        {kPlatformNT, 6, 0, u"", kWs, true, false, true, winVista64, u"Microsoft Windows Vista 64 Edition"},
        {kPlatformNT, 6, 0, u"", kWs, false, false, false, winVista, u"Microsoft Windows Vista"},
        {kPlatformNT, 6, 0, u"", kSrv, true, false, true, winLonghorn, u"Microsoft Windows Server Longhorn"},
        // Only the basic structure read: no product type, so not a workstation.
        {kPlatformNT, 6, 0, u"", 0, false, false, false, winLonghorn, u"Microsoft Windows Server Longhorn"},
        {kPlatformNT, 5, 2, u"", kWs, true, true, true, win2003R2, u"Microsoft Windows Server 2003 R2"},
        {kPlatformNT, 5, 2, u"", kWs, true, false, true, winXPx64,
            u"Microsoft Windows XP Professional x64 Edition"},
        {kPlatformNT, 5, 2, u"", kSrv, true, false, true, win2003, u"Microsoft Windows Server 2003 family"},
        {kPlatformNT, 5, 2, u"", kWs, false, false, false, win2003, u"Microsoft Windows Server 2003 family"},
        {kPlatformNT, 5, 1, u"Service Pack 3", kWs, false, false, false, winXP, u"Microsoft Windows XP"},
        {kPlatformNT, 5, 0, u"", kSrv, false, false, false, win2000, u"Microsoft Windows 2000"},
        {kPlatformNT, 4, 0, u"", kWs, false, false, false, winNT, u"Microsoft Windows NT"},
        {kPlatformNT, 3, 51, u"", 0, false, false, false, winNT, u"Microsoft Windows NT"},
        // Windows 7 keeps the skin's glow: it is no Vista 64.
        {kPlatformNT, 6, 1, u"Service Pack 1", kWs, true, false, true, winUnknown, u""},
        {kPlatformNT, 10, 0, u"", kWs, true, false, true, winUnknown, u""},
        {7, 6, 0, u"", kWs, true, false, true, winUnknown, u""},
    };
    for (const TWinVersionRow& row : rows) {
        TWindowsTypeEx record = Classified(row);
        SCOPED_TRACE(testing::Message()
            << row.Platform << " " << U16ToUtf8(record.OSVersion.AsString) << " type " << int(row.ProductType)
            << " " << U16ToUtf8(row.CSDVersion));
        EXPECT_EQ(record.OSKind, row.Kind);
        EXPECT_EQ(record.Product, row.Product);
    }
}
