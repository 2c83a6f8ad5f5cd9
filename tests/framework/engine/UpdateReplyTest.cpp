#include "framework/engine/UpdateReply.h"

#include <gtest/gtest.h>

#include <map>

using namespace vp;

namespace {

// Records every write in order, and the settings as they stand afterwards.
class TRecordingWriter : public ISettingsWriter {
public:
    void SetSettingstring(StringView strName, StringView strValue) override
    {
        Calls.push_back({String(strName), String(strValue)});
        Settings[String(strName)] = String(strValue);
    }

    std::vector<TUpdateSettingWrite> Calls;
    std::map<String, String> Settings;
};

std::vector<TUpdateSettingWrite> Writes(std::initializer_list<std::pair<StringView, StringView>> items)
{
    std::vector<TUpdateSettingWrite> writes;
    for (auto [name, value] : items)
        writes.push_back({String(name), String(value)});
    return writes;
}

} // namespace

TEST(UpdateReplyMagicWord, ComparedWithoutRegardToCaseOnTheFirstMagicLineOnly)
{
    EXPECT_TRUE(ParseUpdateReply(u"MAGICWORD=VeilPort", u"veilport").Accepted);
    EXPECT_TRUE(ParseUpdateReply(u"magicword=veilport\r\nmagicword=other", u"VEILPORT").Accepted);
    EXPECT_FALSE(ParseUpdateReply(u"magicword=other\r\nmagicword=veilport", u"veilport").Accepted);
    // Names and values are exact: a blank before the name names another line, a blank after
    // the value is part of it.
    EXPECT_FALSE(ParseUpdateReply(u" magicword=veilport", u"veilport").Accepted);
    EXPECT_FALSE(ParseUpdateReply(u"magicword=veilport ", u"veilport").Accepted);
    EXPECT_FALSE(ParseUpdateReply(u"__MODIFY__.A=1", u"veilport").Accepted);
    EXPECT_FALSE(ParseUpdateReply(u"", u"veilport").Accepted);
}

TEST(UpdateReplyMagicWord, AnEmptyMagicWordAcceptsAMissingOrEmptyLineOnly)
{
    EXPECT_TRUE(ParseUpdateReply(u"", u"").Accepted);
    EXPECT_TRUE(ParseUpdateReply(u"__MODIFY__.A=1", u"").Accepted);
    EXPECT_TRUE(ParseUpdateReply(u"magicword=\r\n__MODIFY__.A=1", u"").Accepted);
    EXPECT_FALSE(ParseUpdateReply(u"magicword=x", u"").Accepted);
}

TEST(UpdateReplyMagicWord, ARejectedReplyWritesNothingAndAnswersNothing)
{
    TUpdateReply reply = ParseUpdateReply(
        u"magicword=wrong\r\n__MODIFY__.NORMAL_IPS=x\r\nBanner.Top=y\r\nResult=1\r\ninfo=i", u"vp");
    EXPECT_FALSE(reply.Accepted);
    EXPECT_TRUE(reply.Writes.empty());
    EXPECT_TRUE(reply.Info.empty());
    TRecordingWriter writer;
    EXPECT_EQ(ApplyUpdateReply(reply, writer), 0u);
    EXPECT_TRUE(writer.Calls.empty());
}

TEST(UpdateReplyWrites, PrefixesInAnyCaseNameTheSettingAndTheValueKeepsLaterEquals)
{
    TUpdateReply reply = ParseUpdateReply(u"magicword=vp\r\n"
                                          u"__modify__.URL.CheckIP=x\r\n"
                                          u"__MODIFY__.A=1=2\r\n"
                                          u"banner.Text=Hello \r\n"
                                          u"BANNER.Image=http://127.0.0.1/b.png?a=b\r\n"
                                          u"__MODIFY__.Empty=\r\n"
                                          u"Result=0\r\n"
                                          u"Other=ignored\r\n"
                                          u"no equals sign here\r\n"
                                          u"=no name\r\n"
                                          u"__MODIFY_.Short=ignored\r\n",
        u"vp");
    ASSERT_TRUE(reply.Accepted);
    EXPECT_EQ(reply.Writes,
        Writes({{u"URL.CheckIP", u"x"}, {u"A", u"1=2"}, {u"banner.Text", u"Hello "},
            {u"BANNER.Image", u"http://127.0.0.1/b.png?a=b"}, {u"Empty", u""}}));
}

