#include "framework/engine/SingleDownloader.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/engine/FilePostGen.h"
#include "framework/engine/WinInetSession.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinHandles.h"
#include "framework/rtl/WinText.h"
#include "framework/rtl/ErrorReport.h"

namespace vp {

namespace {

constexpr DWORD kChunkSize = 16384;

// The temporary file of a file-mode transfer, removed when the transfer is over whatever
// its outcome: the target holds the body, the copy in the temporary folder is only clutter.
class TTemporaryFile {
public:
    explicit TTemporaryFile(const String& path) : FPath(path)
    {
        // Plain attributes: the copy over the target takes them over.
        FHandle.Reset(CreateFileW(
            WStr(FPath), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    ~TTemporaryFile()
    {
        Close();
        if (FCreated)
            DeleteFileW(WStr(FPath));
    }
    TTemporaryFile(const TTemporaryFile&) = delete;
    TTemporaryFile& operator=(const TTemporaryFile&) = delete;

    bool Opened()
    {
        FCreated = FHandle.Valid();
        return FCreated;
    }
    bool Write(const std::string& bytes)
    {
        DWORD written = 0;
        return WriteFile(FHandle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
    }
    void Close() { FHandle.Reset(); }
    const String& Path() const { return FPath; }

private:
    String FPath;
    TKernelHandle FHandle;
    bool FCreated = false;
};

// MakeTempFileName draws from the process's random generator, which belongs to the
// user-interface thread.
String NewTemporaryFileName()
{
    String name;
    TThread::Synchronize([&] { name = MakeTempFileName(GetTempFolder(), u"sg", u"tmp"); });
    return name;
}

} // namespace

// ---- TSingleDownloaderThread ----

const TClassInfo& TSingleDownloaderThread::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TSingleDownloaderThread, TPersistent>(u"TSingleDownloaderThread").Build();
    return info;
}

TSingleDownloaderThread::TSingleDownloaderThread(const String& aAcceptTypes, const String& aAgent,
    const String& aURL, const String& aFileName, const String& aUserName, const String& aPassword,
    const String& aContentType, const String& aPostQuery, const String& aReferer, bool aBinaryData,
    bool aUseCache, TOnProgressEvent aProgress, TOnLog aOnLog, bool aToFile, THttpCharset aCharset,
    THttpTimeouts aTimeouts)
    : TThread(),
      FTFileName(aFileName),
      FTAcceptTypes(aAcceptTypes),
      FTAgent(aAgent),
      FTURL(aURL),
      FTUserName(aUserName),
      FTPassword(aPassword),
      FTContentType(aContentType),
      FTPostQuery(aPostQuery),
      FTReferer(aReferer),
      FTBinaryData(aBinaryData),
      FTUseCache(aUseCache),
      FTProgress(std::move(aProgress)),
      FOnLog(std::move(aOnLog)),
      FHttpCharset(aCharset),
      FTToFile(aToFile),
      FTimeouts(aTimeouts)
{
    FreeOnTerminate = true;
    // Set once, before the run: the handler it calls lives in the link, where Abort clears it.
    OnTerminate = [this](TThread*) {
        if (FLink && FLink->OnEnd) {
            auto onEnd = FLink->OnEnd;
            onEnd(*this);
        }
    };
}

void TSingleDownloaderThread::Attach(std::shared_ptr<TDownloadLink> aLink)
{
    FLink = std::move(aLink);
}

void TSingleDownloaderThread::Log(const String& aText) const
{
    if (FOnLog)
        FOnLog(aText);
}

void TSingleDownloaderThread::Execute()
{
    try {
        Run();
    } catch (...) {
        // A bad announced length, a temporary file or target folder that cannot be made:
        // the request fails without a message.
        FTResult = false;
    }
}

void TSingleDownloaderThread::Run()
{
    FTResult = false;
    TSplitURL url = SplitURL(FTURL);
    FHttpSSL = url.Secure;
    Log(u"ParseURL: " + FTURL);
    Log(u"ParseURL: " + url.Host);
    Log(u"ParseURL: " + url.Path);
    if (StopRequested())
        return;

    TInternetHandle session(InternetOpenW(
        FTAgent.empty() ? nullptr : WStr(FTAgent), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session)
        return;
    ApplyTimeouts(session.Get(), FTimeouts);
    TInternetHandle connection(InternetConnectW(session.Get(), WStr(url.Host), url.Port, WStr(FTUserName),
        WStr(FTPassword), INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return;

    String verb = RequestVerb(FTPostQuery);
    Log(verb);
    String accept = FTAcceptTypes.empty() ? String(u"*") : FTAcceptTypes;
    const wchar_t* acceptTypes[] = {WStr(accept), nullptr};
    TInternetHandle request(HttpOpenRequestW(connection.Get(), WStr(verb), WStr(url.Path), L"HTTP/1.0",
        WStr(FTReferer), acceptTypes, RequestFlags(FHttpSSL, FTUseCache), 0));
    Log(request ? u"HttpOpenRequest ok!" : u"HttpOpenRequest failed!");
    if (!request)
        return;
    ApplyTimeouts(request.Get(), FTimeouts);

    BOOL sent = FALSE;
    if (FTPostQuery.empty()) {
        sent = HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0);
    } else {
        String headers = RequestHeaders(FTContentType);
        std::string body = RequestBodyBytes(FTPostQuery);
        sent = HttpSendRequestW(request.Get(), WStr(headers), static_cast<DWORD>(headers.size()), body.data(),
            static_cast<DWORD>(body.size()));
    }
    if (!sent || StopRequested())
        return;

    std::optional<String> length = QueryReplyHeader(request.Get(), HTTP_QUERY_CONTENT_LENGTH);
    if (StopRequested())
        return;
    if (!length && FTBinaryData)
        return;
    if (length) {
        std::optional<int32_t> value = ParseAnnouncedLength(*length);
        if (!value)
            return;
        FTFileSize = *value;
    }
    BytesReaded = 0;
    FTResult = FTToFile ? ReceiveToFile(request.Get(), length.has_value()) : ReceiveToText(request.Get());
}

bool TSingleDownloaderThread::ReadChunk(void* aRequest, std::string& aChunk)
{
    aChunk.resize(kChunkSize);
    DWORD got = 0;
    if (!InternetReadFile(static_cast<HINTERNET>(aRequest), aChunk.data(), kChunkSize, &got) || got == 0)
        return false;
    aChunk.resize(got);
    BytesToRead = got;
    return true;
}

bool TSingleDownloaderThread::CountChunk(size_t aSize)
{
    uint64_t total = static_cast<uint64_t>(BytesReaded) + aSize;
    if (total > static_cast<uint64_t>(INT32_MAX))
        return false;
    BytesReaded = static_cast<uint32_t>(total);
    return true;
}

void TSingleDownloaderThread::Progress()
{
    if (!FTProgress)
        return;
    Synchronize([this] {
        // After Abort the component hears nothing more of this request.
        if (FLink && FLink->OnEnd)
            GuardCall([this] { FTProgress(this, FTFileSize, static_cast<int32_t>(BytesReaded)); });
    });
}

bool TSingleDownloaderThread::ReceiveBody(
    void* aRequest, const std::function<bool(const std::string&)>& aTake)
{
    std::string chunk;
    while (true) {
        if (StopRequested())
            return false;
        if (!ReadChunk(aRequest, chunk))
            return true;
        if (!CountChunk(chunk.size()) || !aTake(chunk))
            return false;
        if (StopRequested())
            return false;
        Progress();
    }
}

bool TSingleDownloaderThread::ReceiveToFile(void* aRequest, bool aLengthAnnounced)
{
    String tempName = NewTemporaryFileName();
    if (tempName.empty())
        return false;
    TTemporaryFile temp(tempName);
    if (!temp.Opened())
        return false;
    if (!ReceiveBody(aRequest, [&](const std::string& chunk) { return temp.Write(chunk); }))
        return false;
    temp.Close();
    TFileTransferOutcome outcome = FileTransferOutcome(aLengthAnnounced, FTFileSize, BytesReaded);
    if (!outcome.CopyToTarget || StopRequested())
        return false;
    String folder = ExtractFilePath(FTFileName);
    if (!folder.empty() && !ForceDirectories(folder))
        return false;
    if (!CopyFileW(WStr(temp.Path()), WStr(FTFileName), FALSE))
        return false;
    return outcome.Result;
}

bool TSingleDownloaderThread::ReceiveToText(void* aRequest)
{
    std::string body;
    if (!ReceiveBody(aRequest, [&](const std::string& chunk) {
            body += chunk;
            return true;
        }))
        return false;
    FTStringResult = DecodeReplyText(body, FHttpCharset);
    return !body.empty();
}

// ---- TSingleDownloader ----

const TClassInfo& TSingleDownloader::StaticClassInfo()
{
    using T = TSingleDownloader;
    static const TClassInfo info =
        TClassBuilder<T, TComponent>(u"TSingleDownloader")
            .AnsiText(u"AcceptTypes", u"string", &T::AcceptTypes, &T::SetAcceptTypes)
            .AnsiText(u"Agent", u"string", &T::Agent, &T::SetAgent)
            .Other(u"BinaryData", u"Boolean")
            .AnsiText(u"ContentType", u"string", &T::ContentType, &T::SetContentType)
            .AnsiText(u"FileName", u"string", &T::FileName, &T::SetFileName)
            .Other(u"HttpCharset", u"THttpCharset")
            .Other(u"OnDoneFile", u"TOnDoneFileEvent")
            .Other(u"OnDoneString", u"TOnDoneStringEvent")
            .Other(u"OnError", u"TNotifyEvent")
            .Other(u"OnLog", u"TOnLog")
            .Other(u"OnProgress", u"TOnProgressEvent")
            .AnsiText(u"Password", u"string", &T::Password, &T::SetPassword)
            .AnsiText(u"PostQuery", u"string", &T::PostQuery, &T::SetPostQuery)
            .AnsiText(u"Referer", u"string", &T::Referer, &T::SetReferer)
            .AnsiText(u"URL", u"string", &T::URL, &T::SetURL)
            .Other(u"UseCache", u"Boolean")
            .AnsiText(u"UserName", u"string", &T::UserName, &T::SetUserName)
            .Other(u"WaitThread", u"Boolean")
            .Build();
    return info;
}

TSingleDownloader::TSingleDownloader(TComponent* aOwner) : TComponent(aOwner)
{
}

TSingleDownloader::~TSingleDownloader()
{
    Abort();
}

void TSingleDownloader::GetFile()
{
    Start(true);
}

void TSingleDownloader::GetString()
{
    Start(false);
}

void TSingleDownloader::Start(bool aToFile)
{
    if (FThread)
        return;
    FAbort = false;
    auto link = std::make_shared<TDownloadLink>();
    link->OnEnd = [this](TSingleDownloaderThread& aWorker) { ThreadDone(aWorker); };
    auto* worker =
        new TSingleDownloaderThread(FAcceptTypes, FAgent, FURL, FFileName, FUserName, FPassword, FContentType,
            FPostQuery, FReferer, FBinaryData, FUseCache, OnProgress, OnLog, aToFile, FHttpCharset, Timeouts);
    worker->Attach(link);
    FThread = worker;
    FLink = link;
    worker->Start();
    if (FWaitThread)
        WaitForThread();
}

void TSingleDownloader::WaitForThread()
{
    // The link, not the component: a handler run by this loop may free the component.
    std::shared_ptr<TDownloadLink> link = FLink;
    bool quit = false;
    WPARAM quitCode = 0;
    while (link && !link->Ended) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quit = true;
                quitCode = msg.wParam;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        }
    }
    if (quit)
        PostQuitMessage(static_cast<int>(quitCode)); // for the loop that runs outside
}

void TSingleDownloader::ThreadDone(TSingleDownloaderThread& aWorker)
{
    if (!FThread)
        return;
    FThread = nullptr;
    FLink->Ended = true;
    FLink.reset();
    FResult = aWorker.FTResult;
    if (FResult) {
        if (aWorker.ToFile()) {
            TOnDoneFileEvent handler = OnDoneFile;
            if (handler)
                handler(this, aWorker.FTFileName, aWorker.FTFileSize);
        } else {
            TOnDoneStringEvent handler = OnDoneString;
            if (handler)
                handler(this, aWorker.FTStringResult);
        }
    } else if (!FAbort) {
        TNotifyEvent handler = OnError;
        if (handler)
            handler(this);
    }
}

void TSingleDownloader::Abort()
{
    if (!FThread)
        return;
    FLink->OnEnd = nullptr;
    FLink->Ended = true;
    FLink->Stop = true;
    FLink.reset();
    FThread = nullptr;
    FAbort = true;
}

void TSingleDownloader::SetPostValues(const TStringList& slValues)
{
    FPostQuery = FormEncodeValues(slValues);
}

void TSingleDownloader::SetUploadFiles(const TStringList& slValues, const TStringList& slFiles)
{
    TFilePostGen gen;
    gen.Make(&slValues, &slFiles);
    FContentType = gen.FHeaders;
    FPostQuery = gen.FPostData;
}

} // namespace vp
