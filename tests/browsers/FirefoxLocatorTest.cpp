// The Firefox lookup against a source held in memory that counts what the lookup asks.
#include "browsers/FirefoxLocator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>

using namespace vp;

namespace {

const String kVersionKey = u"SOFTWARE\\Mozilla\\Mozilla Firefox";

class TFakeLookupSource : public IFirefoxLookupSource {
public:
    String Stored;
    std::set<String> Files;
    // Keys that open, and the values they hold.
    std::set<std::pair<TRegistryRoot, String>> Keys;
    std::map<std::tuple<TRegistryRoot, String, String>, String> Values;

    int RegistryReads = 0;
    int Stores = 0;

    void AddValue(TRegistryRoot root, const String& key, const String& name, const String& value)
    {
        Keys.insert({root, key});
        Values[{root, key, name}] = value;
    }
    void RegisterFirefox(const String& version, const String& exe)
    {
        AddValue(TRegistryRoot::LocalMachine, kVersionKey, u"CurrentVersion", version);
        AddValue(TRegistryRoot::LocalMachine, kVersionKey + u"\\" + version + u"\\Main", u"PathToExe", exe);
    }
    void RegisterGlimmerpane(const String& folder)
    {
        AddValue(TRegistryRoot::CurrentUser, u"Software\\Glimmerpane", u"", folder);
    }

