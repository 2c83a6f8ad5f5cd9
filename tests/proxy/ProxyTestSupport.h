// What the proxy pool tests put in place of the settings store and of the process's random
// generator, and a builder for pool entries.
#pragma once

#include "framework/config/SettingsReader.h"
#include "framework/rtl/Random.h"
#include "proxy/uProxyManager.h"

#include <algorithm>
#include <map>
#include <random>

namespace vptest {

using vp::String;
using vp::StringView;

class TMapSettings : public vp::ISettingsReader {
public:
    String GetSettingString(StringView name) override
    {
        auto found = Values.find(String(name));
        return found == Values.end() ? String() : found->second;
    }

    std::map<String, String> Values;
};

// Plugs a source into the process generator for the lifetime of the guard.
class TRandomGuard {
public:
    explicit TRandomGuard(vp::TRandomSource& source) { vp::SetRandomSource(&source); }
    ~TRandomGuard() { vp::SetRandomSource(nullptr); }
    TRandomGuard(const TRandomGuard&) = delete;
    TRandomGuard& operator=(const TRandomGuard&) = delete;
};

// Reproducible draws from a seed.
class TSeededRandom : public vp::TRandomSource {
public:
    explicit TSeededRandom(uint32_t seed) : FEngine(seed) { }
    int32_t Next(int32_t range) override
    {
        if (range <= 0)
            return 0;
        return std::uniform_int_distribution<int32_t>(0, range - 1)(FEngine);
    }

private:
    std::mt19937 FEngine;
};

// Always the same number (as far as the range allows): 0 or 1 takes the two-in-ten super
// branch of a KAll selection, 2 and above never does.
class TFixedRandom : public vp::TRandomSource {
public:
    explicit TFixedRandom(int32_t value) : Value(value) { }
    int32_t Next(int32_t range) override { return range <= 0 ? 0 : std::min(Value, range - 1); }

    int32_t Value;
};

// "ip:port|name|code|longitude|latitude".
inline String Entry(StringView ip, StringView name, StringView code, StringView port = u"8080",
    StringView longitude = u"10", StringView latitude = u"20")
{
    return String(ip) + u":" + String(port) + u"|" + String(name) + u"|" + String(code) + u"|" +
        String(longitude) + u"|" + String(latitude);
}

inline String Join(std::initializer_list<String> entries)
{
    String out;
    bool first = true;
    for (const String& entry : entries) {
        out += (first ? u"" : u";") + entry;
        first = false;
    }
    return out;
}

} // namespace vptest
