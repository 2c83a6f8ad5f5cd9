// The debug message channel: while active, each message goes with its tag to the system
// debugger output (Windows) and to a log file in the temporary folder.
//
// The channel is started either explicitly (DebugStart) or, with automatic start on, by the
// first message sent while it is active. Messages sent while it is inactive, or active but
// not started, are dropped.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

void DebugSetActive(bool active);
bool DebugIsActive();
void DebugSetAutoStart(bool autoStart);
bool DebugAutoStart();
// Opens the log; a started channel stays started until DebugStop.
void DebugStart();
void DebugStop();
bool DebugIsStarted();
void DebugSend(StringView text, StringView tag);
// The log file: "Veilport-debug.log" in the temporary folder.
String DebugLogFileName();

// The process's debug mode, decided once at start-up.
void SetDebugMode(bool on);
bool DebugMode();

} // namespace vp
