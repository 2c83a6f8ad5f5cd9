// langcollect: writes a language file from the program's windows (see LangCollect.h).
#include "LangCollect.h"

#include "LangTestComponents.h"

#ifdef _WIN32
#include "app/uMain.h"
#include "dialogs/DialogLangWindows.h"
#include "framework/engine/CLAboutForm.h"
#include "framework/engine/CLUpdateForm.h"
#include "framework/ui/Application.h"
#endif

#include <iostream>

namespace {

// The test windows first; the program's own windows (Win32 only) replace those of the same
// name and join the list as they are built.
int Run(const std::vector<vp::String>& args)
{
#ifdef _WIN32
    // The main window's components need the application object.
    vp::TApplication application;
#endif
    vptest::RegisterLangTestWindows(vp::LangWindows());
#ifdef _WIN32
    vp::RegisterAppLangWindows(vp::LangWindows());
    vp::RegisterDialogLangWindows(vp::LangWindows());
    vp::RegisterAboutLangWindow(vp::LangWindows());
    vp::RegisterUpdateLangWindow(vp::LangWindows());
#endif
    return vp::RunLangCollect(args, vp::LangWindows(), std::cout, std::cerr);
}

} // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv)
{
    std::vector<vp::String> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(vp::FromWide(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv)
{
    std::vector<vp::String> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(vp::Utf8ToU16(argv[i]));
    return Run(args);
}
#endif
