// The settings store against real files, folders and registry values under Wine: the shell
// folders point at test folders and the executable's path at a test folder.
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/config/SettingLists.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/TestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

using namespace vp;
using namespace vptest;

namespace {

const String kShellFolders = u"Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::string ReadBytes(const String& path)
{
    return ReadAllBytes(path);
}

void WriteBytes(const String& path, const std::string& bytes)
{
    ForceDirectories(ExtractFilePath(path));
    WriteFileBytes(ToFsPath(path), bytes);
}

std::string Utf16LE(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::vector<String> FolderEntries(const String& folder)
{
    std::vector<String> names;
    for (const auto& entry : std::filesystem::directory_iterator(ToFsPath(folder)))
        names.push_back(entry.path().filename().u16string());
    std::sort(names.begin(), names.end());
    return names;
}

// Test folders for the executable, the per-user and the machine-wide application data.
class TStoreEnvironment {
public:
    TStoreEnvironment()
        : FUserGuard(HKEY_CURRENT_USER, kShellFolders, u"AppData"),
          FCommonGuard(HKEY_LOCAL_MACHINE, kShellFolders, u"Common AppData")
    {
        FRoot = GetLongPath(FFolder.Folder());
        ForceDirectories(ExeFolder());
        ForceDirectories(FRoot + u"user");
        ForceDirectories(FRoot + u"common");
        SetRegistryString(HKEY_CURRENT_USER, kShellFolders, u"AppData", FRoot + u"user");
        SetRegistryString(HKEY_LOCAL_MACHINE, kShellFolders, u"Common AppData", FRoot + u"common");
        SetAppFileNameForTests(ExeFolder() + u"veilport.exe");
    }
    ~TStoreEnvironment() { SetAppFileNameForTests(u""); }

    String ExeFolder() const { return FRoot + u"exe\\"; }
    // The two data folders for "App.ConfigPath" = "Veilport" (see WriteConst).
    String UserFolder() const { return FRoot + u"user\\Veilport\\"; }
    String CommonFolder() const { return FRoot + u"common\\Veilport\\"; }
    String UserFlagFile() const { return UserFolder() + u"UserFlag.ini"; }

    // const.dat with the given lines in its section "setting", naming the data folders.
    void WriteConst(const std::string& lines) const
    {
        WriteBytes(ExeFolder() + u"const.dat", "[setting]\r\nApp.ConfigPath=Veilport\r\n" + lines);
    }
    void WriteUserFlag(const std::string& value) const
    {
        WriteBytes(UserFlagFile(), "[Flag]\r\nAllUsers=" + value + "\r\n");
    }
    // Keeps the per-user folder: the flag says so.
    void UsePerUserFolder(const std::string& constLines = "") const
    {
        WriteConst(constLines);
        WriteUserFlag("0");
    }
    // A file standing where the all-users folder would be.
    void BlockCommonFolder() const
    {
        std::filesystem::remove_all(ToFsPath(CommonFolder()));
        WriteBytes(FRoot + u"common\\Veilport", "in the way");
    }

private:
    TTempFolder FFolder;
    TRegistryValueGuard FUserGuard;
    TRegistryValueGuard FCommonGuard;
    String FRoot;
};

class TTestLists : public ISettingLists {
public:
    TTestLists(TStringList overwrite, TStringList defaults)
        : FOverwrite(std::move(overwrite)), FDefault(std::move(defaults))
    {
        RegisterSettingLists(this);
    }
    ~TTestLists() override { UnregisterSettingLists(this); }
    const TStringList& SettingOverwrite() const override { return FOverwrite; }
    const TStringList& SettingDefault() const override { return FDefault; }

private:
    TStringList FOverwrite;
    TStringList FDefault;
};

// The debug channel on for one test, and how often a text is in its log.
class TDebugLog {
public:
    TDebugLog()
    {
        DebugSetActive(true);
        DebugSetAutoStart(true);
    }
    ~TDebugLog()
    {
        DebugStop();
        DebugSetActive(false);
        DebugSetAutoStart(false);
    }
    static int Count(StringView text)
    {
        if (!FileExists(DebugLogFileName()))
            return 0;
        String log = Utf8ToU16(ReadAllBytes(DebugLogFileName()));
        int count = 0;
        for (size_t at = log.find(text); at != String::npos; at = log.find(text, at + 1))
            ++count;
        return count;
    }
};

// Sets the user's decimal separator for one test.
class TDecimalSeparator {
public:
    explicit TDecimalSeparator(const wchar_t* separator)
    {
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FSaved, 8);
        Set(separator);
    }
    ~TDecimalSeparator() { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, FSaved); }
    void Set(const wchar_t* separator) { SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator); }

