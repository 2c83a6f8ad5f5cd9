#include "framework/config/CLMultiLangLan.h"

#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using vptest::ReadFileBytes;
using vptest::TTempFolder;
using vptest::WriteFileBytes;

namespace {

String Get(TCLMultiLangLan& lan, const String& form, const String& comp, const String& prop)
{
    String value = u"<untouched>";
    lan.GetProp(form, comp, prop, value);
    return value;
}

String FilePath(const TTempFolder& folder, const std::string& name)
{
    return (folder.Path() / name).u16string();
}

} // namespace

TEST(LanguageFileLoading, Utf8WithByteOrderMarkKeepsItsTextsAndSavesBackAsAnsi)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "de.lan",
        "\xEF\xBB\xBF[Info]\r\nLanguage=Deutsch\r\n[TfrmMain]\r\nbtnOK.Caption=Gr\xC3\xB6\xC3\x9F"
        "e \xC3\xA4ndern\r\n");
    TCLMultiLangLan lan;
    lan.LoadFromFile(FilePath(folder, "de.lan"));
    EXPECT_EQ(Get(lan, u"TfrmMain", u"btnOK", u"Caption"), u"Größe ändern");

    lan.SaveToFile(FilePath(folder, "saved.lan"));
    std::string saved = ReadFileBytes(folder.Path() / "saved.lan");
    EXPECT_NE(saved.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(saved,
        U16ToAnsi(u"[Info]\r\nLanguage=Deutsch\r\n\r\n"
                  u"[TfrmMain]\r\nbtnOK.Caption=Größe ändern\r\n\r\n"));

    TCLMultiLangLan again;
    again.LoadFromFile(FilePath(folder, "saved.lan"));
    EXPECT_EQ(Get(again, u"TfrmMain", u"btnOK", u"Caption"), u"Größe ändern");
}

TEST(LanguageFileLoading, TextsTheCodePageCannotHoldAreSavedAsUtf8)
{
    TTempFolder folder;
    TCLMultiLangLan lan;
    lan.SetProp(u"Info", u"", u"Language", u"Русский");
    lan.SetProp(u"TfrmMain", u"btnOK", u"Caption", u"Готово");
    lan.SaveToFile(FilePath(folder, "ru.lan"));
    std::string saved = ReadFileBytes(folder.Path() / "ru.lan");
    EXPECT_EQ(saved.substr(0, 3), "\xEF\xBB\xBF");

    TCLMultiLangLan again;
    again.LoadFromFile(FilePath(folder, "ru.lan"));
    EXPECT_EQ(Get(again, u"TfrmMain", u"btnOK", u"Caption"), u"Готово");
    EXPECT_EQ(Get(again, u"Info", u"", u"Language"), u"Русский");
}

TEST(LanguageFileLoading, Utf16ByteOrderMarksAndAnsiWithoutOne)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "le.lan", std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\xE9\0", 16));
    WriteFileBytes(folder.Path() / "be.lan", std::string("\xFE\xFF\0[\0A\0]\0\n\0k\0=\x04\x16", 16));
    WriteFileBytes(folder.Path() / "ansi.lan", U16ToAnsi(u"[A]\nk=caf\u00e9"));
    TCLMultiLangLan lan;
    lan.LoadFromFile(FilePath(folder, "le.lan"));
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"\u00e9");
    lan.LoadFromFile(FilePath(folder, "be.lan"));
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"\u0416");
    lan.LoadFromFile(FilePath(folder, "ansi.lan"));
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"caf\u00e9");
}

TEST(LanguageFileLoading, MissingFileRaisesAndKeepsTheContents)
{
    TTempFolder folder;
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[A]\r\nk=v");
    EXPECT_THROW(lan.LoadFromFile(FilePath(folder, "missing.lan")), EFOpenError);
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"v");
    EXPECT_EQ(lan.ToString(), u"[A]\r\nk=v\r\n");
}

