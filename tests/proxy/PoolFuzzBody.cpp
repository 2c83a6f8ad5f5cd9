#include "PoolFuzzBody.h"

#include "support/FuzzCheck.h"

#include "ProxyTestSupport.h"

#include "framework/rtl/TextUtils.h"

#include <algorithm>
#include <climits>
#include <set>

using namespace vp;

namespace vptest {

namespace {

std::string CheckPools(TProxyManager& manager)
{
    for (bool super : {false, true}) {
        const TStringList& pool = super ? manager.SuperProxyList() : manager.NormalProxyList();
        for (int i = 0; i < pool.Count(); ++i) {
            TProxyRec rec;
            VP_FUZZ_CHECK(!pool[i].empty());
            VP_FUZZ_CHECK(TProxyManager::GetProxyRec(pool, i, super, rec));
            VP_FUZZ_CHECK(rec.IsSuper == super);
        }
        for (int32_t index : {-1, pool.Count(), INT_MAX, INT_MIN}) {
            TProxyRec rec;
            rec.IP = u"kept";
            VP_FUZZ_CHECK(!TProxyManager::GetProxyRec(pool, index, super, rec) && rec.IP == u"kept");
        }
    }
    int32_t normal = manager.NormalProxyList().Count(), super = manager.SuperProxyList().Count();
    VP_FUZZ_CHECK(manager.GetcountryListCount(u"UN", false) == normal);
    VP_FUZZ_CHECK(manager.GetcountryListCount(u"UN", true) == normal + super);

    TStringList names;
    manager.GetCountryList(&names);
    std::set<String> folded;
    for (const String& name : names) {
        VP_FUZZ_CHECK(folded.insert(UpperCase(name)).second);
        String longi, lati;
        manager.GetCountryPosition(name, longi, lati);
        String code = manager.GetCountryShort(name);
        VP_FUZZ_CHECK(manager.GetcountryListCount(code, true) > 0);
    }
    VP_FUZZ_CHECK(static_cast<int32_t>(names.Count()) <= normal + super);
    return {};
}

std::string CheckLookups(TProxyManager& manager, const String& query)
{
    String longi = u"kept", lati = u"kept";
    manager.GetCountryPosition(query, longi, lati);
    String code = manager.GetCountryShort(query);
    String name = manager.GetCountryLong(query);
    // A name found by code means an entry with that code; a code found by name, a listed name.
    if (!name.empty())
        VP_FUZZ_CHECK(manager.GetcountryListCount(query, true) > 0);
    if (!code.empty()) {
        TStringList names;
        manager.GetCountryList(&names);
        VP_FUZZ_CHECK(names.IndexOf(query) >= 0);
    }
    bool inNormal = manager.IsCountryExistsInNormal(query);
    for (bool super : {false, true}) {
        int32_t index = manager.GetProxyIndex(query, super);
        const TStringList& pool = super ? manager.SuperProxyList() : manager.NormalProxyList();
        VP_FUZZ_CHECK(index >= -1 && index < pool.Count());
        if (index >= 0)
            VP_FUZZ_CHECK(pool[index].find(query) != String::npos);
        if (!super)
            VP_FUZZ_CHECK(inNormal == (index >= 0));
    }
    return {};
}

std::string CheckSelection(TProxyManager& manager, const String& country)
{
    std::set<String> addresses;
    for (bool super : {false, true}) {
        const TStringList& pool = super ? manager.SuperProxyList() : manager.NormalProxyList();
        for (int i = 0; i < pool.Count(); ++i) {
            TProxyRec rec;
            TProxyManager::GetProxyRec(pool, i, super, rec);
            addresses.insert(UpperCase(rec.IP));
        }
    }
    for (TProxyRange range : {KNormal, KSuper, KAll}) {
        for (int step = 0; step < 4; ++step) {
            TProxyRec got = manager.GetIdleProxy(country, step == 3, range, true);
            const TStringList& used = manager.FUsedProxyList.Items();
            // Anything but the current proxy was handed out, and is now in use.
            if (!(got == manager.FTargetProxy)) {
                VP_FUZZ_CHECK(manager.FUsedProxyList.Contains(got.IP));
                VP_FUZZ_CHECK(addresses.count(UpperCase(got.IP)) == 1);
            }
            manager.FTargetProxy = got;
            std::set<String> folded;
            for (const String& address : used) {
                VP_FUZZ_CHECK(folded.insert(UpperCase(address)).second);
                VP_FUZZ_CHECK(addresses.count(UpperCase(address)) == 1);
            }
        }
    }
    return {};
}

std::string CheckShuffle(const TProxyManager& manager)
{
    TStringList normal = manager.NormalProxyList(), super = manager.SuperProxyList();
    TProxyManager::RandomSort(normal, super, true);
    auto sorted = [](std::vector<String> items) {
        std::sort(items.begin(), items.end());
        return items;
    };
    VP_FUZZ_CHECK(sorted(normal.Items()) == sorted(manager.NormalProxyList().Items()));
    VP_FUZZ_CHECK(sorted(super.Items()) == sorted(manager.SuperProxyList().Items()));
    return {};
}

} // namespace

std::string RunPoolFuzzInput(const uint8_t* data, size_t size)
{
    String text = Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));
    TStringList parts;
    SplitText(text, u'\n', parts);

    TMapSettings settings;
    const char16_t* keys[] = {u"NORMAL_IPS", u"SUPER_IPS", u"TARGET_COUNTRY"};
    for (int i = 0; i < 3 && i < parts.Count(); ++i)
        settings.Values[keys[i]] = parts[i];
    String query = parts.Count() > 3 ? parts[3] : String(u"US");

    // Reproducible draws for this input.
    uint32_t seed = 2166136261u;
    for (size_t i = 0; i < size; ++i)
        seed = (seed ^ data[i]) * 16777619u;
    TSeededRandom random(seed);
    TRandomGuard guard(random);

    TProxyManager manager(settings);
    bool loaded = manager.LoadSettings();
    VP_FUZZ_CHECK(loaded == (manager.NormalProxyList().Count() > 0));
    VP_FUZZ_CHECK(!manager.FTargetCountry.empty());
    TStringList normal = manager.NormalProxyList(), super = manager.SuperProxyList();
    VP_FUZZ_CHECK(manager.LoadSettings() == loaded);
    VP_FUZZ_CHECK(manager.NormalProxyList() == normal && manager.SuperProxyList() == super);

    for (auto check : {CheckPools(manager), CheckLookups(manager, query), CheckSelection(manager, query),
             CheckSelection(manager, manager.FTargetCountry), CheckSelection(manager, u"UN"),
             CheckShuffle(manager)})
        if (!check.empty())
            return check;
    return {};
}

} // namespace vptest
