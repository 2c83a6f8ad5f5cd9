// The downloader under Wine against a server on 127.0.0.1 that records what arrives.
#include "support/UiTestSupport.h"
#include "support/DownloaderTestSupport.h"
#include "support/LoopbackHttpServer.h"

#include "framework/engine/FilePostGen.h"
#include "framework/rtl/FileUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>

using namespace vp;
using namespace vptest;

namespace {

std::string Generated(uint64_t size)
{
    std::string bytes(static_cast<size_t>(size), '\0');
    for (uint64_t i = 0; i < size; ++i)
        bytes[static_cast<size_t>(i)] = GeneratedByte(i);
    return bytes;
}

String ToProgramText(const std::filesystem::path& path)
{
    return path.u16string();
}

class SingleDownloaderTest : public testing::Test {
protected:
    TApplicationScope App;
    TTempFolder Temp;
    TPrivateTempFolder PrivateTemp;
};

TEST_F(SingleDownloaderTest, PropertiesAfterConstruction)
{
    TSingleDownloader sd(nullptr);
    EXPECT_EQ(sd.AcceptTypes(), u"*/*");
    EXPECT_EQ(sd.Agent(), u"");
    EXPECT_EQ(sd.URL(), u"");
    EXPECT_EQ(sd.FileName(), u"");
    EXPECT_EQ(sd.UserName(), u"");
    EXPECT_EQ(sd.Password(), u"");
    EXPECT_EQ(sd.ContentType(), u"");
    EXPECT_EQ(sd.PostQuery(), u"");
    EXPECT_EQ(sd.Referer(), u"");
    EXPECT_FALSE(sd.BinaryData());
    EXPECT_FALSE(sd.UseCache());
    EXPECT_FALSE(sd.WaitThread());
    EXPECT_EQ(sd.HttpCharset(), KAnsi);
    EXPECT_FALSE(sd.Busy());

    // The published text properties read and write through the component.
    const TPropInfo* url = sd.ClassInfo().FindProperty(u"URL");
    ASSERT_NE(url, nullptr);
    url->SetText(sd, u"http://127.0.0.1/x");
    EXPECT_EQ(sd.URL(), u"http://127.0.0.1/x");
    EXPECT_EQ(sd.ClassInfo().FindProperty(u"AcceptTypes")->GetText(sd), u"*/*");
    for (const char16_t* name : {u"BinaryData", u"UseCache", u"WaitThread", u"HttpCharset", u"OnDoneFile",
             u"OnDoneString", u"OnError", u"OnProgress", u"OnLog", u"FileName", u"PostQuery"})
        EXPECT_NE(sd.ClassInfo().FindProperty(name), nullptr) << std::string(name, name + 1);
}

TEST_F(SingleDownloaderTest, TextModeSendsAnHttp10GetAndReportsOnTheUserInterfaceThread)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "magicword=abc\r\nResult=1\r\n";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    std::vector<String> log;
    sd.OnLog = [&](const String& line) { log.push_back(line); };
    sd.SetAgent(u"VeilportTest/1.0");
    sd.SetReferer(u"http://referrer.invalid/page");
    sd.SetURL(server.URL("/update?x=1&y=2"));
    sd.GetString();
    EXPECT_TRUE(sd.Busy());
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order, (std::vector<std::string>{"progress", "string"}));
    EXPECT_EQ(events.Text, u"magicword=abc\r\nResult=1\r\n");
    EXPECT_TRUE(events.AllOnThisThread);
    EXPECT_TRUE(events.ProgressFromWorker);
    EXPECT_FALSE(sd.Busy());
    EXPECT_TRUE(sd.LastResult());

    ASSERT_EQ(server.RequestCount(), 1u);
    TRecordedRequest request = server.Requests()[0];
    EXPECT_EQ(request.Method, "GET");
    EXPECT_EQ(request.Target, "/update?x=1&y=2");
    EXPECT_EQ(request.Version, "HTTP/1.0");
    EXPECT_EQ(request.Header("Accept"), "*/*");
    EXPECT_EQ(request.Header("User-Agent"), "VeilportTest/1.0");
    EXPECT_EQ(request.Header("Referer"), "http://referrer.invalid/page");
    EXPECT_FALSE(request.HasHeader("Content-Type"));
    EXPECT_EQ(request.Body, "");

    ASSERT_GE(log.size(), 5u);
    EXPECT_EQ(log[0], u"ParseURL: " + server.URL("/update?x=1&y=2"));
    EXPECT_EQ(log[1], u"ParseURL: 127.0.0.1");
    EXPECT_EQ(log[2], u"ParseURL: /update?x=1&y=2");
    EXPECT_EQ(log[3], u"GET");
    EXPECT_EQ(log[4], u"HttpOpenRequest ok!");
}

