#include "framework/rtl/TextUtils.h"
#include "framework/rtl/UrlText.h"
#include "framework/rtl/PathText.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(PathJoin, FollowsItsFourRules)
{
    EXPECT_EQ(PathJoin(u"C:\\App\\", u"res\\flag.png"), u"C:\\App\\res\\flag.png");
    EXPECT_EQ(PathJoin(u"C:\\App\\", u"res/flag.png"), u"C:\\App\\res\\flag.png");
    EXPECT_EQ(PathJoin(u"C:\\App", u"\\data\\x.txt"), u"C:\\data\\x.txt");
    EXPECT_EQ(PathJoin(u"C:/App", u"x"), u"C:\\App\\x");
    EXPECT_EQ(PathJoin(u"C:\\App\\", u"D:\\other.txt"), u"D:\\other.txt");
    EXPECT_EQ(PathJoin(u"\\\\server\\share\\", u"D:/o.txt"), u"D:\\o.txt");
    EXPECT_EQ(PathJoin(u"C:\\App\\", u""), u"C:\\App\\");
    EXPECT_EQ(PathJoin(u"\\\\server\\share\\", u"a/b.txt"), u"a\\b.txt");
    EXPECT_EQ(PathJoin(u"relative\\", u"a/b.txt"), u"a/b.txt"); // no drive: unchanged
    EXPECT_EQ(PathJoin(u"C:\\App\\", u"\\"), u"C:\\App\\\\"); // a lone "\" is no root
}

TEST(FileNames, ExtractFileNameNoExt)
{
    EXPECT_EQ(ExtractFileNameNoExt(u"C:\\a\\b.c.txt"), u"b.c");
    EXPECT_EQ(ExtractFileNameNoExt(u"noext"), u"noext");
    EXPECT_EQ(ExtractFileNameNoExt(u".hidden"), u"");
    EXPECT_EQ(ExtractFileNameNoExt(u"C:name.lan"), u"name");
    EXPECT_EQ(ExtractFilePath(u"C:\\a\\b.txt"), u"C:\\a\\");
    EXPECT_EQ(ExtractFilePath(u"b.txt"), u"");
}

TEST(StrToIntSafe, ReadsDecimalAndHexOrGivesTheDefault)
{
    EXPECT_EQ(StrToIntSafe(u"42", -1), 42);
    EXPECT_EQ(StrToIntSafe(u"  -17", -1), -17);
    EXPECT_EQ(StrToIntSafe(u"+5", -1), 5);
    EXPECT_EQ(StrToIntSafe(u"$10", -1), 16);
    EXPECT_EQ(StrToIntSafe(u"x1f", -1), 31);
    EXPECT_EQ(StrToIntSafe(u"0XfF", -1), 255);
    EXPECT_EQ(StrToIntSafe(u"-$10", -1), -16);
    EXPECT_EQ(StrToIntSafe(u"$FFFFFFFF", 0), -1);
    EXPECT_EQ(StrToIntSafe(u"2147483647", 0), 2147483647);
    EXPECT_EQ(StrToIntSafe(u"-2147483648", 0), INT32_MIN);
    for (const char16_t* bad : {u"", u"12abc", u"2147483648", u"-2147483649", u"$", u"0x", u"1 ", u"true",
             u"$100000000", u"99999999999999999999", u"- 1", u"\t1"})
        EXPECT_EQ(StrToIntSafe(bad, -7), -7) << U16ToUtf8(bad);
}

TEST(SplitText, KeepsEmptyFieldsAndAppends)
{
    TStringList list;
    SplitText(u"", u';', list);
    EXPECT_EQ(list.Count(), 0);
    SplitText(u"a;;b", u';', list);
    EXPECT_EQ(list, (TStringList{u"a", u"", u"b"}));
    SplitText(u"c;", u';', list);
    EXPECT_EQ(list, (TStringList{u"a", u"", u"b", u"c", u""}));
    TStringList lone;
    SplitText(u";", u';', lone);
    EXPECT_EQ(lone, (TStringList{u"", u""}));
    TStringList blanks;
    SplitText(u" a ; b", u';', blanks);
    EXPECT_EQ(blanks, (TStringList{u" a ", u" b"}));
}

