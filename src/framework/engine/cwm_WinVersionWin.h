// Asking the running system which Windows it is (see cwm_WinVersion.h for the record).
#pragma once

#include "framework/engine/cwm_WinVersion.h"

namespace vp {

// Fills the record from the system's version query; when the query fails the record stays
// as it was.
void GetWindowsTypeEx(TWindowsTypeEx& record);
// A fresh record classifies the system as Vista 64-bit.
bool IsWindowsVista64();
// The system's IsWow64Process for this process, when kernel32 offers it; otherwise false.
bool IsWow64();

} // namespace vp
