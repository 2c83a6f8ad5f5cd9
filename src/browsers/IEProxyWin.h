// The system switch itself: WinINet's live options and the registry values, for the default
// connection and every dial-up, VPN and mobile connection of the user.
//
// The main window calls SetIEProxy: Hide with the proxy ("address:port"), Stop Hide, the
// start and the end with "". With "SWITCH.RestoreUserSettings" on (the program's const.dat):
//   - the first change saves the user's own configuration of every connection it touches
//     (SystemProxyBackupWin.h) and adds a "RunOnce" entry that restores it at the next
//     log-on should the program never get to do so;
//   - "" gives back exactly what was saved, removes the backup and the entry; without a
//     backup (the user never hid) nothing is touched, unless the settings still hold the
//     switch's own proxy ("http=P;ftp=P;https=P;"), which is cleared to a direct connection;
//   - with "SWITCH.IE" off the system's settings are not touched, beyond giving back a
//     backup that is still there;
//   - after each change WinINet is told that its settings changed.
// With "SWITCH.RestoreUserSettings" off the switch clears to a direct connection of the
// default connection and keeps no backup, as it always did.
#pragma once

#include "browsers/IEProxy.h"

namespace vp {

// Obeys both settings above; swallows every error.
void SetIEProxy(StringView aProxy);

// The two halves, regardless of the settings; neither raises.
// Saves the user's configuration unless a backup exists (a second Hide keeps the first
// one), then points every connection at the proxy. False, with nothing changed, when the
// configuration could not be saved: a change that could not be undone is not made.
bool SwitchSystemProxy(StringView aProxy);
// Gives back the saved configuration. True when there was none or it was given back.
bool RestoreSystemProxy();

// One connection's flags (proxy or direct alone), bypass list and server, in one call; the
// empty name is the default (LAN) connection.
bool SetInternetProxyOption(
    bool aUseProxy, StringView aBypass, StringView aServer, StringView aConnection = {});
void WriteIEProxyRegistry(StringView aProxy);

} // namespace vp
