#include "framework/engine/HttpRequest.h"

#include "framework/rtl/TextUtils.h"
#include "framework/rtl/AnsiCodePage.h"

namespace vp {

namespace {

bool ParsePort(StringView aDigits, uint16_t& aPort)
{
    if (aDigits.empty() || aDigits.size() > 5)
        return false;
    uint32_t value = 0;
    for (char16_t c : aDigits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + static_cast<uint32_t>(c - u'0');
    }
    if (value == 0 || value > 65535)
        return false;
    aPort = static_cast<uint16_t>(value);
    return true;
}

// "name:port" or "[v6]:port" (the brackets go); anything else is all host name.
void SplitHostPort(StringView aHost, TSplitURL& aURL)
{
    aURL.Host = String(aHost);
    size_t colon = aHost.rfind(u':');
    if (colon == StringView::npos)
        return;
    StringView name = aHost.substr(0, colon);
    bool bracketed = name.size() >= 2 && name.front() == u'[' && name.back() == u']';
    if (!bracketed && name.find(u':') != StringView::npos)
        return; // an IPv6 address without brackets has no port
    uint16_t port = 0;
    if (!ParsePort(aHost.substr(colon + 1), port))
        return;
    aURL.Host = String(bracketed ? name.substr(1, name.size() - 2) : name);
    aURL.Port = port;
}

} // namespace

TSplitURL SplitURL(StringView aURL)
{
    TSplitURL result;
    StringView rest = aURL;
    if (StartsWithText(rest, u"http://"))
        rest.remove_prefix(7);
    if (StartsWithText(rest, u"https://")) {
        rest.remove_prefix(8);
        result.Secure = true;
    }
    result.Port = result.Secure ? 443 : 80;
    size_t slash = rest.find(u'/');
    if (slash == StringView::npos) {
        result.Path = String(rest);
        return result;
    }
    result.Path = String(rest.substr(slash));
    SplitHostPort(rest.substr(0, slash), result);
    return result;
}

uint32_t RequestFlags(bool aSecure, bool aUseCache)
{
    if (aSecure)
        return kFlagSecure;
    return aUseCache ? 0u : kFlagReload;
}

String RequestVerb(StringView aPostQuery)
{
    return aPostQuery.empty() ? u"GET" : u"POST";
}

String RequestHeaders(StringView aContentType)
{
    return aContentType.empty() ? String(u"Content-Type: application/x-www-form-urlencoded")
                                : String(aContentType);
}

std::string RequestBodyBytes(StringView aPostQuery)
{
    std::string bytes;
    bytes.reserve(aPostQuery.size());
    for (char16_t c : aPostQuery)
        bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    return bytes;
}

std::optional<int32_t> ParseAnnouncedLength(StringView aText)
{
    if (aText.empty() || aText.size() > 10)
        return std::nullopt;
    int64_t value = 0;
    for (char16_t c : aText) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    if (value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

String DecodeReplyText(std::string_view aBytes, THttpCharset aCharset)
{
    switch (aCharset) {
    case KUnicode: {
        String text(aBytes.size() / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(static_cast<unsigned char>(aBytes[2 * i]) |
                (static_cast<unsigned char>(aBytes[2 * i + 1]) << 8));
        return text;
    }
    case KUTF8: return Utf8ToU16(aBytes);
    case KAnsi:
    default: return AnsiToU16(aBytes);
    }
}

TFileTransferOutcome FileTransferOutcome(bool aLengthAnnounced, int32_t aAnnounced, uint64_t aReceived)
{
    TFileTransferOutcome outcome;
    if (aLengthAnnounced) {
        outcome.Result = aAnnounced >= 0 && aReceived == static_cast<uint64_t>(aAnnounced);
        outcome.CopyToTarget = outcome.Result;
    } else {
        outcome.Result = aReceived == 0;
        outcome.CopyToTarget = true;
    }
    return outcome;
}

} // namespace vp
