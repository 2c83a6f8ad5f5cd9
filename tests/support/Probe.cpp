// A second process for tests that need one.
//   vpprobe first-instance <name> [hold-ms]  exit 0 when IsFirstInstance answered true, 1 when
//                                            false; with hold-ms it keeps the name that long.
#include <windows.h>

#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/WinText.h"

#include <string>

int wmain(int argc, wchar_t** argv)
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    if (argc >= 3 && std::wstring(argv[1]) == L"first-instance") {
        bool first = vp::IsFirstInstance(vp::FromWStr(argv[2]));
        if (argc >= 4)
            Sleep(static_cast<DWORD>(_wtoi(argv[3])));
        return first ? 0 : 1;
    }
    return 2;
}
