// TfrmMain: the flag list and the target country's flag.
#include "app/uMain.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/GdiPlus.h"

namespace vp {

namespace {

constexpr TRect kFlagRect{0, 0, 48, 48};

// Country codes come from the publisher's pools and the location reply; only a plain code
// may become part of a file name (a code with "\" or ".." would reach outside the folders).
bool IsFlagCode(StringView code)
{
    if (code.empty() || code.size() > 8)
        return false;
    for (char16_t c : code)
        if (!((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9')))
            return false;
    return true;
}

} // namespace

void TfrmMain::LoadFlagPNGList()
{
    TStringList files;
    FindFiles(PathJoin(GetAppPath(), GetCLSettings().GetSettingString(u"URL.LocalFlagPath")), files, u"*.png", false);
    for (const String& file : files) {
        if (!FileExists(file))
            continue;
        int index = imglstFlag->Add();
        // Some 250 flags: each is decoded when the country chooser first draws it.
        imglstFlag->LoadFromFileWhenUsed(index, file);
        imglstFlag->SetNames(index, ExtractFileNameNoExt(file));
    }
}

int TfrmMain::GetImageIndex(const String& CN) const
{
    return imglstFlag->IndexOf(CN);
}

void TfrmMain::ResetCountryDisp()
{
    LoadFlag(FProxyManager->FTargetCountry);
}

void TfrmMain::LoadFlag(const String& aCountryName)
{
    if (!IsFlagCode(aCountryName))
        return;
    const String shipped = GetAppPath() + u"res\\flag_short\\" + aCountryName + u".PNG";
    if (FileExists(shipped)) {
        LoadPNG(shipped);
        return;
    }
    const String downloaded = GetCLSettings().UserDataPath() + aCountryName + u".PNG";
    if (FileExists(downloaded)) {
        LoadPNG(downloaded);
        return;
    }
    const String prefix = GetCLSettings().GetSettingString(u"URL.FlagPath");
    if (prefix.empty())
        return;
    sdFlag->SetFileName(downloaded);
    sdFlag->SetURL(prefix + UpperCase(aCountryName + u".png"));
    sdFlag->GetFile();
}

bool TfrmMain::LoadPNG(const String& aFileName)
{
    std::unique_ptr<Gdiplus::Bitmap> picture = LoadPngFile(aFileName);
    if (!picture)
        return false;
    TCanvas& canvas = imgFL->Canvas();
    canvas.FillRect(kFlagRect);
    canvas.StretchDraw(kFlagRect, *picture);
    return true;
}

void TfrmMain::sdFlagDoneFile(TObject*, const String& strFileName, int32_t)
{
    if (!FileExists(strFileName))
        return;
    // A reply that is no picture (an error page) would stand in for the flag at every start.
    if (!LoadPNG(strFileName))
        DeleteFileW(WStr(strFileName));
}

String TfrmMain::FlagAddress(const String& aCountryCode, bool aDownloaded)
{
    if (!IsFlagCode(aCountryCode))
        return String();
    TCLSettings& settings = GetCLSettings();
    const String shipped =
        PathJoin(GetAppPath(), settings.GetSettingString(u"URL.LocalFlagPath") + aCountryCode + u".PNG");
    if (FileExists(shipped))
        return shipped;
    if (aDownloaded) {
        const String downloaded = PathJoin(settings.UserDataPath(), aCountryCode + u".PNG");
        if (FileExists(downloaded))
            return downloaded;
    }
    return settings.GetSettingString(u"URL.FlagPath") + aCountryCode + u".PNG";
}

} // namespace vp