TEST(ReplaceParams, ReplacesInOrderAndRescansEarlierInsertions)
{
    EXPECT_EQ(ReplaceParams(u"{1} of {2}", {u"3", u"5"}), u"3 of 5");
    EXPECT_EQ(ReplaceParams(u"{1}{3}", {u"x"}), u"x{3}");
    EXPECT_EQ(ReplaceParams(u"{1}", {u"{2}", u"y"}), u"y");
    EXPECT_EQ(ReplaceParams(u"{2}", {u"{1}", u"a"}), u"a"); // inserted later: not rescanned for {1}
    EXPECT_EQ(ReplaceParams(u"{1}{1}", {u"z"}), u"zz");
    EXPECT_EQ(ReplaceParams(u"{10}", {u"a", u"b", u"c", u"d", u"e", u"f", u"g", u"h", u"i", u"j"}), u"j");
}

TEST(TextRoutines, StartsWithTextAndTextToHex)
{
    EXPECT_TRUE(StartsWithText(u"__MODIFY__.x", u"__modify__."));
    EXPECT_TRUE(StartsWithText(u"abc", u""));
    EXPECT_FALSE(StartsWithText(u"ab", u"abc"));
    EXPECT_EQ(TextToHex(u"abc", 3), u"616263");
    EXPECT_EQ(TextToHex(u"abc", 2), u"6162");
    EXPECT_EQ(TextToHex(u"\u0141", 1), u"41"); // low 8 bits only
    EXPECT_EQ(TextToHex(u"ab", 10), u"6162");
}

TEST(VersionToInt, PacksFourParts)
{
    EXPECT_EQ(VersionToInt(u"1.2.3.4"), 16909060u);
    EXPECT_EQ(VersionToInt(u"1.2.3.4 beta"), 16909060u);
    EXPECT_EQ(VersionToInt(u"1.2.3"), 0u);
    EXPECT_EQ(VersionToInt(u"1.2.3.4.5"), 0u);
    EXPECT_EQ(VersionToInt(u"256.1.1.1"), 0x00010101u);
    EXPECT_EQ(VersionToInt(u"255.x.0.1"), 0xFF000001u);
    EXPECT_EQ(VersionToInt(u""), 0u);
}

TEST(Rectangles, TextAndBack)
{
    TRect r{-1, 2, 300, 4};
    EXPECT_EQ(RectToStr(r), u"-1,2,300,4");
    TRect read{9, 9, 9, 9};
    StrToRect(u"1,2,3", read);
    EXPECT_EQ(read, (TRect{9, 9, 9, 9}));
    StrToRect(u"1,x,3,4", read);
    EXPECT_EQ(read, (TRect{1, 0, 3, 4}));
    StrToRect(RectToStr(r), read);
    EXPECT_EQ(read, r);
}

TEST(URLEncode, KeepsItsByteSetAndEscapesTheRest)
{
    EXPECT_EQ(URLEncode(u"a b&c"), u"a+b%26c");
    EXPECT_EQ(URLEncode(u"x/y?z=1"), u"x%2Fy%3Fz%3D1");
    EXPECT_EQ(URLEncode(u"~"), u"%7E");
    EXPECT_EQ(URLEncode(u""), u"");
    EXPECT_EQ(URLEncode(u"!$'()*-.@_Az09"), u"!$'()*-.@_Az09");
    EXPECT_EQ(URLEncode(u"\u00E9"), u"%E9"); // through the ANSI code page
    EXPECT_EQ(URLEncode(u"\u0416"), u"%3F"); // not in the code page: "?"
}

TEST(AddURLParam, JoinsWithTheRightSeparator)
{
    EXPECT_EQ(AddURLParam(u"p.htm", u"a=1"), u"p.htm?a=1");
    EXPECT_EQ(AddURLParam(u"p.htm?x=2", u"a=1"), u"p.htm?x=2&a=1");
    EXPECT_EQ(AddURLParam(u"p.htm?", u"a=1"), u"p.htm?a=1");
    EXPECT_EQ(AddURLParam(u"p.htm?x=2&", u"a=1"), u"p.htm?x=2&a=1");
    EXPECT_EQ(AddURLParam(u"", u"a=1"), u"a=1");
}
