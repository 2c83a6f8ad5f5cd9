// The Firefox bridge: Firefox ignores the system settings, so the program starts the Firefox
// executable with a command line that opens the extension's chrome document, which switches
// Firefox's own proxy settings. The extension file lies beside the program.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

inline constexpr StringView kFirefoxExtensionFile = u"ffextension.xpi";
// The extension's chrome package "veilport" and its document "veilport.xul".
inline constexpr StringView kFirefoxBridgeDocument = u"chrome://veilport/content/veilport.xul";
inline constexpr StringView kFirefoxWindowClass = u"MozillaUIWindowClass";

struct TProxyArgument {
    String IP;
    String Port;
};
// Address before the first ":", port after it; without ":" the address is empty and the port
// is the whole argument.
TProxyArgument SplitProxyArgument(StringView aProxy);

// A value placed inside the quoted chrome address: characters that could end the quoted
// argument or change the query's meaning ('"', '\', '%', control characters) are %-escaped;
// host names and ports pass unchanged.
String BridgeQueryValue(StringView value);

String FirefoxProxyParams(StringView ip, StringView port);
String FirefoxClearParams();
// The clearing line for "", the proxy line otherwise.
String FirefoxSwitchParams(StringView aProxy);
// The extension file in the program's folder (ending in "\"), quoted.
String FirefoxInstallParams(StringView appFolder);

} // namespace vp
