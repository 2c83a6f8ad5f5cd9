// The real program's automatic update check against the local publisher, which
// tests/support/run_with_publisher.sh starts beside this test (its port and request log come
// in VP_PUBLISHER_PORT and VP_PUBLISHER_LOG).
#include "e2e/E2eSupport.h"
#include "framework/config/IniFile.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/RtlText.h"
#include "framework/rtl/StringList.h"
#include "framework/rtl/TextUtils.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vp;
using namespace vptest;

namespace {

String Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? Utf8ToU16(value) : String();
}

String SettingOf(const String& file, const String& key)
{
    if (!FileExists(file))
        return String();
    TIniFile settings(file);
    return settings.Document().ReadString(u"setting", key, u"");
}

// The queries of the update requests in the publisher's log, in order.
std::vector<std::string> UpdateQueries()
{
    std::vector<std::string> queries;
    const std::string log = ReadFileBytes(ToFsPath(Env("VP_PUBLISHER_LOG")));
    size_t at = 0;
    while ((at = log.find("\tGET\t/update\t", at)) != std::string::npos) {
        at += 13;
        queries.push_back(log.substr(at, log.find('\t', at) - at));
    }
    return queries;
}

// The update windows of a process that are on the screen.
int VisibleUpdateWindows(HANDLE process)
{
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"TfrmCLUpdateForm", nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        count += owner == GetProcessId(process) && IsWindowVisible(window);
    }
    return count;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 30000)
{
    for (DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100))
        if (done())
            return true;
    return done();
}

void Stop(TInstalledVeilport& veilport, HANDLE process)
{
    HANDLE closer = veilport.Start(u"-S");
    ASSERT_EQ(WaitForSingleObject(closer, 30000), WAIT_OBJECT_0);
    ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    EXPECT_EQ(ExitCode(process), 0u);
}

} // namespace

TEST(VeilportUpdate, TheStartUpCheckBringsThePoolsAndAsksWithTheCommonParameters)
{
    ASSERT_FALSE(Env("VP_PUBLISHER_PORT").empty()) << "run through tests/support/run_with_publisher.sh";
    const String base = u"http://127.0.0.1:" + Env("VP_PUBLISHER_PORT");
    TInstalledVeilport veilport(u"App.MagicWord=Veilport\r\nURL.Update=" + base +
        u"/update\r\nUpdate.BeginAuto=1\r\nUpdate.AutoCheck=1\r\n");
    const size_t before = UpdateQueries().size();

    // The first start: the settings arrive, no version is reported.
    HANDLE first = veilport.Start(u"-h");
    ASSERT_NE(veilport.WaitUntilReady(), nullptr);
    const String file = veilport.UserSettingFile();
    ASSERT_TRUE(WaitFor([&] { return SettingOf(file, u"Update.Times") == u"1"; }));
    EXPECT_EQ(SettingOf(file, u"NORMAL_IPS"),
        u"127.0.0.1:8901|United States|US|-97|38;127.0.0.1:8903|Cote d\\'Ivoire|CI|-5|8");
    EXPECT_EQ(SettingOf(file, u"SUPER_IPS"), u"127.0.0.1:8904|Germany|DE|10|51");
    EXPECT_EQ(SettingOf(file, u"SUPER_TOUCH"), base + u"/touch?ip={1}");
    EXPECT_NE(SettingOf(file, u"Update.LastDate"), u"");
    Sleep(500);
    EXPECT_EQ(VisibleUpdateWindows(first), 0);
    Stop(veilport, first);

    const std::vector<std::string> queries = UpdateQueries();
    ASSERT_EQ(queries.size(), before + 1);
    TStringList parts;
    SplitText(Utf8ToU16(queries.back()), u'&', parts);
    const std::vector<String> names = {u"ACTION", u"", u"PID", u"LANG", u"DAY", u"RUNTIME", u"VER", u"SVER",
        u"WVER", u"WLANG", u"CHL"};
    ASSERT_EQ(parts.Count(), static_cast<int>(names.size())) << queries.back();
    EXPECT_EQ(parts[0], u"ACTION=Update");
    // The time stamp: seconds and milliseconds, five digits.
    EXPECT_EQ(parts[1].size(), 5u);
    EXPECT_EQ(parts[1].find_first_not_of(u"0123456789"), String::npos) << queries.back();
    for (size_t i = 2; i < names.size(); ++i)
        EXPECT_EQ(parts[static_cast<int>(i)].substr(0, names[i].size() + 1), names[i] + u"=") << queries.back();
    EXPECT_EQ(parts[5], u"RUNTIME=0");

    // A later start with the automatic check on reports the newer version the service offers.
    HANDLE second = veilport.Start(u"-h");
    ASSERT_NE(veilport.WaitUntilReady(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return VisibleUpdateWindows(second) == 1; }));
    EXPECT_EQ(SettingOf(file, u"Update.Times"), u"2");
    Stop(veilport, second);
}
