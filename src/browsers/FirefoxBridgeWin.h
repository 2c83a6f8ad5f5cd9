// Finding, starting and driving Firefox.
#pragma once

#include "browsers/FirefoxBridge.h"

namespace vp {

String GetFirefoxPath();
bool IsFirefoxInstalled();
bool IsFirefoxRunning();
// Has Firefox offer the extension for installation; true when the process started.
bool InstallFirefoxExtension();
// Obeys "SWITCH.FF" (off clears). Starts Firefox without waiting and without looking at the result.
void SetFirefoxProxy(StringView aProxy);

} // namespace vp
