// Loading the pools, reading entries and the lookups by country.
#include "ProxyTestSupport.h"

#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/FileUtils.h"

#include <gtest/gtest.h>

#include <random>

using namespace vp;
using namespace vptest;

namespace {

class ProxyPool : public testing::Test {
protected:
    // Loads the given pool values (absent when not given).
    bool Load(const String& normal, const String& super = {})
    {
        Settings.Values[u"NORMAL_IPS"] = normal;
        Settings.Values[u"SUPER_IPS"] = super;
        return Manager.LoadSettings();
    }

    TMapSettings Settings;
    TProxyManager Manager{Settings};
};

} // namespace

// ---- LoadSettings ----

TEST_F(ProxyPool, DropsEmptyEntriesAndUnescapesApostrophes)
{
    EXPECT_TRUE(Load(u"192.0.2.10:80|United States|US|-97|38;;198.51.100.7:81|Cote d\\'Ivoire|CI|-5|8;"));
    ASSERT_EQ(Manager.NormalProxyList().Count(), 2);
    TProxyRec rec;
    ASSERT_TRUE(TProxyManager::GetProxyRec(Manager.NormalProxyList(), 1, false, rec));
    EXPECT_EQ(rec.IP, u"198.51.100.7");
    EXPECT_EQ(rec.Port, u"81");
    EXPECT_EQ(rec.Country_Long, u"Cote d'Ivoire");
    EXPECT_EQ(rec.Country_Short, u"CI");
    EXPECT_EQ(rec.Longitude, u"-5");
    EXPECT_EQ(rec.Latitude, u"8");
    EXPECT_FALSE(rec.IsSuper);
}

TEST_F(ProxyPool, AbsentOrEmptyNormalPoolLoadsNothing)
{
    EXPECT_FALSE(Manager.LoadSettings());
    EXPECT_EQ(Manager.NormalProxyList().Count(), 0);

    // A super pool alone is not enough to count as loaded.
    EXPECT_FALSE(Load(u"", Entry(u"203.0.113.1", u"France", u"FR")));
    EXPECT_EQ(Manager.SuperProxyList().Count(), 1);
    EXPECT_FALSE(Load(u";;;"));
}

TEST_F(ProxyPool, LoadingTwiceGivesTheSameEntries)
{
    String normal = Join({Entry(u"192.0.2.1", u"Germany", u"DE"), Entry(u"192.0.2.2", u"Japan", u"JP")});
    String super = Entry(u"203.0.113.5", u"Germany", u"DE");
    ASSERT_TRUE(Load(normal, super));
    TStringList firstNormal = Manager.NormalProxyList();
    TStringList firstSuper = Manager.SuperProxyList();
    ASSERT_TRUE(Manager.LoadSettings());
    EXPECT_EQ(Manager.NormalProxyList(), firstNormal);
    EXPECT_EQ(Manager.SuperProxyList(), firstSuper);
    EXPECT_EQ(Manager.GetcountryListCount(u"DE", true), 2);
}

TEST_F(ProxyPool, OnlyBackslashApostropheIsUnescaped)
{
    // "\'" becomes "'", "\n" (backslash, n) stays, and "\\'" loses only its second backslash:
    // the replacement does not look at its own output again.
    ASSERT_TRUE(Load(u"192.0.2.1:80|A\\'B \\n C\\\\'D|XX|1|2;192.0.2.2:80|Back\\|YY|1|2"));
    TProxyRec rec;
    ASSERT_TRUE(TProxyManager::GetProxyRec(Manager.NormalProxyList(), 0, false, rec));
    EXPECT_EQ(rec.Country_Long, u"A'B \\n C\\'D");
    ASSERT_TRUE(TProxyManager::GetProxyRec(Manager.NormalProxyList(), 1, false, rec));
    EXPECT_EQ(rec.Country_Long, u"Back\\");
}

TEST_F(ProxyPool, UnreadableEntriesAreLeftOutAndReported)
{
    struct TChannelReset {
        ~TChannelReset()
        {
            DebugStop();
            DebugSetActive(false);
        }
    } reset;
    DebugSetActive(true);
    DebugStart();
    std::random_device device;
    String marker = u"broken-" + IntToHex(device()) + IntToHex(device());

    String normal = Join({Entry(u"192.0.2.1", u"Spain", u"ES"), u"192.0.2.9:80|" + marker + u"|ES|1", u"   ",
        Entry(u"192.0.2.2", u"Italy", u"IT")});
    ASSERT_TRUE(Load(normal, u"only|three|fields"));
    EXPECT_EQ(Manager.NormalProxyList(),
        (TStringList{Entry(u"192.0.2.1", u"Spain", u"ES"), Entry(u"192.0.2.2", u"Italy", u"IT")}));
    EXPECT_EQ(Manager.SuperProxyList().Count(), 0);

    ASSERT_TRUE(FileExists(DebugLogFileName()));
    String log = Utf8ToU16(ReadAllBytes(DebugLogFileName()));
    size_t line = log.find(marker);
    ASSERT_NE(line, String::npos);
    size_t lineStart = log.rfind(u'\n', line);
    String lineText = log.substr(lineStart == String::npos ? 0 : lineStart + 1, line - lineStart);
    EXPECT_NE(lineText.find(u"NORMAL_IPS"), String::npos);

    // Counts, the country list and selection keep working for the rest of the run.
    EXPECT_EQ(Manager.GetcountryListCount(u"UN", true), 2);
    TStringList names;
    Manager.GetCountryList(&names);
    EXPECT_EQ(names, (TStringList{u"Spain", u"Italy"}));
    TSeededRandom random(7);
    TRandomGuard guard(random);
    EXPECT_EQ(Manager.GetIdleProxy(u"ES", false, KAll, true).IP, u"192.0.2.1");
}

