#include "framework/rtl/DateTime.h"

#include <cmath>

namespace vp {

namespace {

constexpr int64_t kMsPerDay = 86400000;
TClock* gClock = nullptr;

// Days from 0001-01-01 (proleptic Gregorian) for a civil date; algorithm of H. Hinnant.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468; // days since 1970-01-01
}

void CivilFromDays(int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = yoe + era * 400;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

const int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

int64_t MillisecondsBetween(TDateTime a, TDateTime b)
{
    double span = std::fabs(a - b) * static_cast<double>(kMsPerDay);
    if (!(span < 9.0e18))
        return INT64_MAX;
    return std::llround(span);
}

} // namespace

TDateTime EncodeDate(int year, int month, int day)
{
    return static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpochOffset);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<TDateTime>(ms) / static_cast<TDateTime>(kMsPerDay);
}

TDateTime EncodeDateTime(const TSystemTime& t)
{
    TDateTime date = EncodeDate(t.Year, t.Month, t.Day);
    TDateTime time = EncodeTime(t.Hour, t.Minute, t.Second, t.Millisecond);
    // Before the epoch the fraction still counts forward from midnight of that day.
    return date >= 0 ? date + time : date - time;
}

TSystemTime DecodeDateTime(TDateTime value)
{
    TSystemTime t;
    if (!std::isfinite(value) || std::fabs(value) > 1.0e7)
        return t;
    double dayPart = std::trunc(value);
    int64_t ms = std::llround(std::fabs(value - dayPart) * static_cast<double>(kMsPerDay));
    int64_t days = static_cast<int64_t>(dayPart);
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        days += value >= 0 ? 1 : -1;
    }
    CivilFromDays(days + kEpochOffset, t.Year, t.Month, t.Day);
    t.Hour = static_cast<int>(ms / 3600000);
    t.Minute = static_cast<int>(ms / 60000 % 60);
    t.Second = static_cast<int>(ms / 1000 % 60);
    t.Millisecond = static_cast<int>(ms % 1000);
    return t;
}

int64_t DaysBetween(TDateTime a, TDateTime b)
{
    return MillisecondsBetween(a, b) / kMsPerDay;
}

int64_t MinutesBetween(TDateTime a, TDateTime b)
{
    return MillisecondsBetween(a, b) / 60000;
}

int64_t SecondsBetween(TDateTime a, TDateTime b)
{
    return MillisecondsBetween(a, b) / 1000;
}

TDateTime Now()
{
    return (gClock ? *gClock : SystemClock()).Now();
}

uint32_t GetTickCount32()
{
    return (gClock ? *gClock : SystemClock()).TickCount();
}

void SetClock(TClock* clock)
{
    gClock = clock;
}

} // namespace vp
