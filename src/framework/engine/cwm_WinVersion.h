// Which Windows runs the program. The classification is portable, a function of what the
// system's version query reports; cwm_WinVersionWin.h asks the system.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>

namespace vp {

enum class TWindowsType {
    winUnknown,
    win31,
    win95,
    win95OSR2,
    winNT,
    win98,
    win98se,
    winME,
    win2000,
    winXP,
    winXPx64,
    win2003,
    win2003R2,
    winVista,
    winVista64,
    winLonghorn,
};

enum class TWindowsProductType { wptWorkstation, wptServer };

struct TWindowsProductKind {
    String AsString;
    TWindowsProductType AsType = TWindowsProductType::wptWorkstation;
};

struct TWindowsProductVersion {
    // Major, dot, minor.
    String AsString;
    int Major = 0;
    int Minor = 0;
};

struct TWindowsTypeEx {
    String Full;
    String Product;
    TWindowsProductKind Kind;
    TWindowsType OSKind = TWindowsType::winUnknown;
    TWindowsProductVersion OSVersion;
    int OSBuild = 0;
    bool Server = false;
    String ServicePack;
    TWindowsProductVersion ServicePackVersion;
};

// The platform ids and product types of the system's version query.
constexpr uint32_t kPlatformWin32s = 0;
constexpr uint32_t kPlatformWin9x = 1;
constexpr uint32_t kPlatformNT = 2;
constexpr uint8_t kProductWorkstation = 1;
constexpr uint8_t kProductDomainController = 2;
constexpr uint8_t kProductServer = 3;

// What the system reports, and the three facts the classification asks beyond it.
struct TWindowsVersionInfo {
    uint32_t PlatformId = 0;
    uint32_t Major = 0;
    uint32_t Minor = 0;
    uint32_t Build = 0;
    String CSDVersion;
    uint16_t ServicePackMajor = 0;
    uint16_t ServicePackMinor = 0;
    // 0 when only the basic version structure could be read.
    uint8_t ProductType = 0;
    bool Is64BitWindows = false;
    bool ServerR2 = false;
    bool Amd64Processor = false;
};

// Fills the record from the reported version; OSKind and Product follow the classification
// table, newer systems than Vista and Server 2003 being winUnknown.
void ClassifyWindows(const TWindowsVersionInfo& info, TWindowsTypeEx& record);

} // namespace vp
