// TCLSettings: the program's one source of configuration, a layered key/value store over INI
// files. Strongest first: the engine's overwrite list, the user's "setting.dat", the
// distributor's "oem.const.dat", the program's "const.dat", the engine's default list. All
// settings live in the section "setting"; only the user file is ever written.
#pragma once

#include "framework/config/IniFile.h"
#include "framework/config/SettingsReader.h"
#include "framework/config/SettingsWriter.h"
#include "framework/rtl/Rect.h"

#include <cstdint>
#include <memory>
#include <optional>

namespace vp {

class TCLSettings : public ISettingsReader, public ISettingsWriter {
public:
    // Reads the files beside the executable, chooses the user data folder, loads the user
    // file and counts the start. A non-empty name replaces "setting.dat" and "const.dat".
    explicit TCLSettings(StringView strSettingFile = u"");
    ~TCLSettings() override;
    TCLSettings(const TCLSettings&) = delete;
    TCLSettings& operator=(const TCLSettings&) = delete;

    // "" when no layer holds the key (and the debug channel hears of it). A key that is
    // present counts even with an empty value: it hides every weaker layer.
    String GetSettingString(StringView strName) override;
    int32_t GetSettingInteger(StringView strName);
    double GetSettingFloat(StringView strName);
    bool GetSettingBool(StringView strName);
    // rcUnchanged comes back as it is unless the value holds exactly four fields.
    TRect GetSettingRect(StringView strName, const TRect& rcUnchanged = TRect());
    bool GetSettingExists(StringView strName);

    // Writes into the user file and saves it, unless between BeginUpdate and EndUpdate.
    // A failed save raises; the value then stays changed in memory.
    void SetSettingstring(StringView strName, StringView strValue) override;
    void SetSettingInteger(StringView strName, int32_t iValue);
    void SetSettingFloat(StringView strName, double fValue);
    void SetSettingBool(StringView strName, bool ibValue);
    void SetSettingRect(StringView strName, const TRect& rcValue);

    // Message boxes that offer to be shown no more, by number (user file only).
    bool GetMessageShowAgainFlag(int32_t iNumber);
    void SetMessageShowAgainFlag(int32_t iNumber, bool bValue);
    int32_t GetMessageShowAgainResult(int32_t iNumber);
    void SetMessageShowAgainResult(int32_t iNumber, int32_t iValue);
    void ClearShowAgainFlag();

    // "UserFlag.ini" in the per-user folder, opened afresh at every call.
    bool IsAllUserFlagExists();
    bool GetAllUserFlag();
    void SetAllUserFlag(bool bValue);
    // Creates the all-users folder when missing; false on any failure.
    bool IsAllUserPathWriteable();

    void UpdateSettingINI();
    void BeginUpdate();
    void EndUpdate();

    // Whole days since the oldest of the program's three folders was created; 0 when none
    // of their creation times can be read.
    int32_t GetRunDays();
    // One string read straight from the current language file.
    String SlowGetLanguageString(StringView strSection, StringView strValue, StringView strDefault);

    bool AllUser() const { return FAllUser; }
    // Switches to the other data folder and loads the user file found there.
    void SetAllUser(bool value);
    const String& UserDataPath() const { return FUserDataPath; }
    // The start count as read at construction, before it was incremented.
    int32_t RunTimes() const { return FRunTimes; }
    bool NoCache() const { return FNoCache; }
    void SetNoCache(bool value) { FNoCache = value; }

private:
    std::optional<StringView> FindSetting(StringView strName) const;
    void WriteUserValue(StringView section, StringView key, StringView value);
    void SaveUnlessUpdating();
    TIniFile OpenUserFlag() const;
    void ChooseUserDataFolder();

    bool FAllUser = false;
    std::unique_ptr<TIniFile> FConstValueIni;
    std::unique_ptr<TIniFile> FOemValueIni;
    std::unique_ptr<TIniFile> FSettingIni;
    String FConstDataPath;
    String FUserDataPath;
    String FUserDataPathCurrentUser;
    String FUserDataPathAllUsers;
    int32_t FRunTimes = 0;
    bool FUpdating = false;
    String FConfigPathWord;
    String FSettingFilename;
    bool FNoCache = false;
    // The document holds changes the file does not have yet (batched, or a save that failed).
    bool FUnsaved = false;
};

// The process's store, created by the first call with the given file name (ignored while a
// store exists).
TCLSettings& GetCLSettings(StringView strSettingFile = u"");
// The start-up routine's release when the main message loop has ended. The store is kept for
// the rest of the process rather than destroyed: the main window's destruction, which comes
// later, still reads settings, and building a second store for it would count a second start.
// GetCLSettings keeps returning the same store, which still reads and saves as before.
void ReleaseCLSettings();

// The decimal separator of the user's locale, used for floating-point settings.
char16_t UserDecimalSeparator();

} // namespace vp
