// The live system proxy configuration read into a backup and written back from one; the
// backup file in the user's data folder; the log-on entry that restores after a crash.
#pragma once

#include "browsers/SystemProxyBackup.h"

#include <functional>

namespace vp {

// The dial-up, VPN and mobile connections of the user's phonebook (RasEnumEntriesW).
using TConnectionNamesSource = std::function<std::vector<String>()>;
// Replaces the phonebook as the source of connection names; an empty source goes back to
// it. Wine's phonebook lists nothing, so tests name their connections here.
void SetConnectionNamesSource(TConnectionNamesSource source);
std::vector<String> DialUpConnectionNames();

// One connection's options as WinINet reports them ("" is the default connection); nullopt
// when WinINet does not answer for it.
std::optional<TConnectionBackup> CaptureConnection(StringView name);
// The registry values of kProxyRegistryValueNames; nullopt when they cannot be read.
std::optional<std::vector<TRegistryValueBackup>> CaptureProxyRegistryValues();
// Writes the connections (the named ones first, the default one last) and then the registry
// values exactly as saved. True when the default connection and the registry values took;
// a named connection that is gone by now only costs a debug line.
bool ApplySystemProxyBackup(const TSystemProxyBackup& backup);
// Tells WinINet in every process that the settings changed and should be read again.
void NotifyProxySettingsChanged();

// The user's backup file: in the settings store's user data folder, which may be shared by
// all users, so the name carries the user's security identifier.
String SystemProxyBackupPath();
enum class TBackupFileState { None, Valid, Damaged };
struct TBackupFile {
    TBackupFileState State = TBackupFileState::None;
    TSystemProxyBackup Backup;
};
// A damaged file is reported on the debug channel and moved aside (".damaged").
TBackupFile LoadSystemProxyBackup();
// Written beside the file and then put in its place. Raises when it cannot be written.
void SaveSystemProxyBackup(const TSystemProxyBackup& backup);
void DeleteSystemProxyBackup();

// The program started in restore-only mode: "<program>" /restore.
String RestoreAtLogOnCommand();
// The value name in the current user's "RunOnce" key.
String RestoreAtLogOnValueName();
// Adds or removes the "RunOnce" entry; false when the registry refused.
bool SetRestoreAtLogOn(bool on);

} // namespace vp
