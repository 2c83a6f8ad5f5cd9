#include "proxy/uProxyManager.h"

#include "framework/rtl/TextUtils.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Random.h"

#include <numeric>
#include <unordered_set>
#include <utility>

namespace vp {

namespace {

const char16_t* const kDebugTag = u"ProxyManager";

// The generator is seeded once, the first time it is needed: seeding again from the clock
// at every call could repeat an order when two selections fall into the same clock tick.
void EnsureSeeded()
{
    if (!IsRandomized())
        Randomize();
}

// A position from 0 to aCount - 1, whatever source is plugged in.
size_t DrawBelow(size_t aCount)
{
    int32_t r = Random(static_cast<int32_t>(aCount));
    return r < 0 ? 0 : static_cast<size_t>(r) % aCount;
}

template <typename T>
void ShuffleOnce(std::vector<T>& aItems)
{
    for (size_t i = aItems.size(); i > 1; --i)
        std::swap(aItems[i - 1], aItems[DrawBelow(i)]);
}

// Four passes, alternating between the lists: normal, super, normal, super, ...
template <typename T>
void ShufflePools(std::vector<T>& aNormal, std::vector<T>& aSuper, bool aIncludeSuper)
{
    EnsureSeeded();
    for (int pass = 0; pass < 4; ++pass) {
        ShuffleOnce(aNormal);
        if (aIncludeSuper)
            ShuffleOnce(aSuper);
    }
}

std::vector<int32_t> Positions(int32_t aCount)
{
    std::vector<int32_t> positions(static_cast<size_t>(aCount));
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}

} // namespace

TProxyManager::TCountryFilter::TCountryFilter(StringView aCountry)
    : Any(aCountry == u"UN"), Key(UpperCase(aCountry))
{
}

TProxyManager::TProxyManager(ISettingsReader& aSettings) : FSettings(aSettings)
{
}

bool TProxyManager::LoadSettings()
{
    LoadPool(u"NORMAL_IPS", FNormalProxyList);
    LoadPool(u"SUPER_IPS", FSuperProxyList);
    FIndex.Build(FNormalProxyList, FSuperProxyList);
    FSuperTouch = FSettings.GetSettingString(u"SUPER_TOUCH");
    // The user's stored choice; selection finds nothing for an empty country.
    FTargetCountry = FSettings.GetSettingString(u"TARGET_COUNTRY");
    if (Trim(FTargetCountry).empty())
        FTargetCountry = u"US";
    return FNormalProxyList.Count() > 0;
}

void TProxyManager::LoadPool(StringView aKey, TStringList& aList)
{
    aList.Clear();
    TStringList pieces;
    SplitText(ReplaceAll(FSettings.GetSettingString(aKey), u"\\'", u"'"), u';', pieces);
    for (const String& entry : pieces) {
        if (entry.empty())
            continue;
        // One bad entry must not break every count, list and selection for the whole run.
        TProxyRec probe;
        if (ParseProxyEntry(entry, false, probe))
            aList.Add(entry);
        else
            DebugSend(u"Unreadable proxy entry left out of " + String(aKey) + u" : " + entry, kDebugTag);
    }
}

bool TProxyManager::GetProxyRec(const TStringList& aSL, int32_t aIndex, bool aIsSuper, TProxyRec& aRec)
{
    if (aIndex < 0 || aIndex >= aSL.Count())
        return false;
    return ParseProxyEntry(aSL[aIndex], aIsSuper, aRec);
}

bool TProxyManager::ReadEntry(TPoolEntryRef aRef, TProxyRec& aRec) const
{
    return aRef.Found() && GetProxyRec(Pool(aRef.InSuper), aRef.Index, aRef.InSuper, aRec);
}

void TProxyManager::GetCountryList(TStringList* aSL) const
{
    if (!aSL)
        return;
    std::unordered_set<String> held;
    for (const String& item : *aSL)
        held.insert(UpperCase(item));
    for (const String& name : FIndex.CountryNames())
        if (held.insert(UpperCase(name)).second)
            aSL->Add(name);
}

int32_t TProxyManager::CountMatching(bool aSuper, const TCountryFilter& aFilter) const
{
    if (aFilter.Any)
        return FIndex.Count(aSuper);
    int32_t count = 0;
    for (int32_t i = 0; i < FIndex.Count(aSuper); ++i)
        if (aFilter.Accepts(FIndex.CountryKey(aSuper, i)))
            ++count;
    return count;
}

int32_t TProxyManager::GetcountryListCount(StringView aCountry, bool aIncludeSuper) const
{
    TCountryFilter filter(aCountry);
    return CountMatching(false, filter) + (aIncludeSuper ? CountMatching(true, filter) : 0);
}

String TProxyManager::GetCountryShort(StringView aCountryLong) const
{
    TProxyRec rec;
    return ReadEntry(FIndex.FirstWithName(aCountryLong), rec) ? rec.Country_Short : String();
}

String TProxyManager::GetCountryLong(StringView aCountryShort) const
{
    TProxyRec rec;
    return ReadEntry(FIndex.FirstWithCode(aCountryShort), rec) ? rec.Country_Long : String();
}

void TProxyManager::GetCountryPosition(StringView aCountryLong, String& aLongi, String& aLati) const
{
    TProxyRec rec;
    if (!ReadEntry(FIndex.FirstWithName(aCountryLong), rec))
        return;
    aLongi = rec.Longitude;
    aLati = rec.Latitude;
}

bool TProxyManager::IsCountryExistsInNormal(StringView aCountry) const
{
    if (aCountry.empty())
        return false;
    for (const String& entry : FNormalProxyList)
        if (entry.find(aCountry) != String::npos)
            return true;
    return false;
}

int32_t TProxyManager::GetProxyIndex(StringView aIP, bool aIsSuper) const
{
    if (aIP.empty())
        return -1;
    const TStringList& pool = Pool(aIsSuper);
    for (int32_t i = 0; i < pool.Count(); ++i)
        if (pool[i].find(aIP) != String::npos)
            return i;
    return -1;
}

TProxyRec TProxyManager::GetIdleProxy(StringView aCountry, bool aClearUsed, TProxyRange aRange, bool aChange)
{
    EnsureSeeded();
    TProxyRec current = FTargetProxy;
    if (!aChange && !FTargetProxy.IP.empty())
        return current;

    // Shuffled positions stand for shuffled copies of the pools: the pools keep their order.
    std::vector<int32_t> normalOrder = Positions(FNormalProxyList.Count());
    std::vector<int32_t> superOrder = Positions(FSuperProxyList.Count());
    ShufflePools(normalOrder, superOrder, true);

    // The reset looks at the normal pool for every range: a normal-only selection never hands
    // out super entries, so counting them would keep the list from ever being emptied.
    OrganizeUsedList(aCountry, false);
    if (aClearUsed)
        FUsedProxyList.Clear();

    TCountryFilter filter(aCountry);
    TProxyRec found;
    bool superPass = aRange == KSuper || (aRange == KAll && DrawBelow(10) < 2);
    if (superPass && TakeIdle(superOrder, true, filter, found))
        return found;
    if (TakeIdle(normalOrder, false, filter, found))
        return found;
    return current;
}

bool TProxyManager::TakeIdle(
    const std::vector<int32_t>& aOrder, bool aSuper, const TCountryFilter& aFilter, TProxyRec& aRec)
{
    for (int32_t i : aOrder) {
        if (!aFilter.Accepts(FIndex.CountryKey(aSuper, i)) ||
            FUsedProxyList.ContainsKey(FIndex.IPKey(aSuper, i)))
            continue;
        if (!GetProxyRec(Pool(aSuper), i, aSuper, aRec))
            continue;
        FUsedProxyList.Add(aRec.IP);
        return true;
    }
    return false;
}

bool TProxyManager::HasIdle(bool aSuper, const TCountryFilter& aFilter) const
{
    for (int32_t i = 0; i < FIndex.Count(aSuper); ++i)
        if (aFilter.Accepts(FIndex.CountryKey(aSuper, i)) &&
            !FUsedProxyList.ContainsKey(FIndex.IPKey(aSuper, i)))
            return true;
    return false;
}

void TProxyManager::OrganizeUsedList(StringView aCountry, bool aIncludeSuper)
{
    // "As many matching entries used as there are matching entries" is "no matching entry
    // idle", which can stop at the first idle one instead of counting the whole pool.
    TCountryFilter filter(aCountry);
    if (!HasIdle(false, filter) && !(aIncludeSuper && HasIdle(true, filter)))
        FUsedProxyList.Clear();
}

void TProxyManager::RandomSort(TStringList& aNSL, TStringList& aSSL, bool aIncludeSuper)
{
    ShufflePools(aNSL.Items(), aSSL.Items(), aIncludeSuper);
}

String TProxyManager::LocalInfoURL()
{
    return FSettings.GetSettingString(u"URL.GetInfo") + u"?MagicWord=" +
        FSettings.GetSettingString(u"App.MagicWord");
}

String TProxyManager::TouchURL(const TProxyRec& aPR)
{
    return ReplaceParams(FSettings.GetSettingString(u"SUPER_TOUCH"), TStringList{aPR.IP});
}

void TProxyManager::LocalInfoGot(const String& aRet)
{
    FLocalInfo.SetText(aRet);
    TOnGetCurrentLocalInfo handler = FOnGetCurrentLocalInfo;
    if (handler)
        handler(this);
}

String TProxyManager::LocalInfoValue(StringView aKey) const
{
    return FLocalInfo.Values(aKey);
}

} // namespace vp
