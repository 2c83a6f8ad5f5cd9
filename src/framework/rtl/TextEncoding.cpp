#include "framework/rtl/TextEncoding.h"

#include "framework/rtl/AnsiCodePage.h"

namespace vp {

namespace {

String DecodeUtf16(std::string_view bytes, bool bigEndian)
{
    String out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char a = static_cast<unsigned char>(bytes[2 * i]);
        unsigned char b = static_cast<unsigned char>(bytes[2 * i + 1]);
        out[i] = bigEndian ? static_cast<char16_t>((a << 8) | b) : static_cast<char16_t>((b << 8) | a);
    }
    return out;
}

std::string EncodeUtf16(StringView text, bool bigEndian)
{
    std::string out;
    out.reserve(2 + text.size() * 2);
    out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        char high = static_cast<char>(c >> 8);
        char low = static_cast<char>(c & 0xFF);
        out.push_back(bigEndian ? high : low);
        out.push_back(bigEndian ? low : high);
    }
    return out;
}

bool StartsWith(std::string_view bytes, std::string_view mark)
{
    return bytes.substr(0, mark.size()) == mark;
}

} // namespace

TDecodedText DecodeTextBytes(std::string_view bytes)
{
    if (StartsWith(bytes, "\xEF\xBB\xBF"))
        return {Utf8ToU16(bytes.substr(3)), TTextEncoding::Utf8};
    if (StartsWith(bytes, "\xFF\xFE"))
        return {DecodeUtf16(bytes.substr(2), false), TTextEncoding::Utf16LE};
    if (StartsWith(bytes, "\xFE\xFF"))
        return {DecodeUtf16(bytes.substr(2), true), TTextEncoding::Utf16BE};
    return {AnsiToU16(bytes), TTextEncoding::Ansi};
}

std::string EncodeTextBytes(StringView text, TTextEncoding encoding)
{
    switch (encoding) {
    case TTextEncoding::Utf8: return "\xEF\xBB\xBF" + U16ToUtf8(text);
    case TTextEncoding::Utf16LE: return EncodeUtf16(text, false);
    case TTextEncoding::Utf16BE: return EncodeUtf16(text, true);
    case TTextEncoding::Ansi: break;
    }
    return U16ToAnsi(text);
}

std::vector<StringView> SplitLines(StringView text)
{
    std::vector<StringView> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            lines.push_back(text.substr(start, i - start));
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace vp