private:
    wchar_t FSaved[8] = {};
};

} // namespace

// ---- Construction, the start count and the user file ----

TEST(SettingsConstruction, FirstStartCountsZeroAndSavesOne)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    EXPECT_EQ(settings.RunTimes(), 0);
    EXPECT_EQ(settings.UserDataPath(), env.UserFolder());
    EXPECT_EQ(ReadBytes(env.UserFolder() + u"setting.dat"), "[setting]\r\nRunTimes=1\r\n\r\n");
}

TEST(SettingsConstruction, StartNineBecomesTenAndUtf16StaysUtf16)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    WriteBytes(env.UserFolder() + u"setting.dat",
        Utf16LE(u"[setting]\r\nName=\u0416\u4E2D\r\nRunTimes=9\r\n[ShowAgain]\r\n3=0\r\n"));
    {
        TCLSettings settings;
        EXPECT_EQ(settings.RunTimes(), 9);
        EXPECT_EQ(settings.GetSettingString(u"name"), u"\u0416\u4E2D");
    }
    EXPECT_EQ(ReadBytes(env.UserFolder() + u"setting.dat"),
        Utf16LE(u"[setting]\r\nName=\u0416\u4E2D\r\nRunTimes=10\r\n\r\n[ShowAgain]\r\n3=0\r\n\r\n"));
    TCLSettings again;
    EXPECT_EQ(again.RunTimes(), 10);
}

TEST(SettingsConstruction, NewUserFileHoldsOneBlankAndReadsEmpty)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    WriteBytes(env.UserFolder() + u"setting.dat", "[setting]\r\nOnlyHere=1\r\n");
    TCLSettings settings;
    EXPECT_TRUE(settings.GetSettingExists(u"OnlyHere"));
    // The all-users folder has no user file yet: switching there creates one.
    settings.SetAllUser(true);
    EXPECT_TRUE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), env.CommonFolder());
    EXPECT_EQ(ReadBytes(env.CommonFolder() + u"setting.dat"), " ");
    EXPECT_FALSE(settings.GetSettingExists(u"OnlyHere"));
    EXPECT_FALSE(settings.GetSettingExists(u"RunTimes"));
    // The two folders' files are independent; switching back finds the first one again.
    settings.SetSettingstring(u"Common", u"yes");
    settings.SetAllUser(false);
    EXPECT_TRUE(settings.GetSettingExists(u"OnlyHere"));
    EXPECT_FALSE(settings.GetSettingExists(u"Common"));
}

TEST(SettingsConstruction, OwnFileNameReplacesUserAndDefaultsFiles)
{
    TStoreEnvironment env;
    WriteBytes(env.ExeFolder() + u"mine.ini", "[setting]\r\nApp.ConfigPath=Veilport\r\nFrom=defaults\r\n");
    WriteBytes(env.ExeFolder() + u"oem.mine.ini", "[setting]\r\nOem=yes\r\n");
    WriteBytes(env.ExeFolder() + u"const.dat", "[setting]\r\nFrom=const.dat\r\n");
    env.WriteUserFlag("0");
    TCLSettings settings(u"mine.ini");
    EXPECT_EQ(settings.GetSettingString(u"From"), u"defaults");
    EXPECT_EQ(settings.GetSettingString(u"Oem"), u"yes");
    EXPECT_TRUE(FileExists(env.UserFolder() + u"mine.ini"));
    EXPECT_FALSE(FileExists(env.UserFolder() + u"setting.dat"));
}

