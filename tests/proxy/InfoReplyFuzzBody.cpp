#include "InfoReplyFuzzBody.h"

#include "support/FuzzCheck.h"

#include "ProxyTestSupport.h"

#include "framework/rtl/TextEncoding.h"
#include "proxy/InfoGotThread.h"

using namespace vp;

namespace vptest {

namespace {

// The value of the first line whose name (text before its first "=") equals aKey ignoring
// case, found by walking the lines of the text itself.
String ExpectedValue(const String& aText, StringView aKey)
{
    for (StringView line : SplitLines(aText)) {
        size_t eq = line.find(u'=');
        if (eq != StringView::npos && UpperCase(line.substr(0, eq)) == UpperCase(aKey))
            return String(line.substr(eq + 1));
    }
    return String();
}

} // namespace

std::string RunInfoReplyFuzzInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return {};
    StringView contentType = (data[0] & 1) ? u"text/plain; charset=utf-8" : u"text/plain";
    std::string_view body(reinterpret_cast<const char*>(data + 1), size - 1);
    String text = DecodeInfoReply(body, contentType);

    TMapSettings settings;
    TProxyManager manager(settings);
    int events = 0;
    manager.FOnGetCurrentLocalInfo = [&](TProxyManager* sender) {
        if (sender == &manager)
            ++events;
    };
    manager.LocalInfoGot(u"STALE=1");
    manager.LocalInfoGot(text);
    VP_FUZZ_CHECK(events == 2);
    // The reply replaces what was there, line for line.
    std::vector<StringView> lines = SplitLines(text);
    VP_FUZZ_CHECK(manager.FLocalInfo.Count() == static_cast<int>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i)
        VP_FUZZ_CHECK(manager.FLocalInfo[static_cast<int>(i)] == lines[i]);
    if (ExpectedValue(text, u"STALE").empty())
        VP_FUZZ_CHECK(manager.LocalInfoValue(u"STALE").empty());

    for (StringView key : {u"IP", u"COUNTRY_SHORT", u"COUNTRY_LONG", u"CITY", u"country_short", u""})
        VP_FUZZ_CHECK(manager.LocalInfoValue(key) == ExpectedValue(text, key));
    for (StringView line : lines) {
        size_t eq = line.find(u'=');
        if (eq == StringView::npos)
            continue;
        StringView key = line.substr(0, eq);
        VP_FUZZ_CHECK(manager.LocalInfoValue(key) == ExpectedValue(text, key));
        VP_FUZZ_CHECK(manager.LocalInfoValue(LowerCase(key)) == manager.LocalInfoValue(UpperCase(key)));
    }
    return {};
}

} // namespace vptest
