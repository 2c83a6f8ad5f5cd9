#include "framework/rtl/ErrorReport.h"

#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"

#include <mutex>

namespace vp {

namespace {

struct TReporterSlot {
    std::mutex Guard;
    TErrorReporter Reporter;
};

TReporterSlot& Slot()
{
    static TReporterSlot slot;
    return slot;
}

} // namespace

String CurrentExceptionText()
{
    try {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    } catch (const std::exception& e) {
        return Utf8ToU16(e.what());
    } catch (...) {
        return u"Unknown error";
    }
}

void SetErrorReporter(TErrorReporter reporter)
{
    std::lock_guard<std::mutex> lock(Slot().Guard);
    Slot().Reporter = std::move(reporter);
}

void ReportCurrentException() noexcept
{
    try {
        String text = CurrentExceptionText();
        TErrorReporter reporter;
        {
            std::lock_guard<std::mutex> lock(Slot().Guard);
            reporter = Slot().Reporter;
        }
        if (reporter)
            reporter(text);
        else
            DebugSend(text, u"Error");
    } catch (...) {
        // A report that fails must not become another error.
    }
}

} // namespace vp