TEST_F(ProxyPool, ReadsTheKeepAliveTemplateAndTheStoredTargetCountry)
{
    Settings.Values[u"SUPER_TOUCH"] = u"http://127.0.0.1/touch?ip={1}";
    Settings.Values[u"TARGET_COUNTRY"] = u"fr";
    Load(Entry(u"192.0.2.1", u"France", u"FR"));
    EXPECT_EQ(Manager.FSuperTouch, u"http://127.0.0.1/touch?ip={1}");
    EXPECT_EQ(Manager.FTargetCountry, u"fr");

    Settings.Values[u"TARGET_COUNTRY"] = u"";
    Manager.LoadSettings();
    EXPECT_EQ(Manager.FTargetCountry, u"US");
    Settings.Values.erase(u"TARGET_COUNTRY");
    Manager.FTargetCountry = u"JP";
    Manager.LoadSettings();
    EXPECT_EQ(Manager.FTargetCountry, u"US");
}

TEST_F(ProxyPool, LoadingKeepsTheUsedListAndTheCurrentProxy)
{
    Manager.FUsedProxyList.Add(u"198.51.100.1");
    Manager.FTargetProxy.IP = u"198.51.100.1";
    Load(Entry(u"192.0.2.1", u"France", u"FR"));
    EXPECT_EQ(Manager.FUsedProxyList.Items(), (TStringList{u"198.51.100.1"}));
    EXPECT_EQ(Manager.FTargetProxy.IP, u"198.51.100.1");
}

// ---- GetProxyRec ----

TEST(GetProxyRec, SplitsTheAddressAtItsFirstColon)
{
    TStringList list{u"192.0.2.1|No Colon|NC|1|2", u"192.0.2.1:80:90|Two Colons|TC|1|2",
        u" 192.0.2.3 : 81 | Blank | bl |x|y|extra|more"};
    TProxyRec rec;
    ASSERT_TRUE(TProxyManager::GetProxyRec(list, 0, true, rec));
    EXPECT_EQ(rec.IP, u"");
    EXPECT_EQ(rec.Port, u"192.0.2.1");
    EXPECT_TRUE(rec.IsSuper);

    ASSERT_TRUE(TProxyManager::GetProxyRec(list, 1, false, rec));
    EXPECT_EQ(rec.IP, u"192.0.2.1");
    EXPECT_EQ(rec.Port, u"80:90");
    EXPECT_FALSE(rec.IsSuper);

    // Blanks stay; fields after the fifth are ignored.
    ASSERT_TRUE(TProxyManager::GetProxyRec(list, 2, false, rec));
    EXPECT_EQ(rec, (TProxyRec{u" 192.0.2.3 ", u" 81 ", u" bl ", u" Blank ", u"y", u"x", false}));
}

TEST(GetProxyRec, AnIndexOrEntryItCannotReadLeavesTheRecordAlone)
{
    TStringList list{Entry(u"192.0.2.1", u"France", u"FR"), u"192.0.2.2:80|Four|FO|1", u"   ", u""};
    const TProxyRec before{u"ip", u"port", u"CS", u"CL", u"lat", u"lon", true};
    for (int32_t index : {-1, 1, 2, 3, 4, INT32_MAX, INT32_MIN}) {
        TProxyRec rec = before;
        EXPECT_FALSE(TProxyManager::GetProxyRec(list, index, false, rec)) << index;
        EXPECT_EQ(rec, before) << index;
    }
    TProxyRec rec = before;
    EXPECT_TRUE(TProxyManager::GetProxyRec(list, 0, false, rec));
    EXPECT_EQ(rec.Country_Short, u"FR");
}

// ---- Country lookups ----

namespace {

class CountryLookups : public ProxyPool {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Load(
            Join({Entry(u"192.0.2.1", u"United States", u"US", u"80", u"-97", u"38"),
                Entry(u"192.0.2.2", u"Russia", u"RU"), Entry(u"192.0.2.3", u"united states", u"us"),
                Entry(u"192.0.2.4", u"Nations", u"un"), Entry(u"192.0.2.10", u"Germany", u"DE"),
                Entry(u"192.0.2.1", u"United States", u"US", u"81", u"-1", u"-2")}),
            Join({Entry(u"203.0.113.1", u"Sweden", u"SE", u"80", u"18", u"60"),
                Entry(u"203.0.113.2", u"Russia", u"RU"), Entry(u"203.0.113.3", u"United States", u"Us")})));
    }
};

} // namespace