TEST(SettingsConstruction, ConfigPathWordFromTheExecutablePath)
{
    TStoreEnvironment env;
    SetAppFileNameForTests(u"C:\\Tools\\app.exe");
    TCLSettings settings;
    // The flag lives in the per-user folder; with a writable all-users folder the user file
    // goes there.
    EXPECT_TRUE(FileExists(GetShellFolder(u"AppData") + u"\\C__Tools_app.exe\\UserFlag.ini"));
    EXPECT_TRUE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), GetCommonShellFolder(u"Common AppData") + u"\\C__Tools_app.exe\\");
}

TEST(SettingsConstruction, UserFolderWithoutRoomForTheFileStopsTheStart)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    // A folder standing where the user file would be: it cannot be created.
    ForceDirectories(env.UserFolder() + u"setting.dat");
    EXPECT_THROW(TCLSettings settings, EFileError);
}

// ---- Choice of the user data folder ----

TEST(SettingsFolderChoice, NoAllUserKeepsThePerUserFolderAndLeavesTheFlagAlone)
{
    TStoreEnvironment env;
    env.WriteConst("Setting.NoAllUser=1\r\n");
    {
        TCLSettings settings;
        EXPECT_FALSE(settings.AllUser());
        EXPECT_EQ(settings.UserDataPath(), env.UserFolder());
        EXPECT_FALSE(PathExists(env.UserFlagFile()));
        EXPECT_FALSE(PathExists(env.CommonFolder()));
    }
    env.WriteUserFlag("1");
    TCLSettings settings;
    EXPECT_FALSE(settings.AllUser());
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=1\r\n");
}

TEST(SettingsFolderChoice, MissingFlagAndWritableAllUsersFolder)
{
    TStoreEnvironment env;
    env.WriteConst("Setting.NoAllUser=0\r\n");
    TCLSettings settings;
    EXPECT_TRUE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), env.CommonFolder());
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=1\r\n\r\n");
    EXPECT_TRUE(settings.IsAllUserFlagExists());
    EXPECT_TRUE(settings.GetAllUserFlag());
    EXPECT_TRUE(FileExists(env.CommonFolder() + u"setting.dat"));
    EXPECT_FALSE(PathExists(env.UserFolder() + u"setting.dat"));
}

TEST(SettingsFolderChoice, MissingFlagAndAFileInThePlaceOfTheAllUsersFolder)
{
    TStoreEnvironment env;
    env.WriteConst("");
    env.BlockCommonFolder();
    TCLSettings settings;
    EXPECT_FALSE(settings.IsAllUserPathWriteable());
    EXPECT_FALSE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), env.UserFolder());
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=0\r\n\r\n");
}

TEST(SettingsFolderChoice, FlagTrueAndWritableFolderStaysUnchanged)
{
    TStoreEnvironment env;
    env.WriteConst("");
    env.WriteUserFlag("1");
    TCLSettings settings;
    EXPECT_TRUE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), env.CommonFolder());
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=1\r\n");
}

TEST(SettingsFolderChoice, FlagTrueButAllUsersFolderNoLongerWritable)
{
    TStoreEnvironment env;
    env.WriteConst("");
    {
        TCLSettings settings;
        ASSERT_TRUE(settings.AllUser());
        settings.SetSettingstring(u"StoredForAllUsers", u"1");
    }
    env.BlockCommonFolder();
    TCLSettings settings;
    EXPECT_FALSE(settings.AllUser());
    EXPECT_EQ(settings.UserDataPath(), env.UserFolder());
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=0\r\n\r\n");
    EXPECT_FALSE(settings.GetSettingExists(u"StoredForAllUsers"));
    // A fresh per-user file: the start count begins again.
    EXPECT_EQ(settings.RunTimes(), 0);
}

TEST(SettingsFolderChoice, FlagFalseIsNotTested)
{
    TStoreEnvironment env;
    env.WriteConst("");
    env.WriteUserFlag("0");
    TCLSettings settings;
    EXPECT_FALSE(settings.AllUser());
    EXPECT_FALSE(settings.GetAllUserFlag());
    // The writability test would have created the all-users folder.
    EXPECT_FALSE(PathExists(env.CommonFolder()));
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=0\r\n");
}

