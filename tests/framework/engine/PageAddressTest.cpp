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

// The parameter block is asked for only when it is appended.
struct TBlockSource {
    int Calls = 0;
    String operator()() { return ++Calls, String(u"07041&PID=x"); }
};

String Build(TPageSettings& settings, StringView page, bool addParams, TBlockSource& block)
{
    return BuildPageURL(settings, page, addParams, u"C:\\Program Files\\Veilport", std::ref(block));
}

} // namespace

TEST(PageAddress, ExePathInAnyCaseMakesALocalPageWithoutParameters)
{
    TPageSettings settings({{u"URL.help", u"%EXEPATH%\\help\\index.html?from=%ExePath%"},
        {u"URL.Redirect", u"http://127.0.0.1/r"}});
    TBlockSource block;
    EXPECT_EQ(Build(settings, u"help", true, block),
        u"C:\\Program Files\\Veilport\\help\\index.html?from=C:\\Program Files\\Veilport");
    EXPECT_EQ(block.Calls, 0);
}

TEST(PageAddress, HttpPagesGetTheActionAndTheBlock)
{
    TPageSettings settings(
        {{u"URL.home", u"HTTP://127.0.0.1/home"}, {u"URL.help", u"http://127.0.0.1/h?x=1&"}});
    TBlockSource block;
    EXPECT_EQ(Build(settings, u"home", true, block), u"HTTP://127.0.0.1/home?ACTION=home&07041&PID=x");
    EXPECT_EQ(Build(settings, u"help", true, block), u"http://127.0.0.1/h?x=1&ACTION=help&07041&PID=x");
    EXPECT_EQ(Build(settings, u"home", false, block), u"HTTP://127.0.0.1/home");
    EXPECT_EQ(block.Calls, 2);
}

TEST(PageAddress, ABlankPageKeyReachesTheRedirectAsItIs)
{
    TBlockSource block;
    for (const char16_t* redirect : {u"http://127.0.0.1/r?src=app", u"http://127.0.0.1/r?src=app&"}) {
        TPageSettings settings({{u"URL.home", u"  \t"}, {u"URL.Redirect", redirect}});
        EXPECT_EQ(
            Build(settings, u"home", true, block), u"http://127.0.0.1/r?src=app&ACTION=home&07041&PID=x");
    }
    TPageSettings endsInQuestionMark({{u"URL.Redirect", u"http://127.0.0.1/r?"}});
    EXPECT_EQ(Build(endsInQuestionMark, u"eula", true, block), u"http://127.0.0.1/r?ACTION=eula&07041&PID=x");
    // The redirect address is taken as it is: no "%exepath%" in it is filled.
    TPageSettings local({{u"URL.Redirect", u"%exepath%\\r.html"}});
    EXPECT_EQ(Build(local, u"home", true, block), u"%exepath%\\r.html");
    TPageSettings none{};
    EXPECT_EQ(Build(none, u"home", true, block), u"");
    EXPECT_EQ(block.Calls, 3);
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
}

TEST(URLParam, EdgeValues)
{
    TURLParamValues values;
    values.Second = 0;
    values.Millisecond = 5;
    values.Version = u"1.2.3";
    values.Channel = u"unknow";
    values.SystemLangId = 0xFFFF;
    EXPECT_EQ(BuildURLParam(values),
        u"00005&PID=&LANG=&DAY=0&RUNTIME=0&VER=00000000&SVER=0&WVER=0_0_&WLANG=65535&CHL=756E6B6E6F77");
    values.Version = u"255.0.10.1";
    EXPECT_NE(BuildURLParam(values).find(u"&VER=FF000A01&"), String::npos);
}

TEST(URLParam, TheChannelIsTheLastPathComponentWithoutQuotes)
{
    EXPECT_EQ(ChannelName(u"\"C:\\Downloads\\setup_ab.exe\""), u"setup_ab.exe");
    EXPECT_EQ(ChannelName(u"D:setup.exe"), u"setup.exe");
    EXPECT_EQ(ChannelName(u"partner7"), u"partner7");
    EXPECT_EQ(ChannelName(u"C:\\folder\\"), u"");
    EXPECT_EQ(ChannelName(u"a\"b\\c\"d"), u"cd");
}
