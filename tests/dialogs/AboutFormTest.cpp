// The about box and the engine's AppAbout: its lines in each language, the links, the logo
// deciding its size, Esc, one instance kept; and the dialogs' texts for the translator's tool.
#include "DialogTestHost.h"

#include "dialogs/DialogLangWindows.h"
#include "framework/config/CLSettings.h"
#include "framework/engine/CLAboutForm.h"
#include "framework/ui/GdiPlus.h"
#include "support/BrowsersTestSupport.h"
#include "support/UiTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const std::string kLibRes = "[LibRes]\r\nTfrmCLAboutForm.Caption=About it\r\nbtnOk.Caption=Fine\r\n"
                            "lblSupport.Caption=Help desk\r\nTfrmCLAboutForm.CopyRightLine1=Line one\r\n"
                            "TfrmCLAboutForm.CopyRightLine2=Version {1}\r\n"
                            "TfrmCLAboutForm.CopyRightLine3=Translated to {1} by {2}.\r\n";

class AboutBox : public ::testing::Test {
protected:
    AboutBox()
    {
        FFiles.Put(u"lang\\English.lan", "[Info]\r\nLanguage=English\r\n" + kLibRes);
        FFiles.Put(u"lang\\Deutsch.lan", "[Info]\r\nLanguage=Deutsch\r\n" + kLibRes);
        Host = Application().CreateForm<TfrmDialogHost>();
        Engine = Host->CLEngine;
    }
    TfrmCLAboutForm* Make() { return NewForm<TfrmCLAboutForm>(Host); }

    TAppFiles FFiles;
    TSettingOverride FVersion{u"App.Ver", u"2.5"};
    TSettingOverride FCopyright{u"App.Copyright", u"(c) Veilport"};
    TSettingOverride FShowLink{u"about.showlink", u"0"};
    TSettingOverride FLanguage{u"Language", u"English"};
    TApplicationScope FScope;
    TfrmDialogHost* Host;
    TCLEngine* Engine;
};

} // namespace

TEST_F(AboutBox, ThreeLinesInEnglishAFourthWithAnotherLanguageEvenWithoutTranslator)
{
    Engine->SetLanguage(u"English");
    TfrmCLAboutForm* box = Make();
    EXPECT_EQ(box->lbInfo->Caption(), u"Line one\r\nVersion 2.5\r\n(c) Veilport");
    EXPECT_EQ(box->Caption(), u"About it");
    EXPECT_EQ(box->btnOK->Caption(), u"Fine");
    EXPECT_EQ(box->lblSupport->Caption(), u"Help desk");
    delete box;

    Engine->SetLanguage(u"Deutsch");
    Engine->SetLanguageTranslator(u"");
    box = Make();
    EXPECT_EQ(box->lbInfo->Caption(), u"Line one\r\nVersion 2.5\r\n(c) Veilport\r\nTranslated to Deutsch by .");
    delete box;
    Engine->SetLanguageTranslator(u"Anna");
    box = Make();
    EXPECT_EQ(box->lbInfo->Caption(), u"Line one\r\nVersion 2.5\r\n(c) Veilport\r\nTranslated to Deutsch by Anna.");
    delete box;
}

TEST_F(AboutBox, TheSupportLinkAlwaysTheOtherTwoOnlyWithShowLink)
{
    TSettingOverride support{u"URL.support", u"http://127.0.0.1/support"};
    TSettingOverride eula{u"URL.eula", u"http://127.0.0.1/eula"};
    TSettingOverride privacy{u"URL.privary", u"http://127.0.0.1/privacy"};
    // Each address carries the program's parameters, the page's name among them.
    auto page = [](TspSkinLinkLabel* link) {
        const String url = link->URL();
        return url.substr(0, url.find(u'?'));
    };
    TfrmCLAboutForm* box = Make();
    EXPECT_TRUE(box->lblSupport->Visible());
    EXPECT_EQ(page(box->lblSupport), u"http://127.0.0.1/support");
    EXPECT_NE(box->lblSupport->URL().find(u"ACTION=support"), String::npos);
    EXPECT_FALSE(box->btnEULA->Visible());
    EXPECT_FALSE(box->btnPrivaryPolicy->Visible());
    delete box;

    GetCLSettings().SetSettingBool(u"about.showlink", true);
    box = Make();
    EXPECT_TRUE(box->lblSupport->Visible());
    EXPECT_TRUE(box->btnEULA->Visible());
    EXPECT_TRUE(box->btnPrivaryPolicy->Visible());
    EXPECT_EQ(page(box->btnEULA), u"http://127.0.0.1/eula");
    EXPECT_EQ(page(box->btnPrivaryPolicy), u"http://127.0.0.1/privacy");
    delete box;
}

