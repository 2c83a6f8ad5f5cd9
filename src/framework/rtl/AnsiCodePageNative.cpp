#include "framework/rtl/AnsiCodePage.h"

namespace vp {

String AnsiToU16(std::string_view bytes)
{
    return Cp1252ToU16(bytes);
}

std::string U16ToAnsi(StringView text)
{
    return U16ToCp1252(text);
}

} // namespace vp
