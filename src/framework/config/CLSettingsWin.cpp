#include <windows.h>

#include "framework/config/CLSettings.h"

namespace vp {

char16_t UserDecimalSeparator()
{
    wchar_t buffer[8] = {};
    if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) <= 1)
        return u'.';
    return static_cast<char16_t>(buffer[0]);
}

} // namespace vp
