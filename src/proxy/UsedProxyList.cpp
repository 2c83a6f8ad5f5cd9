#include "proxy/UsedProxyList.h"

namespace vp {

bool TUsedProxyList::Contains(StringView aIP) const
{
    return ContainsKey(UpperCase(aIP));
}

void TUsedProxyList::Add(StringView aIP)
{
    if (FKeys.insert(UpperCase(aIP)).second)
        FItems.Add(aIP);
}

void TUsedProxyList::Clear()
{
    FItems.Clear();
    FKeys.clear();
}

} // namespace vp
