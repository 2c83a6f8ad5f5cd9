// What the end-to-end tests share: the laid-out install folder of this build and the real
// program's processes and main window.
#pragma once

#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "support/TestSupport.h"

#include <vector>

namespace vptest {

// The install folder that scripts/layout laid out for this build (target "layout"), ending in "\".
vp::String LayoutFolder();

// Starts a command line with the given working folder; the process handle (the caller closes
// it) or nullptr.
HANDLE StartProgram(const vp::String& commandLine, const vp::String& folder);

// The main window of the copy whose "App.ID" is appId, once it answers the instance protocol
// and is no longer busy; nullptr after timeoutMs.
HWND WaitUntilReady(int appId, DWORD timeoutMs = 30000);

DWORD ExitCode(HANDLE process);

// The user's settings file of a program whose settings folder is named configWord: the
// all-users folder when the program chose it, else the per-user one.
vp::String UserSettingFile(const vp::String& configWord);

// The laid-out install folder copied to a folder of its own. An oem.const.dat gives the
// program an identity of its own, so it meets no other copy.
class TInstalledVeilport {
public:
    // oemLines: further lines of the section "setting" of oem.const.dat.
    explicit TInstalledVeilport(const vp::String& oemLines = u"");
    // Ends the copies still running.
    ~TInstalledVeilport();
    TInstalledVeilport(const TInstalledVeilport&) = delete;
    TInstalledVeilport& operator=(const TInstalledVeilport&) = delete;

    HANDLE Start(const vp::String& arguments);
    HWND WaitUntilReady() const { return vptest::WaitUntilReady(FAppId); }
    vp::String UserSettingFile() const { return vptest::UserSettingFile(FConfigPath); }
    int AppId() const { return FAppId; }
    const vp::String& Folder() const { return FFolder; }
    // The title the engine gives the main window: the name, two blanks, the version.
    vp::String Title() const;

private:
    TTempFolder FTemp;
    vp::String FFolder;
    vp::String FConfigPath;
    int FAppId = 0;
    std::vector<HANDLE> FProcesses;
};

} // namespace vptest
