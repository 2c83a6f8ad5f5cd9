#include "framework/rtl/DateTime.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(DateTime, CountsDaysFromTheEpoch)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_DOUBLE_EQ(EncodeDateTime({2023, 7, 15, 12, 0, 0, 0}), 45122.5);
}

TEST(DateTime, DecodesWhatItEncodes)
{
    TSystemTime t{2024, 2, 29, 23, 59, 59, 999};
    TSystemTime back = DecodeDateTime(EncodeDateTime(t));
    EXPECT_EQ(back.Year, 2024);
    EXPECT_EQ(back.Month, 2);
    EXPECT_EQ(back.Day, 29);
    EXPECT_EQ(back.Hour, 23);
    EXPECT_EQ(back.Minute, 59);
    EXPECT_EQ(back.Second, 59);
    EXPECT_EQ(back.Millisecond, 999);
    // Before the epoch the fraction still is the time of day.
    TSystemTime early = DecodeDateTime(-1.25);
    EXPECT_EQ(early.Day, 29);
    EXPECT_EQ(early.Hour, 6);
}

TEST(DateTime, WholeUnitsAreTruncatedAbsoluteDifferences)
{
    TDateTime a = EncodeDateTime({2024, 1, 1, 12, 0, 0, 0});
    TDateTime b = EncodeDateTime({2024, 1, 1, 11, 59, 0, 0});
    EXPECT_EQ(MinutesBetween(a, b), 1);
    EXPECT_EQ(MinutesBetween(b, a), 1);
    EXPECT_EQ(SecondsBetween(a, b), 60);
    TDateTime c = EncodeDateTime({2024, 1, 3, 11, 59, 59, 0});
    EXPECT_EQ(DaysBetween(a, c), 1);
    EXPECT_EQ(DaysBetween(a, a + 2.0), 2);
}

namespace {
class TFixedClock : public TClock {
public:
    TDateTime Now() override { return 45000.25; }
    uint32_t TickCount() override { return 0xFFFFFFF0u; }
};
} // namespace

TEST(Clock, CanBeReplacedAndRestored)
{
    TFixedClock fixed;
    SetClock(&fixed);
    EXPECT_DOUBLE_EQ(Now(), 45000.25);
    EXPECT_EQ(GetTickCount32(), 0xFFFFFFF0u);
    SetClock(nullptr);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
}
