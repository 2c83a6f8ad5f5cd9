// The Firefox bridge under Wine: copies of recordargs.exe stand in for Firefox and Glimmerpane
// and record the command lines they are started with; the registry entries are real.
#include "support/BrowsersTestSupport.h"

#include <shellapi.h>

#include "browsers/FirefoxBridgeWin.h"
#include "browsers/FirefoxLocator.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const auto gStore = (UseBrowsersSettingsStore(), 0);

const String kMozillaKey = u"SOFTWARE\\Mozilla";
const String kMozillaKey32 = u"SOFTWARE\\WOW6432Node\\Mozilla";
const String kFirefoxKey(kMozillaFirefoxKey);
const String kGlimmerpane(kGlimmerpaneKey);

std::vector<String> SplitCommandLine(const String& commandLine)
{
    std::vector<String> arguments;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(WStr(commandLine), &count);
    for (int i = 0; i < count; ++i)
        arguments.push_back(FromWStr(argv[i]));
    LocalFree(argv);
    return arguments;
}

class FirefoxBridgeTest : public ::testing::Test {
protected:
    FirefoxBridgeTest()
    {
        FFolder = GetLongPath(FTemp.Folder());
        FRecordFile = FFolder + u"records.txt";
        SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(FRecordFile));
    }
    ~FirefoxBridgeTest() override { SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr); }

    // A copy of the recording helper under the given name in a folder of its own.
    String InstallFakeBrowser(const String& folder, const String& name)
    {
        String path = FFolder + folder + u"\\" + name;
        ForceDirectories(FFolder + folder);
        EXPECT_TRUE(CopyFileW(WStr(RecordArgsPath()), WStr(path), FALSE));
        return path;
    }
    void RegisterFirefox(const String& version, const String& exe, const String& root = kFirefoxKey)
    {
        SetRegistryString(HKEY_LOCAL_MACHINE, root, u"CurrentVersion", version);
        SetRegistryString(HKEY_LOCAL_MACHINE, root + u"\\" + version + u"\\Main", u"PathToExe", exe);
    }
    void RegisterGlimmerpane(const String& folder)
    {
        SetRegistryString(HKEY_CURRENT_USER, kGlimmerpane, u"", folder);
    }

    static String Stored() { return GetCLSettings().GetSettingString(u"FireFoxPath"); }

    // The single command line recorded by the started process.
    TRecord OneRecord()
    {
        std::vector<TRecord> records = ReadRecords(FRecordFile, 1, 20000);
        EXPECT_EQ(records.size(), 1u);
        return records.empty() ? TRecord() : records.front();
    }
    std::vector<TRecord> Records() { return ReadRecords(FRecordFile); }

    TRegistryKeyGuard FMozillaGuard{HKEY_LOCAL_MACHINE, kMozillaKey};
    TRegistryKeyGuard FMozilla32Guard{HKEY_LOCAL_MACHINE, kMozillaKey32};
    TRegistryKeyGuard FGlimmerpaneGuard{HKEY_CURRENT_USER, kGlimmerpane};
    TSettingOverride FPath{u"FireFoxPath", u""};
    TSettingOverride FSwitch{u"SWITCH.FF", u"1"};
    TTempFolder FTemp;
    String FFolder;
    String FRecordFile;
};

TEST_F(FirefoxBridgeTest, RegistryStartsClean)
{
    // The guards can only restore keys that the tests create.
    EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kFirefoxKey));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kGlimmerpane));
}

TEST_F(FirefoxBridgeTest, RegisteredFirefoxIsFoundAndStored)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0 (x86 en-US)", firefox);

    EXPECT_EQ(GetFirefoxPath(), firefox);
    EXPECT_EQ(Stored(), firefox);
    EXPECT_TRUE(IsFirefoxInstalled());
}

TEST_F(FirefoxBridgeTest, ThirtyTwoBitFirefoxIsFoundInTheThirtyTwoBitView)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox x86", u"firefox.exe");
    RegisterFirefox(u"45.0 (x86 en-US)", firefox, u"SOFTWARE\\WOW6432Node\\Mozilla\\Mozilla Firefox");
    ASSERT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, kFirefoxKey));

    EXPECT_EQ(GetFirefoxPath(), firefox);
}

TEST_F(FirefoxBridgeTest, StoredPathIsUsedEvenWhenTheRegistryNamesAnotherFirefox)
{
    String mine = InstallFakeBrowser(u"Portable", u"firefox.exe");
    String registered = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", registered);
    RegisterGlimmerpane(FFolder + u"Mozilla Firefox");
    GetCLSettings().SetSettingstring(u"FireFoxPath", mine);

    EXPECT_EQ(GetFirefoxPath(), mine);
    EXPECT_EQ(Stored(), mine);
    SetFirefoxProxy(u"192.0.2.10:80");
    EXPECT_EQ(SplitCommandLine(OneRecord().CommandLine).front(), mine);
}

