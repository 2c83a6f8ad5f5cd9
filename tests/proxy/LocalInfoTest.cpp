// The location reply as the manager keeps it, the two request addresses and the reply rules
// of the location client.
#include "ProxyTestSupport.h"

#include "proxy/InfoGotThread.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class LocalInfo : public testing::Test {
protected:
    LocalInfo()
    {
        Manager.FOnGetCurrentLocalInfo = [this](TProxyManager* Sender) {
            ++Events;
            LastSender = Sender;
        };
    }

    TMapSettings Settings;
    TProxyManager Manager{Settings};
    int Events = 0;
    TProxyManager* LastSender = nullptr;
};

} // namespace

TEST_F(LocalInfo, TheLookupAddressJoinsTheSettingsAsTheyAre)
{
    Settings.Values[u"URL.GetInfo"] = u"http://svc.example/getinfo.php";
    Settings.Values[u"App.MagicWord"] = u"a b&c";
    EXPECT_EQ(Manager.LocalInfoURL(), u"http://svc.example/getinfo.php?MagicWord=a b&c");
    Settings.Values.clear();
    EXPECT_EQ(Manager.LocalInfoURL(), u"?MagicWord=");
}

TEST_F(LocalInfo, TheKeepAliveAddressFillsEveryPlaceholderAndIsReadAfresh)
{
    TProxyRec rec;
    rec.IP = u"192.0.2.10";
    Settings.Values[u"SUPER_TOUCH"] = u"http://svc.example/touch?ip={1}&again={1}&other={2}";
    EXPECT_EQ(Manager.TouchURL(rec), u"http://svc.example/touch?ip=192.0.2.10&again=192.0.2.10&other={2}");
    Settings.Values[u"SUPER_TOUCH"] = u"http://svc.example/t2?p={1}";
    EXPECT_EQ(Manager.TouchURL(rec), u"http://svc.example/t2?p=192.0.2.10");
    Settings.Values.erase(u"SUPER_TOUCH");
    EXPECT_EQ(Manager.TouchURL(rec), u"");
}

TEST_F(LocalInfo, AReplyReplacesTheLinesAndRaisesTheEvent)
{
    Manager.LocalInfoGot(u"IP=198.51.100.1\r\nCOUNTRY_SHORT=FR\r\nCITY=Paris\r\n");
    Manager.LocalInfoGot(u"IP=203.0.113.5\nCOUNTRY_SHORT=DE\n");
    EXPECT_EQ(Events, 2);
    EXPECT_EQ(LastSender, &Manager);
    EXPECT_EQ(Manager.FLocalInfo, (TStringList{u"IP=203.0.113.5", u"COUNTRY_SHORT=DE"}));
    EXPECT_EQ(Manager.LocalInfoValue(u"CITY"), u"");
    EXPECT_EQ(Manager.LocalInfoValue(u"IP"), u"203.0.113.5");
}

TEST_F(LocalInfo, KeysAreFoundIgnoringCaseAndTheFirstLineWins)
{
    Manager.LocalInfoGot(
        u"ip=\r\ncountry_short=us\r\nIP=192.0.2.1\r\nCountry_Long=United States\r\nnote=a=b\r\n"
        u"no equals sign\r\nCITY=Z\u00FCrich");
    EXPECT_EQ(Manager.LocalInfoValue(u"COUNTRY_SHORT"), u"us");
    EXPECT_EQ(Manager.LocalInfoValue(u"IP"), u"");
    EXPECT_EQ(Manager.LocalInfoValue(u"COUNTRY_LONG"), u"United States");
    EXPECT_EQ(Manager.LocalInfoValue(u"note"), u"a=b");
    EXPECT_EQ(Manager.LocalInfoValue(u"CITY"), u"Z\u00FCrich");
    EXPECT_EQ(Manager.LocalInfoValue(u"no equals sign"), u"");
    EXPECT_EQ(Manager.FLocalInfo.Count(), 7);
}

TEST_F(LocalInfo, WithoutAHandlerTheReplyIsStillStored)
{
    Manager.FOnGetCurrentLocalInfo = nullptr;
    Manager.LocalInfoGot(u"IP=1.2.3.4");
    EXPECT_EQ(Manager.LocalInfoValue(u"ip"), u"1.2.3.4");
}

TEST(InfoReply, OnlyA2xxStatusIsAccepted)
{
    for (uint32_t status : {200u, 201u, 204u, 299u})
        EXPECT_TRUE(IsInfoReplyAccepted(status)) << status;
    for (uint32_t status : {0u, 100u, 199u, 300u, 301u, 302u, 304u, 307u, 400u, 404u, 500u, 503u, 999u})
        EXPECT_FALSE(IsInfoReplyAccepted(status)) << status;
}

TEST(InfoReply, TheBodyIsDecodedByItsMarkItsCharsetOrTheAnsiCodePage)
{
    EXPECT_EQ(DecodeInfoReply("CITY=M\xC3\xBCnchen", u"text/plain; charset=UTF-8"), u"CITY=M\u00FCnchen");
    EXPECT_EQ(DecodeInfoReply("CITY=M\xC3\xBCnchen", u"text/plain;Charset=\"utf8\""), u"CITY=M\u00FCnchen");
    EXPECT_EQ(DecodeInfoReply("\xEF\xBB\xBF"
                              "CITY=M\xC3\xBCnchen",
                  u"text/plain"),
        u"CITY=M\u00FCnchen");
    EXPECT_EQ(DecodeInfoReply(std::string("\xFF\xFE"
                                          "I\0P\0",
                                  6),
                  u""),
        u"IP");
    EXPECT_EQ(DecodeInfoReply("CITY=M\xFCnchen", u"text/plain; charset=iso-8859-1"), u"CITY=M\u00FCnchen");
    EXPECT_EQ(DecodeInfoReply("CITY=M\xFCnchen", u""), u"CITY=M\u00FCnchen");
    EXPECT_EQ(DecodeInfoReply("", u"text/plain; charset=utf-8"), u"");
}
