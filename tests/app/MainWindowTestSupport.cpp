#include "MainWindowTestSupport.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"

#include <gtest/gtest.h>

#include <random>

using namespace vp;

namespace vptest {

namespace {

const String kInternetSettings = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

} // namespace

TMainInstall::TMainInstall()
    : FServer([](const TRecordedRequest&) {
          // An empty reply: a lookup that changes nothing; the tests hand replies over themselves.
          return TReply{};
      })
{
    FFolder = GetLongPath(FTemp.Folder());
    std::filesystem::copy(SourcePath("data/const.dat"), FTemp.Path() / "const.dat");
    std::filesystem::copy(SourcePath("data/res"), FTemp.Path() / "res", std::filesystem::copy_options::recursive);
    std::filesystem::copy(SourcePath("data/lang"), FTemp.Path() / "lang", std::filesystem::copy_options::recursive);
    std::random_device device;
    const String base = FServer.URL("");
    WriteAllBytesAtomic(FFolder + u"oem.const.dat",
        U16ToUtf8(u"[setting]\r\nApp.ConfigPath=VeilportMainTest-" + IntToHex(device(), 8) +
            u"\r\nSetting.NoAllUser=1\r\nURL.GetInfo=" + base + u"/getinfo\r\nURL.FlagPath=" + base +
            u"/flags/\r\nSUPER_TOUCH=" + base + u"/touch?ip={1}\r\nUpdate.BeginAuto=0\r\n"));
    SetAppFileNameForTests(FFolder + u"Veilport.exe");
    GetCLSettings();
}

TMainInstall::~TMainInstall()
{
    String userData = GetCLSettings().UserDataPath();
    if (PosText(u"VeilportMainTest-", userData) != String::npos) {
        std::error_code error;
        std::filesystem::remove_all(ToFsPath(userData), error);
    }
    SetAppFileNameForTests(u"");
}

size_t TMainInstall::CountRequests(const std::string& pathStart) const
{
    size_t count = 0;
    for (const TRecordedRequest& request : FServer.Requests())
        if (request.Target.rfind(pathStart, 0) == 0)
            ++count;
    return count;
}

const TMainInstall& MainInstall()
{
    static TMainInstall install;
    return install;
}

String PoolEntry(const String& address, const String& countryLong, const String& code)
{
    return address + u"|" + countryLong + u"|" + code + u"|10|50";
}

TMainWindowFixture::TMainWindowFixture()
{
    MainInstall();
    FRecorder = std::make_unique<TModalRecorder>(mrOk);
    TCLSettings& settings = GetCLSettings();
    // Each test starts with every message box on and a configuration push behind it.
    settings.SetMessageShowAgainFlag(1, true);
    settings.SetMessageShowAgainFlag(6, true);
    Set(u"Update.Times", u"1");
    Set(u"ChangeIP", u"0");
    Set(u"ChangeIPTime", u"5");
    Set(u"TestIPfromLocal", u"0");
    Set(u"AlwaysOnTop", u"0");
    Set(u"TARGET_COUNTRY", u"DE");
    Set(u"NORMAL_IPS", u"");
    Set(u"SUPER_IPS", u"");
}

TMainWindowFixture::~TMainWindowFixture()
{
    Destroy();
    // Requests still on their way end before the application does.
    PumpUntil([] { return false; }, 200);
}

void TMainWindowFixture::Set(const String& key, const String& value)
{
    FSettings.push_back(std::make_unique<TSettingOverride>(key, value));
}

TfrmMain& TMainWindowFixture::Create()
{
    FMain = Application().CreateForm<TfrmMain>();
    return *FMain;
}

void TMainWindowFixture::Destroy()
{
    delete FMain;
    FMain = nullptr;
}

TfrmFlashForm& TMainWindowFixture::Panel()
{
    EXPECT_NE(frmFlashForm, nullptr);
    return *frmFlashForm;
}

const TPanelState& TMainWindowFixture::PanelState()
{
    return Panel().FlashPlayer->Model().State();
}

void TMainWindowFixture::ReplyLocation(const String& countryShort)
{
    FMain->FProxyManager->LocalInfoGot(u"IP=203.0.113.10\r\nCOUNTRY_SHORT=" + countryShort +
        u"\r\nCOUNTRY_LONG=Somewhere\r\nCITY=Denver\r\n");
}

void TMainWindowFixture::SetPools(const String& normal, const String& super)
{
    GetCLSettings().SetSettingstring(u"NORMAL_IPS", normal);
    GetCLSettings().SetSettingstring(u"SUPER_IPS", super);
    FMain->FProxyManager->LoadSettings();
}

std::vector<String> TMainWindowFixture::MessageTexts() const
{
    std::vector<String> texts;
    for (const TModalRequest& request : FRecorder->Requests)
        texts.push_back(request.Text);
    return texts;
}

int TMainWindowFixture::CountMessages(const String& key) const
{
    String text = FMain ? FMain->CLEngine->GetAppString(key) : String();
    if (text.empty())
        text = u"[AppRes]" + key;
    int count = 0;
    for (const TModalRequest& request : FRecorder->Requests)
        count += request.Text == text ? 1 : 0;
    return count;
}

bool TMainWindowFixture::ProxyEnabled()
{
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, WStr(kInternetSettings), L"ProxyEnable", RRF_RT_REG_DWORD, nullptr, &value,
            &size) != ERROR_SUCCESS)
        return false;
    return value != 0;
}

String TMainWindowFixture::ProxyServer()
{
    return RegReadString(HKEY_CURRENT_USER, kInternetSettings, u"ProxyServer", u"");
}

bool TMainWindowFixture::SystemProxyIs(const String& proxy)
{
    return ProxyEnabled() && PosText(u"http=" + proxy + u";", ProxyServer()) != String::npos;
}

} // namespace vptest
