// langcollect: writes a language file from the program's windows (see LangCollect.h).
#include "LangCollect.h"

#include <iostream>

#ifdef _WIN32
#include "app/uMain.h"
#include "framework/ui/Application.h"
#else
#include "LangTestComponents.h"
#endif

namespace {

// The Windows build collects the program's own windows; the native one, which has no
// windows, the tests' sample windows.
int Run(const std::vector<vp::String>& args)
{
#ifdef _WIN32
    vp::TApplication application;
    vp::RegisterAppLangWindows(vp::LangWindows());
#else
    vptest::RegisterLangTestWindows(vp::LangWindows());
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
