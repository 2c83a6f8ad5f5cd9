// Throughput and memory of the downloader under Wine over loopback: a 100 MB file in file
// mode (memory stays flat: the body streams to the temporary file), and 1,000 small text
// requests one after another. Timings are printed and recorded as test properties.
#include "support/UiTestSupport.h"
#include "support/DownloaderTestSupport.h"
#include "support/LoopbackHttpServer.h"

#include "support/TestSupport.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

using namespace vp;
using namespace vptest;

namespace {

size_t WorkingSet()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.WorkingSetSize;
}

double SecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Compares the file with the generated stream piece by piece; the offset of the first
// difference, or -1.
int64_t FirstDifference(const std::filesystem::path& path, uint64_t size)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> piece(1 << 20);
    uint64_t at = 0;
    while (at < size) {
        size_t n = static_cast<size_t>(std::min<uint64_t>(piece.size(), size - at));
        if (!in.read(piece.data(), static_cast<std::streamsize>(n)))
            return static_cast<int64_t>(at);
        for (size_t i = 0; i < n; ++i)
            if (piece[i] != GeneratedByte(at + i))
                return static_cast<int64_t>(at + i);
        at += n;
    }
    return in.peek() == std::char_traits<char>::eof() ? -1 : static_cast<int64_t>(size);
}

} // namespace

TEST(DownloaderPerformance, AHundredMegabyteFileStreamsWithFlatMemory)
{
    TApplicationScope app;
    TTempFolder temp;
    TPrivateTempFolder privateTemp; // the 100 MB temporary file stays apart from other tests
    const uint64_t size = 100ull * 1024 * 1024;
    TLoopbackHttpServer server([&](const TRecordedRequest&) {
        TReply reply;
        reply.StreamBytes = size;
        return reply;
    });
    TSingleDownloader sd(nullptr);
    TDownloadEvents events;
    events.Bind(sd);
    size_t startSet = WorkingSet();
    size_t highest = startSet;
    int calls = 0;
    TOnProgressEvent record = sd.OnProgress;
    sd.OnProgress = [&](TObject* Sender, int32_t total, int32_t readed) {
        if (++calls % 64 == 0)
            highest = std::max(highest, WorkingSet());
        record(Sender, total, readed);
    };
    sd.SetBinaryData(true);
    sd.SetURL(server.URL("/big.bin"));
    sd.SetFileName((temp.Path() / "big.bin").u16string());
    auto start = std::chrono::steady_clock::now();
    sd.GetFile();
    ASSERT_TRUE(events.WaitEnded(600000));
    double seconds = SecondsSince(start);
    highest = std::max(highest, WorkingSet());
    ASSERT_EQ(events.Order.back(), "file");
    EXPECT_EQ(events.FileSize, static_cast<int32_t>(size));
    EXPECT_EQ(FirstDifference(temp.Path() / "big.bin", size), -1);

    double growthMB = static_cast<double>(highest > startSet ? highest - startSet : 0) / (1024.0 * 1024.0);
    std::printf("100 MB file mode: %.2f s (%.1f MB/s), working set grew by %.1f MB at most\n", seconds,
        100.0 / seconds, growthMB);
    testing::Test::RecordProperty("seconds", std::to_string(seconds));
    testing::Test::RecordProperty("working_set_growth_mb", std::to_string(growthMB));
    // A body held in memory would add 100 MB; streaming keeps the growth to buffers.
    EXPECT_LT(growthMB, 24.0);
}

TEST(DownloaderPerformance, AThousandSmallTextRequestsInARow)
{
    TApplicationScope app;
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply;
        reply.Body = "magicword=abc\r\nResult=" + request.Target + "\r\n";
        return reply;
    });
    TSingleDownloader sd(nullptr);
    int done = 0;
    int failed = 0;
    String last;
    sd.OnDoneString = [&](TObject*, const String& text) {
        ++done;
        last = text;
    };
    sd.OnError = [&](TObject*) { ++failed; };
    sd.SetWaitThread(true);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 1000; ++i) {
        sd.SetURL(server.URL("/u?n=" + std::to_string(i)));
        sd.GetString();
    }
    double seconds = SecondsSince(start);
    EXPECT_EQ(done, 1000);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(last, u"magicword=abc\r\nResult=/u?n=999\r\n");
    EXPECT_EQ(server.RequestCount(), 1000u);
    std::printf("1,000 small text requests: %.2f s (%.2f ms each)\n", seconds, seconds);
    testing::Test::RecordProperty("seconds", std::to_string(seconds));
}
