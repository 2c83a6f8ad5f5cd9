#include "framework/config/IniDocument.h"

#include <gtest/gtest.h>

using namespace vp;

namespace {

TIniDocument Parse(StringView text)
{
    TIniDocument doc;
    doc.SetText(text);
    return doc;
}

TStringList Sections(const TIniDocument& doc)
{
    TStringList names;
    doc.ReadSections(names);
    return names;
}

} // namespace

TEST(IniReading, TrimsDropsCommentsEmptyLinesAndLinesBeforeTheFirstSection)
{
    TIniDocument doc = Parse(u"orphan=1\r\n"
                             u"; heading comment\r\n"
                             u"  [ setting ]  \r\n"
                             u"\t App.Name =  Veilport \t\r\n"
                             u"\r\n"
                             u"   ; indented comment\r\n"
                             u"a;b=c\r\n"
                             u"no equals here\r\n");
    EXPECT_EQ(Sections(doc), TStringList({u"setting"}));
    EXPECT_EQ(doc.ReadString(u"setting", u"App.Name", u"?"), u"Veilport");
    EXPECT_EQ(doc.ReadString(u"setting", u"a;b", u"?"), u"c");
    EXPECT_FALSE(doc.ValueExists(u"setting", u"orphan"));
    EXPECT_FALSE(doc.ValueExists(u"setting", u"no equals here"));
    // The line without "=" stays in its section; comments and blank lines are gone.
    EXPECT_EQ(doc.Text(), u"[setting]\r\nApp.Name =  Veilport\r\na;b=c\r\nno equals here\r\n\r\n");
}

TEST(IniReading, EveryLineEndingAndTheFirstEqualsSign)
{
    TIniDocument doc = Parse(u"[s]\ra=1\nb=2\r\nc=x=y\r\n=empty name\n[t]\rd=");
    EXPECT_EQ(doc.ReadString(u"s", u"a", u""), u"1");
    EXPECT_EQ(doc.ReadString(u"s", u"b", u""), u"2");
    EXPECT_EQ(doc.ReadString(u"s", u"c", u""), u"x=y");
    EXPECT_EQ(doc.ReadString(u"s", u"", u"?"), u"empty name");
    EXPECT_TRUE(doc.ValueExists(u"t", u"d"));
    EXPECT_EQ(doc.ReadString(u"t", u"d", u"default"), u"");
    EXPECT_EQ(doc.ReadString(u"t", u"missing", u"default"), u"default");
    EXPECT_EQ(doc.ReadString(u"missing", u"d", u"default"), u"default");
}

TEST(IniReading, HeadersNeedBothBrackets)
{
    TIniDocument doc = Parse(u"[a]\r\n[b\r\nc]=1\r\n[]\r\nk=v\r\n[\r\n");
    EXPECT_EQ(Sections(doc), TStringList({u"a", u""}));
    TStringList lines;
    doc.ReadSectionLines(u"a", lines);
    EXPECT_EQ(lines, TStringList({u"[b", u"c]=1"}));
    EXPECT_EQ(doc.ReadString(u"a", u"c]", u""), u"1");
    EXPECT_EQ(doc.ReadString(u"", u"k", u""), u"v");
}

TEST(IniNames, SectionAndKeyNamesIgnoreCase)
{
    TIniDocument doc =
        Parse(u"[Setting]\r\nApp.Name=Veilport\r\n[\u0416\u0438\u0437\u043D\u044C]\r\nKey=1\r\n");
    EXPECT_EQ(doc.ReadString(u"SETTING", u"app.name", u""), u"Veilport");
    EXPECT_EQ(doc.ReadString(u"setting", u"APP.Name", u""), u"Veilport");
    EXPECT_EQ(doc.ReadString(u"\u0436\u0418\u0417\u043D\u042C", u"KEY", u""), u"1");
    doc.WriteString(u"SETTING", u"APP.NAME", u"Other");
    EXPECT_EQ(Sections(doc).Count(), 2);
    EXPECT_EQ(
        doc.Text(), u"[Setting]\r\nAPP.NAME=Other\r\n\r\n[\u0416\u0438\u0437\u043D\u044C]\r\nKey=1\r\n\r\n");
}