TEST_F(CountryLookups, CountryListKeepsTheFirstSpellingAndPlace)
{
    TStringList names;
    Manager.GetCountryList(&names);
    EXPECT_EQ(names, (TStringList{u"United States", u"Russia", u"Nations", u"Germany", u"Sweden"}));

    // Items held before the call take part in the duplicate test.
    TStringList held{u"GERMANY", u"Elsewhere"};
    Manager.GetCountryList(&held);
    EXPECT_EQ(
        held, (TStringList{u"GERMANY", u"Elsewhere", u"United States", u"Russia", u"Nations", u"Sweden"}));

    EXPECT_NO_THROW(Manager.GetCountryList(nullptr));
}

TEST_F(CountryLookups, OnlyExactUNMeansAnyCountry)
{
    EXPECT_EQ(Manager.GetcountryListCount(u"UN", false), 6);
    EXPECT_EQ(Manager.GetcountryListCount(u"UN", true), 9);
    EXPECT_EQ(Manager.GetcountryListCount(u"un", false), 1);
    EXPECT_EQ(Manager.GetcountryListCount(u"Un", true), 1);
    // Duplicates count; the super pool only when asked.
    EXPECT_EQ(Manager.GetcountryListCount(u"us", false), 3);
    EXPECT_EQ(Manager.GetcountryListCount(u"us", true), 4);
    EXPECT_EQ(Manager.GetcountryListCount(u"SE", false), 0);
    EXPECT_EQ(Manager.GetcountryListCount(u"SE", true), 1);
    EXPECT_EQ(Manager.GetcountryListCount(u"", true), 0);
}

TEST_F(CountryLookups, NameAndCodeLookupsFindTheFirstEntry)
{
    EXPECT_EQ(Manager.GetCountryShort(u"UNITED STATES"), u"US");
    EXPECT_EQ(Manager.GetCountryShort(u"sweden"), u"SE");
    EXPECT_EQ(Manager.GetCountryLong(u"us"), u"United States");
    EXPECT_EQ(Manager.GetCountryLong(u"se"), u"Sweden");
    EXPECT_EQ(Manager.GetCountryShort(u"Atlantis"), u"");
    EXPECT_EQ(Manager.GetCountryLong(u"ZZ"), u"");

    String longi = u"old", lati = u"old";
    Manager.GetCountryPosition(u"united STATES", longi, lati);
    EXPECT_EQ(longi, u"-97");
    EXPECT_EQ(lati, u"38");
    Manager.GetCountryPosition(u"Sweden", longi, lati);
    EXPECT_EQ(longi, u"18");
    EXPECT_EQ(lati, u"60");
    Manager.GetCountryPosition(u"Atlantis", longi, lati);
    EXPECT_EQ(longi, u"18");
    EXPECT_EQ(lati, u"60");
}

TEST_F(CountryLookups, RawTextSearchesAreCaseSensitiveSubstrings)
{
    // "Russia" holds "us" but not "US"; "United States" entries hold "US" in their code only.
    EXPECT_TRUE(Manager.IsCountryExistsInNormal(u"US"));
    EXPECT_TRUE(Manager.IsCountryExistsInNormal(u"ussia"));
    EXPECT_FALSE(Manager.IsCountryExistsInNormal(u"RUSSIA"));
    EXPECT_FALSE(Manager.IsCountryExistsInNormal(u"Sweden"));
    EXPECT_FALSE(Manager.IsCountryExistsInNormal(u""));

    EXPECT_EQ(Manager.GetProxyIndex(u"192.0.2.1", false), 0);
    EXPECT_EQ(Manager.GetProxyIndex(u"192.0.2.10", false), 4);
    EXPECT_EQ(Manager.GetProxyIndex(u"203.0.113.3", true), 2);
    EXPECT_EQ(Manager.GetProxyIndex(u"203.0.113.3", false), -1);
    EXPECT_EQ(Manager.GetProxyIndex(u"GERMANY", false), -1);
    EXPECT_EQ(Manager.GetProxyIndex(u"", false), -1);
}

TEST(CountryLookupsCapital, DisplayNameInCapitalsCountsEvenWithAnotherCode)
{
    TMapSettings settings;
    settings.Values[u"NORMAL_IPS"] = Entry(u"192.0.2.1", u"AUSTRALIA", u"AU");
    TProxyManager manager(settings);
    ASSERT_TRUE(manager.LoadSettings());
    EXPECT_TRUE(manager.IsCountryExistsInNormal(u"US"));
    EXPECT_EQ(manager.GetcountryListCount(u"US", true), 0);
}
