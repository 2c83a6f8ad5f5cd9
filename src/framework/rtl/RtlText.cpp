#include "framework/rtl/RtlText.h"

namespace vp {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(String& out, uint32_t cp)
{
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Reads one code point from UTF-16 at i (advancing i); lone surrogates become U+FFFD.
uint32_t NextCodePoint(StringView text, size_t& i)
{
    char16_t c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF) {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            char16_t low = text[i++];
            return 0x10000 + ((static_cast<uint32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
        }
        return kReplacement;
    }
    if (c >= 0xDC00 && c <= 0xDFFF)
        return kReplacement;
    return c;
}

} // namespace

String Utf8ToU16(std::string_view text)
{
    String out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        int length = 0;
        uint32_t cp = 0;
        uint32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            length = 2;
            cp = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            cp = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            cp = lead & 0x07;
            minimum = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        size_t j = 1;
        bool valid = true;
        for (; j < static_cast<size_t>(length); ++j) {
            if (i + j >= text.size() || (static_cast<unsigned char>(text[i + j]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(text[i + j]) & 0x3F);
        }
        if (!valid || cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            i += valid ? static_cast<size_t>(length) : j;
            continue;
        }
        AppendCodePoint(out, cp);
        i += static_cast<size_t>(length);
    }
    return out;
}

std::string U16ToUtf8(StringView text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size())
        AppendUtf8(out, NextCodePoint(text, i));
    return out;
}

String FromWide(std::wstring_view text)
{
    if constexpr (sizeof(wchar_t) == 2) {
        return String(reinterpret_cast<const char16_t*>(text.data()), text.size());
    } else {
        String out;
        out.reserve(text.size());
        for (wchar_t c : text) {
            uint32_t cp = static_cast<uint32_t>(c);
            if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
                cp = kReplacement;
            AppendCodePoint(out, cp);
        }
        return out;
    }
}

std::wstring ToWide(StringView text)
{
    if constexpr (sizeof(wchar_t) == 2) {
        return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
    } else {
        std::wstring out;
        out.reserve(text.size());
        size_t i = 0;
        while (i < text.size())
            out.push_back(static_cast<wchar_t>(NextCodePoint(text, i)));
        return out;
    }
}

String FromAscii(std::string_view text)
{
    String out(text.size(), u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        out[i] = static_cast<unsigned char>(text[i]);
    return out;
}

char16_t UpCaseChar(char16_t c)
{
    if (c < 0x80)
        return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF)
        return 0x178;
    if (c == 0xB5)
        return 0x39C;
    if (c >= 0x100 && c <= 0x17F) {
        // Latin Extended-A: pairs of upper (even) and lower (odd), shifted by one in two runs.
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 0) ? static_cast<char16_t>(c - 1) : c;
        if (c == 0x131)
            return u'I';
        if (c == 0x17F)
            return u'S';
        if (c == 0x138 || c == 0x149)
            return c;
        return (c % 2 == 1) ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2)
        return static_cast<char16_t>(c - 0x20);
    if (c == 0x3C2)
        return 0x3A3;
    if (c >= 0x3AC && c <= 0x3AF) {
        static const char16_t kGreekTonos[] = {0x386, 0x388, 0x389, 0x38A};
        return kGreekTonos[c - 0x3AC];
    }
    if (c == 0x3CC)
        return 0x38C;
    if (c == 0x3CD || c == 0x3CE)
        return static_cast<char16_t>(c - 0x3F);
    if (c >= 0x430 && c <= 0x44F)
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F)
        return static_cast<char16_t>(c - 0x50);
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) &&
        c % 2 == 1)
        return static_cast<char16_t>(c - 1);
    if (c >= 0xFF41 && c <= 0xFF5A)
        return static_cast<char16_t>(c - 0x20);
    return c;
}

char16_t LowCaseChar(char16_t c)
{
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<char16_t>(c + 0x20);
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x100 && c <= 0x17F) {
        if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
            return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;
        if (c == 0x130)
            return u'i';
        if (c == 0x138 || c == 0x149 || c == 0x17F)
            return c;
        return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
    }
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<char16_t>(c + 0x20);
    if (c == 0x386)
        return 0x3AC;
    if (c >= 0x388 && c <= 0x38A)
        return static_cast<char16_t>(c + 0x25);
    if (c == 0x38C)
        return 0x3CC;
    if (c == 0x38E || c == 0x38F)
        return static_cast<char16_t>(c + 0x3F);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<char16_t>(c + 0x50);
    if (((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F)) &&
        c % 2 == 0)
        return static_cast<char16_t>(c + 1);
    if (c >= 0xFF21 && c <= 0xFF3A)
        return static_cast<char16_t>(c + 0x20);
    return c;
}

String UpperCase(StringView text)
{
    String out(text);
    for (char16_t& c : out)
        c = UpCaseChar(c);
    return out;
}

String LowerCase(StringView text)
{
    String out(text);
    for (char16_t& c : out)
        c = LowCaseChar(c);
    return out;
}

int CompareText(StringView a, StringView b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        char16_t x = UpCaseChar(a[i]);
        char16_t y = UpCaseChar(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(StringView a, StringView b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && UpCaseChar(a[i]) != UpCaseChar(b[i]))
            return false;
    return true;
}

size_t PosText(StringView what, StringView text)
{
    if (what.size() > text.size())
        return StringView::npos;
    for (size_t i = 0; i + what.size() <= text.size(); ++i)
        if (SameText(what, text.substr(i, what.size())))
            return i;
    return StringView::npos;
}

String TrimLeft(StringView text)
{
    size_t start = 0;
    while (start < text.size() && text[start] <= u' ')
        ++start;
    return String(text.substr(start));
}

String TrimRight(StringView text)
{
    size_t end = text.size();
    while (end > 0 && text[end - 1] <= u' ')
        --end;
    return String(text.substr(0, end));
}

String Trim(StringView text)
{
    size_t start = 0;
    size_t end = text.size();
    while (start < end && text[start] <= u' ')
        ++start;
    while (end > start && text[end - 1] <= u' ')
        --end;
    return String(text.substr(start, end - start));
}

String IntToStr(int64_t value)
{
    return FromAscii(std::to_string(value));
}

String IntToHex(uint64_t value, int minDigits)
{
    static const char16_t kDigits[] = u"0123456789ABCDEF";
    String out;
    do {
        out.insert(out.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < minDigits)
        out.insert(out.begin(), u'0');
    return out;
}

String ReplaceAll(StringView text, StringView what, StringView with)
{
    if (what.empty())
        return String(text);
    String out;
    size_t start = 0;
    while (true) {
        size_t found = text.find(what, start);
        if (found == StringView::npos)
            break;
        out.append(text.substr(start, found - start));
        out.append(with);
        start = found + what.size();
    }
    out.append(text.substr(start));
    return out;
}

} // namespace vp
