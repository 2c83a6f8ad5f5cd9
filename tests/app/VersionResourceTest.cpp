// Veilport.exe's resources as Windows reads them: the version that const.dat names, in the
// numbers and the texts of the version information, and the main icon with all its sizes.
#include "framework/config/CLUtilsWin.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

using namespace vp;
using namespace vptest;

namespace {

String VeilportExe()
{
    return TestExeFolder() + u"Veilport.exe";
}

String ConstDatValue(StringView key)
{
    const char* source = std::getenv("VP_SOURCE_DIR");
    TIniFile constDat(Utf8ToU16(source ? source : ".") + u"/data/const.dat");
    return constDat.Document().ReadString(u"setting", key, u"");
}

class TVersionInfo {
public:
    explicit TVersionInfo(const String& file)
    {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeW(WStr(file), &ignored);
        FData.resize(size);
        if (size == 0 || !GetFileVersionInfoW(WStr(file), 0, size, FData.data()))
            FData.clear();
    }

    bool Loaded() const { return !FData.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const
    {
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(FData.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO))
            return nullptr;
        return static_cast<const VS_FIXEDFILEINFO*>(value);
    }

    String Text(StringView name) const
    {
        String path = u"\\StringFileInfo\\040904B0\\" + String(name);
        void* value = nullptr;
        UINT length = 0;
        if (!VerQueryValueW(FData.data(), WStr(path), &value, &length) || length == 0)
            return u"<none>";
        return FromWStr(static_cast<const wchar_t*>(value));
    }

private:
    std::vector<BYTE> FData;
};

TEST(VersionResource, FileAndProductVersionAreAppVerOfConstDat)
{
    String version = ConstDatValue(u"App.Ver");
    ASSERT_FALSE(version.empty()) << "const.dat names no App.Ver";
    TVersionInfo info(VeilportExe());
    ASSERT_TRUE(info.Loaded()) << "Veilport.exe has no version information";

    EXPECT_EQ(U16ToUtf8(info.Text(u"FileVersion")), U16ToUtf8(version));
    EXPECT_EQ(U16ToUtf8(info.Text(u"ProductVersion")), U16ToUtf8(version));
    EXPECT_EQ(U16ToUtf8(info.Text(u"ProductName")), "Veilport");

    // The numbers, missing fields as 0.
    TStringList fields;
    SplitText(version, u'.', fields);
    std::vector<DWORD> numbers;
    for (const String& field : fields)
        numbers.push_back(static_cast<DWORD>(StrToIntSafe(field, -1)));
    numbers.resize(4, 0);
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, (numbers[0] << 16) | numbers[1]);
    EXPECT_EQ(fixed->dwFileVersionLS, (numbers[2] << 16) | numbers[3]);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
}

// The icon group 1 (what the windows load) names every size of res\icon.ico, and Windows
// picks a fitting image for the small and the large icon.
TEST(VersionResource, MainIconIsResourceOneWithEverySize)
{
    HMODULE exe = LoadLibraryExW(WStr(VeilportExe()), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr) << "no icon group 1";
    const auto* directory = static_cast<const BYTE*>(LockResource(LoadResource(exe, group)));
    DWORD directoryBytes = SizeofResource(exe, group);
    ASSERT_NE(directory, nullptr);
    ASSERT_GE(directoryBytes, 6u);

    // GRPICONDIR: three WORDs, then 14-byte entries whose first byte is the width (0 = 256).
    WORD count = static_cast<WORD>(directory[4] | (directory[5] << 8));
    ASSERT_GE(directoryBytes, 6u + 14u * count);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        int width = directory[6 + 14 * i];
        sizes.push_back(width == 0 ? 256 : width);
    }
    std::sort(sizes.begin(), sizes.end());
    EXPECT_EQ(sizes, (std::vector<int>{16, 20, 24, 32, 40, 48, 64, 256}));

    for (int size : {16, 32, 256}) {
        HICON icon = static_cast<HICON>(LoadImageW(exe, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
        EXPECT_NE(icon, nullptr) << size << " px";
        if (icon)
            DestroyIcon(icon);
    }
    FreeLibrary(exe);
}

} // namespace
