// Publisher page addresses: a page's address comes from the settings ("URL." + page name, or
// the common redirect address), and every http address gets the block of query parameters
// that describes this installation. Portable: the engine gathers the values from the
// settings, the registry and the system and hands them in.
#pragma once

#include "framework/config/SettingsReader.h"
#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <functional>

namespace vp {

// What the parameter block tells about this installation, in the engine's words.
struct TURLParamValues {
    // The local time's second and millisecond.
    int Second = 0;
    int Millisecond = 0;
    String PID;
    String Language;
    int32_t RunDays = 0;
    int32_t RunTimes = 0;
    // "App.Ver": four dotted numbers; anything else is sent as 0.
    String Version;
    int32_t SubVersion = 0;
    uint32_t WinMajor = 0;
    uint32_t WinMinor = 0;
    String ServicePack;
    uint16_t SystemLangId = 0;
    // The distribution channel value as the registry holds it.
    String Channel;
};

// The channel's name: its double quotes removed, then only the text after the last "\" or ":".
String ChannelName(StringView channelValue);

// The block without a leading "?" or "&": the time stamp, then PID, LANG, DAY, RUNTIME, VER,
// SVER, WVER, WLANG and CHL, each value URL-encoded.
String BuildURLParam(const TURLParamValues& values);

// The page's address: "URL." + strPage with every "%exepath%" (any case) made the program's
// folder, or "URL.Redirect" when that is blank. With bAddParams an http address gets
// "ACTION=" + strPage and the block (asked for only then) appended.
String BuildPageURL(ISettingsReader& settings, StringView strPage, bool bAddParams, StringView appPathNoSlash,
    const std::function<String()>& urlParam);

} // namespace vp
