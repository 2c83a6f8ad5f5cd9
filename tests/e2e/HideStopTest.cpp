// The real Veilport.exe, hiding and stopping by mouse and keyboard on the X display: a click on
// Hide IP sends a separate program's WinINet requests through the local proxy the publisher
// handed out, Stop Hide makes them go direct again, and Exit from the tray menu leaves the
// system's proxy off. Runs beside the publisher and tinyproxy (run_with_publisher.sh).
#include "e2e/E2eSupport.h"
#include "framework/config/CLUtilsWin.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/WinText.h"
#include "support/BrowsersTestSupport.h"
#include "support/TestSupportWin.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vp;
using namespace vptest;

namespace {

const String kInternetSettings = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

String Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? FromAscii(value) : String();
}

DWORD ProxyEnable()
{
    DWORD value = 0, size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, WStr(kInternetSettings), L"ProxyEnable", RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 15000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100))
        if (done())
            return true;
    return done();
}

// The screen as a PNG in the test's build folder (ImageMagick's import), kept as an artefact.
void Screenshot(const char* name)
{
    String folder = TestExeFolder(); // Z:\...\bin\ under Wine
    String unixPath = folder.substr(2);
    for (char16_t& c : unixPath)
        if (c == u'\\')
            c = u'/';
    RunAndWait(u"Z:\\usr\\bin\\import -window root " + unixPath + u"e2e-hide-" + FromAscii(name) + u".png", 15000);
}

// The button whose caption is the text (mnemonic marks ignored), or nullptr.
HWND FindButton(HWND window, const String& text)
{
    struct TSearch {
        String Text;
        HWND Found = nullptr;
    } search{text, nullptr};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<TSearch*>(data);
            wchar_t caption[128] = {};
            GetWindowTextW(child, caption, 128);
            String plain;
            for (char16_t c : FromWStr(caption))
                if (c != u'&')
                    plain += c;
            if (plain == s->Text && IsWindowVisible(child)) {
                s->Found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

bool ClickCentre(HWND control, const char* button = "1")
{
    RECT rect{};
    GetWindowRect(control, &rect);
    return StartXdotool(u"mousemove " + IntToStr((rect.left + rect.right) / 2) + u" " +
        IntToStr((rect.top + rect.bottom) / 2) + u" click " + FromAscii(button));
}

// Fetches the publisher's check-IP page from a separate process, as a browser would.
String CheckIp(const String& url, const char* name)
{
    String out = TestExeFolder() + u"e2e-hide-" + FromAscii(name) + u".html";
    EXPECT_EQ(RunAndWait(u"\"" + TestExeFolder() + u"wininetget.exe\" " + url + u" \"" + out + u"\""), 0);
    return FromAscii(ReadAllBytes(out));
}

// The program's settings for these tests: the pools come with the start-up's configuration
// push, and the user chose Germany before.
String OemLines(const String& base)
{
    return u"Setting.NoAllUser=1\r\nApp.MagicWord=Veilport\r\nUpdate.BeginAuto=1\r\nURL.Update=" + base +
        u"/update\r\nURL.GetInfo=" + base + u"/getinfo\r\nURL.CheckIP=" + base + u"/checkip\r\nURL.FlagPath=" +
        base + u"/flags/\r\n";
}

// Starts the installed copy and clicks Hide IP once its pools are there; the main window.
HWND StartAndHide(TInstalledVeilport& veilport, HANDLE& process)
{
    const String settings = veilport.UserSettingFile();
    ForceDirectories(ExtractFilePath(settings));
    if (!FileExists(settings))
        WriteAllBytesAtomic(settings, "[setting]\r\nTARGET_COUNTRY=DE\r\n");
    process = veilport.Start(u"");
    HWND window = veilport.WaitUntilReady();
    EXPECT_TRUE(WaitFor([&] { return ReadAllBytes(settings).find("NORMAL_IPS=") != std::string::npos; }));
    Sleep(2000); // the location reply, and the one-second rule after the start
    HWND button = window ? FindButton(window, u"Hide IP") : nullptr;
    EXPECT_TRUE(button && ClickCentre(button));
    EXPECT_TRUE(WaitFor([] { return ProxyEnable() == 1; }));
    return window;
}

} // namespace

TEST(VeilportHideStop, TheUsersOwnSettingsComeBackAfterAKillAndAfterStopHide)
{
    const String base = Env("VP_PUBLISHER_URL");
    ASSERT_FALSE(base.empty()) << "run through run_with_publisher.sh";
    TUserProxySettings guard;
    // The user's own configuration: a proxy of their own with a bypass list, switched off.
    SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, u"ProxyServer", u"127.0.0.1:3128");
    SetRegistryString(HKEY_CURRENT_USER, kInternetSettings, u"ProxyOverride", u"<local>;*.intranet");
    DWORD off = 0;
    RegSetKeyValueW(HKEY_CURRENT_USER, WStr(kInternetSettings), L"ProxyEnable", REG_DWORD, &off, sizeof(off));
    const String before = TUserProxySettings::Snapshot();
    TInstalledVeilport veilport(OemLines(base));

    // Killed while hiding: the log-on entry, run as Windows runs it, gives everything back.
    HANDLE process = nullptr;
    StartAndHide(veilport, process);
    ASSERT_TRUE(TerminateProcess(process, 9));
    ASSERT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
    String command = RegReadString(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue, u"");
    EXPECT_NE(PosText(u"Veilport.exe\" /restore", command), String::npos) << U16ToUtf8(command);
    EXPECT_EQ(RunAndWait(command), 0);
    EXPECT_EQ(TUserProxySettings::Snapshot(), before);

    // Hide IP, then Stop Hide: the same configuration, not a bare direct connection.
    HWND window = StartAndHide(veilport, process);
    Sleep(1200); // the one-second rule
    HWND stop = window ? FindButton(window, u"Stop Hide") : nullptr;
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(ClickCentre(stop));
    EXPECT_TRUE(WaitFor([&] { return TUserProxySettings::Snapshot() == before; }));
    EXPECT_EQ(RegReadString(HKEY_CURRENT_USER, kRunOnceKey, kRunOnceValue, u"(none)"), u"(none)");
}

