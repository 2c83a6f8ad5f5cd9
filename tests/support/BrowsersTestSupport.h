// Shared set-up of the Windows tests of the browser switches: one settings store for the test
// program with the three switches on, setting overrides, and registry keys that are removed
// again when a test created them.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"

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

} // namespace vptest
