#include "framework/engine/cwm_WinVersion.h"

namespace vp {

namespace {

// The second character of the service-pack text marks the later releases of 95 and 98.
bool SecondCharIs(StringView text, char16_t a, char16_t b = 0)
{
    return text.size() >= 2 && (text[1] == a || (b != 0 && text[1] == b));
}

TWindowsProductVersion MakeVersion(int major, int minor)
{
    return {IntToStr(major) + u"." + IntToStr(minor), major, minor};
}

void Classify(const TWindowsVersionInfo& info, TWindowsType& kind, String& product)
{
    const uint32_t major = info.Major;
    const uint32_t minor = info.Minor;
    switch (info.PlatformId) {
    case kPlatformWin32s:
        kind = TWindowsType::win31;
        product = u"Microsoft Win32s";
        return;
    case kPlatformWin9x:
        if (major == 4 && minor == 0) {
            kind = SecondCharIs(info.CSDVersion, u'C', u'B') ? TWindowsType::win95OSR2 : TWindowsType::win95;
            product = u"Microsoft Windows 95";
        } else if (major == 4 && minor == 10) {
            kind = SecondCharIs(info.CSDVersion, u'A') ? TWindowsType::win98se : TWindowsType::win98;
            product = u"Microsoft Windows 98";
        } else if (major == 4 && minor == 90) {
            kind = TWindowsType::winME;
            product = u"Microsoft Windows Millennium Edition";
        }
        return;
    case kPlatformNT:
        if (major == 6 && minor == 0) {
            if (info.ProductType != kProductWorkstation) {
                kind = TWindowsType::winLonghorn;
                product = u"Microsoft Windows Server Longhorn";
            } else if (info.Is64BitWindows) {
                kind = TWindowsType::winVista64;
                product = u"Microsoft Windows Vista 64 Edition";
            } else {
                kind = TWindowsType::winVista;
                product = u"Microsoft Windows Vista";
            }
        } else if (major == 5 && minor == 2) {
            if (info.ServerR2) {
                kind = TWindowsType::win2003R2;
                product = u"Microsoft Windows Server 2003 R2";
            } else if (info.ProductType == kProductWorkstation && info.Amd64Processor) {
                kind = TWindowsType::winXPx64;
                product = u"Microsoft Windows XP Professional x64 Edition";
            } else {
                kind = TWindowsType::win2003;
                product = u"Microsoft Windows Server 2003 family";
            }
        } else if (major == 5 && minor == 1) {
            kind = TWindowsType::winXP;
            product = u"Microsoft Windows XP";
        } else if (major == 5 && minor == 0) {
            kind = TWindowsType::win2000;
            product = u"Microsoft Windows 2000";
        } else if (major <= 4) {
            kind = TWindowsType::winNT;
            product = u"Microsoft Windows NT";
        }
        return;
    default: return;
    }
}

} // namespace

void ClassifyWindows(const TWindowsVersionInfo& info, TWindowsTypeEx& record)
{
    record.OSVersion = MakeVersion(static_cast<int>(info.Major), static_cast<int>(info.Minor));
    // 95, 98 and ME keep the version in the build number's high word.
    record.OSBuild = static_cast<int>(info.PlatformId == kPlatformWin9x ? info.Build & 0xFFFF : info.Build);
    record.ServicePack = Trim(info.CSDVersion);
    record.ServicePackVersion = MakeVersion(info.ServicePackMajor, info.ServicePackMinor);
    record.Server = info.PlatformId == kPlatformNT &&
        (info.ProductType == kProductServer || info.ProductType == kProductDomainController);
    record.Kind.AsType = record.Server ? TWindowsProductType::wptServer : TWindowsProductType::wptWorkstation;
    record.Kind.AsString = info.ProductType == 0 ? String() : record.Server ? u"Server" : u"Workstation";
    record.OSKind = TWindowsType::winUnknown;
    record.Product.clear();
    Classify(info, record.OSKind, record.Product);
    record.Full = record.Product;
    if (!record.Full.empty() && !record.ServicePack.empty())
        record.Full += u" " + record.ServicePack;
}

} // namespace vp
