// The translator's tool: builds the program's windows as designed, collects their texts into
// a language file and saves it in canonical order.
#pragma once

#include "framework/config/LangWindowList.h"

#include <ostream>
#include <vector>

namespace vp {

// args are the command-line arguments after the program name. The exit code: 0 done, 1 a
// file could not be read or written, 2 the arguments were wrong (the usage goes to err).
int RunLangCollect(
    const std::vector<String>& args, const TLangWindowList& windows, std::ostream& out, std::ostream& err);

} // namespace vp
