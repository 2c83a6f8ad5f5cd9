// The options dialog: the boxes from the settings, what OK and Cancel write, the log-on
// entry, the show-again memory and the Firefox reinstall with its messages.
#include "DialogTestHost.h"

#include "dialogs/uSettings.h"
#include "framework/config/CLSettings.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"
#include "support/TestSupport.h"
#include "support/UiTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const String kAppName = u"VeilportDialogsTest";

class SettingsDialog : public ::testing::Test {
protected:
    SettingsDialog() { Host = Application().CreateForm<TfrmDialogHost>(); }
    TfrmSettings* Make() { return NewForm<TfrmSettings>(Host); }
    static TCLSettings& Settings() { return GetCLSettings(); }
    static bool RunEntryExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, WStr(kRunKey), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
            return false;
        const bool found = RegQueryValueExW(key, WStr(kAppName), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
        RegCloseKey(key);
        return found;
    }

    TSettingOverride FName{u"App.Name", kAppName};
    TSettingOverride FAutoRun{u"AutoRun", u"0"};
    TSettingOverride FUpdate{u"Update.AutoCheck", u"1"};
    TSettingOverride FChangeIP{u"ChangeIP", u"0"};
    TSettingOverride FTime{u"ChangeIPTime", u"7"};
    TSettingOverride FIE{u"SWITCH.IE", u"1"};
    TSettingOverride FFF{u"SWITCH.FF", u"0"};
    TSettingOverride FOpera{u"SWITCH.OPERA", u"1"};
    TRegistryValueGuard FRunEntry{HKEY_CURRENT_USER, kRunKey, kAppName};
    TApplicationScope FScope;
    TfrmDialogHost* Host;
};

} // namespace

TEST_F(SettingsDialog, ShowsEachSettingAndOKWritesEachBackWithTheLogOnEntry)
{
    TfrmSettings* dialog = Make();
    EXPECT_EQ(dialog->pcSetting->ActivePage(), dialog->tsGeneral);
    EXPECT_FALSE(dialog->cbAutoRun->Checked());
    EXPECT_TRUE(dialog->cbAutoUpdate->Checked());
    EXPECT_FALSE(dialog->cbChangeIP->Checked());
    EXPECT_EQ(dialog->edtChangeIPTime->Value(), 7);
    EXPECT_TRUE(dialog->cbIE->Checked());
    EXPECT_FALSE(dialog->cbIE->Enabled());
    EXPECT_FALSE(dialog->cbFF->Checked());
    EXPECT_TRUE(dialog->cbOpera->Checked());
    EXPECT_EQ(dialog->spDynamicSkinForm->SkinData(), Host->spSkinData);

    dialog->cbAutoRun->SetChecked(true);
    dialog->cbAutoUpdate->SetChecked(false);
    dialog->cbChangeIP->SetChecked(true);
    dialog->edtChangeIPTime->SetValue(45);
    dialog->cbFF->SetChecked(true);
    dialog->cbOpera->SetChecked(false);
    dialog->btnOK->Click();
    EXPECT_EQ(dialog->ModalResult(), mrOk);
    EXPECT_TRUE(Settings().GetSettingBool(u"AutoRun"));
    EXPECT_FALSE(Settings().GetSettingBool(u"Update.AutoCheck"));
    EXPECT_TRUE(Settings().GetSettingBool(u"ChangeIP"));
    EXPECT_EQ(Settings().GetSettingInteger(u"ChangeIPTime"), 45);
    EXPECT_TRUE(Settings().GetSettingBool(u"SWITCH.IE")); // shown, never changed
    EXPECT_TRUE(Settings().GetSettingBool(u"SWITCH.FF"));
    EXPECT_FALSE(Settings().GetSettingBool(u"SWITCH.OPERA"));
    // The entry names the program quoted, so a path with blanks starts the program itself.
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kRunKey, kAppName, u""), u"\"" + GetAppFileName() + u"\"");
    delete dialog;

    // Unticked, OK takes the entry away again, and once more when there is none.
    for (int round = 0; round < 2; ++round) {
        dialog = Make();
        EXPECT_TRUE(round == 0 ? dialog->cbAutoRun->Checked() : !dialog->cbAutoRun->Checked());
        dialog->cbAutoRun->SetChecked(false);
        dialog->btnOK->Click();
        EXPECT_FALSE(RunEntryExists());
        EXPECT_FALSE(Settings().GetSettingBool(u"AutoRun"));
        delete dialog;
    }
}

TEST_F(SettingsDialog, CancelWritesNothingButTheShowAgainMemoryIsClearedAtOnce)
{
    Settings().SetMessageShowAgainFlag(3, false);
    TfrmSettings* dialog = Make();
    SetModalResponder([&](const TModalRequest&) {
        dialog->cbAutoRun->SetChecked(true);
        dialog->cbAutoUpdate->SetChecked(false);
        dialog->cbChangeIP->SetChecked(true);
        dialog->edtChangeIPTime->SetValue(99);
        dialog->cbFF->SetChecked(true);
        dialog->cbOpera->SetChecked(false);
        dialog->btnClearShowAgainFlag->Click();
        dialog->btnCancel->Click();
        return dialog->ModalResult();
    });
    EXPECT_EQ(dialog->ShowModal(), mrCancel);
    SetModalResponder(nullptr);
    EXPECT_TRUE(Settings().GetMessageShowAgainFlag(3));
    EXPECT_FALSE(Settings().GetSettingBool(u"AutoRun"));
    EXPECT_TRUE(Settings().GetSettingBool(u"Update.AutoCheck"));
    EXPECT_FALSE(Settings().GetSettingBool(u"ChangeIP"));
    EXPECT_EQ(Settings().GetSettingString(u"ChangeIPTime"), u"7");
    EXPECT_FALSE(Settings().GetSettingBool(u"SWITCH.FF"));
    EXPECT_TRUE(Settings().GetSettingBool(u"SWITCH.OPERA"));
    EXPECT_FALSE(RunEntryExists());
    delete dialog;
}

