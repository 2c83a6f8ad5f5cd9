// Shared set-up of the Windows tests of the browser switches: one settings store for the test
// program with the three switches on, setting overrides, and registry keys that are removed
// again when a test created them.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "support/TestSupportWin.h"

namespace vptest {

// Installs the settings store's test environment (call from a global initialiser).
void UseBrowsersSettingsStore();

// Sets a setting for the lifetime of the object and then puts the old text back.
class TSettingOverride {
public:
    TSettingOverride(vp::String key, vp::StringView value);
    ~TSettingOverride();
    TSettingOverride(const TSettingOverride&) = delete;
    TSettingOverride& operator=(const TSettingOverride&) = delete;

private:
    vp::String FKey;
    vp::String FOld;
};

// A registry key that did not exist is deleted with everything below it when the guard goes;
// a key that existed is left alone (guard its values with TRegistryValueGuard).
class TRegistryKeyGuard {
public:
    TRegistryKeyGuard(HKEY root, vp::String keyPath);
    ~TRegistryKeyGuard();
    TRegistryKeyGuard(const TRegistryKeyGuard&) = delete;
    TRegistryKeyGuard& operator=(const TRegistryKeyGuard&) = delete;

private:
    HKEY FRoot;
    vp::String FKeyPath;
    bool FExisted;
};

bool RegistryKeyExists(HKEY root, const vp::String& keyPath);

// Where Wine is known to differ from Windows, tests check Windows' behaviour only on Windows.
bool RunningUnderWine();

// The current user's "RunOnce" key and the system switch's entry in it (for "App.Name"
// Veilport or none).
inline const vp::String kRunOnceKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
inline const vp::String kRunOnceValue = u"Veilport.RestoreProxy";

// A user's own proxy configuration (a proxy switched off, a bypass list, an automatic
// configuration address, in WinINet and in the registry) set for the guard's lifetime; everything the
// system switch may write, its "RunOnce" entry included, is put back afterwards.
class TUserProxySettings {
public:
    TUserProxySettings();
    // The four registry values byte for byte and the default connection's WinINet options.
    static vp::String Snapshot();

private:
    static const vp::String FKey;
    TRegistryValueGuard FEnable{HKEY_CURRENT_USER, FKey, u"ProxyEnable"};
    TRegistryValueGuard FServer{HKEY_CURRENT_USER, FKey, u"ProxyServer"};
    TRegistryValueGuard FOverride{HKEY_CURRENT_USER, FKey, u"ProxyOverride"};
    TRegistryValueGuard FAutoConfig{HKEY_CURRENT_USER, FKey, u"AutoConfigURL"};
    TRegistryValueGuard FDefault{HKEY_CURRENT_USER, FKey + u"\\Connections", u"DefaultConnectionSettings"};
    TRegistryValueGuard FLegacy{HKEY_CURRENT_USER, FKey + u"\\Connections", u"SavedLegacySettings"};
    TRegistryValueGuard FRunOnce{HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue};
};

} // namespace vptest
