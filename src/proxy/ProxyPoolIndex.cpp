#include "proxy/ProxyPoolIndex.h"

#include "proxy/ProxyRec.h"

namespace vp {

namespace {

TPoolEntryRef Lookup(const std::unordered_map<String, TPoolEntryRef>& map, StringView text)
{
    auto found = map.find(UpperCase(text));
    return found == map.end() ? TPoolEntryRef{} : found->second;
}

} // namespace

void TProxyPoolIndex::Build(const TStringList& aNormal, const TStringList& aSuper)
{
    FNormalKeys.clear();
    FSuperKeys.clear();
    FCountryNames.clear();
    FFirstByName.clear();
    FFirstByCode.clear();
    AddPool(aNormal, false);
    AddPool(aSuper, true);
}

void TProxyPoolIndex::AddPool(const TStringList& aEntries, bool aSuper)
{
    std::vector<TEntryKeys>& keys = aSuper ? FSuperKeys : FNormalKeys;
    keys.reserve(static_cast<size_t>(aEntries.Count()));
    for (int32_t i = 0; i < aEntries.Count(); ++i) {
        TProxyRec rec;
        // The pools hold readable entries only; should one slip in, it keeps empty keys so
        // that the positions stay aligned, and names no country.
        if (!ParseProxyEntry(aEntries[i], aSuper, rec)) {
            keys.push_back({});
            continue;
        }
        keys.push_back({UpperCase(rec.IP), UpperCase(rec.Country_Short)});
        TPoolEntryRef ref{aSuper, i};
        if (FFirstByName.emplace(UpperCase(rec.Country_Long), ref).second)
            FCountryNames.push_back(rec.Country_Long);
        FFirstByCode.emplace(keys.back().Country, ref);
    }
}

TPoolEntryRef TProxyPoolIndex::FirstWithName(StringView aCountryLong) const
{
    return Lookup(FFirstByName, aCountryLong);
}

TPoolEntryRef TProxyPoolIndex::FirstWithCode(StringView aCountryShort) const
{
    return Lookup(FFirstByCode, aCountryShort);
}

} // namespace vp
