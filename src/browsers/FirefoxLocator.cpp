#include "browsers/FirefoxLocator.h"

#include "framework/rtl/PathText.h"

namespace vp {

String LookUpFirefoxPath(IFirefoxLookupSource& source)
{
    String path = source.StoredFirefoxPath();
    if (source.FileExists(path))
        return path;

    String version;
    if (source.ReadRegistryString(
            TRegistryRoot::LocalMachine, kMozillaFirefoxKey, u"CurrentVersion", version) &&
        !version.empty()) {
        String mainKey = String(kMozillaFirefoxKey) + u"\\" + version + u"\\Main";
        String exe;
        if (source.ReadRegistryString(TRegistryRoot::LocalMachine, mainKey, u"PathToExe", exe))
            path = exe;
    }

    // Glimmerpane counts as Firefox and wins over a registered Firefox.
    String folder;
    if (source.ReadRegistryString(TRegistryRoot::CurrentUser, kGlimmerpaneKey, u"", folder) &&
        !folder.empty())
        path = IncludeTrailingBackslash(folder) + String(kGlimmerpaneExe);

    if (source.FileExists(path))
        source.StoreFirefoxPath(path);
    return path;
}

} // namespace vp
