#include "framework/config/CLMultiLang.h"

#include "LangTestComponents.h"
#include "framework/rtl/Exceptions.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

String FilePath(const TTempFolder& folder, const std::string& name)
{
    return (folder.Path() / name).u16string();
}

String Lookup(const TCLMultiLangData& data, const String& form, const String& comp, const String& prop)
{
    String value = u"<untouched>";
    data.GetProp(form, comp, prop, value);
    return value;
}

// The keys a section holds, in file order, as name=value lines.
TStringList SectionLines(TCLMultiLangData& data, const String& section)
{
    TStringList lines;
    data.LangCurrentData().GetSectionStrings(section, lines);
    return lines;
}

// A main window with its language data and binder, as the program places them.
struct TMainWindowFixture {
    TfrmMain window;
    TCLMultiLangData* data = new TCLMultiLangData(&window);
    TCLMultiLang* binder = new TCLMultiLang(&window);

    TMainWindowFixture()
    {
        data->SetName(u"CLMultiLangData1");
        binder->SetName(u"CLMultiLang1");
        binder->SetLanguageData(data);
    }
};

} // namespace

TEST(LanguageLookup, CurrentFirstThenDefault)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[TfrmMain]", u"btnOK.Caption=Current"});
    data.SetDefaultData(
        TStringList{u"[TfrmMain]", u"btnOK.Caption=Default", u"btnCancel.Caption=Only default"});
    EXPECT_EQ(Lookup(data, u"TfrmMain", u"btnOK", u"Caption"), u"Current");
    EXPECT_EQ(Lookup(data, u"TfrmMain", u"btnCancel", u"Caption"), u"Only default");
    String value = u"kept";
    EXPECT_FALSE(data.GetProp(u"TfrmMain", u"btnHelp", u"Caption", value));
    EXPECT_EQ(value, u"kept");
}

TEST(LanguageLookup, AppNamePlaceholderInAnyCaseButNotInAppNameItself)
{
    TCLMultiLangData data(nullptr);
    data.LangCurrentData().LoadFromString(u"[AppRes]\r\nAppName=Veilport {AppName}\r\nHello=Hi {appname}!\r\n"
                                          u"[TfrmMain]\r\nfrmMain.Caption={APPNAME} - Main\r\n");
    String appName;
    EXPECT_EQ(data.ReadAppName(appName), u"Veilport {AppName}");
    EXPECT_EQ(data.AppName(), u"Veilport {AppName}");
    EXPECT_EQ(Lookup(data, u"appres", u"", u"APPNAME"), u"Veilport {AppName}");
    EXPECT_EQ(Lookup(data, u"AppRes", u"", u"Hello"), u"Hi Veilport {AppName}!");
    EXPECT_EQ(Lookup(data, u"TfrmMain", u"frmMain", u"Caption"), u"Veilport {AppName} - Main");

    data.SetDesigning(true);
    EXPECT_EQ(Lookup(data, u"TfrmMain", u"frmMain", u"Caption"), u"{APPNAME} - Main");
}

TEST(LanguageLookup, ReadAppNameKeepsTheStartValueWhenMissing)
{
    TCLMultiLangData data(nullptr);
    String value = u"Fallback";
    EXPECT_EQ(data.ReadAppName(value), u"Fallback");
    EXPECT_EQ(data.AppName(), u"Fallback");
    data.SetDefaultData(TStringList{u"[AppRes]", u"AppName=From default"});
    EXPECT_EQ(data.ReadAppName(value), u"From default");
}

TEST(LanguageLookup, InfoProperties)
{
    TCLMultiLangData data(nullptr);
    EXPECT_EQ(data.CurrentLanguage(), u"");
    data.SetCurrentData(TStringList{u"[Info]", u"Language=Deutsch", u"Translator=Anna", u"Version=2"});
    EXPECT_EQ(data.CurrentLanguage(), u"Deutsch");
    EXPECT_EQ(data.CurrentLanguageTranslator(), u"Anna");
    EXPECT_EQ(data.CurrentVersion(), u"2");
    const TPropInfo* language = data.ClassInfo().FindProperty(u"CurrentLanguage");
    ASSERT_NE(language, nullptr);
    EXPECT_FALSE(language->HasWriter());
    EXPECT_EQ(language->GetText(data), u"Deutsch");
}

