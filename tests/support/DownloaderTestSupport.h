// What the downloader tests under Wine share: a recorder of the component's events, and
// the temporary files the worker leaves in the temporary folder.
#pragma once

#include "framework/engine/SingleDownloader.h"

#include <windows.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace vptest {

// Everything a downloader reported, in order, and on which thread.
class TDownloadEvents {
public:
    // Binds OnProgress, OnDoneFile, OnDoneString and OnError of aDownloader.
    void Bind(vp::TSingleDownloader& aDownloader);

    // "progress", "file", "string" or "error", one entry per event.
    std::vector<std::string> Order;
    std::vector<std::pair<int32_t, int32_t>> Progress;
    vp::String FileName;
    int32_t FileSize = -1;
    vp::String Text;
    // Each event's thread was this one.
    bool AllOnThisThread = true;
    // Sender of the progress events was not the component (it is the worker).
    bool ProgressFromWorker = true;

    // OnDoneFile, OnDoneString or OnError arrived.
    bool Ended() const { return FinalCount() > 0; }
    int FinalCount() const;
    // Pumps messages until an ending event arrived or timeoutMs passed.
    bool WaitEnded(unsigned timeoutMs = 20000) const;

private:
    void Note(const char* what);

    DWORD FThread = GetCurrentThreadId();
    vp::TSingleDownloader* FComponent = nullptr;
};

// The names of the downloader's temporary files ("sg*.tmp") now in the temporary folder.
std::set<vp::String> DownloaderTempFiles();

// Points this process's temporary folder (TMP and TEMP) at a folder of its own while the
// object lives, so that the temporary files of tests running beside it stay apart.
class TPrivateTempFolder {
public:
    TPrivateTempFolder();
    ~TPrivateTempFolder();
    TPrivateTempFolder(const TPrivateTempFolder&) = delete;
    TPrivateTempFolder& operator=(const TPrivateTempFolder&) = delete;

private:
    std::filesystem::path FFolder;
    std::wstring FOldTmp;
    std::wstring FOldTemp;
};

} // namespace vptest
