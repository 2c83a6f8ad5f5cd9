#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include "framework/config/CLMultiLang.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/engine/CLEngine.h"
#include "framework/rtl/FileUtils.h"
#include "framework/ui/Menus.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

// A main window with the engine, skin data holding the built-in skin, and language data.
class TfrmSkinHost : public TForm {
    VP_CLASS(TfrmSkinHost)
public:
    explicit TfrmSkinHost(TComponent* owner) : TForm(owner)
    {
        StoredSkin = new TspCompressedStoredSkin(this);
        LoadBuiltinSkin(*StoredSkin);
        Texts = new TspResourceStrData(this);
        SkinData = new TspSkinData(this);
        SkinData->SetCompressedStoredSkin(StoredSkin);
        SkinData->SetResourceStrData(Texts);
        LanguageData = new TCLMultiLangData(this);
        LanguageMenu = new TMenuItem(this);
        CLEngine = new TCLEngine(this);
        CLEngine->SetSkinData(SkinData);
        CLEngine->SetLanguageData(LanguageData);
        CLEngine->SetLanguageMenuItem(LanguageMenu);
        CLEngine->OnSkinChanged = [this](TObject*) { ++SkinChanges; };
    }
    TspCompressedStoredSkin* StoredSkin;
    TspResourceStrData* Texts;
    TspSkinData* SkinData;
    TCLMultiLangData* LanguageData;
    TMenuItem* LanguageMenu;
    TCLEngine* CLEngine;
    int SkinChanges = 0;
};

const TClassInfo& TfrmSkinHost::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TfrmSkinHost, TForm>(u"TfrmSkinHost").Build();
    return info;
}

// Skin and language files beside the test's program, removed afterwards.
class TDataFiles {
public:
    ~TDataFiles()
    {
        for (const String& file : FFiles)
            DeleteFileW(reinterpret_cast<const wchar_t*>(file.c_str()));
    }
    void Put(const String& relative, const std::string& bytes)
    {
        String path = GetAppPath() + relative;
        ForceDirectories(ExtractFilePath(path));
        WriteAllBytesAtomic(path, bytes);
        FFiles.push_back(path);
    }

private:
    std::vector<String> FFiles;
};

std::string BuiltSkin(const char* name)
{
    return ReadFileBytes(std::filesystem::path(VP_BUILT_SKINS_DIR) / name);
}

} // namespace

TEST(EngineSkin, ASkinWithoutItsOwnFrameIsChosenByNameAndMissingOrBrokenFilesGiveTheBuiltInOne)
{
    TDataFiles files;
    files.Put(u"skins\\Blue.nsf.skn", BuiltSkin("Harbor.nsf.skn"));
    std::string midnight = BuiltSkin("Midnight.skn");
    files.Put(u"skins\\Broken.skn", midnight.substr(0, midnight.size() / 3));
    GetCLSettings().SetSettingstring(u"Skin", u"Blue");
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmSkinHost>();
    TCLEngine* engine = form->CLEngine;
    EXPECT_EQ(engine->Skin(), u"Blue");
    EXPECT_FALSE(form->SkinData->SkinnableForm());
    EXPECT_EQ(form->SkinData->Skin().Info().Name, u"Harbor");
    EXPECT_EQ(form->SkinChanges, 0); // not while the window loads

    engine->SetSkin(u"Broken"); // refused whole, like a missing file
    EXPECT_EQ(engine->Skin(), u"Default");
    EXPECT_EQ(form->SkinData->Skin().Info().Name, u"Default");
    EXPECT_TRUE(form->SkinData->SkinnableForm());
    EXPECT_EQ(GetCLSettings().GetSettingString(u"Skin"), u"Default");
    EXPECT_EQ(form->SkinChanges, 1);
    engine->SetSkin(u""); // the same name: nothing happens
    EXPECT_EQ(form->SkinChanges, 1);
    const TStringList& list = engine->SkinList();
    ASSERT_EQ(list.Count(), 3) << U16ToUtf8(list.Text());
    EXPECT_EQ(list[0], u"Default");
    EXPECT_EQ(list[1], u"Blue");
    EXPECT_EQ(list[2], u"Broken");
}

TEST(EngineSkin, AMessageTheUserAskedNotToSeeAgainAnswersSilentlyWithTheRememberedResult)
{
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmSkinHost>();
    std::vector<TModalRequest> seen;
    SetModalResponder([&](const TModalRequest& request) {
        seen.push_back(request);
        if (request.ShowAgain)
            *request.ShowAgain = false;
        return mrOk;
    });
    TStringList params;
    params.Add(u"X");
    EXPECT_EQ(form->CLEngine->ShowMessageEx(u"MSGBox_ACTIONFAST", params, 6, TMsgDlgType::mtInformation, mbOK), mrOk);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].Text, u"[AppRes]MSGBox_ACTIONFAST");
    EXPECT_EQ(seen[0].Caption, form->CLEngine->GetAppName());
    EXPECT_EQ(form->CLEngine->ShowMessageEx(u"MSGBox_ACTIONFAST", params, 6, TMsgDlgType::mtInformation, mbOK), 1);
    EXPECT_EQ(seen.size(), 1u); // nothing shown the second time
    EXPECT_FALSE(GetCLSettings().GetMessageShowAgainFlag(6));
    // A box without a number offers no choice and is always shown.
    form->CLEngine->ShowErrorMessage(u"MSGBox.CHKNET", u"p", false);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].ShowAgain, nullptr);
    EXPECT_EQ(seen[1].DlgType, TMsgDlgType::mtError);
    SetModalResponder(nullptr);
    GetCLSettings().SetMessageShowAgainFlag(6, true);
}

TEST(EngineSkin, TheLanguageGivesTheToolkitItsTextsAndTheMenuOneItemPerLanguage)
{
    TDataFiles files;
    files.Put(u"lang\\English.lan", "[Info]\r\nLanguage=English\r\n");
    files.Put(u"lang\\Deutsch.lan", "[Info]\r\nLanguage=Deutsch\r\n[SkinRes]\r\nButton.OK=&Gut\r\n");
    GetCLSettings().SetSettingstring(u"Language", u"Deutsch");
    TApplicationScope scope;
    auto* form = Application().CreateForm<TfrmSkinHost>();
    EXPECT_EQ(form->SkinData->ResStr(skinres::kOK), u"&Gut");
    ASSERT_EQ(form->LanguageMenu->Count(), 2);
    EXPECT_EQ(form->LanguageMenu->Items(0)->Caption(), u"English");
    EXPECT_TRUE(form->LanguageMenu->Items(1)->Checked());
    // Choosing English from the menu gives the toolkit its own texts back.
    form->LanguageMenu->Items(0)->OnClick(form->LanguageMenu->Items(0));
    EXPECT_EQ(form->CLEngine->Language(), u"English");
    EXPECT_TRUE(form->LanguageMenu->Items(0)->Checked());
    EXPECT_FALSE(form->LanguageMenu->Items(1)->Checked());
    EXPECT_EQ(form->SkinData->ResStr(skinres::kOK), u"&OK");
}