TEST(LanguageLookup, SectionMergeKeepsExistingEntriesAndPrefersTheCurrentLanguage)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[SkinRes]", u"OK=Gut", u"Close={AppName}<BR>x"});
    data.SetDefaultData(TStringList{u"[SkinRes]", u"ok=Good", u"Help=Help", u"Cancel=Cancel"});
    String appName = u"VP";
    data.ReadAppName(appName);
    TStringList list{u"CANCEL=Designed"};
    data.GetSectionStrings(u"SkinRes", list);
    EXPECT_EQ(list, (TStringList{u"CANCEL=Designed", u"OK=Gut", u"Close={AppName}\r\nx", u"Help=Help"}));
}

TEST(LanguageLoading, LoadCurrentFromFileReadsTheNameAndTellsEveryBinder)
{
    TTempFolder folder;
    vptest::WriteFileBytes(folder.Path() / "de.lan",
        "[AppRes]\r\nAppName=Tarnkappe\r\n[TfrmMain]\r\nbtnHide.Caption=IP verbergen\r\n"
        "[TfrmChooseIPCountry]\r\nbtnOK.Caption=Gut {AppName}\r\n");
    TCLMultiLangData data(nullptr);
    TfrmMain main;
    TfrmChooseIPCountry chooser;
    auto* mainBinder = new TCLMultiLang(&main);
    auto* chooserBinder = new TCLMultiLang(&chooser);
    mainBinder->SetLanguageData(&data);
    chooserBinder->SetLanguageData(&data);
    EXPECT_EQ(data.Clients(), (std::vector<TCLMultiLang*>{mainBinder, chooserBinder}));

    data.LoadCurrentFromFile(FilePath(folder, "de.lan"));
    EXPECT_EQ(data.AppName(), u"Tarnkappe");
    EXPECT_EQ(main.btnHide->Caption(), u"IP verbergen");
    EXPECT_EQ(chooser.btnOK->Caption(), u"Gut Tarnkappe");
}

TEST(LanguageLoading, AMissingFileRaisesBeforeAnyBinderIsTold)
{
    TTempFolder folder;
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[AppRes]", u"AppName=Old", u"[TfrmMain]", u"btnHide.Caption=Old text"});
    String appName;
    data.ReadAppName(appName);
    TfrmMain main;
    (new TCLMultiLang(&main))->SetLanguageData(&data);

    EXPECT_THROW(data.LoadCurrentFromFile(FilePath(folder, "missing.lan")), EFOpenError);
    EXPECT_THROW(data.LoadDefaultFromFile(FilePath(folder, "missing.lan")), EFOpenError);
    EXPECT_EQ(main.btnHide->Caption(), u"Hide IP");
    // The language that stays current keeps its program name.
    EXPECT_EQ(data.AppName(), u"Old");
}

TEST(LanguageLoading, LoadDefaultFromFileTellsNoBinder)
{
    TTempFolder folder;
    vptest::WriteFileBytes(
        folder.Path() / "en.lan", "[AppRes]\r\nAppName=Veilport\r\n[TfrmMain]\r\nbtnHide.Caption=Hide\r\n");
    TCLMultiLangData data(nullptr);
    TfrmMain main;
    (new TCLMultiLang(&main))->SetLanguageData(&data);
    data.LoadDefaultFromFile(FilePath(folder, "en.lan"));
    EXPECT_EQ(main.btnHide->Caption(), u"Hide IP");
    EXPECT_EQ(data.AppName(), u"Veilport");
    data.ApplyClients();
    EXPECT_EQ(main.btnHide->Caption(), u"Hide");
}

TEST(LanguageLoading, ClearCurrentAllTellsNoBinderAndKeepsTheName)
{
    TMainWindowFixture f;
    f.data->SetCurrentData(
        TStringList{u"[AppRes]", u"AppName=VP", u"[TfrmMain]", u"btnHide.Caption=Verstecken"});
    String appName;
    f.data->ReadAppName(appName);
    f.data->ApplyClients();
    f.data->ClearCurrentAll();
    EXPECT_EQ(f.window.btnHide->Caption(), u"Verstecken");
    EXPECT_EQ(Lookup(*f.data, u"TfrmMain", u"btnHide", u"Caption"), u"<untouched>");
    EXPECT_EQ(f.data->AppName(), u"VP");
}

