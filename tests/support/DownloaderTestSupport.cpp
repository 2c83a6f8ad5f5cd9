#include "support/DownloaderTestSupport.h"

#include "framework/config/CLUtilsWin.h"
#include "support/UiTestSupport.h"

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

namespace {

std::wstring ReadVariable(const wchar_t* name)
{
    wchar_t value[32768];
    DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return length > 0 && length < 32768 ? std::wstring(value, length) : std::wstring();
}

void RestoreVariable(const wchar_t* name, const std::wstring& value)
{
    SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
}

} // namespace

TPrivateTempFolder::TPrivateTempFolder()
    : FFolder(std::filesystem::temp_directory_path() /
          ("vptest-tmp-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()))),
      FOldTmp(ReadVariable(L"TMP")),
      FOldTemp(ReadVariable(L"TEMP"))
{
    std::filesystem::create_directories(FFolder);
    SetEnvironmentVariableW(L"TMP", FFolder.c_str());
    SetEnvironmentVariableW(L"TEMP", FFolder.c_str());
}

TPrivateTempFolder::~TPrivateTempFolder()
{
    RestoreVariable(L"TMP", FOldTmp);
    RestoreVariable(L"TEMP", FOldTemp);
    std::error_code ignored;
    std::filesystem::remove_all(FFolder, ignored);
}

} // namespace vptest
