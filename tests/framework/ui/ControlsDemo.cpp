// controlsdemo.exe: one of each skinned control in a window, to look at and to use from the
// keyboard. "S&kin" goes through the built-in and the shipped skins; OK and Cancel close it.
//   controlsdemo.exe [--skin <file>] [--page <n>] [--close-after <ms>]
#include <windows.h>
#include <shellapi.h>

#include "ControlsDemoForm.h"

#include "framework/rtl/WinText.h"
#include "framework/ui/Application.h"
#include "framework/ui/Timers.h"

using namespace vp;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    String skin;
    int page = 0;
    unsigned closeAfter = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        const String name = FromWStr(argv[i]), value = FromWStr(argv[i + 1]);
        if (name == u"--skin")
            skin = value;
        else if (name == u"--page")
            page = _wtoi(argv[i + 1]);
        else if (name == u"--close-after")
            closeAfter = static_cast<unsigned>(_wtoi(argv[i + 1]));
    }
    LocalFree(argv);

    TApplication application;
    auto* form = application.CreateForm<vptest::TfrmControlsDemo>(FromAscii(VP_DEMO_DATA_DIR));
    const String skins = FromAscii(VP_BUILT_SKINS_DIR) + u"/";
    form->SkinFiles = {skins + u"Midnight.skn", skins + u"Harbor.nsf.skn"};
    application.Guard([&] {
        if (!skin.empty())
            form->UseSkin(skin);
    });
    form->pcDemo->SetActivePageIndex(page);
    form->btnOK->OnClick = [&](TObject*) { form->Close(); };
    form->btnCancel->OnClick = [&](TObject*) { form->Close(); };
    TTimer closer(form);
    closer.SetEnabled(false);
    closer.OnTimer = [&](TObject*) { form->Close(); };
    if (closeAfter > 0) {
        closer.SetInterval(closeAfter);
        closer.SetEnabled(true);
    }
    application.Run();
    return 0;
}