TEST(SettingsFolderChoice, FlagFileOperationsOpenTheFileAfresh)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    EXPECT_FALSE(settings.GetAllUserFlag());
    env.WriteUserFlag("word");
    EXPECT_TRUE(settings.IsAllUserFlagExists());
    EXPECT_FALSE(settings.GetAllUserFlag());
    std::filesystem::remove(ToFsPath(env.UserFlagFile()));
    EXPECT_FALSE(settings.IsAllUserFlagExists());
    EXPECT_TRUE(settings.GetAllUserFlag());
    // Even a removed per-user folder comes back for the flag.
    std::filesystem::remove_all(ToFsPath(env.UserFolder()));
    settings.SetAllUserFlag(true);
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=1\r\n\r\n");
}

// ---- The five layers ----

TEST(SettingsLookup, LayersFromStrongestToWeakest)
{
    TStoreEnvironment env;
    env.UsePerUserFolder("A=const\r\nB=const\r\nC=const\r\nD=const\r\n");
    WriteBytes(env.ExeFolder() + u"oem.const.dat", "[setting]\r\nA=oem\r\nB=oem\r\nC=oem\r\n");
    WriteBytes(env.UserFolder() + u"setting.dat", "[setting]\r\nA=user\r\nB=user\r\n");
    TCLSettings settings;
    EXPECT_EQ(settings.GetSettingString(u"A"), u"user");
    EXPECT_EQ(settings.GetSettingString(u"E"), u"");
    EXPECT_FALSE(settings.GetSettingExists(u"E"));
    {
        TTestLists lists({u"A=overwrite"}, {u"A=default", u"D=default", u"E=default"});
        EXPECT_EQ(settings.GetSettingString(u"A"), u"overwrite");
        EXPECT_EQ(settings.GetSettingString(u"B"), u"user");
        EXPECT_EQ(settings.GetSettingString(u"C"), u"oem");
        EXPECT_EQ(settings.GetSettingString(u"D"), u"const");
        EXPECT_EQ(settings.GetSettingString(u"E"), u"default");
        EXPECT_TRUE(settings.GetSettingExists(u"E"));
        EXPECT_FALSE(settings.GetSettingExists(u"F"));
    }
    // The engine gone, its lists no longer take part.
    EXPECT_EQ(settings.GetSettingString(u"A"), u"user");
    EXPECT_FALSE(settings.GetSettingExists(u"E"));
}

TEST(SettingsLookup, NamesIgnoreCaseInEveryLayer)
{
    TStoreEnvironment env;
    env.UsePerUserFolder("APP.Name=const\r\n");
    WriteBytes(env.ExeFolder() + u"oem.const.dat", "[SETTING]\r\napp.oem=oem\r\n");
    WriteBytes(env.UserFolder() + u"setting.dat", "[Setting]\r\nAPP.USER=user\r\n");
    TCLSettings settings;
    TTestLists lists({u"APP.OVER=overwrite"}, {u"app.default=default"});
    EXPECT_EQ(settings.GetSettingString(u"App.Name"), u"const");
    EXPECT_EQ(settings.GetSettingString(u"App.Oem"), u"oem");
    EXPECT_EQ(settings.GetSettingString(u"App.User"), u"user");
    EXPECT_EQ(settings.GetSettingString(u"App.Over"), u"overwrite");
    EXPECT_EQ(settings.GetSettingString(u"App.Default"), u"default");
    settings.SetSettingstring(u"app.name", u"mine");
    EXPECT_EQ(settings.GetSettingString(u"APP.NAME"), u"mine");
}

TEST(SettingsLookup, EmptyValueInAStrongerLayerHidesWeakerOnes)
{
    TStoreEnvironment env;
    env.UsePerUserFolder("Title=Main\r\n");
    WriteBytes(env.UserFolder() + u"setting.dat", "[setting]\r\nTitle=\r\n");
    TCLSettings settings;
    EXPECT_EQ(settings.GetSettingString(u"Title"), u"");
    EXPECT_TRUE(settings.GetSettingExists(u"Title"));
    TTestLists lists({u"Other="}, {u"Other=fallback"});
    EXPECT_EQ(settings.GetSettingString(u"Other"), u"");
}

