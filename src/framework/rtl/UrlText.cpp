#include "framework/rtl/UrlText.h"

#include "framework/rtl/AnsiCodePage.h"

namespace vp {

String URLEncode(StringView text)
{
    static const char16_t kHex[] = u"0123456789ABCDEF";
    std::string bytes = U16ToAnsi(text);
    String out;
    out.reserve(bytes.size() * 3);
    for (char raw : bytes) {
        unsigned char b = static_cast<unsigned char>(raw);
        bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9');
        switch (b) {
        case '!':
        case '$':
        case '\'':
        case '(':
        case ')':
        case '*':
        case '-':
        case '.':
        case '@':
        case '_': plain = true; break;
        default: break;
        }
        if (plain) {
            out.push_back(b);
        } else if (b == ' ') {
            out.push_back(u'+');
        } else {
            out.push_back(u'%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 15]);
        }
    }
    return out;
}

String AddURLParam(StringView address, StringView param)
{
    if (address.empty())
        return String(param);
    if (address.find(u'?') == StringView::npos)
        return String(address) + u"?" + String(param);
    String out(address);
    if (out.back() != u'&' && out.back() != u'?')
        out += u'&';
    out += param;
    return out;
}

} // namespace vp