TEST_F(SingleDownloaderTest, EmptyAcceptTypesOffersAnything)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "x";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetAcceptTypes(u"");
    sd.SetURL(server.URL("/a"));
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(server.Requests().at(0).Header("Accept"), "*");
}

TEST_F(SingleDownloaderTest, TextRepliesDecodeByTheChosenCharset)
{
    const std::string utf8 = "city=M\xC3\xBCnchen \xE2\x82\xAC";
    const std::string utf16 = std::string("c\0i\0t\0y\0=\0\xAC\x20", 12) + "\x41"; // odd last byte dropped
    const std::string ansi = "city=M\xFCnchen";
    std::string body;
    TLoopbackHttpServer server([&](const TRecordedRequest&) {
        TReply reply;
        reply.Body = body;
        return reply;
    });
    struct TCase {
        THttpCharset Charset;
        std::string Body;
        String Expected;
    };
    for (const TCase& c : {TCase{KUTF8, utf8, u"city=M\u00FCnchen \u20AC"},
             TCase{KUnicode, utf16, u"city=\u20AC"}, TCase{KAnsi, ansi, u"city=M\u00FCnchen"}}) {
        body = c.Body;
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetHttpCharset(c.Charset);
        sd.SetURL(server.URL("/text"));
        sd.GetString();
        ASSERT_TRUE(events.WaitEnded());
        EXPECT_EQ(events.Text, c.Expected) << "charset " << c.Charset;
    }
}

TEST_F(SingleDownloaderTest, FileModeReportsProgressInChunksThenStoresTheFileInNewFolders)
{
    const uint64_t size = 200000;
    TLoopbackHttpServer server([&](const TRecordedRequest&) {
        TReply reply;
        reply.StreamBytes = size;
        return reply;
    });
    std::set<String> tempBefore = DownloaderTempFiles();
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    String target = ToProgramText(Temp.Path() / "a" / "b" / "flag.png");
    sd.SetBinaryData(true);
    sd.SetURL(server.URL("/flags/US.PNG"));
    sd.SetFileName(target);
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded());

    ASSERT_EQ(events.Order.back(), "file");
    EXPECT_EQ(events.FinalCount(), 1);
    EXPECT_EQ(events.FileName, target);
    EXPECT_EQ(events.FileSize, static_cast<int32_t>(size));
    EXPECT_TRUE(events.AllOnThisThread);
    // Progress: the announced total every time, counts that grow by at most one chunk, the
    // last one the whole body, all before the completion.
    ASSERT_GE(events.Progress.size(), size / 16384);
    int32_t previous = 0;
    for (auto [total, readed] : events.Progress) {
        EXPECT_EQ(total, static_cast<int32_t>(size));
        EXPECT_GT(readed, previous);
        EXPECT_LE(readed - previous, 16384);
        previous = readed;
    }
    EXPECT_EQ(previous, static_cast<int32_t>(size));
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "a" / "b" / "flag.png"), Generated(size));
    EXPECT_EQ(
        GetFileAttributesW((Temp.Path() / "a" / "b" / "flag.png").c_str()) & FILE_ATTRIBUTE_TEMPORARY, 0u);
    // The temporary copy is gone.
    EXPECT_EQ(DownloaderTempFiles(), tempBefore);
}

TEST_F(SingleDownloaderTest, BinaryDataRefusesARepliesWithoutAnnouncedLength)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "no length here";
        reply.AnnounceLength = false;
        return reply;
    });
    WriteFileBytes(Temp.Path() / "target.bin", "old contents");
    String target = ToProgramText(Temp.Path() / "target.bin");
    for (bool toFile : {true, false}) {
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetBinaryData(true);
        sd.SetURL(server.URL("/nolength"));
        sd.SetFileName(target);
        toFile ? sd.GetFile() : sd.GetString();
        ASSERT_TRUE(events.WaitEnded());
        EXPECT_EQ(events.Order, (std::vector<std::string>{"error"})) << "nothing is read, toFile " << toFile;
        EXPECT_FALSE(sd.LastResult());
    }
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "target.bin"), "old contents");
}

