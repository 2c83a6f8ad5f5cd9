#include "framework/engine/PageAddress.h"

#include "framework/config/CLMultiLangLan.h"
#include "framework/rtl/TextUtils.h"
#include "framework/rtl/UrlText.h"

namespace vp {

namespace {

String ZeroPadded(int value, size_t digits)
{
    String text = IntToStr(value);
    if (text.size() < digits)
        text.insert(0, digits - text.size(), u'0');
    return text;
}

} // namespace

String ChannelName(StringView channelValue)
{
    String channel;
    for (char16_t c : channelValue)
        if (c != u'"')
            channel.push_back(c);
    size_t separator = channel.find_last_of(u"\\:");
    return separator == String::npos ? channel : channel.substr(separator + 1);
}

String BuildURLParam(const TURLParamValues& values)
{
    // The time stamp is digits only and goes in as it is.
    String block = ZeroPadded(values.Second, 2) + ZeroPadded(values.Millisecond, 3);
    block += u"&PID=" + URLEncode(values.PID);
    block += u"&LANG=" + URLEncode(values.Language);
    block += u"&DAY=" + URLEncode(IntToStr(values.RunDays));
    block += u"&RUNTIME=" + URLEncode(IntToStr(values.RunTimes));
    block += u"&VER=" + URLEncode(IntToHex(VersionToInt(values.Version), 8));
    block += u"&SVER=" + URLEncode(IntToStr(values.SubVersion));
    block += u"&WVER=" +
        URLEncode(IntToStr(values.WinMajor) + u"_" + IntToStr(values.WinMinor) + u"_" + values.ServicePack);
    block += u"&WLANG=" + URLEncode(IntToStr(values.SystemLangId));
    String channel = ChannelName(values.Channel);
    block += u"&CHL=" + URLEncode(TextToHex(channel, static_cast<int>(channel.size())));
    return block;
}

String BuildPageURL(ISettingsReader& settings, StringView strPage, bool bAddParams, StringView appPathNoSlash,
    const std::function<String()>& urlParam)
{
    String address = settings.GetSettingString(u"URL." + String(strPage));
    if (!Trim(address).empty())
        address = ReplaceTextIgnoringCase(address, u"%exepath%", appPathNoSlash);
    else
        address = settings.GetSettingString(u"URL.Redirect");
    if (!bAddParams || !StartsWithText(address, u"http"))
        return address;
    return AddURLParam(address, u"ACTION=" + String(strPage) + u"&" + urlParam());
}

} // namespace vp