TEST(VeilportHideStop, TheWindowAndTheTrayMenuHideStopAndEndWithDirectConnections)
{
    const String base = Env("VP_PUBLISHER_URL");
    const String proxyPort = Env("VP_PROXY_PORT");
    ASSERT_FALSE(base.empty()) << "run through run_with_publisher.sh";
    TUserProxySettings userSettings;
    TInstalledVeilport veilport(OemLines(base));
    const String settings = veilport.UserSettingFile();
    ForceDirectories(ExtractFilePath(settings));
    WriteAllBytesAtomic(settings, "[setting]\r\nTARGET_COUNTRY=DE\r\n");

    HANDLE process = veilport.Start(u"");
    HWND window = veilport.WaitUntilReady();
    ASSERT_NE(window, nullptr);
    // The location reply and the pools arrive; the start left the proxy off.
    EXPECT_TRUE(WaitFor([&] {
        return ReadAllBytes(settings).find("NORMAL_IPS=127.0.0.1:" + U16ToUtf8(proxyPort)) != std::string::npos;
    }));
    Sleep(2000);
    Screenshot("1-started");
    EXPECT_EQ(ProxyEnable(), 0u);

    HWND button = FindButton(window, u"Hide IP");
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(ClickCentre(button));
    bool hidden = WaitFor([] { return ProxyEnable() == 1; });
    if (!hidden)
        Screenshot("2-not-hidden");
    ASSERT_TRUE(hidden);
    const String proxy = u"127.0.0.1:" + proxyPort;
    EXPECT_NE(PosText(proxy, RegReadString(HKEY_CURRENT_USER, kInternetSettings, u"ProxyServer", u"")), String::npos);
    EXPECT_TRUE(WaitFor([&] { return FindButton(window, u"Stop Hide") != nullptr; }));
    Sleep(800);
    Screenshot("2-hiding");

    String page = CheckIp(base + u"/checkip", "hidden");
    EXPECT_NE(PosText(u"veilport-proxy-" + proxyPort, page), String::npos) << U16ToUtf8(page);
    EXPECT_NE(ReadAllBytes(Env("VP_PROXY_LOG")).find("/checkip"), std::string::npos);

    Sleep(1200); // the one-second rule
    HWND stop = FindButton(window, u"Stop Hide");
    ASSERT_NE(stop, nullptr);
    ASSERT_TRUE(ClickCentre(stop));
    ASSERT_TRUE(WaitFor([] { return ProxyEnable() == 0; }));
    Sleep(800);
    Screenshot("3-stopped");
    page = CheckIp(base + u"/checkip", "direct");
    EXPECT_EQ(PosText(u"veilport-proxy-", page), String::npos) << U16ToUtf8(page);

    // Hiding again, then Exit from the tray icon's menu.
    Sleep(1200);
    ASSERT_TRUE(ClickCentre(FindButton(window, u"Hide IP")));
    ASSERT_TRUE(WaitFor([] { return ProxyEnable() == 1; }));
    // Wine shows the notification area as a window of its own (without a desktop's task bar).
    HWND tray = FindWindowW(nullptr, L"Wine System Tray");
    ASSERT_NE(tray, nullptr);
    HWND icon = GetWindow(tray, GW_CHILD);
    POINT at{};
    if (icon) {
        RECT rect{};
        GetWindowRect(icon, &rect);
        at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    } else {
        ClientToScreen(tray, &at);
        at.x += GetSystemMetrics(SM_CXSMICON) / 2 + 1;
        at.y += GetSystemMetrics(SM_CYSMICON) / 2 + 1;
    }
    ASSERT_TRUE(StartXdotool(u"mousemove " + IntToStr(at.x) + u" " + IntToStr(at.y) + u" click 3"));
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(menu); }));
    Sleep(500);
    Screenshot("4-tray-menu");
    // Exit is the menu's last item.
    RECT box{};
    GetWindowRect(menu, &box);
    ASSERT_TRUE(StartXdotool(u"mousemove " + IntToStr(box.left + 40) + u" " + IntToStr(box.bottom - 14) + u" click 1"));
    ASSERT_EQ(WaitForSingleObject(process, 20000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(process), 0u);
    EXPECT_EQ(ProxyEnable(), 0u);
}
