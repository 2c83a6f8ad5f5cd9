#include "framework/ui/SkinResourceStrings.h"

#include <gtest/gtest.h>

#include <set>

using namespace vp;

TEST(SkinResourceStrings, BuiltInTextsByName)
{
    TspResourceStrData data(nullptr);
    EXPECT_EQ(data.GetResStr(skinres::kOK), u"&OK");
    EXPECT_EQ(data.GetResStr(u"button.cancel"), u"&Cancel");
    EXPECT_EQ(data.GetResStr(u" Button.Ignore "), u"&Ignore");
    EXPECT_EQ(data.GetResStr(skinres::kShowAgain), u"&Show this message again");
    EXPECT_EQ(data.GetResStr(skinres::kSysRollUp), u"Roll &up");
    EXPECT_EQ(data.GetResStr(u"No.Such.Text"), u"");
    // Every name has a text, and no name is there twice.
    std::set<String> names;
    for (const TSkinResourceString& entry : SkinResourceDefaults()) {
        EXPECT_NE(data.GetResStr(entry.Name), u"") << U16ToUtf8(entry.Name);
        EXPECT_TRUE(names.insert(UpperCase(entry.Name)).second) << U16ToUtf8(entry.Name);
    }
    EXPECT_EQ(data.ResStrs()->Count(), static_cast<int>(names.size()));
}

TEST(SkinResourceStrings, LanguageSectionsMergeOverTheBuiltInTexts)
{
    TspResourceStrData data(nullptr);
    data.Merge(TStringList({u"Button.OK=&Ja gut", u"button.cancel = Abbrechen", u"Button.Yes=",
        u"no equals sign", u"=no name", u"Custom.Text=Eigen=Text"}));
    EXPECT_EQ(data.GetResStr(skinres::kOK), u"&Ja gut");
    EXPECT_EQ(data.GetResStr(skinres::kCancel), u" Abbrechen");
    EXPECT_EQ(data.GetResStr(skinres::kYes), u"&Yes");
    EXPECT_EQ(data.GetResStr(u"Custom.Text"), u"Eigen=Text");
    EXPECT_EQ(data.ResStrs()->IndexOf(u"no equals sign"), -1);

    // A section read straight into the table may remove a line: the built-in text answers.
    data.ResStrs()->SetValue(skinres::kNo, u"");
    EXPECT_EQ(data.GetResStr(skinres::kNo), u"&No");

    data.Reset();
    EXPECT_EQ(data.GetResStr(skinres::kOK), u"&OK");
    EXPECT_EQ(data.GetResStr(u"Custom.Text"), u"");
}

TEST(SkinResourceStrings, TheTableIsAPublishedList)
{
    TspResourceStrData data(nullptr);
    const TPropInfo* prop = data.ClassInfo().FindProperty(u"ResStrs");
    ASSERT_NE(prop, nullptr);
    prop->SetStrings(data, TStringList({u"Button.OK=Fine"}));
    EXPECT_EQ(data.GetResStr(skinres::kOK), u"Fine");
    EXPECT_EQ(data.GetResStr(skinres::kCancel), u"&Cancel");
}
