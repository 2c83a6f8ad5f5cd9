// TSingleDownloader: one HTTP or HTTPS request at a time on a worker thread of its own
// (TSingleDownloaderThread), the reply as a file or as text, progress and the outcome as
// events on the user-interface thread. Requests use the system's Internet settings, so
// they go out through the proxy that the system switch has set. Events travel through the
// application's message loop, so the application object must exist. Win32 only.
#pragma once

#include "framework/engine/HttpRequest.h"
#include "framework/rtl/Component.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/Threads.h"

#include <atomic>
#include <functional>
#include <memory>

namespace vp {

class TSingleDownloaderThread;

using TOnProgressEvent = std::function<void(TObject* Sender, int32_t iTotalSize, int32_t iReaded)>;
using TOnDoneFileEvent = std::function<void(TObject* Sender, const String& strFileName, int32_t iFileSize)>;
using TOnDoneStringEvent = std::function<void(TObject* Sender, const String& strResult)>;
using TOnLog = std::function<void(const String& aLog)>;

// What a component and its worker share. Abort touches only this, never the worker, which
// may already be gone.
struct TDownloadLink {
    // Set by Abort; the worker checks it between its steps.
    std::atomic<bool> Stop{false};
    // The component's completion step; user-interface thread only, cleared by Abort. While
    // it is set, progress reaches the component too.
    std::function<void(TSingleDownloaderThread& aWorker)> OnEnd;
    // The request has ended or was aborted (user-interface thread only).
    bool Ended = false;
};

class TSingleDownloaderThread : public TThread, public TPersistent {
    VP_CLASS(TSingleDownloaderThread)
public:
    // Copies the request and frees itself when it ends. Start it after Attach.
    TSingleDownloaderThread(const String& aAcceptTypes, const String& aAgent, const String& aURL,
        const String& aFileName, const String& aUserName, const String& aPassword, const String& aContentType,
        const String& aPostQuery, const String& aReferer, bool aBinaryData, bool aUseCache,
        TOnProgressEvent aProgress, TOnLog aOnLog, bool aToFile, THttpCharset aCharset,
        THttpTimeouts aTimeouts = {});

    // Joins the worker to a component's link: the end-of-run handler and the stop request.
    void Attach(std::shared_ptr<TDownloadLink> aLink);

    bool ToFile() const { return FTToFile; }

    // The outcome, readable once the run has ended (in the end-of-run handler).
    bool FTResult = false;
    String FTStringResult;
    int32_t FTFileSize = 0;
    String FTFileName;

protected:
    void Execute() override;

private:
    bool StopRequested() const { return Terminated() || (FLink && FLink->Stop); }
    void Log(const String& aText) const;
    void Run();
    void Progress();
    // aRequest is the open request handle.
    bool ReceiveToFile(void* aRequest, bool aLengthAnnounced);
    bool ReceiveToText(void* aRequest);
    // Reads the body chunk by chunk, counting and reporting progress, and hands each chunk to
    // aTake; false on a stop, a failed count or a refused chunk.
    bool ReceiveBody(void* aRequest, const std::function<bool(const std::string&)>& aTake);
    // Reads the next chunk into aChunk; false at the end of the body or on a failed read.
    bool ReadChunk(void* aRequest, std::string& aChunk);
    // Counts a chunk; false when the body grows past the 2 GiB limit.
    bool CountChunk(size_t aSize);

    String FTAcceptTypes;
    String FTAgent;
    String FTURL;
    String FTUserName;
    String FTPassword;
    String FTContentType;
    String FTPostQuery;
    String FTReferer;
    bool FTBinaryData;
    bool FTUseCache;
    TOnProgressEvent FTProgress;
    TOnLog FOnLog;
    THttpCharset FHttpCharset;
    bool FTToFile;
    THttpTimeouts FTimeouts;
    std::shared_ptr<TDownloadLink> FLink;

    uint32_t BytesToRead = 0;
    uint32_t BytesReaded = 0;
    bool FHttpSSL = false;
};

class TSingleDownloader : public TComponent {
    VP_CLASS(TSingleDownloader)
public:
    explicit TSingleDownloader(TComponent* aOwner);
    // Aborts a running request first.
    ~TSingleDownloader() override;

    // Start a request whose reply goes to FileName, or becomes text. Ignored while one runs.
    void GetFile();
    void GetString();
    // Stops waiting for the running request: no event of it arrives afterwards, and a new
    // request may start at once.
    void Abort();
    // PostQuery := the URL-encoded form of the name=value lines.
    void SetPostValues(const TStringList& slValues);
    // ContentType and PostQuery := the multipart form of the values and files.
    void SetUploadFiles(const TStringList& slValues, const TStringList& slFiles);

    // A request is running.
    bool Busy() const { return FThread != nullptr; }
    // The outcome of the last request that ended; whether it was aborted.
    bool LastResult() const { return FResult; }
    bool Aborted() const { return FAbort; }

    String AcceptTypes() const { return FAcceptTypes; }
    void SetAcceptTypes(const String& value) { FAcceptTypes = value; }
    String Agent() const { return FAgent; }
    void SetAgent(const String& value) { FAgent = value; }
    String URL() const { return FURL; }
    void SetURL(const String& value) { FURL = value; }
    String FileName() const { return FFileName; }
    void SetFileName(const String& value) { FFileName = value; }
    String UserName() const { return FUserName; }
    void SetUserName(const String& value) { FUserName = value; }
    String Password() const { return FPassword; }
    void SetPassword(const String& value) { FPassword = value; }
    String ContentType() const { return FContentType; }
    void SetContentType(const String& value) { FContentType = value; }
    String PostQuery() const { return FPostQuery; }
    void SetPostQuery(const String& value) { FPostQuery = value; }
    String Referer() const { return FReferer; }
    void SetReferer(const String& value) { FReferer = value; }

    bool BinaryData() const { return FBinaryData; }
    void SetBinaryData(bool value) { FBinaryData = value; }
    bool UseCache() const { return FUseCache; }
    void SetUseCache(bool value) { FUseCache = value; }
    bool WaitThread() const { return FWaitThread; }
    void SetWaitThread(bool value) { FWaitThread = value; }
    THttpCharset HttpCharset() const { return FHttpCharset; }
    void SetHttpCharset(THttpCharset value) { FHttpCharset = value; }

    // Connect and receive time-outs of the requests started from now on.
    THttpTimeouts Timeouts;

    TOnProgressEvent OnProgress;
    TOnDoneFileEvent OnDoneFile;
    TOnDoneStringEvent OnDoneString;
    TNotifyEvent OnError;
    // Trace lines; called on the worker thread.
    TOnLog OnLog;

private:
    void Start(bool aToFile);
    void WaitForThread();
    void ThreadDone(TSingleDownloaderThread& aWorker);

    String FAcceptTypes = u"*/*";
    String FAgent;
    String FURL;
    String FFileName;
    String FUserName;
    String FPassword;
    String FContentType;
    String FPostQuery;
    String FReferer;
    bool FBinaryData = false;
    bool FUseCache = false;
    bool FWaitThread = false;
    THttpCharset FHttpCharset = KAnsi;

    TSingleDownloaderThread* FThread = nullptr;
    std::shared_ptr<TDownloadLink> FLink;
    bool FResult = false;
    bool FAbort = false;
};

} // namespace vp
