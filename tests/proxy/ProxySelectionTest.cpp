// Selection of an idle proxy, the used-list reset and the shuffle.
#include "ProxyTestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace vp;
using namespace vptest;

namespace {

class ProxySelection : public testing::Test {
protected:
    void Load(const String& normal, const String& super = {})
    {
        Settings.Values[u"NORMAL_IPS"] = normal;
        Settings.Values[u"SUPER_IPS"] = super;
        Manager.LoadSettings();
    }

    // As the hide workflow does it: the result becomes the current proxy.
    TProxyRec Hide(StringView country, TProxyRange range = KAll)
    {
        Manager.FTargetProxy = Manager.GetIdleProxy(country, false, range, true);
        return Manager.FTargetProxy;
    }

    TMapSettings Settings;
    TProxyManager Manager{Settings};
};

const String kUs1 = Entry(u"192.0.2.1", u"United States", u"US");
const String kUs2 = Entry(u"192.0.2.2", u"United States", u"US");
const String kUs3 = Entry(u"192.0.2.3", u"United States", u"US");
const String kFr1 = Entry(u"198.51.100.1", u"France", u"FR");
const String kFr2 = Entry(u"198.51.100.2", u"France", u"FR");

} // namespace

TEST_F(ProxySelection, WithoutChangeTheCurrentProxyComesBackUntouched)
{
    Load(Join({kUs1, kUs2}));
    TSeededRandom random(1);
    TRandomGuard guard(random);
    Manager.FTargetProxy = TProxyRec{u"203.0.113.9", u"3128", u"JP", u"Japan", u"1", u"2", true};
    Manager.FUsedProxyList.Add(u"192.0.2.1");
    EXPECT_EQ(Manager.GetIdleProxy(u"US", true, KAll, false), Manager.FTargetProxy);
    EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{u"192.0.2.1"}));

    // Without a current proxy a new one is chosen as with aChange true.
    Manager.FTargetProxy = TProxyRec{};
    TProxyRec chosen = Manager.GetIdleProxy(u"US", false, KAll, false);
    EXPECT_EQ(chosen.IP, u"192.0.2.2");
    EXPECT_EQ(chosen.Country_Short, u"US");
    EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{u"192.0.2.1", u"192.0.2.2"}));
}

TEST_F(ProxySelection, ThreeEntriesEachOnceThenTheFourthResets)
{
    Load(Join({kUs1, kFr1, kUs2, kUs3}), kFr2);
    bool fourthRepeatedThird = false;
    for (uint32_t seed = 0; seed < 40; ++seed) {
        TSeededRandom random(seed);
        TRandomGuard guard(random);
        Manager.FUsedProxyList.Clear();
        std::set<String> seen;
        for (int i = 0; i < 3; ++i)
            seen.insert(Hide(u"US").IP);
        EXPECT_EQ(seen, (std::set<String>{u"192.0.2.1", u"192.0.2.2", u"192.0.2.3"}));
        EXPECT_EQ(Manager.FUsedProxyList.Count(), 3);
        String third = Manager.FTargetProxy.IP;
        TProxyRec fourth = Hide(u"US");
        EXPECT_EQ(seen.count(fourth.IP), 1u);
        EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{fourth.IP}));
        fourthRepeatedThird = fourthRepeatedThird || fourth.IP == third;
    }
    EXPECT_TRUE(fourthRepeatedThird);
    // The pools keep their order.
    EXPECT_EQ(Manager.NormalProxyList(), (TStringList{kUs1, kFr1, kUs2, kUs3}));
}

TEST_F(ProxySelection, SuperOnlyCountryUnderKAllFollowsTheTwoInTenDraw)
{
    String se1 = Entry(u"203.0.113.1", u"Sweden", u"SE"), se2 = Entry(u"203.0.113.2", u"Sweden", u"SE");
    Load(Join({kUs1, kUs2}), Join({se1, se2}));
    const TProxyRec current{u"192.0.2.200", u"80", u"US", u"United States", u"1", u"2", false};

    for (int32_t draw : {0, 1}) {
        TFixedRandom random(draw);
        TRandomGuard guard(random);
        Manager.FTargetProxy = current;
        TProxyRec got = Manager.GetIdleProxy(u"SE", false, KAll, true);
        EXPECT_TRUE(got.IsSuper) << draw;
        EXPECT_EQ(got.Country_Short, u"SE");
        EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{got.IP}));
    }
    for (int32_t draw : {2, 9}) {
        TFixedRandom random(draw);
        TRandomGuard guard(random);
        Manager.FTargetProxy = current;
        EXPECT_EQ(Manager.GetIdleProxy(u"SE", false, KAll, true), current) << draw;
        // No normal entry of the country: the total is 0, so the list was emptied.
        EXPECT_EQ(Manager.FUsedProxyList.Count(), 0);
    }

    TSeededRandom random(99);
    TRandomGuard guard(random);
    int super = 0;
    const int rounds = 2000;
    for (int i = 0; i < rounds; ++i) {
        Manager.FTargetProxy = current;
        TProxyRec got = Manager.GetIdleProxy(u"SE", false, KAll, true);
        if (got.IsSuper)
            ++super;
        else
            EXPECT_EQ(got, current);
        EXPECT_LE(Manager.FUsedProxyList.Count(), 1);
    }
    EXPECT_GT(super, rounds * 15 / 100);
    EXPECT_LT(super, rounds * 25 / 100);
}

