// The shared utility routines. They keep no state (the random generator aside) and report
// failure by their result, never by an error. Folder texts end in "\".
#pragma once

#include "framework/rtl/DateTime.h"
#include "framework/rtl/Rect.h"
#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"

#include <cstdint>

namespace vp {

// ---- Text (portable) ----

// The integer reading of the settings: optional leading blanks, optional sign, decimal
// digits or hexadecimal after "$", "x", "X", "0x", "0X"; nothing may follow. Anything else,
// overflow included, gives aDefault.
int32_t StrToIntSafe(StringView text, int32_t aDefault);
// Appends the fields between delimiters, empty ones included; the empty text adds nothing.
void SplitText(StringView text, char16_t delimiter, TStringList& list);
// "{1}", "{2}", ... replaced in that order by the arguments.
String ReplaceParams(StringView text, const TStringList& args);
bool StartsWithText(StringView text, StringView prefix);
String TextToHex(StringView text, int count);
uint32_t VersionToInt(StringView text);
String RectToStr(const TRect& rect);
// Exactly four fields set the rectangle; otherwise it stays unchanged.
void StrToRect(StringView text, TRect& rect);

// ---- URL text (portable) ----

String URLEncode(StringView text);
String AddURLParam(StringView address, StringView param);

// ---- Paths (portable) ----

String PathJoin(StringView base, StringView relative);
String ExtractFileNameNoExt(StringView path);
// The folder part of a path: up to and including the last "\" or ":" ("" when none).
String ExtractFilePath(StringView path);
String ExtractFileName(StringView path);
String IncludeTrailingBackslash(StringView path);

// ---- Paths and special folders (Win32) ----

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

// ---- Registry, processes and the system (Win32) ----

void SetAutorun(bool on, StringView name, StringView command);
// timeoutMs -1 waits without limit.
bool RunProgram(StringView program, StringView params, bool hideAndWait, int32_t timeoutMs);
bool IsFirstInstance(StringView name);
// The program's command-line arguments after the program name, as the system splits them.
TStringList CommandLineArguments();
String GetSystemLanguageName();

} // namespace vp