TEST(LanguageFileValues, BreaksAndBlanksDecodeWithoutRegardToCase)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[TfrmMain]\r\n"
                       u"lblInfo.Caption=first<br>second<Br>third\r\n"
                       u"lblLead.Caption=<SP>Hello<sp>\r\n"
                       u"lblEmpty.Caption=\r\n");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"lblInfo", u"Caption"), u"first\r\nsecond\r\nthird");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"lblLead", u"Caption"), u" Hello ");

    String value = u"before";
    EXPECT_TRUE(lan.GetProp(u"TfrmMain", u"lblEmpty", u"Caption", value));
    EXPECT_EQ(value, u"");
    value = u"before";
    EXPECT_FALSE(lan.GetProp(u"TfrmMain", u"lblMissing", u"Caption", value));
    EXPECT_FALSE(lan.GetProp(u"TfrmOther", u"lblInfo", u"Caption", value));
    EXPECT_EQ(value, u"before");
}

TEST(LanguageFileValues, SetPropEncodesBreaksAndKeepsBlanksWhichReadingTrims)
{
    TCLMultiLangLan lan;
    lan.SetProp(u"TfrmMain", u"lblInfo", u"Caption", u"a\r\nb\rc\nd\n\re");
    lan.SetProp(u"TfrmMain", u"lblLead", u"Caption", u" Hello");
    EXPECT_EQ(lan.ToString(),
        u"[TfrmMain]\r\n"
        u"lblInfo.Caption=a<BR>b<BR>c<BR>d<BR><BR>e\r\n"
        u"lblLead.Caption= Hello\r\n"
        u"\r\n");
    // The view holds the blank until the text is read again.
    EXPECT_EQ(Get(lan, u"TfrmMain", u"lblLead", u"Caption"), u" Hello");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"lblInfo", u"Caption"), u"a\r\nb\r\nc\r\nd\r\n\r\ne");

    TCLMultiLangLan reread;
    reread.LoadFromString(lan.ToString());
    EXPECT_EQ(Get(reread, u"TfrmMain", u"lblLead", u"Caption"), u"Hello");
}

TEST(LanguageFileValues, EmptyComponentAddressesThePropertyPathAlone)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[Info]\r\nLanguage=English\r\n[TfrmMain]\r\nfrmMain.Caption=Main\r\n");
    EXPECT_EQ(Get(lan, u"Info", u"", u"Language"), u"English");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"frmMain", u"Caption"), u"Main");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"", u"frmMain.Caption"), u"Main");
}

TEST(LanguageFileValues, SectionsAndKeysMatchWithoutRegardToCase)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[tfrmmain]\r\nBTNOK.caption=Fine\r\n");
    EXPECT_EQ(Get(lan, u"TfrmMain", u"btnOK", u"Caption"), u"Fine");
    lan.SetProp(u"TFRMMAIN", u"btnok", u"CAPTION", u"Better");
    EXPECT_EQ(lan.ToString(), u"[tfrmmain]\r\nbtnok.CAPTION=Better\r\n\r\n");
}

TEST(LanguageFileValues, TheLaterOfTwoEqualKeysOrSectionsCounts)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[A]\r\nk=1\r\nK=2\r\n[B]\r\nx=1\r\n[a]\r\nk=3\r\n");
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"3");
}

TEST(LanguageFileSorting, ReservedSectionsComeFirstInTheirOrder)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[AppRes]\r\nb=2\r\n[LibRes]\r\na=1\r\n[Info]\r\nLanguage=English\r\n");
    lan.SortData();
    EXPECT_EQ(lan.ToString(),
        u"[Info]\r\nLanguage=English\r\n\r\n"
        u"[LibRes]\r\na=1\r\n\r\n"
        u"[AppRes]\r\nb=2\r\n\r\n");
}