TEST(IniNames, LaterKeyAndLaterSectionCount)
{
    TIniDocument doc = Parse(u"[s]\r\nk=first\r\nearly=1\r\n[other]\r\nx=1\r\n[S]\r\nk=third\r\nlate=2\r\n");
    // The later section hides the earlier one entirely.
    EXPECT_EQ(doc.ReadString(u"s", u"k", u""), u"third");
    EXPECT_EQ(doc.ReadString(u"s", u"late", u""), u"2");
    EXPECT_FALSE(doc.ValueExists(u"s", u"early"));
    doc.WriteString(u"s", u"k", u"written");
    doc.WriteString(u"s", u"new", u"n");
    EXPECT_EQ(doc.Text(),
        u"[s]\r\nk=first\r\nearly=1\r\n\r\n"
        u"[other]\r\nx=1\r\n\r\n"
        u"[S]\r\nk=written\r\nlate=2\r\nnew=n\r\n\r\n");
    EXPECT_EQ(Sections(doc), TStringList({u"s", u"other"}));

    TIniDocument keys = Parse(u"[s]\r\nk=first\r\nmiddle=m\r\nK=second\r\n");
    EXPECT_EQ(keys.ReadString(u"s", u"k", u""), u"second");
    keys.WriteString(u"s", u"k", u"third");
    // The later line is the one replaced; the earlier stays as read.
    EXPECT_EQ(keys.Text(), u"[s]\r\nk=first\r\nmiddle=m\r\nk=third\r\n\r\n");
    TStringList names;
    keys.ReadSection(u"s", names);
    EXPECT_EQ(names, TStringList({u"k", u"middle", u"k"}));
}

TEST(IniWriting, AppendsKeysAndSectionsAndKeepsValuesUntrimmed)
{
    TIniDocument doc = Parse(u"[a]\r\nx=1\r\n[b]\r\ny=2\r\n");
    doc.WriteString(u"a", u"z", u"  padded  ");
    doc.WriteString(u"c", u"w", u"");
    EXPECT_EQ(doc.ReadString(u"a", u"z", u""), u"  padded  ");
    EXPECT_EQ(doc.Text(), u"[a]\r\nx=1\r\nz=  padded  \r\n\r\n[b]\r\ny=2\r\n\r\n[c]\r\nw=\r\n\r\n");
    // Read again, the stored value is trimmed like every other.
    EXPECT_EQ(Parse(doc.Text()).ReadString(u"a", u"z", u""), u"padded");
}

TEST(IniWriting, EraseSectionRemovesEverySectionOfThatName)
{
    TIniDocument doc = Parse(u"[ShowAgain]\r\n7=0\r\n[setting]\r\na=1\r\n[showagain]\r\n8=0\r\n");
    doc.EraseSection(u"SHOWAGAIN");
    EXPECT_FALSE(doc.SectionExists(u"ShowAgain"));
    EXPECT_EQ(doc.ReadString(u"setting", u"a", u""), u"1");
    EXPECT_EQ(doc.Text(), u"[setting]\r\na=1\r\n\r\n");
    doc.EraseSection(u"missing");
    doc.WriteString(u"ShowAgain", u"7", u"1");
    EXPECT_EQ(doc.Text(), u"[setting]\r\na=1\r\n\r\n[ShowAgain]\r\n7=1\r\n\r\n");
}

TEST(IniWriting, EmptyDocumentAndClear)
{
    TIniDocument doc = Parse(u" \r\n\t\r\n");
    EXPECT_EQ(doc.Text(), u"");
    EXPECT_FALSE(doc.SectionExists(u""));
    doc.WriteString(u"s", u"k", u"v");
    EXPECT_TRUE(doc.SectionExists(u"S"));
    doc.Clear();
    EXPECT_FALSE(doc.SectionExists(u"s"));
    EXPECT_EQ(doc.Text(), u"");
}

TEST(IniWriting, ManyKeysStayFoundAfterRewrites)
{
    TIniDocument doc;
    for (int i = 0; i < 2000; ++i)
        doc.WriteString(u"setting", u"Key" + IntToStr(i), IntToStr(i));
    for (int i = 0; i < 2000; i += 3)
        doc.WriteString(u"SETTING", u"KEY" + IntToStr(i), u"x" + IntToStr(i));
    TIniDocument read = Parse(doc.Text());
    for (int i = 0; i < 2000; ++i) {
        String expected = (i % 3 == 0 ? u"x" : u"") + IntToStr(i);
        ASSERT_EQ(read.ReadString(u"setting", u"key" + IntToStr(i), u""), expected) << i;
    }
    TStringList names;
    read.ReadSection(u"setting", names);
    EXPECT_EQ(names.Count(), 2000);
}
