#include "proxy/ProxyRec.h"

#include "framework/rtl/TextUtils.h"
#include "framework/rtl/StringList.h"

namespace vp {

bool ParseProxyEntry(StringView aEntry, bool aIsSuper, TProxyRec& aRec)
{
    TStringList fields;
    SplitText(aEntry, u'|', fields);
    if (fields.Count() < 5)
        return false;
    const String& address = fields[0];
    size_t colon = address.find(u':');
    if (colon == String::npos) {
        aRec.IP.clear();
        aRec.Port = address;
    } else {
        aRec.IP = address.substr(0, colon);
        aRec.Port = address.substr(colon + 1);
    }
    aRec.Country_Long = fields[1];
    aRec.Country_Short = fields[2];
    aRec.Longitude = fields[3];
    aRec.Latitude = fields[4];
    aRec.IsSuper = aIsSuper;
    return true;
}

} // namespace vp
