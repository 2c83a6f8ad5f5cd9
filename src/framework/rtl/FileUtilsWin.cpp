#include <windows.h>

#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"

namespace vp {

String SystemTempFolder()
{
    wchar_t buffer[MAX_PATH + 1];
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    if (length == 0 || length >= MAX_PATH)
        return String();
    return FromWStr(buffer, length);
}

} // namespace vp
