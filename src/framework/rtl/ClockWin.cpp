#include <windows.h>

#include "framework/rtl/DateTime.h"

namespace vp {

namespace {

class TWinClock : public TClock {
public:
    TDateTime Now() override
    {
        SYSTEMTIME st;
        GetLocalTime(&st);
        return EncodeDateTime(
            {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds});
    }

    // The same counter as window message times, so the two can be compared.
    uint32_t TickCount() override { return GetTickCount(); }
};

} // namespace

TClock& SystemClock()
{
    static TWinClock clock;
    return clock;
}

} // namespace vp
