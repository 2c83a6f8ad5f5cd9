#include "framework/engine/HttpRequest.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

TSplitURL Split(StringView url)
{
    return SplitURL(url);
}

} // namespace

TEST(SplitURL, SchemesInAnyCaseAreRemovedAndChooseThePort)
{
    for (StringView url :
        {u"http://example.com/a/b?c=d", u"HTTP://example.com/a/b?c=d", u"Http://example.com/a/b?c=d"}) {
        TSplitURL split = Split(url);
        EXPECT_EQ(split.Host, u"example.com");
        EXPECT_EQ(split.Path, u"/a/b?c=d");
        EXPECT_EQ(split.Port, 80);
        EXPECT_FALSE(split.Secure);
    }
    TSplitURL secure = Split(u"HTTPS://Example.com/update.php");
    EXPECT_EQ(secure.Host, u"Example.com");
    EXPECT_EQ(secure.Path, u"/update.php");
    EXPECT_EQ(secure.Port, 443);
    EXPECT_TRUE(secure.Secure);
}

TEST(SplitURL, TheSchemeTestLooksAtTheBeginningOnly)
{
    TSplitURL split = Split(u"example.com/go?to=http://other.example/x");
    EXPECT_EQ(split.Host, u"example.com");
    EXPECT_EQ(split.Path, u"/go?to=http://other.example/x");
    EXPECT_FALSE(split.Secure);
    // "http://" first, then "https://" on what remains.
    TSplitURL twice = Split(u"http://https://host/p");
    EXPECT_EQ(twice.Host, u"host");
    EXPECT_TRUE(twice.Secure);
}

TEST(SplitURL, AnAddressWithoutSchemeIsHttpToThatHost)
{
    TSplitURL split = Split(u"flags.example.net/flags/US.PNG");
    EXPECT_EQ(split.Host, u"flags.example.net");
    EXPECT_EQ(split.Path, u"/flags/US.PNG");
    EXPECT_EQ(split.Port, 80);
    EXPECT_FALSE(split.Secure);
}

TEST(SplitURL, AnAddressWithoutSlashHasNoHost)
{
    TSplitURL split = Split(u"http://example.com");
    EXPECT_EQ(split.Host, u"");
    EXPECT_EQ(split.Path, u"example.com");
    EXPECT_EQ(Split(u"").Host, u"");
    EXPECT_EQ(Split(u"http://").Path, u"");
}

TEST(SplitURL, AWrittenPortIsUsed)
{
    TSplitURL split = Split(u"http://127.0.0.1:8080/x");
    EXPECT_EQ(split.Host, u"127.0.0.1");
    EXPECT_EQ(split.Port, 8080);
    TSplitURL secure = Split(u"https://host:8443/");
    EXPECT_EQ(secure.Port, 8443);
    EXPECT_TRUE(secure.Secure);
    TSplitURL v6 = Split(u"http://[::1]:81/v6");
    EXPECT_EQ(v6.Host, u"::1");
    EXPECT_EQ(v6.Port, 81);
}

TEST(SplitURL, SomethingThatIsNotAPortStaysInTheHostName)
{
    for (StringView host :
        {u"host:", u"host:0", u"host:65536", u"host:8o", u"host:123456", u"::1", u"[::1]"}) {
        TSplitURL split = Split(String(u"http://") + String(host) + u"/p");
        EXPECT_EQ(split.Host, String(host));
        EXPECT_EQ(split.Port, 80);
    }
    EXPECT_EQ(Split(u"http://host:65535/").Port, 65535);
}

TEST(RequestFlags, TheThreeCombinations)
{
    // HTTPS: secure, and never the flag that accepts a certificate for another host name.
    constexpr uint32_t kIgnoreCertCNInvalid = 0x00001000u;
    EXPECT_EQ(RequestFlags(true, false), kFlagSecure);
    EXPECT_EQ(RequestFlags(true, true), kFlagSecure);
    EXPECT_EQ(RequestFlags(true, false) & kIgnoreCertCNInvalid, 0u);
    EXPECT_EQ(RequestFlags(false, false), kFlagReload);
    EXPECT_EQ(RequestFlags(false, true), 0u);
}

