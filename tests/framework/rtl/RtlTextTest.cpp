#include "framework/rtl/RtlText.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(Utf8, RoundTripsAllPlanes)
{
    String text = u"a\u00E9\u20AC\U0001F600z";
    EXPECT_EQ(Utf8ToU16(U16ToUtf8(text)), text);
    EXPECT_EQ(U16ToUtf8(u"\u00E9"), "\xC3\xA9");
}

TEST(Utf8, MalformedInputBecomesReplacementCharacters)
{
    EXPECT_EQ(Utf8ToU16("a\xC3"), u"a\uFFFD"); // truncated sequence
    EXPECT_EQ(Utf8ToU16("\xC0\xAF"), u"\uFFFD"); // overlong
    EXPECT_EQ(Utf8ToU16("\xED\xA0\x80x"), u"\uFFFDx"); // encoded surrogate
    EXPECT_EQ(Utf8ToU16("\xFF"), u"\uFFFD");
    EXPECT_EQ(U16ToUtf8(String(1, char16_t(0xD800))), "\xEF\xBF\xBD"); // lone surrogate
}

TEST(Wide, RoundTrips)
{
    String text = u"x\u00FC\U0001F600";
    EXPECT_EQ(FromWide(ToWide(text)), text);
}

TEST(CaseInsensitive, FoldsLatinGreekCyrillicButNotTheCLocale)
{
    EXPECT_TRUE(SameText(u"App.Name", u"APP.NAME"));
    EXPECT_TRUE(SameText(u"\u00E4\u00F6\u00FC", u"\u00C4\u00D6\u00DC"));
    EXPECT_TRUE(SameText(u"\u0430\u0431\u0432\u0451", u"\u0410\u0411\u0412\u0401"));
    EXPECT_TRUE(SameText(u"\u03B1\u03C2", u"\u0391\u03A3"));
    EXPECT_TRUE(SameText(u"\u0142\u017C", u"\u0141\u017B"));
    EXPECT_FALSE(SameText(u"abc", u"abd"));
    EXPECT_FALSE(SameText(u"abc", u"ab"));
    EXPECT_EQ(UpperCase(u"\u00FF"), u"\u0178");
    EXPECT_EQ(LowerCase(u"ABC\u00C9\u0416"), u"abc\u00E9\u0436");
}

TEST(CaseInsensitive, CompareTextOrdersByFoldedUnitsThenLength)
{
    EXPECT_EQ(CompareText(u"abc", u"ABC"), 0);
    EXPECT_LT(CompareText(u"abc", u"ABD"), 0);
    EXPECT_GT(CompareText(u"b", u"A"), 0);
    EXPECT_LT(CompareText(u"ab", u"abc"), 0);
    // "_" (0x5F) sorts after the upper-case letters, whatever the case of the other side.
    EXPECT_GT(CompareText(u"_x", u"z"), 0);
    EXPECT_EQ(PosText(u"NAME", u"app.name"), 4u);
    EXPECT_EQ(PosText(u"x", u""), String::npos);
}

TEST(Trim, RemovesBlanksAndControlCharacters)
{
    EXPECT_EQ(Trim(u" \t\x01 key = v \r\n"), u"key = v");
    EXPECT_EQ(TrimLeft(u"  a "), u"a ");
    EXPECT_EQ(TrimRight(u"  a \x1F"), u"  a");
    EXPECT_EQ(Trim(u"\x7F"), u"\x7F"); // DEL is no blank
    EXPECT_EQ(Trim(u"   "), u"");
}

TEST(Numbers, IntToStrAndHex)
{
    EXPECT_EQ(IntToStr(-2147483648LL), u"-2147483648");
    EXPECT_EQ(IntToHex(0), u"0");
    EXPECT_EQ(IntToHex(0xFFFFE), u"FFFFE");
    EXPECT_EQ(IntToHex(10, 2), u"0A");
}

TEST(ReplaceAll, DoesNotRescanInsertedText)
{
    EXPECT_EQ(ReplaceAll(u"aXbXc", u"X", u"XX"), u"aXXbXXc");
    EXPECT_EQ(ReplaceAll(u"abc", u"", u"z"), u"abc");
}
