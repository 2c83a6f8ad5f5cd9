// The system ANSI code page: CP_ACP on Windows, Windows-1252 in the native build.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// Characters the code page cannot hold become "?".
String AnsiToU16(std::string_view bytes);
std::string U16ToAnsi(StringView text);

// Windows-1252 itself, available on both builds.
String Cp1252ToU16(std::string_view bytes);
std::string U16ToCp1252(StringView text);

} // namespace vp
