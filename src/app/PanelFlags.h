// The flags on the panel's cards. A card names its flag by a local path or a web address: a
// local picture is read when first asked for; a web address is downloaded in the background
// into a temporary file, read, and kept for the rest of the run, so each address is fetched
// once. The owner hears when a picture arrives. Win32 only.
#pragma once

#include "framework/ui/GdiPlus.h"
#include "framework/engine/SingleDownloader.h"

#include <functional>
#include <map>
#include <vector>

namespace vp {

// Larger files and pictures are not read: a flag or a panel picture is small.
constexpr size_t kPanelMaxPictureFileSize = 4 * 1024 * 1024;
constexpr UINT kPanelMaxPictureSide = 4096;

// A flag, background or logo picture, keeping no hold on its file; nullptr when unusable.
inline std::unique_ptr<Gdiplus::Bitmap> LoadPanelPicture(StringView path)
{
    return LoadPictureFile(path, kPanelMaxPictureFileSize, kPanelMaxPictureSide);
}

// After a failed download an address is tried again only once this long has passed.
constexpr int64_t kPanelFlagRetryMs = 60 * 1000;

// "http://" and "https://" addresses, in any letter case.
bool IsWebAddress(StringView address);

class TPanelFlagCache {
public:
    explicit TPanelFlagCache(std::function<void()> onArrived);
    ~TPanelFlagCache();
    TPanelFlagCache(const TPanelFlagCache&) = delete;
    TPanelFlagCache& operator=(const TPanelFlagCache&) = delete;

    // Reads or starts fetching the flag unless it is here or on its way (never blocks on the
    // network). nowMs decides whether a failed address is tried again.
    void Request(const String& address, int64_t nowMs);
    // The picture, or nullptr: none asked for, on its way, or none to be had.
    Gdiplus::Bitmap* Find(const String& address) const;
    // Downloads on their way.
    size_t PendingCount() const;

private:
    enum class TState { Pending, Ready, Failed };
    struct TEntry {
        TState State = TState::Pending;
        std::unique_ptr<Gdiplus::Bitmap> Picture;
        int64_t FailedAtMs = 0;
        String TempFile;
    };

    void StartDownload(const String& address, TEntry& entry);
    void DownloadEnded(const String& address, bool succeeded);
    TSingleDownloader& IdleDownloader();

    // GDI+ outlives the pictures.
    std::function<void()> FOnArrived;
    std::map<String, TEntry> FEntries;
    // As many as there were downloads at the same time; an idle one takes the next address.
    std::vector<std::unique_ptr<TSingleDownloader>> FDownloaders;
    int64_t FLastNowMs = 0;
};

} // namespace vp
