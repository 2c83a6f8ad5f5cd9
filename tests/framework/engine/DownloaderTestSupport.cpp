#include "DownloaderTestSupport.h"

#include "framework/config/CLUtils.h"
#include "framework/ui/UiTestSupport.h"

namespace vptest {

using namespace vp;

void TDownloadEvents::Bind(TSingleDownloader& aDownloader)
{
    FComponent = &aDownloader;
    aDownloader.OnProgress = [this](TObject* Sender, int32_t iTotalSize, int32_t iReaded) {
        Note("progress");
        Progress.emplace_back(iTotalSize, iReaded);
        if (Sender == FComponent || !dynamic_cast<TSingleDownloaderThread*>(Sender))
            ProgressFromWorker = false;
    };
    aDownloader.OnDoneFile = [this](TObject*, const String& strFileName, int32_t iFileSize) {
        Note("file");
        FileName = strFileName;
        FileSize = iFileSize;
    };
    aDownloader.OnDoneString = [this](TObject*, const String& strResult) {
        Note("string");
        Text = strResult;
    };
    aDownloader.OnError = [this](TObject*) { Note("error"); };
}

void TDownloadEvents::Note(const char* what)
{
    Order.emplace_back(what);
    if (GetCurrentThreadId() != FThread)
        AllOnThisThread = false;
}

int TDownloadEvents::FinalCount() const
{
    int count = 0;
    for (const std::string& what : Order)
        if (what != "progress")
            ++count;
    return count;
}

bool TDownloadEvents::WaitEnded(unsigned timeoutMs) const
{
    return PumpUntil([this] { return Ended(); }, timeoutMs);
}

std::set<String> DownloaderTempFiles()
{
    TStringList names;
    ListFiles(PathJoin(GetTempFolder(), u"sg*.tmp"), names, false);
    return std::set<String>(names.begin(), names.end());
}

} // namespace vptest