TEST(LanguageLoading, CopiesBetweenCurrentAndDefault)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[A]", u"k=current"});
    data.CurrentToDefault();
    data.ClearCurrentAll();
    EXPECT_EQ(Lookup(data, u"A", u"", u"k"), u"current");
    data.SetDefaultData(TStringList{u"[A]", u"k=default"});
    data.DefaultToCurrent();
    EXPECT_EQ(data.CurrentData()->Text(), u"[A]\r\nk=default\r\n");
}

TEST(LanguageApplying, TextsListsAndCollectionItems)
{
    TMainWindowFixture f;
    f.data->SetCurrentData(
        TStringList{u"[TfrmMain]", u"frmMain.Caption=Tarnkappe", u"btnHide.Caption=Verbergen",
            u"btnHide.Hint=", u"lvList.Columns[0].Caption=Land", u"lvList.Columns[1].Caption=Anzahl",
            u"lvList.Columns[2].Caption=None such", u"memInfo.Lines=Eins<BR>Zwei<br>Drei",
            u"btnHide.Name=renamed", u"btnHide.Version=9", u"edtSearch.Text=applied"});
    f.binder->ApplyData();
    EXPECT_EQ(f.window.Caption(), u"Tarnkappe");
    EXPECT_EQ(f.window.btnHide->Caption(), u"Verbergen");
    EXPECT_EQ(f.window.btnHide->Hint(), u"");
    EXPECT_EQ(f.window.lvList->Columns()->Items(0)->Caption(), u"Land");
    EXPECT_EQ(f.window.lvList->Columns()->Items(1)->Caption(), u"Anzahl");
    EXPECT_EQ(f.window.memInfo->Lines()->Text(), u"Eins\r\nZwei\r\nDrei\r\n");
    // Component names are never translated; applying ignores the exclusion list.
    EXPECT_EQ(f.window.btnHide->Name(), u"btnHide");
    EXPECT_EQ(f.window.edtSearch->Text(), u"applied");
    // Properties the file does not name keep their designed texts.
    EXPECT_EQ(f.window.btnOptions1->Caption(), u"Options");
    EXPECT_EQ(f.window.mnuSep->Caption(), u"-");
}

TEST(LanguageApplying, FallsBackToDefaultThenKeepsTheDesignedText)
{
    TMainWindowFixture f;
    f.data->SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Current"});
    f.data->SetDefaultData(
        TStringList{u"[TfrmMain]", u"btnHide.Caption=Default", u"btnOptions1.Caption=Settings"});
    f.binder->ApplyData();
    EXPECT_EQ(f.window.btnHide->Caption(), u"Current");
    EXPECT_EQ(f.window.btnOptions1->Caption(), u"Settings");
    EXPECT_EQ(f.window.lvList->Columns()->Items(0)->Caption(), u"Country");
}

TEST(LanguageApplying, AppNameInCapitalsIsFilledIn)
{
    TMainWindowFixture f;
    f.data->SetCurrentData(
        TStringList{u"[AppRes]", u"AppName=Veilport", u"[TfrmMain]", u"frmMain.Caption={APPNAME} - Ready"});
    String appName;
    f.data->ReadAppName(appName);
    f.binder->ApplyData();
    EXPECT_EQ(f.window.Caption(), u"Veilport - Ready");
}

TEST(LanguageApplying, UnnamedComponentsBindersAndLanguageDataAreNotWalked)
{
    TMainWindowFixture f;
    auto* unnamed = new TTestControl(&f.window, u"", u"designed");
    auto* other = new TCLMultiLang(&f.window);
    other->SetName(u"CLMultiLang2");
    f.data->SetCurrentData(TStringList{u"[TfrmMain]", u".Caption=applied", u"CLMultiLangData1.ExcludeProps=x",
        u"CLMultiLang1.Name=x", u"CLMultiLangData1.CurrentData=[X]"});
    f.binder->ApplyData();
    EXPECT_EQ(unnamed->Caption(), u"designed");
    EXPECT_EQ(f.data->ExcludeProps()->Count(), 26);
    EXPECT_EQ(f.data->CurrentData()->Count(), 5);
}