TEST(RequestText, VerbHeaderAndBody)
{
    EXPECT_EQ(RequestVerb(u""), u"GET");
    EXPECT_EQ(RequestVerb(u"a=1"), u"POST");
    EXPECT_EQ(RequestHeaders(u""), u"Content-Type: application/x-www-form-urlencoded");
    EXPECT_EQ(RequestHeaders(u"Content-Type: text/xml"), u"Content-Type: text/xml");
    EXPECT_EQ(RequestBodyBytes(u"a+b%26c"), "a+b%26c");
    // One byte per character: bytes widened by the multipart builder come back unchanged.
    EXPECT_EQ(RequestBodyBytes(String(u"\u0000\u00FF\u0080x", 4)), std::string("\x00\xFF\x80x", 4));
    EXPECT_EQ(RequestBodyBytes(u"\u20AC"), "?");
}

TEST(AnnouncedLength, DecimalDigitsWithinSigned32Bits)
{
    EXPECT_EQ(ParseAnnouncedLength(u"0"), 0);
    EXPECT_EQ(ParseAnnouncedLength(u"16384"), 16384);
    EXPECT_EQ(ParseAnnouncedLength(u"2147483647"), 2147483647);
    for (StringView bad :
        {u"", u"2147483648", u"99999999999", u"-1", u"+5", u" 5", u"5 ", u"0x10", u"1e3", u"12a"})
        EXPECT_FALSE(ParseAnnouncedLength(bad).has_value()) << std::string(bad.begin(), bad.end());
}

TEST(DecodeReplyText, TheThreeCharsets)
{
    EXPECT_EQ(DecodeReplyText("caf\xE9", KAnsi), u"caf\u00E9");
    EXPECT_EQ(DecodeReplyText("caf\xC3\xA9 \xE2\x82\xAC", KUTF8), u"caf\u00E9 \u20AC");
    EXPECT_EQ(DecodeReplyText(std::string("a\0\xAC\x20", 4), KUnicode), u"a\u20AC");
    // size div 2 characters: an odd last byte is dropped.
    EXPECT_EQ(DecodeReplyText(std::string("a\0b", 3), KUnicode), u"a");
    EXPECT_EQ(DecodeReplyText("x", KUnicode), u"");
    EXPECT_EQ(DecodeReplyText("", KUTF8), u"");
    // Malformed UTF-8 never fails.
    EXPECT_EQ(DecodeReplyText("\xFF", KUTF8), u"\uFFFD");
}

TEST(FileTransferOutcome, TheTargetIsReplacedOnlyByACompleteBody)
{
    TFileTransferOutcome complete = FileTransferOutcome(true, 1000, 1000);
    EXPECT_TRUE(complete.Result);
    EXPECT_TRUE(complete.CopyToTarget);
    // Cut short, or longer than announced: failure, the target stays as it was.
    for (uint64_t received : {0ull, 999ull, 1001ull}) {
        TFileTransferOutcome partial = FileTransferOutcome(true, 1000, received);
        EXPECT_FALSE(partial.Result);
        EXPECT_FALSE(partial.CopyToTarget);
    }
    // Nothing announced: the body is written all the same; only an empty one succeeds.
    TFileTransferOutcome unannounced = FileTransferOutcome(false, 0, 10);
    EXPECT_FALSE(unannounced.Result);
    EXPECT_TRUE(unannounced.CopyToTarget);
    TFileTransferOutcome empty = FileTransferOutcome(false, 0, 0);
    EXPECT_TRUE(empty.Result);
    EXPECT_TRUE(empty.CopyToTarget);
    TFileTransferOutcome emptyAnnounced = FileTransferOutcome(true, 0, 0);
    EXPECT_TRUE(emptyAnnounced.Result);
}