TEST_F(ProxySelection, SuperEntryFromTheKAllBranchStaysUsedUntilTheNormalsAreDone)
{
    String usSuper = Entry(u"203.0.113.7", u"United States", u"US");
    Load(Join({kUs1, kUs2}), usSuper);
    TFixedRandom superDraw(0), normalDraw(5);
    {
        TRandomGuard guard(superDraw);
        EXPECT_EQ(Hide(u"US").IP, u"203.0.113.7");
    }
    TRandomGuard guard(normalDraw);
    Hide(u"US");
    EXPECT_TRUE(Manager.FUsedProxyList.Contains(u"203.0.113.7"));
    Hide(u"US");
    EXPECT_TRUE(Manager.FUsedProxyList.Contains(u"203.0.113.7"));
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 3);
    // Both normal entries handed out: the next selection starts over.
    TProxyRec next = Hide(u"US");
    EXPECT_FALSE(next.IsSuper);
    EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{next.IP}));
}

TEST_F(ProxySelection, KSuperHandsOutEverySuperEntryFirst)
{
    String s1 = Entry(u"203.0.113.1", u"France", u"FR"), s2 = Entry(u"203.0.113.2", u"France", u"FR"),
           s3 = Entry(u"203.0.113.3", u"France", u"FR");
    Load(Join({kFr1, kUs1, kFr2}), Join({s1, kUs3, s2, s3}));
    TSeededRandom random(5);
    TRandomGuard guard(random);
    std::set<String> supers;
    for (int i = 0; i < 3; ++i) {
        TProxyRec got = Hide(u"FR", KSuper);
        EXPECT_TRUE(got.IsSuper);
        EXPECT_EQ(got.Country_Short, u"FR");
        supers.insert(got.IP);
    }
    EXPECT_EQ(supers.size(), 3u);
    std::set<String> normals;
    for (int i = 0; i < 2; ++i) {
        TProxyRec got = Hide(u"FR", KSuper);
        EXPECT_FALSE(got.IsSuper);
        normals.insert(got.IP);
    }
    EXPECT_EQ(normals, (std::set<String>{u"198.51.100.1", u"198.51.100.2"}));
    // The normal entries are done: the list starts over and super entries come first again.
    EXPECT_TRUE(Hide(u"FR", KSuper).IsSuper);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 1);
}

TEST_F(ProxySelection, UNTakesAnyCountryAndLowerCaseUnDoesNot)
{
    Load(Join({kUs1, kFr1, kUs2}), Entry(u"203.0.113.1", u"Sweden", u"SE"));
    TSeededRandom random(11);
    TRandomGuard guard(random);
    std::set<String> seen;
    for (int i = 0; i < 3; ++i)
        seen.insert(Hide(u"UN", KNormal).IP);
    EXPECT_EQ(seen, (std::set<String>{u"192.0.2.1", u"198.51.100.1", u"192.0.2.2"}));
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 3);
    Hide(u"UN", KNormal);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 1);

    Manager.FTargetProxy = TProxyRec{};
    EXPECT_EQ(Manager.GetIdleProxy(u"un", false, KSuper, true).IP, u"");
    EXPECT_EQ(Manager.GetIdleProxy(u"us", false, KNormal, true).Country_Short, u"US");
}

TEST_F(ProxySelection, EntriesSharingAnAddressAreBusyTogether)
{
    // The same address twice (once in other letter case), and one more.
    Load(Join({Entry(u"proxy.example", u"United States", u"US", u"80"),
        Entry(u"PROXY.example", u"United States", u"US", u"81"), kUs3}));
    for (uint32_t seed = 0; seed < 20; ++seed) {
        TSeededRandom random(seed);
        TRandomGuard guard(random);
        Manager.FUsedProxyList.Clear();
        String first = Hide(u"US").IP, second = Hide(u"US").IP;
        EXPECT_FALSE(SameText(first, second)) << seed;
        EXPECT_EQ(Manager.FUsedProxyList.Count(), 2);
        // One address stands for two entries: all three count as used, so the list restarts.
        Hide(u"US");
        EXPECT_EQ(Manager.FUsedProxyList.Count(), 1) << seed;
    }
}

TEST_F(ProxySelection, KNormalNeverHandsOutSuperEntriesAndStillStartsOver)
{
    Load(Join({kFr1, kFr2}),
        Join({Entry(u"203.0.113.1", u"France", u"FR"), Entry(u"203.0.113.2", u"France", u"FR")}));
    TSeededRandom random(3);
    TRandomGuard guard(random);
    std::map<String, int> counts;
    for (int i = 0; i < 10; ++i) {
        TProxyRec got = Hide(u"FR", KNormal);
        EXPECT_FALSE(got.IsSuper);
        ++counts[got.IP];
    }
    EXPECT_EQ(counts, (std::map<String, int>{{u"198.51.100.1", 5}, {u"198.51.100.2", 5}}));
}