TEST(LanguageApplying, ChangeLanguageEventAtRunTimeOnly)
{
    TMainWindowFixture f;
    std::vector<TComponent*> senders;
    f.binder->SetOnChangeLanguage([&](TComponent* sender) { senders.push_back(sender); });
    f.binder->ApplyData();
    EXPECT_EQ(senders, std::vector<TComponent*>{f.binder});
    f.window.SetDesigning(true);
    f.binder->ApplyData();
    EXPECT_EQ(senders.size(), 1u);
}

TEST(LanguageApplying, WithoutLanguageDataNothingHappens)
{
    TfrmMain window;
    auto* binder = new TCLMultiLang(&window);
    binder->ApplyData();
    binder->UpdateData();
    binder->ClearData();
    String value = u"kept";
    EXPECT_FALSE(binder->GetProp(u"TfrmMain", u"btnHide", u"Caption", value));
    EXPECT_EQ(value, u"kept");
    EXPECT_EQ(binder->GetResString(u"Missing"), u"Missing");
    EXPECT_EQ(binder->Language(), u"");
    TStringList list{u"a=1"};
    binder->GetSectionStrings(u"SkinRes", list);
    EXPECT_EQ(list, TStringList{u"a=1"});
    EXPECT_EQ(window.btnHide->Caption(), u"Hide IP");
}

TEST(LanguageBinder, GetResStringAndLanguage)
{
    TMainWindowFixture f;
    f.data->SetCurrentData(TStringList{u"[Info]", u"Language=Deutsch", u"[AppRes]", u"AppName=VP",
        u"[ResString]", u"Busy={AppName} ist<SP>beschäftigt"});
    String appName;
    f.data->ReadAppName(appName);
    EXPECT_EQ(f.binder->GetResString(u"busy"), u"VP ist beschäftigt");
    EXPECT_EQ(f.binder->GetResString(u"Not there"), u"Not there");
    EXPECT_EQ(f.binder->Language(), u"Deutsch");
}

TEST(LanguageBinder, LoadedRegistersAndAppliesWhenAutoApplyIsSet)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Loaded"});
    {
        TfrmMain window;
        auto* binder = new TCLMultiLang(&window);
        binder->SetLanguageData(&data);
        data.RemoveClient(binder);
        LoadComponentTree(window);
        EXPECT_EQ(data.Clients(), std::vector<TCLMultiLang*>{binder});
        EXPECT_EQ(window.btnHide->Caption(), u"Loaded");
    }
    data.SetAutoApply(false);
    {
        TfrmMain window;
        auto* binder = new TCLMultiLang(&window);
        binder->SetLanguageData(&data);
        LoadComponentTree(window);
        EXPECT_EQ(data.Clients(), std::vector<TCLMultiLang*>{binder});
        EXPECT_EQ(window.btnHide->Caption(), u"Hide IP");
    }
    data.SetAutoApply(true);
    {
        TfrmMain window;
        window.SetDesigning(true);
        (new TCLMultiLang(&window))->SetLanguageData(&data);
        LoadComponentTree(window);
        EXPECT_EQ(window.btnHide->Caption(), u"Hide IP");
    }
    EXPECT_TRUE(data.Clients().empty());
}

TEST(LanguageBinder, ClientListLifecycle)
{
    TCLMultiLangData first(nullptr);
    TCLMultiLangData second(nullptr);
    auto* window = new TfrmMain;
    auto* binder = new TCLMultiLang(window);
    binder->SetLanguageData(&first);
    first.AddClient(binder);
    EXPECT_EQ(first.Clients().size(), 1u);

    // Through the published property, as a stored window description sets it.
    const TPropInfo* languageData = binder->ClassInfo().FindProperty(u"LanguageData");
    ASSERT_NE(languageData, nullptr);
    languageData->WriteObject(*binder, &second);
    EXPECT_TRUE(first.Clients().empty());
    EXPECT_EQ(second.Clients(), std::vector<TCLMultiLang*>{binder});

    // A destroyed window's binder is never called again (the sanitizers watch the walk).
    delete window;
    EXPECT_TRUE(second.Clients().empty());
    second.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=x"});
    second.ApplyClients();
    second.UpdateClients();
    second.ClearClients();
}

