#include "LangCollect.h"

#include "LangTestComponents.h"
#include "framework/config/CLMultiLang.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vp;
using namespace vptest;

namespace {

struct TRun {
    int Code = -1;
    std::string Out;
    std::string Err;
};

TRun Collect(std::vector<String> args)
{
    TLangWindowList windows;
    RegisterLangTestWindows(windows);
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.Code = RunLangCollect(args, windows, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

String PathOf(const TTempFolder& folder, const char* name)
{
    return (folder.Path() / name).u16string();
}

} // namespace

TEST(LangCollectTool, WritesTheWindowsTextsInCanonicalOrder)
{
    TTempFolder folder;
    TRun run = Collect({u"--language", u"English", u"--exclude-empty", PathOf(folder, "English.lan")});
    ASSERT_EQ(run.Code, 0) << run.Err;
    std::string file = ReadFileBytes(folder.Path() / "English.lan");
    EXPECT_TRUE(file.starts_with("[Info]\r\nLanguage=English\r\n\r\n[TfrmChooseIPCountry]\r\n"));
    EXPECT_LT(file.find("[TfrmChooseIPCountry]\r\nbtnCancel.Caption=Cancel\r\nbtnOK.Caption=OK\r\n"),
        file.find("[TfrmMain]\r\n"));
    EXPECT_NE(file.find("lvList.Columns[1].Caption=Count\r\n"), std::string::npos);
    EXPECT_NE(file.find("memInfo.Lines=Line one<BR>Line two<BR>\r\n"), std::string::npos);
    EXPECT_NE(file.find("mnuSep.Caption=-\r\n"), std::string::npos);
    EXPECT_EQ(file.find("mnuEmpty.Caption"), std::string::npos);
    EXPECT_EQ(file.find("\xEF\xBB\xBF"), std::string::npos);

    // The file reads back with the windows' own texts.
    TCLMultiLangData data(nullptr);
    data.LoadCurrentFromFile(PathOf(folder, "English.lan"));
    EXPECT_EQ(data.CurrentLanguage(), u"English");
    TfrmMain window;
    window.btnHide->SetCaption(u"changed");
    (new TCLMultiLang(&window))->SetLanguageData(&data);
    data.ApplyClients();
    EXPECT_EQ(window.btnHide->Caption(), u"Hide IP");
}

TEST(LangCollectTool, ABaseFileKeepsItsSectionsAndClearFormsDropsOldWindowTexts)
{
    TTempFolder folder;
    WriteFileBytes(folder.Path() / "base.lan",
        "[Info]\r\nLanguage=Deutsch\r\nTranslator=Anna\r\n"
        "[AppRes]\r\nAppName=Tarnkappe\r\n"
        "[TfrmMain]\r\nbtnGone.Caption=Weg\r\nbtnHide.Caption=Verbergen\r\n");
    ASSERT_EQ(Collect({u"--base", PathOf(folder, "base.lan"), PathOf(folder, "kept.lan")}).Code, 0);
    std::string kept = ReadFileBytes(folder.Path() / "kept.lan");
    EXPECT_NE(kept.find("[Info]\r\nLanguage=Deutsch\r\nTranslator=Anna\r\n\r\n[AppRes]\r\nAppName=Tarnkappe"),
        std::string::npos);
    EXPECT_NE(kept.find("btnGone.Caption=Weg\r\n"), std::string::npos);
    EXPECT_NE(kept.find("btnHide.Caption=Hide IP\r\n"), std::string::npos);

    ASSERT_EQ(
        Collect({u"--clear-forms", u"--base", PathOf(folder, "base.lan"), PathOf(folder, "fresh.lan")}).Code,
        0);
    std::string fresh = ReadFileBytes(folder.Path() / "fresh.lan");
    EXPECT_EQ(fresh.find("btnGone"), std::string::npos);
    EXPECT_NE(fresh.find("AppName=Tarnkappe"), std::string::npos);
}

TEST(LangCollectTool, ExclusionOptions)
{
    TTempFolder folder;
    ASSERT_EQ(Collect({u"--exclude-number-end", u"--exclude-with-action", PathOf(folder, "x.lan")}).Code, 0);
    std::string file = ReadFileBytes(folder.Path() / "x.lan");
    EXPECT_EQ(file.find("btnOptions1"), std::string::npos);
    EXPECT_NE(file.find("btnHide.Caption=Hide IP"), std::string::npos);
}

TEST(LangCollectTool, ListsTheWindows)
{
    TRun run = Collect({u"--list"});
    EXPECT_EQ(run.Code, 0);
    EXPECT_EQ(run.Out, "TfrmMain\nTfrmChooseIPCountry\n");
}

TEST(LangCollectTool, WrongArgumentsAndFileErrors)
{
    for (const std::vector<String>& args : std::vector<std::vector<String>>{
             {}, {u"--base"}, {u"--frobnicate", u"x.lan"}, {u"a.lan", u"b.lan"}}) {
        TRun run = Collect(args);
        EXPECT_EQ(run.Code, 2);
        EXPECT_NE(run.Err.find("usage: langcollect"), std::string::npos);
    }
    TTempFolder folder;
    TRun missing = Collect({u"--base", PathOf(folder, "missing.lan"), PathOf(folder, "out.lan")});
    EXPECT_EQ(missing.Code, 1);
    EXPECT_NE(missing.Err.find("missing.lan"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "out.lan"));

    TRun unwritable = Collect({PathOf(folder, "no/such/folder/out.lan")});
    EXPECT_EQ(unwritable.Code, 1);
}
