#include "browsers/FirefoxBridgeWin.h"
#include "browsers/FirefoxLocator.h"

#include <windows.h>

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"

namespace vp {

namespace {

bool KeyOpens(HKEY root, const String& keyPath)
{
    TRegKey key;
    return RegOpenKeyExW(root, WStr(keyPath), 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

class TSystemFirefoxLookupSource : public IFirefoxLookupSource {
public:
    String StoredFirefoxPath() override { return GetCLSettings().GetSettingString(kFirefoxPathSetting); }
    void StoreFirefoxPath(StringView path) override
    {
        GetCLSettings().SetSettingstring(kFirefoxPathSetting, path);
    }
    bool FileExists(StringView path) override { return vp::FileExists(path); }
    bool ReadRegistryString(
        TRegistryRoot root, StringView keyPath, StringView valueName, String& value) override
    {
        String key(keyPath);
        if (root == TRegistryRoot::CurrentUser) {
            if (!KeyOpens(HKEY_CURRENT_USER, key))
                return false;
            value = RegReadString(HKEY_CURRENT_USER, key, valueName, u"");
            return true;
        }
        // A 32-bit Firefox registers in the 32-bit view of the machine's software key, which
        // a 64-bit program reaches under "WOW6432Node".
        for (const String& candidate : {key, Wow6432Path(key)}) {
            if (!candidate.empty() && KeyOpens(HKEY_LOCAL_MACHINE, candidate)) {
                value = RegReadString(HKEY_LOCAL_MACHINE, candidate, valueName, u"");
                return true;
            }
        }
        return false;
    }

private:
    // "SOFTWARE\x" becomes "SOFTWARE\WOW6432Node\x"; "" for other paths.
    static String Wow6432Path(const String& keyPath)
    {
        const String software = u"SOFTWARE\\";
        if (keyPath.size() <= software.size() || !SameText(keyPath.substr(0, software.size()), software))
            return String();
        return software + u"WOW6432Node\\" + keyPath.substr(software.size());
    }
};

} // namespace

String GetFirefoxPath()
{
    TSystemFirefoxLookupSource source;
    return LookUpFirefoxPath(source);
}

bool IsFirefoxInstalled()
{
    return !GetFirefoxPath().empty();
}

bool IsFirefoxRunning()
{
    String windowClass(kFirefoxWindowClass);
    return FindWindowW(WStr(windowClass), nullptr) != nullptr;
}

bool InstallFirefoxExtension()
{
    if (GetFirefoxPath().empty())
        return false;
    String params = FirefoxInstallParams(ExtractFilePath(GetAppFileName()));
    return RunProgram(GetFirefoxPath(), params, false, 0);
}

void SetFirefoxProxy(StringView aProxy)
{
    String proxy = GetCLSettings().GetSettingBool(u"SWITCH.FF") ? String(aProxy) : String();
    if (GetFirefoxPath().empty())
        return;
    RunProgram(GetFirefoxPath(), FirefoxSwitchParams(proxy), false, 0);
}

} // namespace vp
