// Text helpers over std::u16string (String), the program's one text type on both builds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vp {

using String = std::u16string;
using StringView = std::u16string_view;

// UTF-8 <-> UTF-16. Malformed input never fails: bad sequences become U+FFFD.
String Utf8ToU16(std::string_view text);
std::string U16ToUtf8(StringView text);

// wchar_t text (UTF-16 on Windows, UTF-32 elsewhere) <-> UTF-16.
String FromWide(std::wstring_view text);
std::wstring ToWide(StringView text);

// Plain ASCII text (literals, numbers) widened without conversion rules.
String FromAscii(std::string_view text);

// The one case-insensitive comparison of the program: code units are folded to upper case
// by a fixed table (Latin, Greek, Cyrillic, full-width Latin), never by the C locale, so
// both builds give the same results. CompareText orders by the folded code units.
char16_t UpCaseChar(char16_t c);
char16_t LowCaseChar(char16_t c);
String UpperCase(StringView text);
String LowerCase(StringView text);
int CompareText(StringView a, StringView b);
bool SameText(StringView a, StringView b);
// Position of the first case-insensitive occurrence of what in text, or npos.
size_t PosText(StringView what, StringView text);

// Trimming removes blanks and control characters (every code unit up to U+0020).
String Trim(StringView text);
String TrimLeft(StringView text);
String TrimRight(StringView text);

String IntToStr(int64_t value);
// Upper-case hexadecimal with at least minDigits digits.
String IntToHex(uint64_t value, int minDigits = 1);

// Replaces every occurrence of what by with (case-sensitive, left to right, no rescanning).
String ReplaceAll(StringView text, StringView what, StringView with);

} // namespace vp
