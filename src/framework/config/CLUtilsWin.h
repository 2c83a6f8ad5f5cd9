// The utility routines that need Win32: the program's paths and special folders, files,
// the registry, processes, windows and the system. They keep no state (the random
// generator aside) and report failure by their result, never by an error. Folder texts
// end in "\". The text, path and URL routines they share with the portable code are in
// framework/rtl (TextUtils, PathText, UrlText).
#pragma once

#include <windows.h>

#include "framework/rtl/DateTime.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/TextUtils.h"
#include "framework/rtl/UrlText.h"

#include <cstdint>

namespace vp {

// ---- Paths and special folders ----

String GetAppFileName();
// Points GetAppFileName at another executable path ("" restores the real one). Tests only.
void SetAppFileNameForTests(StringView path);
String GetAppPath();
String GetAppPathNoSlash();
String GetLongPath(StringView path);
String GetTempFolder();
String GetShellFolder(StringView name);
String GetCommonShellFolder(StringView name);
String MakeTempFileName(StringView folder, StringView prefix, StringView extension);
void ListFiles(StringView mask, TStringList& list, bool withPath);
void FindFiles(StringView folder, TStringList& list, StringView mask, bool recurse);
bool GetFileCreationTime(StringView path, TDateTime& creationTime);
// The generic access rights that CheckFolderAccess maps (the Win32 GENERIC_* values).
constexpr uint32_t kGenericRead = 0x80000000u;
constexpr uint32_t kGenericWrite = 0x40000000u;
bool CheckFolderAccess(uint32_t accessMask, StringView path);

// ---- Registry, processes and the system ----

void SetAutorun(bool on, StringView name, StringView command);
// timeoutMs -1 waits without limit.
bool RunProgram(StringView program, StringView params, bool hideAndWait, int32_t timeoutMs);
bool IsFirstInstance(StringView name);
// The program's command-line arguments after the program name, as the system splits them.
TStringList CommandLineArguments();
String GetSystemLanguageName();

// ---- Taking Win32 handles ----

String RegReadString(HKEY root, StringView keyPath, StringView valueName, StringView aDefault);
void RegWriteString(HKEY root, StringView keyPath, StringView valueName, StringView value);
bool OpenURL(HWND owner, StringView address);
void SetTopmost(HWND window, bool on);
bool ForceForegroundWindow(HWND window);
String BrowseForFolder(HWND owner, StringView initialFolder, StringView title);

} // namespace vp