    String StoredFirefoxPath() override { return Stored; }
    void StoreFirefoxPath(StringView path) override
    {
        ++Stores;
        Stored = String(path);
    }
    bool FileExists(StringView path) override { return Files.count(String(path)) > 0; }
    bool ReadRegistryString(
        TRegistryRoot root, StringView keyPath, StringView valueName, String& value) override
    {
        ++RegistryReads;
        if (!Keys.count({root, String(keyPath)}))
            return false;
        auto found = Values.find({root, String(keyPath), String(valueName)});
        value = found == Values.end() ? String() : found->second;
        return true;
    }
};

TEST(FirefoxLookup, StoredExistingPathIsUsedWithoutAnyRegistryAccess)
{
    TFakeLookupSource source;
    source.Stored = u"C:\\Mine\\firefox.exe";
    source.Files = {u"C:\\Mine\\firefox.exe", u"C:\\Registered\\firefox.exe", u"C:\\GP\\Glimmerpane.exe"};
    source.RegisterFirefox(u"52.9.0 (x86 en-US)", u"C:\\Registered\\firefox.exe");
    source.RegisterGlimmerpane(u"C:\\GP");

    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Mine\\firefox.exe");
    EXPECT_EQ(source.RegistryReads, 0);
    EXPECT_EQ(source.Stores, 0);
}

TEST(FirefoxLookup, RegisteredFirefoxIsFoundAndStored)
{
    TFakeLookupSource source;
    source.Files = {u"C:\\Registered\\firefox.exe"};
    source.RegisterFirefox(u"52.9.0 (x86 en-US)", u"C:\\Registered\\firefox.exe");

    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Registered\\firefox.exe");
    EXPECT_EQ(source.Stored, u"C:\\Registered\\firefox.exe");
    EXPECT_EQ(source.Stores, 1);
    // The next lookup answers from the stored path alone.
    source.RegistryReads = 0;
    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Registered\\firefox.exe");
    EXPECT_EQ(source.RegistryReads, 0);
}

TEST(FirefoxLookup, GlimmerpaneWinsOverRegisteredFirefoxAndIsStored)
{
    TFakeLookupSource source;
    source.Files = {u"C:\\Registered\\firefox.exe", u"D:\\GP\\Glimmerpane.exe"};
    source.RegisterFirefox(u"52.9.0", u"C:\\Registered\\firefox.exe");
    source.RegisterGlimmerpane(u"D:\\GP");

    EXPECT_EQ(LookUpFirefoxPath(source), u"D:\\GP\\Glimmerpane.exe");
    EXPECT_EQ(source.Stored, u"D:\\GP\\Glimmerpane.exe");
}

TEST(FirefoxLookup, GlimmerpaneFolderEndingInBackslashGivesOneSeparator)
{
    TFakeLookupSource source;
    source.Files = {u"D:\\GP\\Glimmerpane.exe"};
    source.RegisterGlimmerpane(u"D:\\GP\\");
    EXPECT_EQ(LookUpFirefoxPath(source), u"D:\\GP\\Glimmerpane.exe");
}

TEST(FirefoxLookup, EmptyGlimmerpaneFolderIsIgnored)
{
    TFakeLookupSource source;
    source.Files = {u"C:\\Registered\\firefox.exe"};
    source.RegisterFirefox(u"52.9.0", u"C:\\Registered\\firefox.exe");
    source.RegisterGlimmerpane(u"");
    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Registered\\firefox.exe");
}

TEST(FirefoxLookup, StoredPathWhoseFileIsGoneCountsAsFoundWithoutRegistryEntries)
{
    TFakeLookupSource source;
    source.Stored = u"C:\\Gone\\firefox.exe";

    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Gone\\firefox.exe");
    EXPECT_EQ(source.Stores, 0);
    EXPECT_GT(source.RegistryReads, 0); // the registry was consulted before giving up
}

TEST(FirefoxLookup, RegisteredPathThatPointsNowhereIsReturnedButNotStored)
{
    TFakeLookupSource source;
    source.Stored = u"C:\\Gone\\firefox.exe";
    source.RegisterFirefox(u"52.9.0", u"C:\\AlsoGone\\firefox.exe");

    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\AlsoGone\\firefox.exe");
    EXPECT_EQ(source.Stored, u"C:\\Gone\\firefox.exe");
    EXPECT_EQ(source.Stores, 0);
}

TEST(FirefoxLookup, VersionWithoutMainKeyKeepsTheStoredPath)
{
    TFakeLookupSource source;
    source.Stored = u"C:\\Gone\\firefox.exe";
    source.AddValue(TRegistryRoot::LocalMachine, kVersionKey, u"CurrentVersion", u"52.9.0");
    EXPECT_EQ(LookUpFirefoxPath(source), u"C:\\Gone\\firefox.exe");
}

TEST(FirefoxLookup, MainKeyWithoutPathToExeGivesNothing)
{
    TFakeLookupSource source;
    source.Stored = u"C:\\Gone\\firefox.exe";
    source.AddValue(TRegistryRoot::LocalMachine, kVersionKey, u"CurrentVersion", u"52.9.0");
    source.Keys.insert({TRegistryRoot::LocalMachine, kVersionKey + u"\\52.9.0\\Main"});
    EXPECT_EQ(LookUpFirefoxPath(source), u"");
    EXPECT_EQ(source.Stores, 0);
}

TEST(FirefoxLookup, EmptyVersionSkipsTheMainKey)
{
    TFakeLookupSource source;
    source.Files = {u"C:\\Registered\\firefox.exe"};
    source.AddValue(TRegistryRoot::LocalMachine, kVersionKey, u"CurrentVersion", u"");
    // A "Main" key directly under the version-less path must not be taken for one.
    source.AddValue(
        TRegistryRoot::LocalMachine, kVersionKey + u"\\\\Main", u"PathToExe", u"C:\\Registered\\firefox.exe");
    EXPECT_EQ(LookUpFirefoxPath(source), u"");
}

TEST(FirefoxLookup, NothingKnownGivesEmptyText)
{
    TFakeLookupSource source;
    EXPECT_EQ(LookUpFirefoxPath(source), u"");
    EXPECT_EQ(source.Stores, 0);
}

TEST(FirefoxLookup, GlimmerpaneWhoseExecutableIsGoneStillReplacesRegisteredFirefox)
{
    TFakeLookupSource source;
    source.Files = {u"C:\\Registered\\firefox.exe"};
    source.RegisterFirefox(u"52.9.0", u"C:\\Registered\\firefox.exe");
    source.RegisterGlimmerpane(u"D:\\Removed");
    EXPECT_EQ(LookUpFirefoxPath(source), u"D:\\Removed\\Glimmerpane.exe");
    EXPECT_EQ(source.Stores, 0);
}

} // namespace
