// The system proxy switch: the current user's WinINet settings and their registry values,
// pointed at one HTTP proxy ("address:port") or back to a direct connection ("").
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// The registry key under the current user that holds "ProxyServer" and "ProxyEnable".
inline constexpr StringView kInternetSettingsKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// "http=P;ftp=P;https=P;": one proxy for the three protocols (P may be empty).
String IEProxyServerText(StringView aProxy);
// True when the text is what IEProxyServerText makes of some non-empty proxy: the switch's
// own value, which no dialog of the system writes in this form.
bool IsIEProxyServerText(StringView text);

} // namespace vp
