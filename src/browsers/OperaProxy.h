// The Opera switch: the proxy keys of Opera's preference file, written through the system's
// INI profile functions into the first preference file that exists (never created).
#pragma once

#include "framework/rtl/RtlText.h"

#include <vector>

namespace vp {

inline constexpr StringView kOperaProxySection = u"Proxy";

struct TOperaProxyKey {
    String Key;
    String Value;
};

// The seven keys of the section, in the order they are written, for a proxy P or "" (direct).
std::vector<TOperaProxyKey> OperaProxyKeys(StringView aProxy);
// The preference files under the application-data folder, first choice first; none when that
// folder is unknown.
std::vector<String> OperaPreferenceFiles(StringView appData);

} // namespace vp