TEST_F(FirefoxBridgeTest, GlimmerpaneWinsOverRegisteredFirefoxAndIsStored)
{
    String registered = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    String glimmerpane = InstallFakeBrowser(u"Glimmerpane", u"Glimmerpane.exe");
    RegisterFirefox(u"52.9.0", registered);
    RegisterGlimmerpane(FFolder + u"Glimmerpane");

    EXPECT_EQ(GetFirefoxPath(), glimmerpane);
    EXPECT_EQ(Stored(), glimmerpane);
}

TEST_F(FirefoxBridgeTest, ProxyLineStartsFirefoxWithTheChromeQuery)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", firefox);

    SetFirefoxProxy(u"192.0.2.10:80");
    TRecord record = OneRecord();
    EXPECT_EQ(record.CommandLine,
        u"\"" + firefox +
            u"\" -silent -nosplash -chrome "
            u"\"chrome://veilport/content/veilport.xul?ssl=&proxy=192.0.2.10&port=80\"");
    EXPECT_EQ(IncludeTrailingBackslash(record.WorkingFolder), FFolder + u"Mozilla Firefox\\");
    std::vector<String> arguments = SplitCommandLine(record.CommandLine);
    ASSERT_EQ(arguments.size(), 5u);
    EXPECT_EQ(arguments[4], u"chrome://veilport/content/veilport.xul?ssl=&proxy=192.0.2.10&port=80");
}

TEST_F(FirefoxBridgeTest, ClearingLineForEmptyArgumentAndForSwitchOff)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", firefox);
    const String clearing =
        u"\"" + firefox + u"\" -silent -nosplash -chrome \"chrome://veilport/content/veilport.xul?clear\"";

    SetFirefoxProxy(u"");
    {
        TSettingOverride off(u"SWITCH.FF", u"0");
        SetFirefoxProxy(u"192.0.2.10:80");
    }
    std::vector<TRecord> records = ReadRecords(FRecordFile, 2, 60000);
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].CommandLine, clearing);
    EXPECT_EQ(records[1].CommandLine, clearing);
}

TEST_F(FirefoxBridgeTest, ArgumentWithoutColonGivesEmptyProxyAndWholePort)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", firefox);
    SetFirefoxProxy(u"8080");
    EXPECT_EQ(SplitCommandLine(OneRecord().CommandLine).back(),
        u"chrome://veilport/content/veilport.xul?ssl=&proxy=&port=8080");
}

TEST_F(FirefoxBridgeTest, PoolTextWithQuotesStaysOneArgument)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", firefox);
    SetFirefoxProxy(u"1.2.3.4\" -profile \"C:\\evil:80\\");
    std::vector<String> arguments = SplitCommandLine(OneRecord().CommandLine);
    ASSERT_EQ(arguments.size(), 5u);
    EXPECT_EQ(arguments[3], u"-chrome");
    EXPECT_EQ(arguments[4],
        u"chrome://veilport/content/veilport.xul?ssl=&proxy=1.2.3.4%22 -profile %22C&port=%5Cevil:80%5C");
}

TEST_F(FirefoxBridgeTest, InstallLineNamesTheExtensionBesideTheProgram)
{
    String firefox = InstallFakeBrowser(u"Mozilla Firefox", u"firefox.exe");
    RegisterFirefox(u"52.9.0", firefox);

    EXPECT_TRUE(InstallFirefoxExtension());
    String appFolder = ExtractFilePath(GetAppFileName());
    EXPECT_EQ(OneRecord().CommandLine, u"\"" + firefox + u"\" \"" + appFolder + u"ffextension.xpi\"");
}

TEST_F(FirefoxBridgeTest, StoredPathWhoseFileIsGoneStillCountsAndIsTried)
{
    String gone = FFolder + u"Removed\\firefox.exe";
    GetCLSettings().SetSettingstring(u"FireFoxPath", gone);

    EXPECT_TRUE(IsFirefoxInstalled());
    EXPECT_EQ(GetFirefoxPath(), gone);
    SetFirefoxProxy(u"192.0.2.10:80"); // the failed start is not reported
    EXPECT_FALSE(InstallFirefoxExtension());
    EXPECT_EQ(Stored(), gone);
    EXPECT_TRUE(Records().empty());
}

TEST_F(FirefoxBridgeTest, WithoutFirefoxNothingStarts)
{
    EXPECT_EQ(GetFirefoxPath(), u"");
    EXPECT_FALSE(IsFirefoxInstalled());
    EXPECT_FALSE(InstallFirefoxExtension());
    SetFirefoxProxy(u"192.0.2.10:80");
    SetFirefoxProxy(u"");
    Sleep(300);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(Stored(), u"");
}

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(FirefoxRunning, ATopLevelWindowOfFirefoxsClassWhateverItsTitle)
{
    EXPECT_FALSE(IsFirefoxRunning());

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PlainWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"MozillaUIWindowClass";
    ATOM atom = RegisterClassW(&windowClass);
    ASSERT_NE(atom, 0);
    HWND window = CreateWindowExW(0, L"MozillaUIWindowClass", L"Any page - Any title", WS_OVERLAPPEDWINDOW, 0,
        0, 100, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsFirefoxRunning());

    DestroyWindow(window);
    UnregisterClassW(L"MozillaUIWindowClass", GetModuleHandleW(nullptr));
    EXPECT_FALSE(IsFirefoxRunning());
}

} // namespace
