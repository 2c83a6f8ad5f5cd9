// One proxy server as the pools describe it, and the reading of one pool entry.
#pragma once

#include "framework/rtl/RtlText.h"

namespace vp {

// Copied whole; an empty IP means "no proxy".
struct TProxyRec {
    String IP;
    String Port;
    String Country_Short;
    String Country_Long;
    String Latitude;
    String Longitude;
    bool IsSuper = false;

    bool operator==(const TProxyRec& other) const = default;
};

// Reads "address:port|country name|code|longitude|latitude[|...]" into aRec. An entry with
// fewer than five fields cannot be read: false, and aRec keeps its previous contents.
bool ParseProxyEntry(StringView aEntry, bool aIsSuper, TProxyRec& aRec);

} // namespace vp