TEST_F(AboutBox, TheLogoDecidesTheSizeAndWithoutItsStripGoes)
{
    TfrmCLAboutForm* box = Make();
    EXPECT_FALSE(box->pnLogo->Visible());
    EXPECT_EQ(box->ClientWidth(), 373);
    EXPECT_EQ(box->ClientHeight(), 293 - 65);
    delete box;

    FFiles.Copy(SourceDataFolder() + u"res\\images\\about.png", u"res\\images\\about.png");
    box = Make();
    ASSERT_NE(box->imgLogo->Picture(), nullptr);
    const int width = static_cast<int>(box->imgLogo->Picture()->GetWidth());
    const int height = static_cast<int>(box->imgLogo->Picture()->GetHeight());
    EXPECT_TRUE(box->pnLogo->Visible());
    EXPECT_EQ(box->ClientWidth(), width);
    EXPECT_EQ(box->ClientHeight(), 293 + height - 65);
    EXPECT_EQ(box->pnLogo->Height(), height);
    delete box;

    // A file that is no picture counts as none.
    FFiles.Put(u"res\\images\\about.png", "not a picture");
    box = Make();
    EXPECT_FALSE(box->pnLogo->Visible());
    EXPECT_EQ(box->ClientHeight(), 293 - 65);
    delete box;
}

TEST_F(AboutBox, AppAboutKeepsOneBoxACallWhileItShowsDoesNothingAndEscClosesIt)
{
    Engine->SetLanguage(u"English");
    EXPECT_EQ(Engine->AboutForm(), nullptr);
    int activations = 0;
    bool nestedReturned = false;
    static TForm* shown = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 15000, [](HWND, UINT, UINT_PTR, DWORD) {
        if (shown)
            shown->SetModalResult(mrAbort);
    });
    // The box is made on the first call; hook its activation before the loop gets to it.
    SetModalResponder([&](const TModalRequest& request) {
        if (shown)
            return mrNone;
        shown = request.Form;
        request.Form->OnActivate = [&](TObject*) {
            if (++activations > 1)
                return;
            Engine->AppAbout(); // returns at once: the box shows already
            nestedReturned = true;
            XKey(u"Escape");
        };
        return mrNone; // shown for real
    });
    Engine->AppAbout();
    KillTimer(nullptr, timer);
    SetModalResponder(nullptr);
    auto* box = dynamic_cast<TfrmCLAboutForm*>(Engine->AboutForm());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box, shown);
    EXPECT_TRUE(nestedReturned);
    EXPECT_EQ(box->ModalResult(), mrOk); // Esc let go, not Esc as the cancel key
    EXPECT_FALSE(box->Visible());
    EXPECT_EQ(box->Owner(), Host);

    // The same box again, with the texts of its first opening.
    Engine->SetLanguage(u"Deutsch");
    TModalRecorder recorder;
    Engine->AppAbout();
    ASSERT_EQ(recorder.Requests.size(), 1u);
    EXPECT_EQ(recorder.Requests[0].Form, box);
    EXPECT_EQ(box->lbInfo->Caption(), u"Line one\r\nVersion 2.5\r\n(c) Veilport");

    // Freed with its owner's other windows, the engine forgets it.
    delete box;
    EXPECT_EQ(Engine->AboutForm(), nullptr);
}

TEST(DialogLangWindows, TheTranslatorsToolCollectsEachWindowsDesignedTexts)
{
    TApplicationScope scope; // no main window, no engine: windows as designed
    TLangWindowList windows;
    RegisterDialogLangWindows(windows);
    RegisterAboutLangWindow(windows);
    ASSERT_EQ(windows.Entries().size(), 3u);
    TCLMultiLangData data(nullptr);
    windows.CollectInto(data);
    auto text = [&](const char16_t* window, const char16_t* component, const char16_t* property) {
        String value;
        EXPECT_TRUE(data.GetProp(window, component, property, value)) << U16ToUtf8(component);
        return value;
    };
    EXPECT_EQ(text(u"TfrmChooseIPCountry", u"frmChooseIPCountry", u"Caption"), u"Select Fake Location");
    EXPECT_EQ(text(u"TfrmChooseIPCountry", u"btnCancel", u"Caption"), u"&Cancel");
    EXPECT_EQ(text(u"TfrmSettings", u"cbAutoRun", u"Caption"), u"Automatically run Shadeway when I log on to Windows");
    EXPECT_EQ(text(u"TfrmSettings", u"tsBrowser", u"Caption"), u"Browser");
    EXPECT_EQ(text(u"TfrmSettings", u"btnReinstallFF", u"Caption"), u"Re-install FireFox Extension");
    EXPECT_EQ(text(u"TfrmCLAboutForm", u"btnEULA", u"Caption"), u"End User License Agreement");
    EXPECT_EQ(text(u"TfrmCLAboutForm", u"btnPrivaryPolicy", u"Caption"), u"Privacy Policy");
}