TEST(SettingsLookup, OverwriteListWinsRightAfterAWrite)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    TTestLists lists({u"Locked=fixed"}, {});
    settings.SetSettingstring(u"Locked", u"mine");
    EXPECT_EQ(settings.GetSettingString(u"Locked"), u"fixed");
    EXPECT_EQ(ReadBytes(env.UserFolder() + u"setting.dat"), "[setting]\r\nRunTimes=1\r\nLocked=mine\r\n\r\n");
}

TEST(SettingsLookup, MissingKeyGoesToTheDebugChannel)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    TDebugLog log;
    const String message = u"[CLSettings] Setting Not Found :Path.Languages";
    int before = TDebugLog::Count(message);
    EXPECT_EQ(settings.GetSettingString(u"Path.Languages"), u"");
    EXPECT_EQ(TDebugLog::Count(message), before + 1);
    EXPECT_FALSE(settings.GetSettingExists(u"Path.Languages"));
    EXPECT_EQ(TDebugLog::Count(message), before + 1);
    {
        TTestLists lists({}, {u"Path.Skins=skins", u"Path.Languages=lang"});
        EXPECT_EQ(settings.GetSettingString(u"Path.Languages"), u"lang");
    }
    EXPECT_EQ(TDebugLog::Count(message), before + 1);
}

// ---- Typed values ----

TEST(SettingsTypedValues, IntegerBooleanAndRectangleReadings)
{
    TStoreEnvironment env;
    env.UsePerUserFolder("Hex=$10\r\nMixed=12abc\r\nWord=true\r\nOne=1\r\nThree=1,2,3\r\nFour=1,x,3,4\r\n");
    TCLSettings settings;
    EXPECT_EQ(settings.GetSettingInteger(u"Hex"), 16);
    EXPECT_EQ(settings.GetSettingInteger(u"Mixed"), 0);
    EXPECT_FALSE(settings.GetSettingBool(u"Word"));
    EXPECT_TRUE(settings.GetSettingBool(u"One"));
    EXPECT_FALSE(settings.GetSettingBool(u"Missing"));
    const TRect kept{5, 6, 7, 8};
    EXPECT_EQ(settings.GetSettingRect(u"Three", kept), kept);
    EXPECT_EQ(settings.GetSettingRect(u"Missing", kept), kept);
    EXPECT_EQ(settings.GetSettingRect(u"Four", kept), (TRect{1, 0, 3, 4}));

    settings.SetSettingInteger(u"Int", -5);
    settings.SetSettingBool(u"Bool", true);
    settings.SetSettingRect(u"Rect", TRect{10, 20, 300, 400});
    EXPECT_EQ(settings.GetSettingInteger(u"Int"), -5);
    EXPECT_EQ(settings.GetSettingRect(u"Rect"), (TRect{10, 20, 300, 400}));
    EXPECT_EQ(ReadBytes(env.UserFolder() + u"setting.dat"),
        "[setting]\r\nRunTimes=1\r\nInt=-5\r\nBool=1\r\nRect=10,20,300,400\r\n\r\n");
}

TEST(SettingsTypedValues, FloatFollowsTheUsersDecimalSeparator)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    TDecimalSeparator separator(L",");
    ASSERT_EQ(UserDecimalSeparator(), u',');
    settings.SetSettingFloat(u"Update.LastDate", 45123.5);
    EXPECT_EQ(settings.GetSettingString(u"Update.LastDate"), u"45123,5");
    EXPECT_DOUBLE_EQ(settings.GetSettingFloat(u"Update.LastDate"), 45123.5);
    separator.Set(L".");
    ASSERT_EQ(UserDecimalSeparator(), u'.');
    EXPECT_EQ(settings.GetSettingFloat(u"Update.LastDate"), 0);
    settings.SetSettingFloat(u"Update.LastDate", 0.25);
    EXPECT_EQ(settings.GetSettingString(u"Update.LastDate"), u"0.25");
}

// ---- Saving ----

