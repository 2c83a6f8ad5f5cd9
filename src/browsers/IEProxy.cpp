#include "browsers/IEProxy.h"

namespace vp {

String IEProxyServerText(StringView aProxy)
{
    String proxy(aProxy);
    return u"http=" + proxy + u";ftp=" + proxy + u";https=" + proxy + u";";
}

bool IsIEProxyServerText(StringView text)
{
    constexpr StringView kHttp = u"http=";
    if (text.substr(0, kHttp.size()) != kHttp)
        return false;
    size_t end = text.find(u';');
    if (end == StringView::npos || end == kHttp.size())
        return false;
    return text == IEProxyServerText(text.substr(kHttp.size(), end - kHttp.size()));
}

} // namespace vp
