#include "framework/rtl/TextUtils.h"

namespace vp {

namespace {

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

int32_t StrToIntSafe(StringView text, int32_t aDefault)
{
    size_t i = 0;
    while (i < text.size() && text[i] == u' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return aDefault;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit = hex ? HexDigit(text[i]) : ((text[i] >= u'0' && text[i] <= u'9') ? text[i] - u'0' : -1);
        if (digit < 0)
            return aDefault;
        value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull)
            return aDefault;
    }
    if (hex) {
        // Hexadecimal digits give the 32-bit pattern, as the classic reading does ($FFFFFFFF = -1).
        int32_t pattern = static_cast<int32_t>(static_cast<uint32_t>(value));
        return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(pattern)) : pattern;
    }
    if (negative) {
        if (value > 2147483648ull)
            return aDefault;
        return static_cast<int32_t>(-static_cast<int64_t>(value));
    }
    if (value > 2147483647ull)
        return aDefault;
    return static_cast<int32_t>(value);
}

void SplitText(StringView text, char16_t delimiter, TStringList& list)
{
    if (text.empty())
        return;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == delimiter) {
            list.Add(text.substr(start, i - start));
            start = i + 1;
        }
    }
    list.Add(text.substr(start));
}

String ReplaceParams(StringView text, const TStringList& args)
{
    String out(text);
    for (int k = 1; k <= args.Count(); ++k)
        // Built by appending: GCC 12 at -O3 misreports "literal + temporary" as an overlapping copy.
        out = ReplaceAll(out, String(u"{").append(IntToStr(k)).append(u"}"), args[k - 1]);
    return out;
}

bool StartsWithText(StringView text, StringView prefix)
{
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

String TextToHex(StringView text, int count)
{
    String out;
    size_t n = count < 0 ? 0 : static_cast<size_t>(count);
    if (n > text.size())
        n = text.size();
    for (size_t i = 0; i < n; ++i)
        out += IntToHex(text[i] & 0xFF, 2);
    return out;
}

uint32_t VersionToInt(StringView text)
{
    size_t blank = text.find(u' ');
    TStringList parts;
    SplitText(text.substr(0, blank), u'.', parts);
    if (parts.Count() != 4)
        return 0;
    uint32_t result = 0;
    for (int i = 0; i < 4; ++i)
        result |= (static_cast<uint32_t>(StrToIntSafe(parts[i], 0)) & 255u) << (8 * (3 - i));
    return result;
}

String RectToStr(const TRect& rect)
{
    return IntToStr(rect.Left) + u"," + IntToStr(rect.Top) + u"," + IntToStr(rect.Right) + u"," +
        IntToStr(rect.Bottom);
}

void StrToRect(StringView text, TRect& rect)
{
    TStringList parts;
    SplitText(text, u',', parts);
    if (parts.Count() != 4)
        return;
    rect.Left = StrToIntSafe(parts[0], 0);
    rect.Top = StrToIntSafe(parts[1], 0);
    rect.Right = StrToIntSafe(parts[2], 0);
    rect.Bottom = StrToIntSafe(parts[3], 0);
}

} // namespace vp
