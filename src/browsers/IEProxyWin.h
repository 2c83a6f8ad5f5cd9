// The system switch itself: WinINet's live option and the registry values.
#pragma once

#include "browsers/IEProxy.h"

namespace vp {

// Obeys "SWITCH.IE" (off clears); swallows every error.
void SetIEProxy(StringView aProxy);
// The default connection's flags (proxy or direct alone), bypass list and server, in one call.
bool SetInternetProxyOption(bool aUseProxy, StringView aBypass, StringView aServer);
void WriteIEProxyRegistry(StringView aProxy);

} // namespace vp
