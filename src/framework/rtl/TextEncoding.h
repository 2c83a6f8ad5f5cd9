// Text files as bytes: byte-order-mark detection and writing back in the same encoding.
#pragma once

#include "framework/rtl/RtlText.h"

#include <vector>

namespace vp {

enum class TTextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct TDecodedText {
    String Text;
    TTextEncoding Encoding = TTextEncoding::Ansi;
};

// A leading EF BB BF, FF FE or FE FF selects UTF-8, UTF-16 LE or UTF-16 BE; otherwise the
// bytes are in the system ANSI code page. An odd trailing byte of UTF-16 is dropped.
TDecodedText DecodeTextBytes(std::string_view bytes);

// The text in the given encoding, preceded by that encoding's byte-order mark (none for ANSI).
std::string EncodeTextBytes(StringView text, TTextEncoding encoding);

// Splits at CR LF, LF or CR; the views point into text. A final line break does not start
// another line.
std::vector<StringView> SplitLines(StringView text);

} // namespace vp