TEST(LanguageBinder, LanguageDataThatGoesFirstLeavesNoDanglingReference)
{
    TfrmMain window;
    auto* binder = new TCLMultiLang(&window);
    {
        TCLMultiLangData data(nullptr);
        binder->SetLanguageData(&data);
        data.RemoveClient(binder); // still referred to, no longer registered
    }
    EXPECT_EQ(binder->LanguageData(), nullptr);
    {
        TCLMultiLangData data(nullptr);
        binder->SetLanguageData(&data);
    }
    EXPECT_EQ(binder->LanguageData(), nullptr);
    binder->ApplyData();
}

TEST(LanguageBinder, ABinderThatLeavesDuringTheWalkIsNotCalled)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[TfrmMain]", u"btnHide.Caption=Applied"});
    auto* first = new TfrmMain;
    auto* second = new TfrmMain;
    auto* firstBinder = new TCLMultiLang(first);
    firstBinder->SetLanguageData(&data);
    (new TCLMultiLang(second))->SetLanguageData(&data);
    // Applying the first window closes the second one.
    firstBinder->SetOnChangeLanguage([&](TComponent*) {
        delete second;
        second = nullptr;
    });
    data.ApplyClients();
    EXPECT_EQ(first->btnHide->Caption(), u"Applied");
    EXPECT_EQ(data.Clients(), std::vector<TCLMultiLang*>{firstBinder});
    delete first;
}

TEST(LanguageCollecting, TheWindowsTextsWithTheDefaultRules)
{
    TMainWindowFixture f;
    f.binder->UpdateData();
    EXPECT_EQ(SectionLines(*f.data, u"TfrmMain"),
        (TStringList{u"frmMain.Caption=Veilport", u"btnHide.Caption=Hide IP",
            u"btnHide.Hint=Hide your IP address", u"btnOptions1.Caption=Options", u"mnuSep.Caption=-",
            u"lblSep.Caption=-", u"lvList.Columns[0].Caption=Country", u"lvList.Columns[1].Caption=Count",
            u"memInfo.Lines=Line one\r\nLine two\r\n", u"edtSearch.Caption=Search",
            u"pnlStatus.Caption=Status"}));
    // Empty texts are stored as keys with empty values.
    String value = u"x";
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"mnuEmpty", u"Caption", value));
    EXPECT_EQ(value, u"");
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"lblEmpty", u"Caption", value));
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Hint", value));
    // Not collected: names, texts without writer, ".Text", the binder and the language data.
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Name", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Version", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"edtSearch", u"Text", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"CLMultiLangData1", u"CurrentLanguage", value));
    EXPECT_TRUE(
        f.data->CurrentData()->Text().find(u"memInfo.Lines=Line one<BR>Line two<BR>") != String::npos);
}

TEST(LanguageCollecting, ExcludeEmptyPropSkipsEmptyTextsAndNarrowDashes)
{
    TMainWindowFixture f;
    f.data->SetExcludeEmptyProp(true);
    f.window.memInfo->Lines()->Clear();
    f.window.lvList->Columns()->Items(1)->SetCaption(u"");
    f.binder->UpdateData();
    String value;
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"mnuSep", u"Caption", value));
    EXPECT_EQ(value, u"-");
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"mnuEmpty", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"lblSep", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"lblEmpty", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"memInfo", u"Lines", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"lvList", u"Columns[1].Caption", value));
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"lvList", u"Columns[0].Caption", value));
}

TEST(LanguageCollecting, NumberEndedNamesAreNotCollectedButStillTranslated)
{
    TMainWindowFixture f;
    f.data->SetExcludeNumberEndProps(true);
    f.binder->UpdateData();
    String value;
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnOptions1", u"Caption", value));
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Caption", value));

    f.data->SetProp(u"TfrmMain", u"btnOptions1", u"Caption", u"Einstellungen");
    f.binder->ApplyData();
    EXPECT_EQ(f.window.btnOptions1->Caption(), u"Einstellungen");
}

