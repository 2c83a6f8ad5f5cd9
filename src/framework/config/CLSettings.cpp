#include "framework/config/CLSettings.h"

#include "framework/config/CLUtilsWin.h"
#include "framework/config/SettingLists.h"
#include "framework/config/SettingValues.h"
#include "framework/rtl/DebugChannel.h"
#include "framework/rtl/Exceptions.h"
#include "framework/rtl/FileUtils.h"

#include <algorithm>

namespace vp {

namespace {

const String kSettingSection = u"setting";
const String kShowAgainSection = u"ShowAgain";
const String kShowAgainResultSection = u"ShowAgainModuleResult";
const String kUserFlagFile = u"UserFlag.ini";
const String kFlagSection = u"Flag";
const String kAllUsersKey = u"AllUsers";

std::optional<StringView> ListValue(const TStringList& list, StringView name)
{
    int index = list.IndexOfName(name);
    if (index < 0)
        return std::nullopt;
    const String& item = list[index];
    return StringView(item).substr(item.find(u'=') + 1);
}

std::optional<StringView> FileValue(const std::unique_ptr<TIniFile>& file, StringView name)
{
    if (!file)
        return std::nullopt;
    return file->Document().FindValue(kSettingSection, name);
}

String WithoutFinalBackslash(String path)
{
    if (!path.empty() && path.back() == u'\\')
        path.pop_back();
    return path;
}

} // namespace

TCLSettings::TCLSettings(StringView strSettingFile)
{
    String constFilename = strSettingFile.empty() ? String(u"const.dat") : String(strSettingFile);
    FSettingFilename = strSettingFile.empty() ? String(u"setting.dat") : String(strSettingFile);
    FConstDataPath = GetAppPath();
    FConstValueIni = std::make_unique<TIniFile>(FConstDataPath + constFilename, TUnreadableIni::ReadAsEmpty);
    FOemValueIni =
        std::make_unique<TIniFile>(FConstDataPath + u"oem." + constFilename, TUnreadableIni::ReadAsEmpty);

    FConfigPathWord = GetSettingString(u"App.ConfigPath");
    if (FConfigPathWord.empty()) {
        FConfigPathWord = GetAppFileName();
        std::replace_if(
            FConfigPathWord.begin(), FConfigPathWord.end(),
            [](char16_t c) { return c == u'\\' || c == u':' || c == u'/'; }, u'_');
    }
    FUserDataPathCurrentUser = GetShellFolder(u"AppData") + u"\\" + FConfigPathWord + u"\\";
    FUserDataPathAllUsers = GetCommonShellFolder(u"Common AppData") + u"\\" + FConfigPathWord + u"\\";

    ChooseUserDataFolder();

    FRunTimes = GetSettingInteger(u"RunTimes");
    SetSettingInteger(u"RunTimes", FRunTimes + 1);
}

TCLSettings::~TCLSettings() = default;

void TCLSettings::ChooseUserDataFolder()
{
    if (GetSettingInteger(u"Setting.NoAllUser") != 0) {
        SetAllUser(false);
        return;
    }
    if (!IsAllUserFlagExists())
        SetAllUserFlag(IsAllUserPathWriteable());
    else if (GetAllUserFlag() && !IsAllUserPathWriteable())
        SetAllUserFlag(false);
    SetAllUser(GetAllUserFlag());
}

void TCLSettings::SetAllUser(bool value)
{
    FAllUser = value;
    FUserDataPath = value ? FUserDataPathAllUsers : FUserDataPathCurrentUser;
    ForceDirectories(FUserDataPath);
    FUserDataPath = IncludeTrailingBackslash(GetLongPath(FUserDataPath));
    FSettingIni.reset();
    String fileName = FUserDataPath + FSettingFilename;
    // One blank reads as an empty file and keeps the file from being zero bytes long.
    if (!FileExists(fileName))
        WriteAllBytesAtomic(fileName, " ");
    FSettingIni = std::make_unique<TIniFile>(fileName);
}

std::optional<StringView> TCLSettings::FindSetting(StringView strName) const
{
    ISettingLists* lists = RegisteredSettingLists();
    if (lists)
        if (auto value = ListValue(lists->SettingOverwrite(), strName))
            return value;
    if (auto value = FileValue(FSettingIni, strName))
        return value;
    if (auto value = FileValue(FOemValueIni, strName))
        return value;
    if (auto value = FileValue(FConstValueIni, strName))
        return value;
    if (lists)
        return ListValue(lists->SettingDefault(), strName);
    return std::nullopt;
}

String TCLSettings::GetSettingString(StringView strName)
{
    if (FSettingIni && FNoCache) {
        try {
            FSettingIni->Reload();
        } catch (const EFileError&) {
            // Readers never fail: a user file that cannot be read now holds nothing.
        }
    }
    if (auto value = FindSetting(strName))
        return String(*value);
    DebugSend(u"Setting Not Found :" + String(strName), u"CLSettings");
    return String();
}

int32_t TCLSettings::GetSettingInteger(StringView strName)
{
    return SettingToInteger(GetSettingString(strName));
}

double TCLSettings::GetSettingFloat(StringView strName)
{
    return SettingToFloat(GetSettingString(strName), UserDecimalSeparator());
}

bool TCLSettings::GetSettingBool(StringView strName)
{
    return SettingToBoolean(GetSettingString(strName));
}

TRect TCLSettings::GetSettingRect(StringView strName, const TRect& rcUnchanged)
{
    TRect rect = rcUnchanged;
    SettingToRect(GetSettingString(strName), rect);
    return rect;
}

bool TCLSettings::GetSettingExists(StringView strName)
{
    return FindSetting(strName).has_value();
}

void TCLSettings::WriteUserValue(StringView section, StringView key, StringView value)
{
    if (!FSettingIni)
        return;
    // The user file already says exactly this: writing it again would only cost a save of the
    // whole file (one with a large pool is hundreds of kilobytes). Without the cache the file
    // may have changed behind the store's back, so it is saved as always.
    TIniDocument& document = FSettingIni->Document();
    if (!FNoCache && !FUnsaved && document.ValueExists(section, key) &&
        document.ReadString(section, key, u"") == value)
        return;
    document.WriteString(section, key, value);
    FUnsaved = true;
    SaveUnlessUpdating();
}

void TCLSettings::SaveUnlessUpdating()
{
    if (!FUpdating)
        UpdateSettingINI();
}

void TCLSettings::SetSettingstring(StringView strName, StringView strValue)
{
    WriteUserValue(kSettingSection, strName, strValue);
}

void TCLSettings::SetSettingInteger(StringView strName, int32_t iValue)
{
    SetSettingstring(strName, IntegerToSetting(iValue));
}

void TCLSettings::SetSettingFloat(StringView strName, double fValue)
{
    SetSettingstring(strName, FloatToSetting(fValue, UserDecimalSeparator()));
}

void TCLSettings::SetSettingBool(StringView strName, bool ibValue)
{
    SetSettingstring(strName, BooleanToSetting(ibValue));
}

void TCLSettings::SetSettingRect(StringView strName, const TRect& rcValue)
{
    SetSettingstring(strName, RectToSetting(rcValue));
}

bool TCLSettings::GetMessageShowAgainFlag(int32_t iNumber)
{
    if (!FSettingIni)
        return true;
    String value = FSettingIni->Document().ReadString(kShowAgainSection, IntToStr(iNumber), u"");
    return StrToIntSafe(value, 1) != 0;
}

void TCLSettings::SetMessageShowAgainFlag(int32_t iNumber, bool bValue)
{
    WriteUserValue(kShowAgainSection, IntToStr(iNumber), BooleanToSetting(bValue));
}

int32_t TCLSettings::GetMessageShowAgainResult(int32_t iNumber)
{
    if (!FSettingIni)
        return 1;
    String value = FSettingIni->Document().ReadString(kShowAgainResultSection, IntToStr(iNumber), u"");
    return StrToIntSafe(value, 1);
}

void TCLSettings::SetMessageShowAgainResult(int32_t iNumber, int32_t iValue)
{
    WriteUserValue(kShowAgainResultSection, IntToStr(iNumber), IntegerToSetting(iValue));
}

void TCLSettings::ClearShowAgainFlag()
{
    if (!FSettingIni)
        return;
    FSettingIni->Document().EraseSection(kShowAgainSection);
    FSettingIni->Document().EraseSection(kShowAgainResultSection);
    SaveUnlessUpdating();
}

TIniFile TCLSettings::OpenUserFlag() const
{
    ForceDirectories(FUserDataPathCurrentUser);
    return TIniFile(FUserDataPathCurrentUser + kUserFlagFile, TUnreadableIni::ReadAsEmpty);
}

bool TCLSettings::IsAllUserFlagExists()
{
    return OpenUserFlag().Document().ValueExists(kFlagSection, kAllUsersKey);
}

bool TCLSettings::GetAllUserFlag()
{
    TIniFile flag = OpenUserFlag();
    std::optional<StringView> value = flag.Document().FindValue(kFlagSection, kAllUsersKey);
    return value ? SettingToBoolean(*value) : true;
}

void TCLSettings::SetAllUserFlag(bool bValue)
{
    TIniFile flag = OpenUserFlag();
    flag.Document().WriteString(kFlagSection, kAllUsersKey, BooleanToSetting(bValue));
    flag.Save();
}

bool TCLSettings::IsAllUserPathWriteable()
{
    try {
        // A file standing at the folder's path leaves no folder to write to.
        return ForceDirectories(FUserDataPathAllUsers) &&
            CheckFolderAccess(kGenericWrite, FUserDataPathAllUsers);
    } catch (const std::exception&) {
        return false;
    }
}

void TCLSettings::UpdateSettingINI()
{
    if (!FSettingIni)
        return;
    FSettingIni->Save();
    FUnsaved = false;
}

void TCLSettings::BeginUpdate()
{
    FUpdating = true;
}

void TCLSettings::EndUpdate()
{
    FUpdating = false;
    UpdateSettingINI();
}

int32_t TCLSettings::GetRunDays()
{
    TDateTime now = Now();
    int64_t days = 0;
    for (const String& folder : {FConstDataPath, FUserDataPathCurrentUser, FUserDataPathAllUsers}) {
        TDateTime created = 0;
        if (GetFileCreationTime(WithoutFinalBackslash(folder), created))
            days = std::max(days, DaysBetween(now, created));
    }
    return static_cast<int32_t>(std::min<int64_t>(days, INT32_MAX));
}

String TCLSettings::SlowGetLanguageString(StringView strSection, StringView strValue, StringView strDefault)
{
    String language = GetSettingString(u"Language.Force");
    if (language.empty())
        language = GetSettingString(u"Language");
    String fileName = FConstDataPath + GetSettingString(u"Path.Languages") + u"\\" + language + u".lan";
    TIniFile file(fileName, TUnreadableIni::ReadAsEmpty);
    return file.Document().ReadString(strSection, strValue, strDefault);
}

namespace {

// The live store. After the release the store moves to a holder that is never destroyed, so
// that nothing reading settings during the last destructions of the process finds it gone.
std::unique_ptr<TCLSettings>& LiveStore()
{
    static std::unique_ptr<TCLSettings> store;
    return store;
}

TCLSettings* gReleasedStore = nullptr;

} // namespace

TCLSettings& GetCLSettings(StringView strSettingFile)
{
    if (gReleasedStore)
        return *gReleasedStore;
    std::unique_ptr<TCLSettings>& store = LiveStore();
    if (!store)
        store = std::make_unique<TCLSettings>(strSettingFile);
    return *store;
}

void ReleaseCLSettings()
{
    if (!gReleasedStore)
        gReleasedStore = LiveStore().release();
}

} // namespace vp
