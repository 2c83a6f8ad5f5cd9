// The addresses handed out since the last reset, in the order handed out, each at most once.
// Pools may hold thousands of entries, so membership is answered by a set of the addresses
// folded to upper case instead of a walk of the list.
#pragma once

#include "framework/rtl/StringList.h"

#include <unordered_set>

namespace vp {

class TUsedProxyList {
public:
    // Ignores letter case.
    bool Contains(StringView aIP) const;
    // aKey already folded with UpperCase.
    bool ContainsKey(const String& aKey) const { return FKeys.count(aKey) != 0; }
    // Appends aIP unless an address equal to it (ignoring case) is held already.
    void Add(StringView aIP);
    void Clear();

    int Count() const { return FItems.Count(); }
    const TStringList& Items() const { return FItems; }

private:
    TStringList FItems;
    std::unordered_set<String> FKeys;
};

} // namespace vp
