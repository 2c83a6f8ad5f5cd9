#include "browsers/FirefoxBridge.h"

#include "framework/rtl/RtlText.h"

namespace vp {

namespace {

const String kChromeSwitches = u"-silent -nosplash -chrome ";

bool NeedsEscape(char16_t c)
{
    return c == u'"' || c == u'\\' || c == u'%' || c < 0x20 || c == 0x7F;
}

} // namespace

TProxyArgument SplitProxyArgument(StringView aProxy)
{
    size_t colon = aProxy.find(u':');
    if (colon == StringView::npos)
        return {String(), String(aProxy)};
    return {String(aProxy.substr(0, colon)), String(aProxy.substr(colon + 1))};
}

String BridgeQueryValue(StringView value)
{
    String out;
    out.reserve(value.size());
    for (char16_t c : value) {
        if (NeedsEscape(c)) {
            out += u'%';
            out += IntToHex(c, 2);
        } else {
            out += c;
        }
    }
    return out;
}

String FirefoxProxyParams(StringView ip, StringView port)
{
    String out = kChromeSwitches;
    out += u"\"";
    out += kFirefoxBridgeDocument;
    out += u"?ssl=&proxy=";
    out += BridgeQueryValue(ip);
    out += u"&port=";
    out += BridgeQueryValue(port);
    out += u"\"";
    return out;
}

String FirefoxClearParams()
{
    String out = kChromeSwitches;
    out += u"\"";
    out += kFirefoxBridgeDocument;
    out += u"?clear\"";
    return out;
}

String FirefoxSwitchParams(StringView aProxy)
{
    if (aProxy.empty())
        return FirefoxClearParams();
    TProxyArgument argument = SplitProxyArgument(aProxy);
    return FirefoxProxyParams(argument.IP, argument.Port);
}

String FirefoxInstallParams(StringView appFolder)
{
    String out = u"\"";
    out += appFolder;
    out += kFirefoxExtensionFile;
    out += u"\"";
    return out;
}

} // namespace vp
