// The utility routines that take Win32 handles.
#pragma once

#include <windows.h>

#include "framework/config/CLUtils.h"

namespace vp {

String RegReadString(HKEY root, StringView keyPath, StringView valueName, StringView aDefault);
void RegWriteString(HKEY root, StringView keyPath, StringView valueName, StringView value);
bool OpenURL(HWND owner, StringView address);
void SetTopmost(HWND window, bool on);
bool ForceForegroundWindow(HWND window);
String BrowseForFolder(HWND owner, StringView initialFolder, StringView title);

} // namespace vp
