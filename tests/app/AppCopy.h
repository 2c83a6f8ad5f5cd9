// A copy of instancetestapp.exe in a folder of its own, with its own const.dat, whose
// processes the tests start and whose record lines they read.
#pragma once

#include <windows.h>

#include "framework/rtl/StringList.h"
#include "support/TestSupport.h"

#include <vector>

namespace vptest {

class TAppCopy {
public:
    // settings: name=value lines of the "setting" section of const.dat. A unique App.GUID,
    // App.ID and App.ConfigPath are added unless given.
    explicit TAppCopy(const vp::TStringList& settings = {});
    ~TAppCopy();

    // Starts a copy with the command-line arguments; env: NAME=value lines for it.
    HANDLE Start(const vp::String& arguments, const vp::TStringList& env = {});
    // Runs a copy to its end; its exit code, or -1 when it did not end in time.
    int Run(const vp::String& arguments, const vp::TStringList& env = {}, DWORD timeoutMs = 30000);

    std::vector<vp::String> Lines() const;
    bool WaitForLine(const vp::String& line, DWORD timeoutMs = 30000) const
    {
        return WaitForLines(line, 1, timeoutMs);
    }
    // Until the line stands at least count times.
    bool WaitForLines(const vp::String& line, int count, DWORD timeoutMs = 30000) const;
    int CountLines(const vp::String& line) const;
    static bool WaitForExit(HANDLE process, DWORD timeoutMs = 30000);
    // The copy's main window (class TfrmMain answering "CL GetAppID" with its App.ID), seen
    // from outside; visible or hidden; nullptr when none.
    HWND Window() const;

    const vp::String& Folder() const { return FFolder; }
    int AppId() const { return FAppId; }

private:
    TTempFolder FTemp;
    vp::String FFolder;
    vp::String FExe;
    vp::String FRecordFile;
    int FAppId = 0;
    std::vector<HANDLE> FProcesses;
};

} // namespace vptest
