#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "framework/rtl/WinText.h"

namespace vp {

void DebugOutputLine(StringView line)
{
    String text(line);
    OutputDebugStringW(WStr(text));
}

} // namespace vp
