#include "framework/rtl/DateTime.h"

#include <chrono>
#include <ctime>
#include <mutex>

namespace vp {

namespace {

class TStdClock : public TClock {
public:
    TDateTime Now() override
    {
        auto now = std::chrono::system_clock::now();
        std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
        std::tm local{};
        {
            static std::mutex guard; // std::localtime shares one buffer
            std::lock_guard<std::mutex> lock(guard);
            local = *std::localtime(&seconds);
        }
        TSystemTime t;
        t.Year = local.tm_year + 1900;
        t.Month = local.tm_mon + 1;
        t.Day = local.tm_mday;
        t.Hour = local.tm_hour;
        t.Minute = local.tm_min;
        t.Second = local.tm_sec;
        t.Millisecond = static_cast<int>(ms);
        return EncodeDateTime(t);
    }

    uint32_t TickCount() override
    {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
};

} // namespace

TClock& SystemClock()
{
    static TStdClock clock;
    return clock;
}

} // namespace vp
