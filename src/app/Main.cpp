// The program's entry.
#include <windows.h>

#include "app/CLMain.h"
#include "app/uMain.h"
#include "framework/engine/CLSplashForm.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (!vp::IsLocaleAllowed())
        return 0;
    vp::TApplication application;
    vp::CLSetSplashHook([&application] { vp::ShowSplashWindow(&application); });
    return vp::CLRunApplication(application, vp::frmMain);
}
