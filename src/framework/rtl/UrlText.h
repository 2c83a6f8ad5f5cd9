// Building web addresses: percent-encoding in the system ANSI code page, adding a parameter.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

String URLEncode(StringView text);
String AddURLParam(StringView address, StringView param);

} // namespace vp