TEST(LanguageFileSorting, CanonicalOrderOfSectionsAndLines)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"; comment\r\n"
                       u"[TfrmMain]\r\n"
                       u"btnOK.Caption=OK\r\n"
                       u"\r\n"
                       u"Btn.Hint=late\r\n"
                       u"a.Caption=A\r\n"
                       u"no key here\r\n"
                       u"btn.hint=later\r\n"
                       u"[ResString]\r\n"
                       u"Zulu=z\r\n"
                       u"alpha=a\r\n"
                       u"[Empty]\r\n"
                       u"[info]\r\n"
                       u"Version=3\r\n"
                       u"Language=Test\r\n"
                       u"[basicres]\r\n"
                       u"x=1\r\n"
                       u"[SkinRes]\r\n"
                       u"b=2\r\n"
                       u"A=1\r\n"
                       u"[aboutBox]\r\n"
                       u"k=v\r\n");
    lan.SortData();
    EXPECT_EQ(lan.ToString(),
        u"[Info]\r\nVersion=3\r\nLanguage=Test\r\n\r\n"
        u"[BasicRes]\r\nx=1\r\n\r\n"
        u"[SkinRes]\r\nA=1\r\nb=2\r\n\r\n"
        u"[aboutBox]\r\nk=v\r\n\r\n"
        u"[ResString]\r\nalpha=a\r\nZulu=z\r\n\r\n"
        u"[TfrmMain]\r\na.Caption=A\r\nbtn.hint=later\r\nbtnOK.Caption=OK\r\n\r\n");
    // Sorting what is sorted changes nothing.
    String once = lan.ToString();
    lan.SortData();
    EXPECT_EQ(lan.ToString(), once);
}

TEST(LanguageFileSorting, CollationIgnoresCaseAndIsDeterministic)
{
    TCLMultiLangLan first;
    first.LoadFromString(u"[b]\r\nk=1\r\n[B2]\r\nk=1\r\n[a]\r\nk=1\r\n[A1]\r\nk=1\r\n");
    first.SortData();
    EXPECT_EQ(
        first.ToString(), u"[a]\r\nk=1\r\n\r\n[A1]\r\nk=1\r\n\r\n[b]\r\nk=1\r\n\r\n[B2]\r\nk=1\r\n\r\n");
}

TEST(LanguageFileSaving, AFileThatCannotBeCreatedRaisesButTheDataIsSorted)
{
    TTempFolder folder;
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[Z]\r\nk=1\r\n[Info]\r\nLanguage=x\r\n");
    EXPECT_THROW(lan.SaveToFile(FilePath(folder, "no/such/folder/x.lan")), EFileError);
    EXPECT_EQ(lan.ToString(), u"[Info]\r\nLanguage=x\r\n\r\n[Z]\r\nk=1\r\n\r\n");
}

TEST(LanguageFileSections, ClearAllFormKeepsTheReservedSections)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(
        u"[INFO]\r\na=1\r\n[TfrmMain]\r\nb=2\r\n[AppRes]\r\nc=3\r\n[ResString]\r\nd=4\r\n"
        u"[skinres]\r\ne=5\r\n[LibRes]\r\nf=6\r\n[BasicRes]\r\ng=7\r\n[TfrmOptions]\r\nh=8\r\n");
    lan.ClearAllForm();
    EXPECT_EQ(lan.ToString(),
        u"[INFO]\r\na=1\r\n\r\n[AppRes]\r\nc=3\r\n\r\n[skinres]\r\ne=5\r\n\r\n"
        u"[LibRes]\r\nf=6\r\n\r\n[BasicRes]\r\ng=7\r\n\r\n");
}

TEST(LanguageFileSections, ClearFormLeavesTheLinesBehindUntilUpdateData)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[TfrmMain]\r\nk=1\r\n[Info]\r\nLanguage=x\r\n");
    lan.ClearForm(u"tfrmmain");
    String value;
    EXPECT_FALSE(lan.GetProp(u"TfrmMain", u"", u"k", value));
    EXPECT_EQ(lan.ToString(), u"[TfrmMain]\r\nk=1\r\n[Info]\r\nLanguage=x\r\n");
    lan.UpdateData();
    EXPECT_EQ(lan.ToString(), u"[Info]\r\nLanguage=x\r\n\r\n");
}

