#include "proxy/InfoGotThread.h"

#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/TextEncoding.h"

namespace vp {

namespace {

bool HasByteOrderMark(std::string_view aBody)
{
    return aBody.substr(0, 3) == "\xEF\xBB\xBF" || aBody.substr(0, 2) == "\xFF\xFE" ||
        aBody.substr(0, 2) == "\xFE\xFF";
}

// The charset parameter of a content type, e.g. text/plain; charset="UTF-8".
String CharsetOf(StringView aContentType)
{
    size_t at = PosText(u"charset=", aContentType);
    if (at == StringView::npos)
        return String();
    StringView rest = aContentType.substr(at + 8);
    size_t end = rest.find(u';');
    return ReplaceAll(Trim(rest.substr(0, end)), u"\"", u"");
}

} // namespace

bool IsInfoReplyAccepted(uint32_t aStatusCode)
{
    return aStatusCode >= 200 && aStatusCode <= 299;
}

String DecodeInfoReply(std::string_view aBody, StringView aContentType)
{
    if (HasByteOrderMark(aBody))
        return DecodeTextBytes(aBody).Text;
    String charset = CharsetOf(aContentType);
    if (SameText(charset, u"utf-8") || SameText(charset, u"utf8"))
        return Utf8ToU16(aBody);
    return AnsiToU16(aBody);
}

} // namespace vp
