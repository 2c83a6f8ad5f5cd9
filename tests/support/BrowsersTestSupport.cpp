#include "support/BrowsersTestSupport.h"

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vp;

namespace vptest {

namespace {

// The executable's folder points at a test folder whose const.dat turns the three switches
// on; the store lives for the whole test program, its user folder is removed at the end.
class TBrowsersSettingsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        FFolder = std::make_unique<TTempFolder>();
        String folder = GetLongPath(FFolder->Folder());
        WriteAllBytesAtomic(folder + u"const.dat",
            "[setting]\r\nApp.ConfigPath=VeilportBrowsersTest\r\nSetting.NoAllUser=1\r\n"
            "SWITCH.IE=1\r\nSWITCH.OPERA=1\r\nSWITCH.FF=1\r\n");
        SetAppFileNameForTests(folder + u"Veilport.exe");
        GetCLSettings();
    }
    void TearDown() override
    {
        std::error_code error;
        std::filesystem::remove_all(ToFsPath(GetCLSettings().UserDataPath()), error);
    }

private:
    std::unique_ptr<TTempFolder> FFolder;
};

} // namespace

void UseBrowsersSettingsStore()
{
    ::testing::AddGlobalTestEnvironment(new TBrowsersSettingsEnvironment);
}

TSettingOverride::TSettingOverride(String key, StringView value) : FKey(std::move(key))
{
    FOld = GetCLSettings().GetSettingString(FKey);
    GetCLSettings().SetSettingstring(FKey, value);
}

TSettingOverride::~TSettingOverride()
{
    GetCLSettings().SetSettingstring(FKey, FOld);
}

bool RegistryKeyExists(HKEY root, const String& keyPath)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, WStr(keyPath), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

TRegistryKeyGuard::TRegistryKeyGuard(HKEY root, String keyPath)
    : FRoot(root), FKeyPath(std::move(keyPath)), FExisted(RegistryKeyExists(root, FKeyPath))
{
}

TRegistryKeyGuard::~TRegistryKeyGuard()
{
    if (!FExisted)
        RegDeleteTreeW(FRoot, WStr(FKeyPath));
}

} // namespace vptest