TEST(LanguageCollecting, ExcludeWithActionSkipsComponentsThatHoldAnAction)
{
    TMainWindowFixture f;
    auto* action = new TTestAction(&f.window);
    action->SetName(u"actHide");
    f.window.btnHide->SetAction(action);
    f.binder->UpdateData();
    String value;
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Caption", value));

    f.data->ClearCurrentAll();
    f.data->SetExcludeWithAction(true);
    f.binder->UpdateData();
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Hint", value));
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"btnOptions1", u"Caption", value));
}

TEST(LanguageCollecting, ExclusionPatterns)
{
    TCLMultiLangData data(nullptr);
    const TStringList& builtIn = *data.ExcludeProps();
    ASSERT_EQ(builtIn.Count(), 26);
    EXPECT_EQ(builtIn[0], u"TWebBrowser:");
    EXPECT_EQ(builtIn[11], u".Text");
    EXPECT_EQ(builtIn[13], u":TComponentName");
    EXPECT_EQ(builtIn[25], u".LVHeaderSkinDataName");
    EXPECT_EQ(builtIn, DefaultExcludeProps());

    EXPECT_TRUE(data.IsExcluded(u"wb", u"twebbrowser", u"Caption", u"TCaption"));
    EXPECT_TRUE(data.IsExcluded(u"btnOK", u"TButton", u"Name", u"TComponentName"));
    EXPECT_TRUE(data.IsExcluded(u"btnOK", u"TButton", u"category", u"string"));
    EXPECT_FALSE(data.IsExcluded(u"btnOK", u"TButton", u"Caption", u"TCaption"));

    data.SetExcludeProps(TStringList{u"TButton:.Hint", u"btnCancel.", u"btnOK..Caption"});
    EXPECT_TRUE(data.IsExcluded(u"btnHelp", u"TButton", u"Hint", u"string"));
    EXPECT_FALSE(data.IsExcluded(u"lblHelp", u"TLabel", u"Hint", u"string"));
    EXPECT_TRUE(data.IsExcluded(u"btnCancel", u"TButton", u"Caption", u"TCaption"));
    EXPECT_TRUE(data.IsExcluded(u"BTNOK", u"TButton", u"caption", u"TCaption"));
    EXPECT_FALSE(data.IsExcluded(u"btnOK", u"TSpeedButton", u"Hint", u"string"));
    EXPECT_FALSE(data.IsExcluded(u"btnOK", u"TButton", u"Name", u"TComponentName"));

    EXPECT_FALSE(data.IsExcluded(u"btn1", u"TButton", u"Caption", u"TCaption"));
    data.SetExcludeNumberEndProps(true);
    EXPECT_TRUE(data.IsExcluded(u"btn1", u"TButton", u"Caption", u"TCaption"));
    EXPECT_FALSE(data.IsExcluded(u"btnA", u"TButton", u"Caption", u"TCaption"));
    EXPECT_FALSE(data.IsExcluded(u"", u"TButton", u"Caption", u"TCaption"));
}

TEST(LanguageCollecting, ExcludedClassesAndCollectionsFollowThePatterns)
{
    TMainWindowFixture f;
    f.data->SetExcludeProps(TStringList{u"TTestSkinnedPanel:", u".Columns", u"lblSep.", u"btnHide..Hint"});
    f.binder->UpdateData();
    String value;
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"pnlStatus", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"lvList", u"Columns[0].Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"lblSep", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Hint", value));
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Caption", value));
    // Without ":TComponentName" in the list, names are still never collected.
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"btnHide", u"Name", value));
    // Nor is ".Text" excluded any longer.
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"edtSearch", u"Text", value));
}

