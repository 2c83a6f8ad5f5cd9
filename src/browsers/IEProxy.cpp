#include "browsers/IEProxy.h"

namespace vp {

String IEProxyServerText(StringView aProxy)
{
    String proxy(aProxy);
    return u"http=" + proxy + u";ftp=" + proxy + u";https=" + proxy + u";";
}

} // namespace vp
