// Windows path texts, handled as text on both builds. Folder texts end in "\".
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// Every "/" made "\".
String FixSlashes(StringView text);
String PathJoin(StringView base, StringView relative);
String ExtractFileNameNoExt(StringView path);
// The folder part of a path: up to and including the last "\" or ":" ("" when none).
String ExtractFilePath(StringView path);
String ExtractFileName(StringView path);
String IncludeTrailingBackslash(StringView path);

} // namespace vp