TEST_F(SingleDownloaderTest, WithoutBinaryDataAReplyWithoutLengthIsReadAll)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply;
        reply.Body = request.Target == "/empty" ? "" : "streamed without length";
        reply.AnnounceLength = false;
        return reply;
    });
    String target = ToProgramText(Temp.Path() / "target.txt");
    {
        // Text mode does not look at the length.
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetURL(server.URL("/text"));
        sd.GetString();
        ASSERT_TRUE(events.WaitEnded());
        EXPECT_EQ(events.Order.back(), "string");
        EXPECT_EQ(events.Text, u"streamed without length");
    }
    {
        // File mode writes the body, and fails: 0 announced, more received.
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetURL(server.URL("/file"));
        sd.SetFileName(target);
        sd.GetFile();
        ASSERT_TRUE(events.WaitEnded());
        EXPECT_EQ(events.Order.back(), "error");
        EXPECT_EQ(ReadFileBytes(Temp.Path() / "target.txt"), "streamed without length");
    }
    {
        // An empty body without length: 0 = 0, done.
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetURL(server.URL("/empty"));
        sd.SetFileName(target);
        sd.GetFile();
        ASSERT_TRUE(events.WaitEnded());
        EXPECT_EQ(events.Order, (std::vector<std::string>{"file"}));
        EXPECT_EQ(events.FileSize, 0);
        EXPECT_EQ(ReadFileBytes(Temp.Path() / "target.txt"), "");
    }
}

TEST_F(SingleDownloaderTest, AnEmptyTextReplyIsAFailure)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) { return TReply(); });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/empty"));
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order, (std::vector<std::string>{"error"}));
}

TEST_F(SingleDownloaderTest, ANotFoundPageWithItsLengthIsStoredAndReportedDone)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Status = 404;
        reply.Reason = "Not Found";
        reply.Body = "<html>no such flag</html>";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetBinaryData(true);
    sd.SetURL(server.URL("/flags/XX.PNG"));
    sd.SetFileName(ToProgramText(Temp.Path() / "XX.png"));
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order.back(), "file");
    EXPECT_EQ(events.FileSize, 25);
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "XX.png"), "<html>no such flag</html>");
}

TEST_F(SingleDownloaderTest, AnUnreachableServerGivesOnErrorAndLeavesTheTargetAsItWas)
{
    WriteFileBytes(Temp.Path() / "keep.png", "previous flag");
    std::set<String> tempBefore = DownloaderTempFiles();
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(u"http://127.0.0.1:" + IntToStr(UnusedLoopbackPort()) + u"/flag.png");
    sd.SetFileName(ToProgramText(Temp.Path() / "keep.png"));
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order, (std::vector<std::string>{"error"}));
    EXPECT_FALSE(sd.LastResult());
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "keep.png"), "previous flag");
    EXPECT_EQ(DownloaderTempFiles(), tempBefore);
}

TEST_F(SingleDownloaderTest, AnAddressWithoutPathHasNoHostAndFails)
{
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(u"http://127.0.0.1");
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order, (std::vector<std::string>{"error"}));
}

TEST_F(SingleDownloaderTest, AConnectionCutShortLeavesTheTargetUntouched)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.StreamBytes = 50000;
        reply.AnnouncedLength = 120000;
        return reply;
    });
    WriteFileBytes(Temp.Path() / "flag.png", "complete old flag");
    std::set<String> tempBefore = DownloaderTempFiles();
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetBinaryData(true);
    sd.SetURL(server.URL("/flag.png"));
    sd.SetFileName(ToProgramText(Temp.Path() / "flag.png"));
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order.back(), "error");
    ASSERT_FALSE(events.Progress.empty());
    EXPECT_EQ(events.Progress.back(), std::make_pair(int32_t{120000}, int32_t{50000}));
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "flag.png"), "complete old flag");
    EXPECT_EQ(DownloaderTempFiles(), tempBefore);
}