TEST(LanguageFileSections, GetSectionStringsReplacesEntriesAndDropsEmptyValues)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[SkinRes]\r\nOK=Fine<br>then\r\nCancel=\r\nHelp=Aid\r\n");
    TStringList list{u"ok=old", u"Cancel=designed", u"Other=kept"};
    lan.GetSectionStrings(u"skinres", list);
    EXPECT_EQ(list, (TStringList{u"OK=Fine\r\nthen", u"Other=kept", u"Help=Aid"}));

    TStringList none;
    lan.GetSectionStrings(u"Missing", none);
    EXPECT_TRUE(none.Empty());
}

TEST(LanguageFileRepresentations, DataIsParsedAtTheNextReading)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[A]\r\nk=old\r\n");
    const TPropInfo* data = lan.ClassInfo().FindProperty(u"Data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Kind, TPropKind::Strings);
    TStringList lines{u"[A]", u"k=new"};
    data->SetStrings(lan, lines);
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"new");
    EXPECT_EQ(*data->GetStrings(lan), lines);
}

TEST(LanguageFileRepresentations, ChangesMadeBeforeParsingAreNotLost)
{
    // New lines are waiting to be parsed when the view is changed: the change applies to them.
    TCLMultiLangLan lan;
    lan.SetData(TStringList{u"[A]", u"k=1", u"[B]", u"x=1"});
    lan.SetProp(u"A", u"", u"j", u"2");
    EXPECT_EQ(lan.ToString(), u"[A]\r\nk=1\r\nj=2\r\n\r\n[B]\r\nx=1\r\n\r\n");
    lan.SetData(TStringList{u"[A]", u"k=1", u"[B]", u"x=1"});
    lan.ClearForm(u"B");
    lan.UpdateData();
    EXPECT_EQ(lan.ToString(), u"[A]\r\nk=1\r\n\r\n");
}

TEST(LanguageFileRepresentations, AssignToCopiesOnlyIntoALanguageFile)
{
    TCLMultiLangLan source;
    source.LoadFromString(u"[A]\r\nk=1\r\n");
    TCLMultiLangLan target;
    target.LoadFromString(u"[B]\r\nx=2\r\n");
    source.AssignTo(&target);
    EXPECT_EQ(Get(target, u"A", u"", u"k"), u"1");
    EXPECT_EQ(Get(target, u"B", u"", u"x"), u"<untouched>");
    EXPECT_EQ(target.ToString(), source.ToString());

    TPersistent other;
    source.AssignTo(&other);
    source.AssignTo(nullptr);
    source.AssignTo(&source);
    EXPECT_EQ(Get(source, u"A", u"", u"k"), u"1");
}

TEST(LanguageFileRepresentations, ClearAllEmptiesBoth)
{
    TCLMultiLangLan lan;
    lan.LoadFromString(u"[A]\r\nk=1\r\n");
    lan.ClearAll();
    EXPECT_EQ(lan.ToString(), u"");
    EXPECT_EQ(Get(lan, u"A", u"", u"k"), u"<untouched>");
}

TEST(LanguageValueCoding, EncodeAndDecodeAndReplace)
{
    EXPECT_EQ(EncodeLangValue(u"x\r\n\r\ny"), u"x<BR><BR>y");
    EXPECT_EQ(EncodeLangValue(u"\r"), u"<BR>");
    EXPECT_EQ(DecodeLangValue(u"<BR<SP>>"), u"<BR >");
    EXPECT_EQ(DecodeLangValue(u"<sP><bR"), u" <bR");
    EXPECT_EQ(ReplaceTextIgnoringCase(u"{appname} and {APPNAME}", u"{AppName}", u"VP"), u"VP and VP");
    EXPECT_EQ(ReplaceTextIgnoringCase(u"aaa", u"a", u"aa"), u"aaaaaa");
    EXPECT_EQ(ReplaceTextIgnoringCase(u"abc", u"", u"x"), u"abc");
    EXPECT_EQ(MakeLangKey(u"lvList", u"Columns[0].Caption"), u"lvList.Columns[0].Caption");
}
