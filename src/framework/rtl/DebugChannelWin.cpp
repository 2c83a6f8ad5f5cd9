#include <windows.h>

#include "framework/rtl/RtlText.h"
#include "framework/rtl/WinText.h"

namespace vp {

String DebugTempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return String();
    return FromWStr(buffer, length);
}

void DebugOutputLine(StringView line)
{
    String text(line);
    OutputDebugStringW(WStr(text));
}

} // namespace vp
