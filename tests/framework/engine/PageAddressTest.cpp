#include "framework/engine/PageAddress.h"

#include <gtest/gtest.h>

#include <map>

using namespace vp;

namespace {

class TPageSettings : public ISettingsReader {
public:
    TPageSettings(std::initializer_list<std::pair<const String, String>> values) : FValues(values) { }
    String GetSettingString(StringView name) override
    {
        auto found = FValues.find(String(name));
        return found == FValues.end() ? String() : found->second;
    }

private:
    std::map<String, String> FValues;
};

// The page's address; the block stands in as "B" and is counted, as it is asked for only
// when it is appended.
String PageURL(TPageSettings settings, StringView page, int& blocks, bool addParams = true)
{
    return BuildPageURL(
        settings, page, addParams, u"C:\\Program Files\\Veilport", [&] { return ++blocks, u"B"; });
}

} // namespace

TEST(PageAddress, LocalPagesRedirectsAndTheActionParameter)
{
    int blocks = 0;
    // "%exepath%" in any case makes a local page, which gets no parameters.
    EXPECT_EQ(PageURL({{u"URL.help", u"%EXEPATH%\\help\\index.html?from=%ExePath%"}}, u"help", blocks),
        u"C:\\Program Files\\Veilport\\help\\index.html?from=C:\\Program Files\\Veilport");
    EXPECT_EQ(blocks, 0);
    EXPECT_EQ(PageURL({{u"URL.home", u"HTTP://127.0.0.1/home"}}, u"home", blocks),
        u"HTTP://127.0.0.1/home?ACTION=home&B");
    EXPECT_EQ(
        PageURL({{u"URL.home", u"http://127.0.0.1/home"}}, u"home", blocks, false), u"http://127.0.0.1/home");
    // A blank key reaches the redirect address; "&" is added only when it ends in neither "?" nor "&".
    for (const char16_t* redirect : {u"http://127.0.0.1/r?src=app", u"http://127.0.0.1/r?src=app&"})
        EXPECT_EQ(PageURL({{u"URL.home", u"  \t"}, {u"URL.Redirect", redirect}}, u"home", blocks),
            u"http://127.0.0.1/r?src=app&ACTION=home&B");
    EXPECT_EQ(PageURL({{u"URL.Redirect", u"http://127.0.0.1/r?"}}, u"eula", blocks),
        u"http://127.0.0.1/r?ACTION=eula&B");
    EXPECT_EQ(PageURL({{u"URL.Redirect", u"%exepath%\\r.html"}}, u"home", blocks), u"%exepath%\\r.html");
    EXPECT_EQ(PageURL({}, u"home", blocks), u"");
    EXPECT_EQ(blocks, 4);
}

TEST(URLParam, TheTenItemsInOrderEachEncoded)
{
    TURLParamValues values;
    values.Second = 7;
    values.Millisecond = 41;
    values.PID = u"vp&1";
    values.Language = u"Traditional Chinese";
    values.RunDays = 12;
    values.RunTimes = 5;
    values.Version = u"1.2.3.4";
    values.SubVersion = -3;
    values.WinMajor = 6;
    values.WinMinor = 1;
    values.ServicePack = u"Service Pack 1";
    values.SystemLangId = 1033;
    values.Channel = u"\"C:\\Downloads\\setup_ab.exe\"";
    EXPECT_EQ(BuildURLParam(values),
        u"07041&PID=vp%261&LANG=Traditional+Chinese&DAY=12&RUNTIME=5&VER=01020304&SVER=-3"
        u"&WVER=6_1_Service+Pack+1&WLANG=1033&CHL=73657475705F61622E657865");
    // Padding, a version that is not four numbers, the missing channel.
    values = {};
    values.Millisecond = 5;
    values.Version = u"1.2.3";
    values.Channel = u"unknow";
    EXPECT_EQ(BuildURLParam(values),
        u"00005&PID=&LANG=&DAY=0&RUNTIME=0&VER=00000000&SVER=0&WVER=0_0_&WLANG=0&CHL=756E6B6E6F77");
    EXPECT_EQ(ChannelName(u"D:setup.exe"), u"setup.exe");
    EXPECT_EQ(ChannelName(u"a\"b\\c\"d"), u"cd");
}