TEST_F(ProxySelection, ClearUsedEmptiesTheListBeforeChoosing)
{
    Load(Join({kUs1, kUs2, kUs3}));
    TSeededRandom random(8);
    TRandomGuard guard(random);
    Hide(u"US");
    Hide(u"US");
    TProxyRec got = Manager.GetIdleProxy(u"US", true, KAll, true);
    EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{got.IP}));
}

TEST_F(ProxySelection, NothingToHandOutGivesTheCurrentProxyOrAnEmptyRecord)
{
    TSeededRandom random(4);
    TRandomGuard guard(random);
    EXPECT_EQ(Manager.GetIdleProxy(u"US", false, KAll, true), TProxyRec{});

    Load(Join({kFr1}));
    Manager.FTargetProxy = TProxyRec{u"192.0.2.77", u"80", u"US", u"United States", u"1", u"2", false};
    EXPECT_EQ(Manager.GetIdleProxy(u"JP", false, KSuper, true), Manager.FTargetProxy);
    EXPECT_EQ(Manager.GetIdleProxy(u"", false, KAll, true), Manager.FTargetProxy);
}

TEST_F(ProxySelection, AddressesOfTheFormerCountryLeaveAtTheNextReset)
{
    Load(Join({kUs1, kFr1, kFr2}));
    TSeededRandom random(6);
    TRandomGuard guard(random);
    Hide(u"US");
    Hide(u"FR");
    Hide(u"FR");
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 3);
    // France is done: the reset drops the American address too.
    Hide(u"FR");
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 1);
    EXPECT_FALSE(Manager.FUsedProxyList.Contains(u"192.0.2.1"));
}

TEST_F(ProxySelection, OrganizeUsedListCountsThePoolsItIsAskedFor)
{
    String frSuper = Entry(u"203.0.113.1", u"France", u"FR");
    Load(Join({kFr1, kFr2, kUs1}), frSuper);
    Manager.FUsedProxyList.Add(u"198.51.100.1");
    Manager.FUsedProxyList.Add(u"198.51.100.2");
    Manager.OrganizeUsedList(u"FR", true);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 2);
    Manager.OrganizeUsedList(u"UN", false);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 2);
    Manager.OrganizeUsedList(u"fr", false);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 0);

    // A country without entries has a total of 0.
    Manager.FUsedProxyList.Add(u"192.0.2.1");
    Manager.OrganizeUsedList(u"JP", true);
    EXPECT_EQ(Manager.FUsedProxyList.Count(), 0);
}

// ---- RandomSort ----

TEST(RandomSort, EmptyAndSingleListsStayAsTheyAre)
{
    TSeededRandom random(1);
    TRandomGuard guard(random);
    TStringList empty, one{u"only"}, other{u"a", u"b"};
    TProxyManager::RandomSort(empty, one, true);
    EXPECT_TRUE(empty.Empty());
    EXPECT_EQ(one, TStringList{u"only"});
    TProxyManager::RandomSort(one, empty, false);
    EXPECT_EQ(one, TStringList{u"only"});
}

TEST(RandomSort, ShufflesTheSuperListOnlyWhenAsked)
{
    TStringList normal, super;
    for (int i = 0; i < 30; ++i) {
        normal.Add(u"n" + IntToStr(i));
        super.Add(u"s" + IntToStr(i));
    }
    const TStringList normalBefore = normal, superBefore = super;
    TProxyManager::RandomSort(normal, super, false);
    EXPECT_NE(normal, normalBefore);
    EXPECT_EQ(super, superBefore);

    TProxyManager::RandomSort(normal, super, true);
    EXPECT_NE(super, superBefore);
    auto sorted = [](TStringList list) {
        std::sort(list.Items().begin(), list.Items().end());
        return list;
    };
    EXPECT_EQ(sorted(normal), sorted(normalBefore));
    EXPECT_EQ(sorted(super), sorted(superBefore));
}

TEST(RandomSort, EveryItemReachesEveryPlaceAndOrdersDifferEachTime)
{
    // The built-in generator, as the program runs it.
    const int items = 4, rounds = 8000;
    int placed[items][items] = {};
    TStringList previous;
    int repeats = 0;
    TStringList unused;
    for (int round = 0; round < rounds; ++round) {
        TStringList list{u"0", u"1", u"2", u"3"};
        TProxyManager::RandomSort(list, unused, true);
        for (int place = 0; place < items; ++place)
            ++placed[list[place][0] - u'0'][place];
        if (list == previous)
            ++repeats;
        previous = list;
    }
    for (int item = 0; item < items; ++item)
        for (int place = 0; place < items; ++place) {
            EXPECT_GT(placed[item][place], rounds / items * 8 / 10) << item << " at " << place;
            EXPECT_LT(placed[item][place], rounds / items * 12 / 10) << item << " at " << place;
        }
    // 24 orders: a uniform shuffle repeats the previous one about once in 24 times.
    EXPECT_LT(repeats, rounds / 12);
}
