#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/TextEncoding.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(Cp1252, MapsTheHighRangeBothWays)
{
    EXPECT_EQ(Cp1252ToU16("\x80\x9F\xE9"), u"\u20AC\u0178\u00E9");
    EXPECT_EQ(U16ToCp1252(u"\u20AC\u0178\u00E9"), "\x80\x9F\xE9");
    // Unassigned bytes survive a round trip; characters it cannot hold become "?".
    EXPECT_EQ(U16ToCp1252(Cp1252ToU16("\x81\x8D")), "\x81\x8D");
    EXPECT_EQ(U16ToCp1252(u"\u0416\U0001F600"), "???");
}

TEST(SystemAnsi, RoundTripsWesternText)
{
    // Both builds run with a Western code page (Windows-1252 under Wine's default locale).
    String text = u"Caf\u00E9 \u20AC";
    EXPECT_EQ(AnsiToU16(U16ToAnsi(text)), text);
    EXPECT_EQ(U16ToAnsi(u"\u0416"), "?");
}

TEST(TextBytes, DetectsByteOrderMarks)
{
    auto utf8 = DecodeTextBytes("\xEF\xBB\xBF\xC3\xA9");
    EXPECT_EQ(utf8.Encoding, TTextEncoding::Utf8);
    EXPECT_EQ(utf8.Text, u"\u00E9");

    auto le = DecodeTextBytes(std::string("\xFF\xFE"
                                          "a\0\x16\x04",
        6));
    EXPECT_EQ(le.Encoding, TTextEncoding::Utf16LE);
    EXPECT_EQ(le.Text, u"a\u0416");

    auto be = DecodeTextBytes(std::string("\xFE\xFF\0a\x04\x16", 6));
    EXPECT_EQ(be.Encoding, TTextEncoding::Utf16BE);
    EXPECT_EQ(be.Text, u"a\u0416");

    auto ansi = DecodeTextBytes("\xE9");
    EXPECT_EQ(ansi.Encoding, TTextEncoding::Ansi);
    EXPECT_EQ(ansi.Text, u"\u00E9");
}

TEST(TextBytes, OddUtf16TailAndEmptyInputDoNotOverread)
{
    EXPECT_EQ(DecodeTextBytes(std::string("\xFF\xFE"
                                          "a\0b",
                                  5))
                  .Text,
        u"a");
    EXPECT_EQ(DecodeTextBytes("\xFF").Text, u"\u00FF");
    EXPECT_EQ(DecodeTextBytes("").Text, u"");
}

TEST(TextBytes, EncodesWithTheMarkOfTheEncodingRead)
{
    for (auto encoding : {TTextEncoding::Utf8, TTextEncoding::Utf16LE, TTextEncoding::Utf16BE}) {
        std::string bytes = EncodeTextBytes(u"x\u0416", encoding);
        auto decoded = DecodeTextBytes(bytes);
        EXPECT_EQ(decoded.Encoding, encoding);
        EXPECT_EQ(decoded.Text, u"x\u0416");
    }
    EXPECT_EQ(EncodeTextBytes(u"a\u00E9", TTextEncoding::Ansi), "a\xE9");
}

TEST(Lines, SplitsAtCrLfLfAndCr)
{
    auto lines = SplitLines(u"a\r\nb\nc\rd\r\n\r\ne");
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], u"a");
    EXPECT_EQ(lines[3], u"d");
    EXPECT_EQ(lines[4], u"");
    EXPECT_EQ(lines[5], u"e");
    EXPECT_EQ(SplitLines(u"a\r\n").size(), 1u);
    EXPECT_TRUE(SplitLines(u"").empty());
}
