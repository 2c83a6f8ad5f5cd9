// Helpers for the tests that run under Wine against the real registry and processes.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "framework/rtl/WinHandles.h"

#include <optional>
#include <vector>

namespace vptest {

// The folder of the running test program, ending in "\".
vp::String TestExeFolder();
// recordargs.exe beside the test program.
vp::String RecordArgsPath();

struct TRecord {
    vp::String CommandLine;
    vp::String WorkingFolder;
};
// What recordargs.exe wrote into the file; waits up to timeoutMs for at least minCount records.
std::vector<TRecord> ReadRecords(const vp::String& recordFile, size_t minCount = 0, DWORD timeoutMs = 0);

// Real X input on the display Wine draws on: starts xdotool with the arguments ("mousemove 10
// 20 click 1", "key Escape"). It is a Linux program: Wine may give no process handle to wait
// on, so callers wait for what the input does. False when it did not start or failed.
bool StartXdotool(const vp::String& arguments);

// Starts a command line and waits for it; the exit code, or -1 when it did not start.
int RunAndWait(const vp::String& commandLine, DWORD timeoutMs = 30000);

// Puts a registry value (or its absence) back as it was when the guard was made.
class TRegistryValueGuard {
public:
    TRegistryValueGuard(HKEY root, vp::String keyPath, vp::String valueName);
    ~TRegistryValueGuard();
    TRegistryValueGuard(const TRegistryValueGuard&) = delete;
    TRegistryValueGuard& operator=(const TRegistryValueGuard&) = delete;

private:
    HKEY FRoot;
    vp::String FKeyPath;
    vp::String FValueName;
    std::optional<std::vector<BYTE>> FData;
    DWORD FType = REG_SZ;
};

// Opens a file the way another program may hold it (a virus scanner, a backup tool): share
// mode 0 keeps everyone else out, FILE_SHARE_READ lets others read it but not replace it.
vp::TKernelHandle HoldFile(const vp::String& path, DWORD shareMode);

void SetRegistryString(
    HKEY root, const vp::String& keyPath, const vp::String& valueName, const vp::String& value);
void DeleteRegistryValue(HKEY root, const vp::String& keyPath, const vp::String& valueName);

} // namespace vptest
