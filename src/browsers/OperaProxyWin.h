// The Opera switch itself: the profile functions on the first existing preference file.
#pragma once

#include "browsers/OperaProxy.h"

namespace vp {

// Obeys "SWITCH.OPERA" (off clears). A file that cannot be written raises EWriteError.
void SetOperaProxy(StringView aProxy);

} // namespace vp
