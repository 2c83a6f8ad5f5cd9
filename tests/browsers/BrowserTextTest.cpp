// The texts that the three switches write or pass on, in both builds.
#include "browsers/FirefoxBridge.h"
#include "browsers/IEProxy.h"
#include "browsers/OperaProxy.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

TEST(IEProxyServerText, OneProxyForHttpFtpHttpsInThatOrderWithFinalSemicolon)
{
    EXPECT_EQ(
        IEProxyServerText(u"192.0.2.10:80"), u"http=192.0.2.10:80;ftp=192.0.2.10:80;https=192.0.2.10:80;");
    EXPECT_EQ(IEProxyServerText(u""), u"http=;ftp=;https=;");
}

TEST(IEProxyServerText, OnlyTheSwitchsOwnFormWithAProxyIsRecognised)
{
    EXPECT_TRUE(IsIEProxyServerText(u"http=192.0.2.10:80;ftp=192.0.2.10:80;https=192.0.2.10:80;"));
    for (const char16_t* other : {u"http=;ftp=;https=;", u"corp:3128", u"http=a:1;https=a:1;ftp=a:1",
             u"http=a:1;ftp=a:1;https=a:1", u"http=a:1;ftp=b:1;https=a:1;", u"http=a:1;ftp=a:1;https=a:1;x",
             u"HTTP=a:1;ftp=a:1;https=a:1;", u""})
        EXPECT_FALSE(IsIEProxyServerText(other)) << String(other).size();
}

TEST(OperaProxyKeys, SevenKeysInOrderWithAndWithoutProxy)
{
    auto withProxy = OperaProxyKeys(u"192.0.2.10:80");
    auto direct = OperaProxyKeys(u"");
    const char16_t* names[] = {u"Use HTTP", u"Use HTTPS", u"Use FTP", u"HTTP server", u"HTTPS server",
        u"FTP server", u"No Proxy Servers"};
    const char16_t* proxied[] = {u"1", u"1", u"1", u"192.0.2.10:80", u"192.0.2.10:80", u"192.0.2.10:80", u""};
    const char16_t* cleared[] = {u"0", u"0", u"0", u"", u"", u"", u""};
    ASSERT_EQ(withProxy.size(), 7u);
    ASSERT_EQ(direct.size(), 7u);
    for (size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(withProxy[i].Key, names[i]);
        EXPECT_EQ(withProxy[i].Value, proxied[i]) << i;
        EXPECT_EQ(direct[i].Key, names[i]);
        EXPECT_EQ(direct[i].Value, cleared[i]) << i;
    }
}

TEST(OperaPreferenceFiles, Opera6FirstThenOperaprefs)
{
    std::vector<String> expected = {u"C:\\Users\\u\\AppData\\Roaming\\Opera\\Opera\\profile\\opera6.ini",
        u"C:\\Users\\u\\AppData\\Roaming\\Opera\\Opera\\operaprefs.ini"};
    EXPECT_EQ(OperaPreferenceFiles(u"C:\\Users\\u\\AppData\\Roaming"), expected);
    // A folder text that already ends in "\" gives the same names.
    EXPECT_EQ(OperaPreferenceFiles(u"C:\\Users\\u\\AppData\\Roaming\\"), expected);
    // Unknown folder: nothing to look at (not the root of the current drive).
    EXPECT_TRUE(OperaPreferenceFiles(u"").empty());
}

TEST(SplitProxyArgument, AddressBeforeFirstColonPortAfterIt)
{
    TProxyArgument plain = SplitProxyArgument(u"192.0.2.10:80");
    EXPECT_EQ(plain.IP, u"192.0.2.10");
    EXPECT_EQ(plain.Port, u"80");

    TProxyArgument noColon = SplitProxyArgument(u"8080");
    EXPECT_EQ(noColon.IP, u"");
    EXPECT_EQ(noColon.Port, u"8080");

    TProxyArgument twoColons = SplitProxyArgument(u"a:b:c");
    EXPECT_EQ(twoColons.IP, u"a");
    EXPECT_EQ(twoColons.Port, u"b:c");

    TProxyArgument leading = SplitProxyArgument(u":81");
    EXPECT_EQ(leading.IP, u"");
    EXPECT_EQ(leading.Port, u"81");

    TProxyArgument trailing = SplitProxyArgument(u"host:");
    EXPECT_EQ(trailing.IP, u"host");
    EXPECT_EQ(trailing.Port, u"");
}

TEST(FirefoxCommandLines, ExactProxyClearingAndInstallLines)
{
    EXPECT_EQ(FirefoxSwitchParams(u"192.0.2.10:80"),
        u"-silent -nosplash -chrome "
        u"\"chrome://veilport/content/veilport.xul?ssl=&proxy=192.0.2.10&port=80\"");
    EXPECT_EQ(FirefoxSwitchParams(u""),
        u"-silent -nosplash -chrome \"chrome://veilport/content/veilport.xul?clear\"");
    EXPECT_EQ(FirefoxClearParams(), FirefoxSwitchParams(u""));
    EXPECT_EQ(FirefoxInstallParams(u"C:\\Program Files\\Veilport\\"),
        u"\"C:\\Program Files\\Veilport\\ffextension.xpi\"");
}

TEST(FirefoxCommandLines, ArgumentWithoutColonGivesEmptyProxyAndWholePort)
{
    EXPECT_EQ(FirefoxSwitchParams(u"8080"),
        u"-silent -nosplash -chrome \"chrome://veilport/content/veilport.xul?ssl=&proxy=&port=8080\"");
    // A host name and "&"-free values pass unencoded.
    EXPECT_EQ(FirefoxSwitchParams(u"proxy-1.example_net:3128"),
        u"-silent -nosplash -chrome "
        u"\"chrome://veilport/content/veilport.xul?ssl=&proxy=proxy-1.example_net&port=3128\"");
}

TEST(FirefoxCommandLines, PoolTextCannotBreakOutOfTheQuotedChromeAddress)
{
    // The pool is not validated: a quote or a backslash before the closing quote would end
    // the quoted argument and hand Firefox arguments of the pool's choosing.
    String params = FirefoxSwitchParams(u"1.2.3.4\" -profile \"C:\\x:80\\");
    EXPECT_EQ(params,
        u"-silent -nosplash -chrome "
        u"\"chrome://veilport/content/veilport.xul?ssl=&proxy=1.2.3.4%22 -profile %22C&port=%5Cx:80%5C\"");
    EXPECT_EQ(BridgeQueryValue(u"50%\r\n\x7F"), u"50%25%0D%0A%7F");
    EXPECT_EQ(BridgeQueryValue(u""), u"");
}

} // namespace