TEST(SettingsSaving, BeginUpdateBatchesWritesUntilEndUpdate)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    const String file = env.UserFolder() + u"setting.dat";
    const std::string start = ReadBytes(file);
    settings.BeginUpdate();
    settings.BeginUpdate();
    settings.SetSettingstring(u"A", u"1");
    settings.SetMessageShowAgainFlag(2, false);
    settings.ClearShowAgainFlag();
    settings.SetSettingInteger(u"B", 2);
    EXPECT_EQ(ReadBytes(file), start);
    EXPECT_EQ(settings.GetSettingString(u"A"), u"1");
    // One EndUpdate ends any number of BeginUpdate calls.
    settings.EndUpdate();
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nA=1\r\nB=2\r\n\r\n");
    settings.SetSettingstring(u"C", u"3");
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nA=1\r\nB=2\r\nC=3\r\n\r\n");
    // EndUpdate always saves, also without changes in between.
    std::filesystem::remove(ToFsPath(file));
    settings.EndUpdate();
    EXPECT_TRUE(FileExists(file));
}

TEST(SettingsSaving, FailedSaveRaisesAndLeavesTheOldFileWhole)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    const String file = env.UserFolder() + u"setting.dat";
    settings.SetSettingstring(u"Pool", String(100000, u'x'));
    const std::string before = ReadBytes(file);
    {
        // Another process holding the file without sharing makes the replacement fail.
        HANDLE lock = CreateFileW(WStr(file), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(lock, INVALID_HANDLE_VALUE);
        EXPECT_THROW(settings.SetSettingstring(u"Pool", u"short"), EFileError);
        CloseHandle(lock);
    }
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_EQ(FolderEntries(env.UserFolder()), (std::vector<String>{u"UserFlag.ini", u"setting.dat"}));
    // The value stays changed in memory and reaches the file with the next save.
    EXPECT_EQ(settings.GetSettingString(u"Pool"), u"short");
    settings.UpdateSettingINI();
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nPool=short\r\n\r\n");
}

TEST(SettingsSaving, AValueTheFileAlreadyHoldsIsNotSavedAgain)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    const String file = env.UserFolder() + u"setting.dat";
    settings.SetSettingstring(u"Skin", u"Default");
    // Changed behind the store's back, so that a save would show.
    const std::string outside = "[setting]\r\nRunTimes=1\r\nSkin=Default\r\nOutside=1\r\n";
    WriteBytes(file, outside);
    settings.SetSettingstring(u"Skin", u"Default");
    settings.SetSettingInteger(u"RunTimes", 1);
    EXPECT_EQ(ReadBytes(file), outside);
    settings.SetSettingstring(u"Skin", u"default"); // another value: saved
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nSkin=default\r\n\r\n");

    // A value whose save failed is saved when written again.
    {
        TKernelHandle held = HoldFile(file, 0);
        ASSERT_TRUE(held);
        EXPECT_THROW(settings.SetSettingstring(u"Skin", u"Blue"), EFileError);
    }
    settings.SetSettingstring(u"Skin", u"Blue");
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nSkin=Blue\r\n\r\n");
    // Without the cache every write saves, the same value too.
    settings.SetNoCache(true);
    WriteBytes(file, outside);
    settings.SetSettingstring(u"Skin", u"Blue");
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nSkin=Blue\r\n\r\n");
}

TEST(SettingsSaving, FailedFlagSaveRaisesAndLeavesTheOldFlagWhole)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    // A folder in the place of the new copy makes writing it fail half-way into the save.
    ForceDirectories(env.UserFlagFile() + u".new");
    EXPECT_THROW(settings.SetAllUserFlag(true), EFileError);
    EXPECT_EQ(ReadBytes(env.UserFlagFile()), "[Flag]\r\nAllUsers=0\r\n");
    EXPECT_FALSE(settings.GetAllUserFlag());
}

// ---- Message flags ----

