#include "browsers/OperaProxy.h"

#include "framework/rtl/PathText.h"

namespace vp {

std::vector<TOperaProxyKey> OperaProxyKeys(StringView aProxy)
{
    String use = aProxy.empty() ? u"0" : u"1";
    String server(aProxy);
    return {
        {u"Use HTTP", use},
        {u"Use HTTPS", use},
        {u"Use FTP", use},
        {u"HTTP server", server},
        {u"HTTPS server", server},
        {u"FTP server", server},
        {u"No Proxy Servers", u""},
    };
}

std::vector<String> OperaPreferenceFiles(StringView appData)
{
    // Without the folder the names would point at the root of the current drive.
    if (appData.empty())
        return {};
    String base = IncludeTrailingBackslash(appData);
    return {base + u"Opera\\Opera\\profile\\opera6.ini", base + u"Opera\\Opera\\operaprefs.ini"};
}

} // namespace vp