TEST_F(SingleDownloaderTest, AbortInTheMiddleOfATransferEndsQuietlyAndANewRequestRunsAtOnce)
{
    const uint64_t large = 64ull * 1024 * 1024;
    TLoopbackHttpServer server([&](const TRecordedRequest& request) {
        TReply reply;
        if (request.Target == "/large") {
            reply.StreamBytes = large;
            reply.PieceDelayMs = 5;
        } else {
            reply.Body = "second request";
        }
        return reply;
    });
    WriteFileBytes(Temp.Path() / "large.bin", "before");
    std::set<String> tempBefore = DownloaderTempFiles();
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/large"));
    sd.SetFileName(ToProgramText(Temp.Path() / "large.bin"));
    sd.GetFile();
    ASSERT_TRUE(PumpUntil([&] { return events.Progress.size() >= 3; }));
    // The body is on its way into a temporary file of the temporary folder.
    EXPECT_EQ(DownloaderTempFiles().size(), tempBefore.size() + 1);
    sd.Abort();
    EXPECT_FALSE(sd.Busy());
    EXPECT_TRUE(sd.Aborted());
    size_t progressAtAbort = events.Progress.size();

    // A new request at once, on the same component.
    sd.SetURL(server.URL("/small"));
    sd.GetString();
    EXPECT_TRUE(sd.Busy());
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.Order.back(), "string");
    EXPECT_EQ(events.Text, u"second request");
    EXPECT_FALSE(sd.Aborted());

    // Nothing more of the aborted request: no progress of its own, no second ending.
    PumpUntil([] { return false; }, 1500);
    EXPECT_EQ(events.FinalCount(), 1);
    size_t laterProgress = 0;
    for (size_t i = progressAtAbort; i < events.Progress.size(); ++i)
        if (events.Progress[i].first == static_cast<int32_t>(large))
            ++laterProgress;
    EXPECT_EQ(laterProgress, 0u);
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "large.bin"), "before");
    // The aborted worker has given up its temporary file too.
    EXPECT_TRUE(PumpUntil([&] { return DownloaderTempFiles() == tempBefore; }, 10000));
}

TEST_F(SingleDownloaderTest, AbortFromTheProgressHandlerAndFreeingTheComponentWhileItRuns)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.StreamBytes = 4 * 1024 * 1024;
        reply.PieceDelayMs = 2;
        return reply;
    });
    {
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.OnProgress = [&](TObject*, int32_t, int32_t) {
            events.Order.push_back("progress");
            sd.Abort();
        };
        sd.SetURL(server.URL("/large"));
        sd.GetString();
        ASSERT_TRUE(PumpUntil([&] { return !sd.Busy(); }));
        PumpUntil([] { return false; }, 500);
        EXPECT_EQ(events.Order, (std::vector<std::string>{"progress"}));
    }
    int ended = 0;
    {
        auto* sd = new TSingleDownloader(nullptr);
        sd->OnDoneString = [&](TObject*, const String&) { ++ended; };
        sd->OnError = [&](TObject*) { ++ended; };
        sd->OnProgress = [&](TObject*, int32_t, int32_t) { ++ended; };
        sd->SetURL(server.URL("/large"));
        sd->GetString();
        ASSERT_TRUE(server.WaitForRequests(2));
        delete sd; // aborts
    }
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(ended, 0);
}

TEST_F(SingleDownloaderTest, ASecondStartWhileARequestRunsIsIgnored)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply;
        reply.Body = request.Target;
        reply.DelayMs = 300;
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/first"));
    sd.GetString();
    sd.SetURL(server.URL("/second"));
    sd.GetString();
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded());
    PumpUntil([] { return false; }, 500);
    EXPECT_EQ(events.FinalCount(), 1);
    EXPECT_EQ(events.Text, u"/first");
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(SingleDownloaderTest, WaitThreadReturnsOnlyWhenTheRequestHasEnded)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "waited";
        reply.DelayMs = 200;
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetWaitThread(true);
    sd.SetURL(server.URL("/wait"));
    sd.GetString();
    EXPECT_FALSE(sd.Busy());
    EXPECT_EQ(events.Order.back(), "string");
    EXPECT_EQ(events.Text, u"waited");
}

TEST_F(SingleDownloaderTest, TheDesignedRequestPropertiesMayChangeWhileARequestRuns)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply;
        reply.Body = request.Target;
        reply.DelayMs = 200;
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    String target = ToProgramText(Temp.Path() / "one.txt");
    sd.SetURL(server.URL("/one"));
    sd.SetFileName(target);
    sd.GetFile();
    sd.SetURL(server.URL("/two"));
    sd.SetFileName(ToProgramText(Temp.Path() / "two.txt"));
    ASSERT_TRUE(events.WaitEnded());
    EXPECT_EQ(events.FileName, target);
    EXPECT_EQ(ReadFileBytes(Temp.Path() / "one.txt"), "/one");
    EXPECT_FALSE(std::filesystem::exists(Temp.Path() / "two.txt"));
}

