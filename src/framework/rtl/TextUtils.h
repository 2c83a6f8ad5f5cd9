// Text routines of the settings and the utility layer: the integer reading, splitting,
// placeholders, hexadecimal and version texts, rectangles as text.
#pragma once

#include "framework/rtl/Rect.h"
#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"

#include <cstdint>

namespace vp {

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

} // namespace vp
