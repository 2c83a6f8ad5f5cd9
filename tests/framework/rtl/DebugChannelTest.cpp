#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include <random>

using namespace vp;

namespace {

// The log lines that contain marker.
int CountLines(StringView marker)
{
    if (!FileExists(DebugLogFileName()))
        return 0;
    String log = Utf8ToU16(ReadAllBytes(DebugLogFileName()));
    int count = 0;
    for (size_t at = log.find(marker); at != String::npos; at = log.find(marker, at + 1))
        ++count;
    return count;
}

// Unique per run: the log file outlives the test program.
String UniqueMarker(StringView what)
{
    std::random_device device;
    return String(what) + u"-" + IntToHex(device()) + IntToHex(device());
}

struct TChannelReset {
    ~TChannelReset()
    {
        DebugStop();
        DebugSetActive(false);
        DebugSetAutoStart(false);
    }
};

} // namespace

TEST(DebugChannel, InactiveChannelDropsMessages)
{
    TChannelReset reset;
    String marker = UniqueMarker(u"dropped");
    DebugSetActive(false);
    DebugSetAutoStart(true);
    DebugSend(marker, u"Test");
    EXPECT_EQ(CountLines(marker), 0);
    EXPECT_FALSE(DebugIsStarted());
}

TEST(DebugChannel, ActiveChannelStartsByItselfOnlyWithAutomaticStart)
{
    TChannelReset reset;
    String marker = UniqueMarker(u"auto");
    DebugSetActive(true);
    DebugSetAutoStart(false);
    DebugSend(marker, u"Test");
    EXPECT_EQ(CountLines(marker), 0);
    DebugSetAutoStart(true);
    DebugSend(marker + u" tagged", u"CLSettings");
    EXPECT_TRUE(DebugIsStarted());
    EXPECT_EQ(CountLines(u"[CLSettings] " + marker + u" tagged"), 1);
}

TEST(DebugChannel, ExplicitStartWithoutAutomaticStart)
{
    TChannelReset reset;
    String marker = UniqueMarker(u"explicit");
    DebugSetActive(true);
    DebugStart();
    DebugSend(marker + u" \u00E9", u"Main");
    EXPECT_EQ(CountLines(marker + u" \u00E9"), 1);
}
