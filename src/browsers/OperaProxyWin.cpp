#include "browsers/OperaProxyWin.h"

#include <windows.h>

#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"

namespace vp {

namespace {

String FindOperaPreferenceFile()
{
    for (const String& candidate : OperaPreferenceFiles(GetShellFolder(u"AppData")))
        if (FileExists(candidate))
            return candidate;
    return String();
}

} // namespace

void SetOperaProxy(StringView aProxy)
{
    String proxy = GetCLSettings().GetSettingBool(u"SWITCH.OPERA") ? String(aProxy) : String();
    String file = FindOperaPreferenceFile();
    if (file.empty())
        return;
    String section(kOperaProxySection);
    for (const TOperaProxyKey& key : OperaProxyKeys(proxy)) {
        if (!WritePrivateProfileStringW(WStr(section), WStr(key.Key), WStr(key.Value), WStr(file)))
            throw EWriteError(file);
    }
    // The flush form reports FALSE whatever happens; each write above has already reached the file.
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, WStr(file));
}

} // namespace vp
