#include "framework/rtl/RtlText.h"

namespace vp {

void DebugOutputLine(StringView)
{
    // No system debugger output here; the log file carries every line.
}

} // namespace vp