TEST_F(SingleDownloaderTest, FormValuesArePostedUrlEncoded)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "posted";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/form"));
    sd.SetPostValues(TStringList{u"q=a b&c", u"name=Caf\u00E9", u"sym=*@._-$!'()~"});
    EXPECT_EQ(sd.PostQuery(), u"q=a+b%26c&name=Caf%E9&sym=*@._-$!'()%7E");
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());
    TRecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Method, "POST");
    EXPECT_EQ(request.Version, "HTTP/1.0");
    EXPECT_EQ(request.Header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.Body, "q=a+b%26c&name=Caf%E9&sym=*@._-$!'()%7E");
    EXPECT_EQ(events.Text, u"posted");
}

TEST_F(SingleDownloaderTest, AMultipartBodyArrivesByteForByte)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "uploaded";
        return reply;
    });
    const std::string picture("\x89PNG\r\n\x1A\n\0\0\0\rIHDR\xFF\xFE\x80", 20);
    WriteFileBytes(Temp.Path() / "shot.Png", picture);
    WriteFileBytes(Temp.Path() / "notes.txt", "plain notes");
    String shot = ToProgramText(Temp.Path() / "shot.Png");
    String notes = ToProgramText(Temp.Path() / "notes.txt");

    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/upload"));
    sd.SetUploadFiles(
        TStringList{u"user=a b", u"id=7"}, TStringList{u"pic=" + shot, u"doc=" + notes, u"none="});
    EXPECT_EQ(sd.ContentType(),
        u"Content-Type: multipart/form-data; boundary=---------------------------989989989");
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());

    const std::string b = "-----------------------------989989989"; // "--" and the boundary
    const std::string shotName = U16ToUtf8(shot); // ASCII test paths
    const std::string notesName = U16ToUtf8(notes);
    std::string expected = b + "\r\nContent-Disposition: form-data; name=\"user\"\r\n\r\na+b\r\n" + b +
        "\r\nContent-Disposition: form-data; name=\"id\"\r\n\r\n7\r\n" + b +
        "\r\nContent-Disposition: form-data; name=\"pic\"; filename=\"" + shotName +
        "\"\r\nContent-Type: image/x-png\r\n\r\n" + picture + "\r\n" + b +
        "\r\nContent-Disposition: form-data; name=\"doc\"; filename=\"" + notesName + "\"\r\n" +
        "\r\nplain notes\r\n" + b + "\r\nContent-Disposition: form-data; name=\"none\"; filename=\"\"\r\n" +
        "Content-Transfer-Encoding: binary\r\n\r\n" + b + "--\r\n";
    TRecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Method, "POST");
    EXPECT_EQ(
        request.Header("Content-Type"), "multipart/form-data; boundary=---------------------------989989989");
    EXPECT_EQ(request.Body, expected);
}

TEST_F(SingleDownloaderTest, AGivenContentTypeIsSentWithTheBody)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Body = "ok";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.SetURL(server.URL("/json"));
    sd.SetContentType(u"Content-Type: application/json");
    sd.SetPostQuery(u"{\"a\":1}");
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded());
    TRecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Header("Content-Type"), "application/json");
    EXPECT_EQ(request.Body, "{\"a\":1}");
}

TEST_F(SingleDownloaderTest, AServerThatNeverAnswersFailsAfterTheReceiveTimeout)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Stall = true;
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    sd.Timeouts.ReceiveMs = 1000;
    sd.SetURL(server.URL("/stall"));
    DWORD start = GetTickCount();
    sd.GetString();
    ASSERT_TRUE(events.WaitEnded(15000));
    EXPECT_EQ(events.Order, (std::vector<std::string>{"error"}));
    EXPECT_LT(GetTickCount() - start, 10000u);
}

TEST_F(SingleDownloaderTest, EveryWorkerOpensItsOwnHandles)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply;
        reply.Body = request.Target;
        reply.DelayMs = 100;
        return reply;
    });
    std::vector<std::unique_ptr<TSingleDownloader>> downloaders;
    std::vector<std::unique_ptr<TDownloadEvents>> events;
    for (int i = 0; i < 4; ++i) {
        downloaders.push_back(std::make_unique<TSingleDownloader>(nullptr));
        events.push_back(std::make_unique<TDownloadEvents>());
        events.back()->Bind(*downloaders.back());
        downloaders.back()->SetURL(server.URL("/n" + std::to_string(i)));
        downloaders.back()->GetString();
    }
    ASSERT_TRUE(PumpUntil([&] {
        for (auto& e : events)
            if (!e->Ended())
                return false;
        return true;
    }));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(events[static_cast<size_t>(i)]->Text, u"/n" + IntToStr(i));
}

} // namespace
