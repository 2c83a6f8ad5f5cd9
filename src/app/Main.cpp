// The program's entry.
#include <windows.h>

#include "app/CLMain.h"
#include "app/uMain.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    if (vp::IsLocaleAllowed())
        vp::CLRunApplication(vp::frmMain);
    return 0;
}
