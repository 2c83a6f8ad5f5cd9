#include "app/PanelFlags.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/WinText.h"

namespace vp {

bool IsWebAddress(StringView address)
{
    return StartsWithText(address, u"http://") || StartsWithText(address, u"https://");
}

TPanelFlagCache::TPanelFlagCache(std::function<void()> onArrived)
    : FOnArrived(std::move(onArrived))
{
}

TPanelFlagCache::~TPanelFlagCache()
{
    // The downloaders go first: an aborted request reports nothing more.
    FDownloaders.clear();
    for (auto& [address, entry] : FEntries)
        if (!entry.TempFile.empty())
            DeleteFileW(WStr(entry.TempFile));
}

void TPanelFlagCache::Request(const String& address, int64_t nowMs)
{
    FLastNowMs = nowMs;
    if (address.empty())
        return;
    auto found = FEntries.find(address);
    if (found != FEntries.end()) {
        TEntry& entry = found->second;
        if (entry.State == TState::Failed && IsWebAddress(address) && nowMs - entry.FailedAtMs >= kPanelFlagRetryMs)
            StartDownload(address, entry);
        return;
    }
    TEntry& entry = FEntries[address];
    if (IsWebAddress(address)) {
        StartDownload(address, entry);
        return;
    }
    // A local picture: read now, once. A missing file stays missing for the run.
    entry.Picture = LoadPanelPicture(address);
    entry.State = entry.Picture ? TState::Ready : TState::Failed;
}

Gdiplus::Bitmap* TPanelFlagCache::Find(const String& address) const
{
    auto found = FEntries.find(address);
    return found == FEntries.end() ? nullptr : found->second.Picture.get();
}

size_t TPanelFlagCache::PendingCount() const
{
    size_t count = 0;
    for (const auto& [address, entry] : FEntries)
        count += entry.State == TState::Pending ? 1 : 0;
    return count;
}

TSingleDownloader& TPanelFlagCache::IdleDownloader()
{
    for (auto& downloader : FDownloaders)
        if (!downloader->Busy())
            return *downloader;
    auto downloader = std::make_unique<TSingleDownloader>(nullptr);
    downloader->SetAcceptTypes(u"*/*");
    downloader->SetBinaryData(true);
    downloader->SetUseCache(false);
    downloader->SetWaitThread(false);
    downloader->SetHttpCharset(KAnsi);
    FDownloaders.push_back(std::move(downloader));
    return *FDownloaders.back();
}

void TPanelFlagCache::StartDownload(const String& address, TEntry& entry)
{
    entry.State = TState::Pending;
    entry.TempFile = MakeTempFileName(GetTempFolder(), u"vpflag", u"tmp");
    if (entry.TempFile.empty()) {
        entry.State = TState::Failed;
        entry.FailedAtMs = FLastNowMs;
        return;
    }
    TSingleDownloader& downloader = IdleDownloader();
    downloader.SetURL(address);
    downloader.SetFileName(entry.TempFile);
    downloader.OnDoneFile = [this, address](TObject*, const String&, int32_t) { DownloadEnded(address, true); };
    downloader.OnError = [this, address](TObject*) { DownloadEnded(address, false); };
    downloader.GetFile();
}

void TPanelFlagCache::DownloadEnded(const String& address, bool succeeded)
{
    auto found = FEntries.find(address);
    if (found == FEntries.end())
        return;
    TEntry& entry = found->second;
    if (succeeded)
        entry.Picture = LoadPanelPicture(entry.TempFile);
    DeleteFileW(WStr(entry.TempFile));
    entry.TempFile.clear();
    entry.State = entry.Picture ? TState::Ready : TState::Failed;
    entry.FailedAtMs = FLastNowMs; // the time of the last request: the cache keeps no clock
    if (entry.Picture && FOnArrived)
        FOnArrived();
}

} // namespace vp