TEST(UpdateReplyWrites, AppliedInReplyOrderSoTheLaterLineOfANameWins)
{
    TUpdateReply reply = ParseUpdateReply(
        u"__MODIFY__.NORMAL_IPS=first\n__MODIFY__.SUPER_TOUCH=t\n__MODIFY__.normal_ips=second\nBanner.x=1",
        u"");
    TRecordingWriter writer;
    EXPECT_EQ(ApplyUpdateReply(reply, writer), 4u);
    EXPECT_EQ(writer.Calls,
        Writes({{u"NORMAL_IPS", u"first"}, {u"SUPER_TOUCH", u"t"}, {u"normal_ips", u"second"},
            {u"Banner.x", u"1"}}));
    // The writer sees the names exactly; the store compares them without regard to case.
    EXPECT_EQ(writer.Settings[u"normal_ips"], u"second");
}

TEST(UpdateReplyWrites, NamesTheSettingsFileCannotHoldAreSkipped)
{
    // A name that would read back as a section heading would move every later setting out
    // of the settings section; one that reads back as a comment or as nothing is lost.
    TUpdateReply reply = ParseUpdateReply(u"__MODIFY__.=empty\n"
                                          u"__MODIFY__.  =blank\n"
                                          u"__MODIFY__.[section]=x]\n"
                                          u"__MODIFY__. [x=y]\n"
                                          u"__MODIFY__.;comment=x\n"
                                          u"__MODIFY__.Kept[1]=x\n",
        u"");
    EXPECT_EQ(reply.Writes, Writes({{u"Kept[1]", u"x"}}));
}

TEST(UpdateReplyLines, CrLfCrAndMixedLineEndsSplitAlike)
{
    for (StringView reply : {u"magicword=vp\r\n__MODIFY__.A=1\r\n__MODIFY__.B=2\r\n",
             u"magicword=vp\n__MODIFY__.A=1\n__MODIFY__.B=2",
             u"magicword=vp\r__MODIFY__.A=1\r__MODIFY__.B=2\r",
             u"magicword=vp\r\n\r\n__MODIFY__.A=1\r\r\n__MODIFY__.B=2\n\n"}) {
        TUpdateReply parsed = ParseUpdateReply(reply, u"VP");
        EXPECT_TRUE(parsed.Accepted) << testing::PrintToString(U16ToUtf8(reply));
        EXPECT_EQ(parsed.Writes, Writes({{u"A", u"1"}, {u"B", u"2"}}));
    }
}

TEST(UpdateReplyVersion, ResultReadsLikeASettingInteger)
{
    struct {
        StringView Reply;
        TUpdateVersion Version;
        int32_t Result;
    } cases[] = {
        {u"", TUpdateVersion::Latest, 0},
        {u"Result=0", TUpdateVersion::Latest, 0},
        {u"Result=abc", TUpdateVersion::Latest, 0},
        {u"Result=", TUpdateVersion::Latest, 0},
        {u"RESULT=1", TUpdateVersion::Newer, 1},
        {u"Result= 1", TUpdateVersion::Newer, 1},
        {u"Result=$1", TUpdateVersion::Newer, 1},
        {u"Result=2", TUpdateVersion::NoAnswer, 2},
        {u"Result=-1", TUpdateVersion::NoAnswer, -1},
        {u"Result=2\r\nResult=1", TUpdateVersion::NoAnswer, 2},
        {u" Result=1", TUpdateVersion::Latest, 0},
    };
    for (const auto& c : cases) {
        TUpdateReply reply = ParseUpdateReply(c.Reply, u"");
        EXPECT_EQ(reply.Version, c.Version) << U16ToUtf8(c.Reply);
        EXPECT_EQ(reply.Result, c.Result) << U16ToUtf8(c.Reply);
    }
}

TEST(UpdateReplyVersion, ANewerVersionCarriesTheFirstInfoAndPage)
{
    TUpdateReply reply = ParseUpdateReply(u"magicword=vp\r\nresult=1\r\nINFO=Version 2 = better\r\n"
                                          u"page=http://127.0.0.1:8080/files/setup.exe\r\ninfo=second",
        u"vp");
    EXPECT_EQ(reply.Version, TUpdateVersion::Newer);
    EXPECT_EQ(reply.Info, u"Version 2 = better");
    EXPECT_EQ(reply.Page, u"http://127.0.0.1:8080/files/setup.exe");
    EXPECT_TRUE(reply.Writes.empty());

    TUpdateReply noPage = ParseUpdateReply(u"Result=1\r\ninfo=New\r\npage=", u"");
    EXPECT_EQ(noPage.Version, TUpdateVersion::Newer);
    EXPECT_EQ(noPage.Info, u"New");
    EXPECT_TRUE(noPage.Page.empty());

    // Without a newer version the texts are not part of the answer.
    TUpdateReply latest = ParseUpdateReply(u"Result=0\r\ninfo=New\r\npage=p", u"");
    EXPECT_TRUE(latest.Info.empty() && latest.Page.empty());
}