TEST(LanguageCollecting, AnErrorSkipsOnePropertyAndIsShownOnlyWhileDesigning)
{
    std::vector<String> shown;
    TDesignMessageBox previous = SetDesignMessageBox([&](const String& text) { shown.push_back(text); });
    TMainWindowFixture f;
    new TTestFailing(&f.window, u"fltBad", u"Still collected");
    f.binder->UpdateData();
    String value;
    EXPECT_TRUE(f.data->GetProp(u"TfrmMain", u"fltBad", u"Caption", value));
    EXPECT_FALSE(f.data->GetProp(u"TfrmMain", u"fltBad", u"Broken", value));
    EXPECT_TRUE(shown.empty());

    f.window.SetDesigning(true);
    f.binder->UpdateData();
    EXPECT_EQ(shown, std::vector<String>{u"cannot read:  > fltBad:TTestFailing  Broken:string"});
    SetDesignMessageBox(previous);
}

TEST(LanguageCollecting, ClearDataAndTheClientWalks)
{
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[Info]", u"Language=English", u"[TfrmMain]", u"old.Caption=x"});
    TfrmMain main;
    TfrmChooseIPCountry chooser;
    (new TCLMultiLang(&main))->SetLanguageData(&data);
    (new TCLMultiLang(&chooser))->SetLanguageData(&data);
    data.UpdateClients();
    String value;
    EXPECT_TRUE(data.GetProp(u"TfrmChooseIPCountry", u"lvList", u"Columns[0].Caption", value));
    EXPECT_TRUE(data.GetProp(u"TfrmMain", u"old", u"Caption", value));

    data.ClearClients();
    data.UpdateData();
    EXPECT_EQ(data.CurrentData()->Text(), u"[Info]\r\nLanguage=English\r\n\r\n");

    data.UpdateClients();
    data.ClearCurrentAllForm();
    EXPECT_EQ(data.CurrentData()->Text(), u"[Info]\r\nLanguage=English\r\n\r\n");
}

TEST(LanguageCollecting, SaveCurrentToFileWritesTheCanonicalLayout)
{
    TTempFolder folder;
    TCLMultiLangData data(nullptr);
    data.SetCurrentData(TStringList{u"[AppRes]", u"AppName=Veilport", u"[Info]", u"Language=English"});
    TfrmChooseIPCountry chooser;
    (new TCLMultiLang(&chooser))->SetLanguageData(&data);
    data.UpdateClients();
    data.SaveCurrentToFile(FilePath(folder, "English.lan"));
    EXPECT_EQ(vptest::ReadFileBytes(folder.Path() / "English.lan"),
        "[Info]\r\nLanguage=English\r\n\r\n"
        "[AppRes]\r\nAppName=Veilport\r\n\r\n"
        "[TfrmChooseIPCountry]\r\n"
        "btnCancel.Caption=Cancel\r\nbtnCancel.Hint=\r\n"
        "btnOK.Caption=OK\r\nbtnOK.Hint=\r\n"
        "frmChooseIPCountry.Caption=Choose a country\r\nfrmChooseIPCountry.Hint=\r\n"
        "lvList.Caption=\r\nlvList.Columns[0].Caption=Country\r\nlvList.Hint=\r\n\r\n");
}

TEST(LanguageWindowList, CollectsEveryRegisteredWindowThroughItsBinder)
{
    TLangWindowList list;
    RegisterLangTestWindows(list);
    int ownBinderUsed = 0;
    list.Add(u"tfrmmain", [&] {
        auto window = std::make_unique<TfrmMain>();
        auto* binder = new TCLMultiLang(window.get());
        binder->SetOnChangeLanguage([&](TComponent*) { ++ownBinderUsed; });
        binder->SetName(u"CLMultiLang1");
        return window;
    });
    list.Add(u"TNothing", [] { return std::unique_ptr<TComponent>(); });
    ASSERT_EQ(list.Entries().size(), 3u);
    EXPECT_EQ(list.Entries()[0].ClassName, u"TfrmMain");

    TCLMultiLangData data(nullptr);
    data.SetExcludeEmptyProp(true);
    list.CollectInto(data);
    EXPECT_TRUE(data.Clients().empty());
    String value;
    EXPECT_TRUE(data.GetProp(u"TfrmMain", u"btnHide", u"Caption", value));
    EXPECT_TRUE(data.GetProp(u"TfrmChooseIPCountry", u"btnOK", u"Caption", value));
    EXPECT_FALSE(data.GetProp(u"TfrmMain", u"CLMultiLang1", u"Name", value));
    EXPECT_EQ(ownBinderUsed, 0);
}
