#include "framework/rtl/Exceptions.h"
#include "framework/rtl/StringList.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(StringList, KeepsOrderAndDuplicates)
{
    TStringList list;
    list.Add(u"b");
    list.Add(u"a");
    list.Add(u"b");
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf(u"B"), 0);
    EXPECT_EQ(list.IndexOf(u"c"), -1);
}

TEST(StringList, InsertDeleteMoveExchange)
{
    TStringList list{u"a", u"b", u"c"};
    list.Insert(3, u"d");
    list.Insert(0, u"z");
    EXPECT_EQ(list, (TStringList{u"z", u"a", u"b", u"c", u"d"}));
    list.Delete(0);
    list.Move(0, 3);
    EXPECT_EQ(list, (TStringList{u"b", u"c", u"d", u"a"}));
    list.Move(3, 0);
    list.Exchange(0, 3);
    EXPECT_EQ(list, (TStringList{u"d", u"b", u"c", u"a"}));
}

TEST(StringList, IndexOutOfBoundsRaisesAClearError)
{
    TStringList list{u"a"};
    EXPECT_THROW(list[1], EListError);
    EXPECT_THROW(list[-1], EListError);
    EXPECT_THROW(list.Delete(1), EListError);
    EXPECT_THROW(list.Insert(2, u"x"), EListError);
    EXPECT_THROW(list.Move(0, 1), EListError);
    try {
        list.Put(5, u"x");
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
        EXPECT_STREQ(e.what(), "List index out of bounds (5)");
    }
}

TEST(StringList, NameValueAccessIgnoresCase)
{
    TStringList list{u"Path.Skins=skins", u"novalue", u"Path.Languages=lang=x", u"Path.Skins=second"};
    EXPECT_EQ(list.IndexOfName(u"path.skins"), 0);
    EXPECT_EQ(list.IndexOfName(u"novalue"), -1);
    EXPECT_EQ(list.Values(u"PATH.LANGUAGES"), u"lang=x");
    EXPECT_EQ(list.Names(1), u"");
    EXPECT_EQ(list.ValueFromIndex(1), u"");
    list.SetValue(u"path.skins", u"other");
    EXPECT_EQ(list[0], u"path.skins=other");
    list.SetValue(u"New", u"1");
    EXPECT_EQ(list[list.Count() - 1], u"New=1");
    list.SetValue(u"new", u"");
    EXPECT_EQ(list.IndexOfName(u"New"), -1);
}

TEST(StringList, TextEndsEveryLineWithCrLf)
{
    TStringList list{u"a", u"", u"b"};
    EXPECT_EQ(list.Text(), u"a\r\n\r\nb\r\n");
    TStringList read;
    read.SetText(u"x\ny\r\nz\r");
    EXPECT_EQ(read, (TStringList{u"x", u"y", u"z"}));
    read.SetText(list.Text());
    EXPECT_EQ(read, list);
}
