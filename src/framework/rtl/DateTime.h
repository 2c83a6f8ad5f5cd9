// TDateTime: days since 30 December 1899, the fraction being the time of day; and the one
// replaceable clock of the program.
#pragma once

#include <cstdint>

namespace vp {

using TDateTime = double;

struct TSystemTime {
    int Year = 1899;
    int Month = 12;
    int Day = 30;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

// Out-of-range fields are not checked beyond what the arithmetic needs; callers pass
// calendar dates.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
TDateTime EncodeDateTime(const TSystemTime& time);
TSystemTime DecodeDateTime(TDateTime value);

// Whole units between two date-times: the absolute difference truncated toward zero
// (counted in milliseconds so that 12:00 minus 11:59 is one whole minute, not 0.99999).
int64_t DaysBetween(TDateTime a, TDateTime b);
int64_t MinutesBetween(TDateTime a, TDateTime b);
int64_t SecondsBetween(TDateTime a, TDateTime b);

// The clock. Tests replace it; everything that asks for the time goes through Now() and
// GetTickCount32().
class TClock {
public:
    virtual ~TClock() = default;
    virtual TDateTime Now() = 0; // local date-time
    virtual uint32_t TickCount() = 0; // milliseconds since an arbitrary start, wrapping
};

TDateTime Now();
uint32_t GetTickCount32();
// nullptr puts the system clock back.
void SetClock(TClock* clock);
TClock& SystemClock();

} // namespace vp
