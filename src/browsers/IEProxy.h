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

// ---- Win32 ----

// Obeys "SWITCH.IE" (off clears); swallows every error.
void SetIEProxy(StringView aProxy);
// The default connection's flags (proxy or direct alone), bypass list and server, in one call.
bool SetInternetProxyOption(bool aUseProxy, StringView aBypass, StringView aServer);
void WriteIEProxyRegistry(StringView aProxy);

} // namespace vp