TEST(SettingsMessageFlags, SetReadAndClear)
{
    TStoreEnvironment env;
    env.WriteUserFlag("0");
    // The message sections of the other layers do not take part.
    WriteBytes(env.ExeFolder() + u"const.dat",
        "[setting]\r\nApp.ConfigPath=Veilport\r\n[ShowAgain]\r\n7=0\r\n[ShowAgainModuleResult]\r\n7=6\r\n");
    TCLSettings settings;
    EXPECT_TRUE(settings.GetMessageShowAgainFlag(7));
    EXPECT_EQ(settings.GetMessageShowAgainResult(7), 1);
    settings.SetMessageShowAgainFlag(7, false);
    settings.SetMessageShowAgainResult(7, 6);
    EXPECT_FALSE(settings.GetMessageShowAgainFlag(7));
    EXPECT_EQ(settings.GetMessageShowAgainResult(7), 6);
    const String file = env.UserFolder() + u"setting.dat";
    EXPECT_EQ(ReadBytes(file),
        "[setting]\r\nRunTimes=1\r\n\r\n[ShowAgain]\r\n7=0\r\n\r\n[ShowAgainModuleResult]\r\n7=6\r\n\r\n");
    settings.ClearShowAgainFlag();
    EXPECT_TRUE(settings.GetMessageShowAgainFlag(7));
    EXPECT_EQ(settings.GetMessageShowAgainResult(7), 1);
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\n\r\n");
}

TEST(SettingsMessageFlags, NotANumberReadsAsShowAndOne)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    WriteBytes(env.UserFolder() + u"setting.dat",
        "[ShowAgain]\r\n4=no\r\n5=2\r\n[ShowAgainModuleResult]\r\n4=ok\r\n");
    TCLSettings settings;
    EXPECT_TRUE(settings.GetMessageShowAgainFlag(4));
    EXPECT_TRUE(settings.GetMessageShowAgainFlag(5));
    EXPECT_EQ(settings.GetMessageShowAgainResult(4), 1);
}

// ---- NoCache ----

TEST(SettingsNoCache, ReloadsTheUserFileBeforeEveryStringLookup)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    const String file = env.UserFolder() + u"setting.dat";
    WriteBytes(file, "[setting]\r\nFromDisk=1\r\n");
    EXPECT_FALSE(settings.GetSettingExists(u"FromDisk"));
    EXPECT_EQ(settings.GetSettingString(u"FromDisk"), u"");
    settings.SetNoCache(true);
    EXPECT_TRUE(settings.NoCache());
    EXPECT_EQ(settings.GetSettingString(u"FromDisk"), u"1");
    // Unsaved changes are lost at the next lookup.
    settings.BeginUpdate();
    settings.SetSettingstring(u"Unsaved", u"1");
    EXPECT_TRUE(settings.GetSettingExists(u"Unsaved"));
    EXPECT_EQ(settings.GetSettingString(u"Unsaved"), u"");
    settings.EndUpdate();
    // A user file that went away reads as empty; a later write saves a fresh one.
    std::filesystem::remove(ToFsPath(file));
    EXPECT_EQ(settings.GetSettingString(u"FromDisk"), u"");
    settings.SetSettingstring(u"Again", u"2");
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nAgain=2\r\n\r\n");
}

TEST(SettingsNoCache, AFileHeldDuringALookupLosesNoKeyAtTheNextWrite)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    const String file = env.UserFolder() + u"setting.dat";
    settings.SetSettingstring(u"Language", u"Deutsch");
    settings.SetNoCache(true);
    const std::string before = ReadBytes(file);
    {
        TKernelHandle held = HoldFile(file, 0);
        ASSERT_TRUE(held);
        EXPECT_EQ(settings.GetSettingString(u"Language"), u"Deutsch");
        // A write now cannot replace the file; it stays as it was.
        EXPECT_THROW(settings.SetSettingstring(u"Skin", u"Blue"), EFileError);
    }
    EXPECT_EQ(ReadBytes(file), before);
    // The value whose save failed is still held, and goes out with the next write.
    settings.SetSettingstring(u"AlwaysOnTop", u"1");
    EXPECT_EQ(
        ReadBytes(file), "[setting]\r\nRunTimes=1\r\nLanguage=Deutsch\r\nSkin=Blue\r\nAlwaysOnTop=1\r\n\r\n");
}

// ---- Days since installation ----

