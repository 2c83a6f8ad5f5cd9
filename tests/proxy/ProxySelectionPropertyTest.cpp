// Thousands of seeded selections over generated pools: no address is handed out twice before
// every matching normal entry has been handed out, and a country that has normal entries
// always gets one.
#include "ProxyTestSupport.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

using namespace vp;
using namespace vptest;

namespace {

const String kCodes[] = {u"US", u"FR", u"DE", u"JP"};

// Letter case varies, so that comparisons that ignore case are exercised too.
String RandomCase(StringView text, std::mt19937& rng)
{
    String out(text);
    for (char16_t& c : out)
        if (rng() % 2)
            c = LowCaseChar(c);
    return out;
}

String RandomPool(std::mt19937& rng, int entries)
{
    String value;
    for (int i = 0; i < entries; ++i) {
        // A small address space: addresses repeat within and across the pools.
        String host = RandomCase(u"HOST" + IntToStr(rng() % 25) + u".EXAMPLE", rng);
        String code = RandomCase(kCodes[rng() % 4], rng);
        value += Entry(host, u"Country " + code, code, IntToStr(1000 + rng() % 9000)) + u";";
    }
    return value;
}

std::set<String> Folded(const TStringList& items)
{
    std::set<String> out;
    for (const String& item : items)
        out.insert(UpperCase(item));
    return out;
}

} // namespace

TEST(SelectionProperty, NoAddressRepeatsBeforeTheCountryIsDone)
{
    int handedOut = 0;
    for (uint32_t seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(seed);
        TMapSettings settings;
        settings.Values[u"NORMAL_IPS"] = RandomPool(rng, 1 + static_cast<int>(rng() % 30));
        settings.Values[u"SUPER_IPS"] = RandomPool(rng, static_cast<int>(rng() % 10));
        TProxyManager manager(settings);
        manager.LoadSettings();
        TSeededRandom random(seed * 7919u + 1u);
        TRandomGuard guard(random);

        String country = rng() % 5 == 0 ? String(u"UN") : RandomCase(kCodes[rng() % 4], rng);
        bool any = country == u"UN";
        std::set<String> normalAddresses, allAddresses;
        for (bool super : {false, true}) {
            const TStringList& pool = super ? manager.SuperProxyList() : manager.NormalProxyList();
            for (int i = 0; i < pool.Count(); ++i) {
                TProxyRec rec;
                ASSERT_TRUE(TProxyManager::GetProxyRec(pool, i, super, rec));
                allAddresses.insert(UpperCase(rec.IP));
                if (!super && (any || SameText(rec.Country_Short, country)))
                    normalAddresses.insert(UpperCase(rec.IP));
            }
        }

        // Addresses handed out since every matching normal address was last handed out.
        std::set<String> sinceDone;
        for (int step = 0; step < 250; ++step) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step);
            TProxyRange range = static_cast<TProxyRange>(rng() % 3);
            int usedBefore = manager.FUsedProxyList.Count();
            TProxyRec got = manager.GetIdleProxy(country, false, range, true);
            const TStringList& usedNow = manager.FUsedProxyList.Items();
            bool fresh = !usedNow.Empty() && SameText(usedNow[usedNow.Count() - 1], got.IP) &&
                (usedNow.Count() == usedBefore + 1 || usedNow.Count() == 1);
            if (!fresh) {
                // Nothing idle: only a country without normal entries, whose list is emptied.
                ASSERT_TRUE(normalAddresses.empty()) << "a country with normal entries got nothing";
                ASSERT_EQ(got, manager.FTargetProxy);
                ASSERT_EQ(usedNow.Count(), 0);
            } else {
                ++handedOut;
                ASSERT_TRUE(any || SameText(got.Country_Short, country)) << U16ToUtf8(got.Country_Short);
                String key = UpperCase(got.IP);
                if (sinceDone.count(key)) {
                    for (const String& address : normalAddresses)
                        ASSERT_TRUE(sinceDone.count(address))
                            << U16ToUtf8(key) << " again before " << U16ToUtf8(address);
                    sinceDone.clear();
                }
                sinceDone.insert(key);
            }
            manager.FTargetProxy = got;

            std::set<String> used = Folded(manager.FUsedProxyList.Items());
            ASSERT_EQ(used.size(), static_cast<size_t>(manager.FUsedProxyList.Count())) << "an address twice";
            ASSERT_LE(used.size(), allAddresses.size());
        }
    }
    // The run must really have handed out proxies, not only fallen back.
    EXPECT_GT(handedOut, 8000);
}