TEST_F(SettingsDialog, TheIntervalIsHeldWithinOneTo120Minutes)
{
    const std::pair<const char16_t*, int> cases[] = {{u"0", 1}, {u"", 1}, {u"-5", 1}, {u"500", 120}, {u"120", 120}};
    for (auto [stored, shown] : cases) {
        Settings().SetSettingstring(u"ChangeIPTime", stored);
        TfrmSettings* dialog = Make();
        EXPECT_EQ(dialog->edtChangeIPTime->Value(), shown) << U16ToUtf8(stored);
        dialog->btnOK->Click();
        EXPECT_EQ(Settings().GetSettingInteger(u"ChangeIPTime"), shown) << U16ToUtf8(stored);
        delete dialog;
    }
}

// ---- The Firefox reinstall ----

namespace {

class SettingsReinstall : public SettingsDialog {
protected:
    SettingsReinstall() { SetEnvironmentVariableW(L"VP_RECORD_FILE", WStr(FRecordFile)); }
    ~SettingsReinstall() override { SetEnvironmentVariableW(L"VP_RECORD_FILE", nullptr); }
    // The message keys shown, in order.
    std::vector<String> Click(TfrmSettings& dialog)
    {
        TModalRecorder recorder;
        dialog.btnReinstallFF->Click();
        std::vector<String> shown;
        for (const TModalRequest& request : recorder.Requests)
            shown.push_back(request.Text);
        return shown;
    }

    TRegistryKeyGuard FMozilla{HKEY_LOCAL_MACHINE, u"SOFTWARE\\Mozilla"};
    TRegistryKeyGuard FMozilla32{HKEY_LOCAL_MACHINE, u"SOFTWARE\\WOW6432Node\\Mozilla"};
    TSettingOverride FPath{u"FireFoxPath", u""};
    TTempFolder FTemp;
    String FFolder = GetLongPath(FTemp.Folder());
    String FRecordFile = FFolder + u"records.txt";
};

LRESULT CALLBACK PlainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

// A top-level window of Firefox's class while the object lives.
class TRunningFirefox {
public:
    TRunningFirefox()
    {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = PlainWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"MozillaUIWindowClass";
        RegisterClassW(&windowClass);
        FWindow = CreateWindowExW(0, L"MozillaUIWindowClass", L"Firefox", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~TRunningFirefox()
    {
        DestroyWindow(FWindow);
        UnregisterClassW(L"MozillaUIWindowClass", GetModuleHandleW(nullptr));
    }

private:
    HWND FWindow;
};

} // namespace

TEST_F(SettingsReinstall, WithoutFirefoxOnlyTheNotFoundMessageShowsEvenWhileAWindowOfItsClassExists)
{
    TRunningFirefox window;
    TfrmSettings* dialog = Make();
    EXPECT_EQ(Click(*dialog), (std::vector<String>{u"[AppRes]MSGBox.FFUninstalled"}));
    EXPECT_TRUE(ReadRecords(FRecordFile).empty());
    delete dialog;
}

TEST_F(SettingsReinstall, ARunningFirefoxThatTookTheExtensionGivesOnlyTheRestartMessage)
{
    const String firefox = FFolder + u"firefox.exe";
    ASSERT_TRUE(CopyFileW(WStr(RecordArgsPath()), WStr(firefox), FALSE));
    Settings().SetSettingstring(u"FireFoxPath", firefox);
    TfrmSettings* dialog = Make();
    {
        TRunningFirefox window;
        EXPECT_EQ(Click(*dialog), (std::vector<String>{u"[AppRes]MSGBox.FFRestart"}));
    }
    ASSERT_EQ(ReadRecords(FRecordFile, 1, 60000).size(), 1u); // started once, with the extension
    // Not running: the extension is offered again without a word.
    EXPECT_TRUE(Click(*dialog).empty());
    EXPECT_EQ(ReadRecords(FRecordFile, 2, 60000).size(), 2u);
    delete dialog;
}

TEST(SettingsFirefoxFolder, AChosenFolderBecomesTheExecutableOnlyWhenFirefoxIsInIt)
{
    TTempFolder temp;
    const String folder = GetLongPath(temp.Folder());
    EXPECT_EQ(TfrmSettings::FirefoxPathInFolder(folder), u"");
    WriteAllBytesAtomic(folder + u"firefox.exe", "MZ");
    EXPECT_EQ(TfrmSettings::FirefoxPathInFolder(folder), folder + u"firefox.exe");
    // Without its trailing backslash, as the folder picker answers.
    EXPECT_EQ(TfrmSettings::FirefoxPathInFolder(folder.substr(0, folder.size() - 1)), folder + u"firefox.exe");
    EXPECT_EQ(TfrmSettings::FirefoxPathInFolder(u""), u"");
}