namespace {

class TFixedClock : public TClock {
public:
    explicit TFixedClock(TDateTime now) : FNow(now) { SetClock(this); }
    ~TFixedClock() override { SetClock(nullptr); }
    TDateTime Now() override { return FNow; }
    uint32_t TickCount() override { return 0; }

private:
    TDateTime FNow;
};

} // namespace

TEST(SettingsRunDays, LargestWholeDaysSinceAFolderWasCreated)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    TCLSettings settings;
    TDateTime created = 0;
    ASSERT_TRUE(GetFileCreationTime(env.UserFolder(), created));
    {
        TFixedClock clock(created + 12.5);
        EXPECT_EQ(settings.GetRunDays(), 12);
    }
    {
        // Whole days either way: a clock set back counts the same.
        TFixedClock clock(created - 3.9);
        EXPECT_EQ(settings.GetRunDays(), 3);
    }
    // None of the three folders left: nothing to count from.
    for (const String& folder : {env.ExeFolder(), env.UserFolder(), env.CommonFolder()})
        std::filesystem::remove_all(ToFsPath(folder));
    TFixedClock clock(created + 12.5);
    EXPECT_EQ(settings.GetRunDays(), 0);
}

// ---- One language string ----

TEST(SettingsLanguageString, ReadsTheCurrentLanguageFileAfresh)
{
    TStoreEnvironment env;
    env.UsePerUserFolder("Path.Languages=lang\r\nLanguage=English\r\n");
    WriteBytes(env.ExeFolder() + u"lang\\English.lan", "[AppRes]\r\nFLSMsg.Ready=Ready\r\n");
    WriteBytes(
        env.ExeFolder() + u"lang\\Deutsch.lan", Utf16LE(u"[AppRes]\r\nFLSMsg.Ready=Bereit \u00DC\r\n"));
    TCLSettings settings;
    EXPECT_EQ(settings.SlowGetLanguageString(u"appres", u"flsmsg.ready", u"-"), u"Ready");
    EXPECT_EQ(settings.SlowGetLanguageString(u"AppRes", u"Missing", u"-"), u"-");
    EXPECT_EQ(settings.SlowGetLanguageString(u"Missing", u"FLSMsg.Ready", u"-"), u"-");
    settings.SetSettingstring(u"Language.Force", u"Deutsch");
    EXPECT_EQ(settings.SlowGetLanguageString(u"AppRes", u"FLSMsg.Ready", u"-"), u"Bereit \u00DC");
    WriteBytes(env.ExeFolder() + u"lang\\Deutsch.lan", "[AppRes]\r\nFLSMsg.Ready=Fertig\r\n");
    EXPECT_EQ(settings.SlowGetLanguageString(u"AppRes", u"FLSMsg.Ready", u"-"), u"Fertig");
    settings.SetSettingstring(u"Language.Force", u"Missing");
    EXPECT_EQ(settings.SlowGetLanguageString(u"AppRes", u"FLSMsg.Ready", u"-"), u"-");
}

// ---- The process-wide store ----

TEST(SettingsAccessor, OneStorePerRunEvenAfterTheRelease)
{
    TStoreEnvironment env;
    env.UsePerUserFolder();
    WriteBytes(env.ExeFolder() + u"own.dat", "[setting]\r\nApp.ConfigPath=Veilport\r\nSWITCH.IE=1\r\n");
    TCLSettings& store = GetCLSettings(u"own.dat");
    EXPECT_EQ(&GetCLSettings(u"other.dat"), &store);
    const String file = env.UserFolder() + u"own.dat";
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\n\r\n");

    ReleaseCLSettings();
    // The main window's destruction still reads settings after the release.
    TCLSettings& afterRelease = GetCLSettings();
    EXPECT_EQ(&afterRelease, &store);
    EXPECT_TRUE(afterRelease.GetSettingBool(u"SWITCH.IE"));
    ReleaseCLSettings();
    EXPECT_EQ(&GetCLSettings(), &store);
    // One run, one start; and what the end of the run stores is not lost.
    afterRelease.SetSettingstring(u"FireFoxPath", u"C:\\ff.exe");
    EXPECT_EQ(ReadBytes(file), "[setting]\r\nRunTimes=1\r\nFireFoxPath=C:\\ff.exe\r\n\r\n");
}
