// What selection and the country lookups search the two pools by, built once per load so
// that pools of many thousands of entries are not parsed again at every selection: each
// entry's address and country code folded to upper case, the distinct country names in
// order of first appearance, and the first entry of every name and every code.
#pragma once

#include "framework/rtl/StringList.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace vp {

// One entry of one pool; Index is -1 when there is none.
struct TPoolEntryRef {
    bool InSuper = false;
    int32_t Index = -1;

    bool Found() const { return Index >= 0; }
};

class TProxyPoolIndex {
public:
    // Both lists hold readable entries only (see ParseProxyEntry).
    void Build(const TStringList& aNormal, const TStringList& aSuper);

    int32_t Count(bool aSuper) const { return static_cast<int32_t>(Keys(aSuper).size()); }
    // Address and country code of one entry, folded with UpperCase.
    const String& IPKey(bool aSuper, int32_t aIndex) const { return Keys(aSuper)[Pos(aIndex)].IP; }
    const String& CountryKey(bool aSuper, int32_t aIndex) const { return Keys(aSuper)[Pos(aIndex)].Country; }

    // Display names, distinct without regard to case and spelled as first seen, normal pool
    // first, each in the order of its first entry.
    const std::vector<String>& CountryNames() const { return FCountryNames; }
    // The first entry (normal pool first) with that display name or that code, ignoring case.
    TPoolEntryRef FirstWithName(StringView aCountryLong) const;
    TPoolEntryRef FirstWithCode(StringView aCountryShort) const;

private:
    struct TEntryKeys {
        String IP;
        String Country;
    };

    static size_t Pos(int32_t aIndex) { return static_cast<size_t>(aIndex); }
    const std::vector<TEntryKeys>& Keys(bool aSuper) const { return aSuper ? FSuperKeys : FNormalKeys; }
    void AddPool(const TStringList& aEntries, bool aSuper);

    std::vector<TEntryKeys> FNormalKeys;
    std::vector<TEntryKeys> FSuperKeys;
    std::vector<String> FCountryNames;
    std::unordered_map<String, TPoolEntryRef> FFirstByName;
    std::unordered_map<String, TPoolEntryRef> FFirstByCode;
};

} // namespace vp
