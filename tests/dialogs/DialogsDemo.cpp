// dialogsdemo.exe: one of the dialogs over a stand-in main window, to look at and to take
// screenshots of (tools/dialogs-screenshots). Its settings live in a folder of its own.
//   dialogsdemo.exe chooser|settings|about [--skin <file>] [--page <n>]
#include <windows.h>
#include <shellapi.h>

#include "DialogHostForm.h"

#include "dialogs/uChooseIPCountry.h"
#include "dialogs/uSettings.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/PathText.h"
#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"

using namespace vp;
using namespace vptest;

namespace {

const String kPools = u"192.0.2.1:80|United States|US|0|0;192.0.2.2:80|Germany|DE|0|0;"
                      u"192.0.2.3:80|United Kingdom|GB|0|0;192.0.2.4:80|France|FR|0|0;"
                      u"192.0.2.5:80|Canada|CA|0|0;192.0.2.6:80|Japan|JP|0|0;192.0.2.7:80|Netherlands|NL|0|0;"
                      u"192.0.2.8:80|Brazil|BR|0|0;192.0.2.9:80|Switzerland|CH|0|0;192.0.2.10:80|Sweden|SE|0|0;"
                      u"192.0.2.11:80|Australia|AU|0|0;192.0.2.12:80|Singapore|SG|0|0;192.0.2.13:80|Atlantis|XX|0|0;";

// The program's folder for this run: settings, and the about box's logo beside "the program".
void PrepareAppFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const String folder = IncludeTrailingBackslash(FromWStr(temp)) + u"vpdialogsdemo\\";
    ForceDirectories(folder + u"res\\images");
    ForceDirectories(folder + u"lang");
    WriteAllBytesAtomic(folder + u"const.dat",
        "[setting]\r\nApp.ConfigPath=VeilportDialogsDemo\r\nSetting.NoAllUser=1\r\nApp.Ver=1.0\r\n"
        "App.Copyright=Copyright (C) Veilport\r\nabout.showlink=1\r\nURL.Redirect=http://127.0.0.1/\r\n"
        "Language=English\r\n");
    // The about box's first lines come from the language file.
    WriteAllBytesAtomic(folder + u"lang\\English.lan",
        "[Info]\r\nLanguage=English\r\n[LibRes]\r\nTfrmCLAboutForm.CopyRightLine1=Veilport hides your IP address\r\n"
        "TfrmCLAboutForm.CopyRightLine2=Version {1}\r\n");
    WriteAllBytesAtomic(folder + u"res\\images\\about.png", ReadAllBytes(SourceDataFolder() + u"res\\images\\about.png"));
    SetAppFileNameForTests(folder + u"Veilport.exe");
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const String dialog = argc > 1 ? FromWStr(argv[1]) : String(u"chooser");
    String skin;
    int page = 0;
    for (int i = 2; i + 1 < argc; i += 2) {
        const String name = FromWStr(argv[i]);
        if (name == u"--skin")
            skin = FromWStr(argv[i + 1]);
        else if (name == u"--page")
            page = _wtoi(argv[i + 1]);
    }
    LocalFree(argv);

    PrepareAppFolder();
    TApplication application;
    auto* host = application.CreateForm<TfrmDialogHost>();
    application.Guard([&] {
        host->LoadFlags({u"UN", u"US", u"DE", u"GB", u"FR", u"CA", u"JP", u"NL", u"BR", u"CH", u"SE", u"AU", u"SG"});
        if (!skin.empty())
            host->UseSkin(skin);
        TPools pools(kPools);
        pools.Manager.FTargetCountry = u"de";
        if (dialog == u"settings") {
            auto* settings = NewForm<TfrmSettings>(host);
            settings->pcSetting->SetActivePageIndex(page);
            settings->ShowModal();
        } else if (dialog == u"about") {
            host->CLEngine->AppAbout();
        } else {
            NewForm<TfrmChooseIPCountry>(host, &pools.Manager)->ShowModal();
        }
    });
    return 0;
}
