// The publisher tool as a child process on a free port, fetched with cpp-httplib's client:
// its replies read the way the program reads them, the run-time modes, flags, pages, the
// check-IP page behind a local tinyproxy, the request log and the shutdown.
#include "PublisherConfig.h"
#include "Replies.h"

#include "framework/engine/UpdateReply.h"
#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/TextEncoding.h"
#include "proxy/InfoGotThread.h"
#include "proxy/ProxyTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <future>
#include <map>
#include <regex>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

using namespace vp;
using namespace std::chrono_literals;

namespace {

const char* const kConfig = R"(# test configuration
[update]
magicword = VeilPort
normal = 127.0.0.1:8901|United States|US|-97|38
normal = 127.0.0.1:8902|Cote d'Ivoire|CI|-5|8
super = 127.0.0.1:8903|Germany|DE|10|51
result = 1
info = Version 2 is out
page = %base%/files/setup.exe
[modify]
URL.CheckIP = %base%/checkip
A = first
A = second
Caf)"
                            "\xC3\xA9"
                            R"( = cr)"
                            "\xC3\xA8"
                            R"(me
[banner]
Text = Hello
[location]
ip = 198.51.100.4
country_short = CI
country_long = C)"
                            "\xC3\xB4"
                            R"(te d'Ivoire
city = Abidjan
)";

// The publisher binary, started with a configuration, a request log and a root folder of its own.
class TPublisherProcess {
public:
    explicit TPublisherProcess(const std::string& aConfig, std::vector<std::string> aArgs = {})
    {
        std::filesystem::create_directories(FFolder.Path() / "root" / "flags");
        vptest::WriteFileBytes(FFolder.Path() / "publisher.conf", aConfig);
        std::vector<std::string> args = {VP_PUBLISHER_EXE, "--config",
            (FFolder.Path() / "publisher.conf").string(), "--port", "0", "--log", LogPath().string(),
            "--root", (FFolder.Path() / "root").string()};
        args.insert(args.end(), aArgs.begin(), aArgs.end());
        Spawn(args);
        FFirstLine = ReadLine(10s);
        std::smatch match;
        if (std::regex_match(FFirstLine, match, std::regex(R"(publisher: listening on 127\.0\.0\.1:(\d+))")))
            FPort = std::stoi(match[1]);
    }

    ~TPublisherProcess()
    {
        if (FPid > 0)
            Stop(SIGKILL);
        if (FOut >= 0)
            close(FOut);
    }

    int Port() const { return FPort; }
    std::filesystem::path Root() const { return FFolder.Path() / "root"; }
    std::filesystem::path LogPath() const { return FFolder.Path() / "requests.log"; }
    httplib::Client Client(std::chrono::seconds aReadTimeout = 5s) const
    {
        httplib::Client client("127.0.0.1", FPort);
        client.set_read_timeout(aReadTimeout);
        return client;
    }

    // The exit status after the signal, or -1 when the process is still there after aWait.
    int Stop(int aSignal, std::chrono::milliseconds aWait = 10s)
    {
        kill(FPid, aSignal);
        for (auto end = std::chrono::steady_clock::now() + aWait; std::chrono::steady_clock::now() < end;) {
            int status = 0;
            if (waitpid(FPid, &status, WNOHANG) == FPid) {
                FPid = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            std::this_thread::sleep_for(20ms);
        }
        return -1;
    }

    // Standard output and error from the start to the end, once the process has ended.
    std::string Output() { return FFirstLine + '\n' + ReadLine(2s, true); }

    std::vector<std::vector<std::string>> LogRecords() const
    {
        std::vector<std::vector<std::string>> records;
        std::istringstream lines(vptest::ReadFileBytes(LogPath()));
        for (std::string line; std::getline(lines, line);) {
            std::vector<std::string> fields;
            size_t start = 0;
            for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
                fields.push_back(line.substr(start, tab - start));
            fields.push_back(line.substr(start));
            records.push_back(fields);
        }
        return records;
    }

private:
    void Spawn(const std::vector<std::string>& aArgs)
    {
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::vector<char*> argv;
        for (const std::string& arg : aArgs)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        int spawned = posix_spawn(&FPid, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        FOut = pipeFds[0];
        ASSERT_EQ(spawned, 0);
    }

    // One line (or everything up to the end of output when aAll), waiting at most aWait.
    std::string ReadLine(std::chrono::milliseconds aWait, bool aAll = false)
    {
        std::string text;
        for (auto end = std::chrono::steady_clock::now() + aWait; std::chrono::steady_clock::now() < end;) {
            pollfd fd{FOut, POLLIN, 0};
            if (poll(&fd, 1, 50) <= 0)
                continue;
            char c;
            if (read(FOut, &c, 1) != 1)
                break;
            if (c == '\n' && !aAll)
                break;
            text += c;
        }
        return text;
    }

    vptest::TTempFolder FFolder;
    pid_t FPid = -1;
    int FOut = -1;
    int FPort = 0;
    std::string FFirstLine;
};

int FreeLoopbackPort()
{
    int sock = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
    close(sock);
    return ntohs(address.sin_port);
}

std::map<String, String> WrittenSettings(const TUpdateReply& aReply)
{
    std::map<String, String> settings;
    for (const TUpdateSettingWrite& write : aReply.Writes)
        settings[write.Name] = write.Value;
    return settings;
}

TUpdateReply FetchUpdate(const TPublisherProcess& aPublisher, const std::string& aPath = "/update")
{
    auto reply = aPublisher.Client().Get(aPath.c_str());
    if (!reply || reply->status != 200)
        return {};
    return ParseUpdateReply(Cp1252ToU16(reply->body), u"veilport");
}

} // namespace

TEST(Publisher, UpdateReplyPushesTheConfiguredPoolsAndSettingsAsTheProgramReadsThem)
{
    TPublisherProcess publisher(kConfig);
    ASSERT_GT(publisher.Port(), 0);
    auto reply = publisher.Client().Get("/update");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->get_header_value("Content-Type"), "text/plain; charset=windows-1252");
    // Windows-1252 on the wire: one byte for the accented letters of the UTF-8 file.
    EXPECT_NE(reply->body.find("__MODIFY__.Caf\xE9=cr\xE8me\r\n"), std::string::npos);

    TUpdateReply parsed = ParseUpdateReply(Cp1252ToU16(reply->body), u"veilport");
    ASSERT_TRUE(parsed.Accepted);
    String base = u"http://127.0.0.1:" + IntToStr(publisher.Port());
    EXPECT_EQ(parsed.Writes.front().Name, u"NORMAL_IPS");
    std::map<String, String> settings = WrittenSettings(parsed);
    EXPECT_EQ(settings[u"SUPER_TOUCH"], base + u"/touch?ip={1}");
    EXPECT_EQ(settings[u"URL.CheckIP"], base + u"/checkip");
    EXPECT_EQ(settings[u"A"], u"second");
    EXPECT_EQ(settings[u"Caf\u00E9"], u"cr\u00E8me");
    EXPECT_EQ(settings[u"Banner.Text"], u"Hello");
    EXPECT_EQ(parsed.Version, TUpdateVersion::Newer);
    EXPECT_EQ(parsed.Info, u"Version 2 is out");
    EXPECT_EQ(parsed.Page, base + u"/files/setup.exe");

    // The pools load into the proxy manager entry for entry, the escaped apostrophe included.
    vptest::TMapSettings store;
    store.Values = settings;
    TProxyManager manager(store);
    ASSERT_TRUE(manager.LoadSettings());
    ASSERT_EQ(manager.NormalProxyList().Count(), 2);
    ASSERT_EQ(manager.SuperProxyList().Count(), 1);
    TProxyRec rec;
    ASSERT_TRUE(TProxyManager::GetProxyRec(manager.NormalProxyList(), 1, false, rec));
    EXPECT_EQ(rec.IP, u"127.0.0.1");
    EXPECT_EQ(rec.Port, u"8902");
    EXPECT_EQ(rec.Country_Long, u"Cote d'Ivoire");
    EXPECT_EQ(rec.Country_Short, u"CI");
    ASSERT_TRUE(TProxyManager::GetProxyRec(manager.SuperProxyList(), 0, true, rec));
    EXPECT_EQ(rec.Country_Short, u"DE");

    // Blank page addresses end at /redirect with ACTION naming the page.
    EXPECT_EQ(WrittenSettings(FetchUpdate(publisher, "/redirect?ACTION=Update&PID=x")), settings);
}

TEST(Publisher, ControlSwitchesTheUpdateReplyBetweenRequests)
{
    TPublisherProcess publisher(kConfig);
    httplib::Client client = publisher.Client();
    auto control = [&](const char* query) {
        auto reply = client.Get((std::string("/control?") + query).c_str());
        return reply ? reply->status : -1;
    };

    ASSERT_EQ(control("update=wrongmagic"), 200);
    auto wrong = client.Get("/update");
    ASSERT_TRUE(wrong && wrong->status == 200);
    TUpdateReply rejected = ParseUpdateReply(Cp1252ToU16(wrong->body), u"VeilPort");
    EXPECT_FALSE(rejected.Accepted);
    EXPECT_NE(UpdateReplyValue(Cp1252ToU16(wrong->body), u"__MODIFY__.NORMAL_IPS"), u"");

    ASSERT_EQ(control("update=empty"), 200);
    auto empty = client.Get("/update");
    ASSERT_TRUE(empty);
    EXPECT_EQ(empty->status, 200);
    EXPECT_EQ(empty->body, "");

    ASSERT_EQ(control("update=error"), 200);
    auto error = client.Get("/update");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->status, 500);

    // A wrong parameter changes nothing, the good ones beside it included.
    EXPECT_EQ(control("update=normal&location=wrongmagic"), 400);
    EXPECT_EQ(control("update=normal&bogus=1"), 400);
    EXPECT_EQ(control("update_stall=-1"), 400);
    EXPECT_EQ(client.Get("/update")->status, 500);

    ASSERT_EQ(control("update=NORMAL"), 200);
    EXPECT_TRUE(FetchUpdate(publisher).Accepted);

    // A raw body goes out as given, in Windows-1252; the location service has no raw mode.
    ASSERT_EQ(
        control("update=raw&update_body=MAGICWORD%3Dveilport%0D%0A__modify__.A%3D1%3D2%0Dx%C3%A9"), 200);
    auto raw = client.Get("/update");
    ASSERT_TRUE(raw);
    EXPECT_EQ(raw->body, "MAGICWORD=veilport\r\n__modify__.A=1=2\rx\xE9");
    EXPECT_EQ(control("location=raw"), 400);
    // Released from a stall into the raw mode, a held request gets the body given with it.
    ASSERT_EQ(control("update=stall&update_stall=0"), 200);
    auto held = std::async(std::launch::async, [&] { return publisher.Client(20s).Get("/update"); });
    EXPECT_EQ(held.wait_for(300ms), std::future_status::timeout);
    ASSERT_EQ(control("update=raw&update_body=late"), 200);
    ASSERT_EQ(held.wait_for(5s), std::future_status::ready);
    auto late = held.get();
    ASSERT_TRUE(late);
    EXPECT_EQ(late->body, "late");
}

TEST(Publisher, AStalledReplyIsHeldForItsSecondsOrUntilTheModeChanges)
{
    TPublisherProcess publisher(kConfig);
    httplib::Client control = publisher.Client();

    ASSERT_EQ(control.Get("/control?update=stall&update_stall=1")->status, 200);
    auto started = std::chrono::steady_clock::now();
    EXPECT_TRUE(FetchUpdate(publisher).Accepted);
    EXPECT_GE(std::chrono::steady_clock::now() - started, 1s);

    // Without a bound it waits for the control: a client that waits less gives up...
    ASSERT_EQ(control.Get("/control?update=stall&update_stall=0")->status, 200);
    httplib::Client impatient = publisher.Client(1s);
    EXPECT_FALSE(impatient.Get("/update"));
    // ...and a waiting one gets the reply of the mode that releases it.
    auto held = std::async(std::launch::async, [&] { return publisher.Client(20s).Get("/update"); });
    EXPECT_EQ(held.wait_for(500ms), std::future_status::timeout);
    ASSERT_EQ(control.Get("/control?update=error")->status, 200);
    ASSERT_EQ(held.wait_for(5s), std::future_status::ready);
    auto released = held.get();
    ASSERT_TRUE(released);
    EXPECT_EQ(released->status, 500);
}

TEST(Publisher, ModesCanBeSetInTheConfiguration)
{
    TPublisherProcess publisher(std::string(kConfig) + "[update]\nmode = error\n[location]\nmode = empty\n");
    EXPECT_EQ(publisher.Client().Get("/update")->status, 500);
    auto location = publisher.Client().Get("/getinfo");
    ASSERT_TRUE(location);
    EXPECT_EQ(location->body, "");
}

TEST(Publisher, LocationReplyReadsBackThroughTheProxyManager)
{
    TPublisherProcess publisher(kConfig);
    auto reply = publisher.Client().Get("/getinfo?MagicWord=VeilPort");
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->status, 200);
    EXPECT_EQ(reply->body,
        "IP=198.51.100.4\r\nCOUNTRY_SHORT=CI\r\nCOUNTRY_LONG=C\xC3\xB4te d'Ivoire\r\nCITY=Abidjan\r\n");

    vptest::TMapSettings store;
    TProxyManager manager(store);
    manager.LocalInfoGot(DecodeInfoReply(reply->body, Utf8ToU16(reply->get_header_value("Content-Type"))));
    EXPECT_EQ(manager.LocalInfoValue(u"IP"), u"198.51.100.4");
    EXPECT_EQ(manager.LocalInfoValue(u"COUNTRY_SHORT"), u"CI");
    EXPECT_EQ(manager.LocalInfoValue(u"COUNTRY_LONG"), u"C\u00F4te d'Ivoire");
    EXPECT_EQ(manager.LocalInfoValue(u"CITY"), u"Abidjan");

    ASSERT_EQ(publisher.Client().Get("/control?location=error")->status, 200);
    EXPECT_EQ(publisher.Client().Get("/getinfo")->status, 500);
    auto touch = publisher.Client().Get("/touch?ip=127.0.0.1");
    ASSERT_TRUE(touch);
    EXPECT_EQ(touch->status, 200);
}

TEST(Publisher, FlagsAreFoundWithoutRegardToLetterCase)
{
    TPublisherProcess publisher(kConfig);
    vptest::WriteFileBytes(publisher.Root() / "flags" / "us.png", "\x89PNG flag");
    vptest::WriteFileBytes(publisher.Root() / "secret.txt", "not a flag");
    httplib::Client client = publisher.Client();
    for (const char* path : {"/flags/US.PNG", "/flags/us.png", "/flags/Us.Png"}) {
        auto reply = client.Get(path);
        ASSERT_TRUE(reply) << path;
        EXPECT_EQ(reply->status, 200) << path;
        EXPECT_EQ(reply->body, "\x89PNG flag") << path;
        EXPECT_EQ(reply->get_header_value("Content-Type"), "image/png");
    }
    for (const char* path : {"/flags/DE.PNG", "/flags/..%2Fsecret.txt", "/flags/", "/flags/us"})
        EXPECT_EQ(client.Get(path)->status, 404) << path;
    // The root folder's files are served under /files/.
    EXPECT_EQ(client.Get("/files/secret.txt")->body, "not a flag");
}

TEST(Publisher, PagesAreServedByNameAndThroughTheRedirectAddress)
{
    TPublisherProcess publisher(kConfig);
    httplib::Client client = publisher.Client();
    for (const char* page : {"home", "help", "support", "eula", "privary"}) {
        auto reply =
            client.Get((std::string("/") + page + "?ACTION=" + page + "&07041&PID=Veil%20Port").c_str());
        ASSERT_TRUE(reply) << page;
        EXPECT_EQ(reply->status, 200) << page;
        EXPECT_EQ(reply->get_header_value("Content-Type"), "text/html; charset=utf-8");
        EXPECT_NE(reply->body.find("<td>PID</td><td>Veil Port</td>"), std::string::npos) << page;
    }
    EXPECT_NE(client.Get("/redirect?ACTION=HELP")->body.find("<h1>Help Center</h1>"), std::string::npos);
    EXPECT_EQ(client.Get("/redirect?ACTION=nothing")->status, 404);
    EXPECT_EQ(client.Get("/privacy")->status, 404);
    // Parameters are shown as text, never as markup.
    EXPECT_NE(client.Get("/home?x=%3Cb%3E")->body.find("<td>&lt;b&gt;</td>"), std::string::npos);
}

TEST(Publisher, LogListsEachRequestWithItsQueryInTheOrderReceived)
{
    TPublisherProcess publisher(kConfig);
    httplib::Client client = publisher.Client();
    client.set_url_encode(false);
    const std::string query = "ACTION=Update&07041&PID=VeilPort&LANG=English+US&DAY=0&RUNTIME=3&VER=01000001"
                              "&SVER=0&WVER=6_1_Service+Pack+1&WLANG=1033&CHL=756E6B6E6F77";
    ASSERT_TRUE(client.Get(("/update?" + query).c_str()));
    httplib::Headers via = {{"Via", "1.1 test\tproxy"}};
    ASSERT_TRUE(client.Get("/checkip", via));

    auto records = publisher.LogRecords();
    ASSERT_EQ(records.size(), 2u);
    const std::vector<std::string>& update = records[0];
    ASSERT_EQ(update.size(), 6u);
    EXPECT_TRUE(std::regex_match(update[0], std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)")))
        << update[0];
    EXPECT_EQ(update[1], "GET");
    EXPECT_EQ(update[2], "/update");
    EXPECT_EQ(update[3], query);
    EXPECT_EQ(update[4], "127.0.0.1");
    EXPECT_EQ(update[5], "");
    ASSERT_EQ(records[1].size(), 6u);
    EXPECT_EQ(records[1][2], "/checkip");
    EXPECT_EQ(records[1][3], "");
    EXPECT_EQ(records[1][5], "1.1 test%09proxy");
}

TEST(Publisher, CheckIpPageShowsTheViaHeaderOfALocalProxy)
{
    if (std::system("command -v tinyproxy >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tinyproxy is not installed";
    TPublisherProcess publisher(kConfig);
    vptest::TTempFolder proxies;
    int proxyPort = FreeLoopbackPort();
    std::string script = VP_PROXIES_SCRIPT;
    std::string folder = proxies.Path().string();
    ASSERT_EQ(std::system((script + " start " + folder + " " + std::to_string(proxyPort)).c_str()), 0);
    struct TStopProxies {
        std::string Command;
        ~TStopProxies() { std::system(Command.c_str()); }
    } stopProxies{script + " stop " + folder};

    auto direct = publisher.Client().Get("/checkip");
    ASSERT_TRUE(direct);
    EXPECT_NE(direct->body.find("without a proxy"), std::string::npos);
    EXPECT_NE(direct->body.find("<td id=\"via\">none</td>"), std::string::npos);

    httplib::Client proxied = publisher.Client();
    proxied.set_proxy("127.0.0.1", proxyPort);
    auto carried = proxied.Get("/checkip");
    ASSERT_TRUE(carried);
    EXPECT_EQ(carried->status, 200);
    std::string name = "veilport-proxy-" + std::to_string(proxyPort);
    EXPECT_NE(carried->body.find("A proxy carried this request."), std::string::npos);
    EXPECT_TRUE(std::regex_search(carried->body, std::regex("<td id=\"via\">[^<]*" + name)));

    auto records = publisher.LogRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_NE(records[1][5].find(name), std::string::npos);
    std::string proxyLog =
        vptest::ReadFileBytes(proxies.Path() / ("tinyproxy-" + std::to_string(proxyPort) + ".log"));
    EXPECT_NE(proxyLog.find("/checkip"), std::string::npos);
}

TEST(Publisher, StopsCleanlyOnSigtermAndSigintEvenWithAReplyStalled)
{
    TPublisherProcess publisher(std::string(kConfig) + "[update]\nmode = stall\n");
    auto held = std::async(std::launch::async, [&] { return publisher.Client(20s).Get("/update"); });
    EXPECT_EQ(held.wait_for(300ms), std::future_status::timeout);
    EXPECT_EQ(publisher.Stop(SIGTERM), 0);
    ASSERT_EQ(held.wait_for(5s), std::future_status::ready);
    auto reply = held.get();
    EXPECT_TRUE(!reply || reply->status == 503);
    EXPECT_NE(publisher.Output().find("publisher: stopped"), std::string::npos);

    TPublisherProcess second(kConfig);
    ASSERT_GT(second.Port(), 0);
    EXPECT_EQ(second.Stop(SIGINT), 0);
}

TEST(Publisher, RefusesAWrongConfigurationOrATakenPort)
{
    TPublisherProcess unknownKey(std::string(kConfig) + "[update]\nmagic = x\n");
    EXPECT_EQ(unknownKey.Port(), 0);
    EXPECT_EQ(unknownKey.Stop(0), 2);
    EXPECT_NE(unknownKey.Output().find("line 23"), std::string::npos);

    TPublisherProcess first(kConfig);
    TPublisherProcess second(kConfig, {"--port", std::to_string(first.Port())});
    EXPECT_EQ(second.Port(), 0);
    EXPECT_EQ(second.Stop(0), 1);
}

TEST(PublisherConfig, RepeatedKeysKeepTheirOrderAndRelativeNamesFollowTheFile)
{
    publisher::TPublisherConfig config;
    std::string error;
    ASSERT_TRUE(publisher::ParsePublisherConfig(
        "[SERVER]\nRoot = www\nlog=/tmp/x.log\n[modify]\nb=1\nB = 2 \n[update]\nSTALL=5\nmode=Stall\n",
        "/srv/pub", config, error))
        << error;
    EXPECT_EQ(config.Root, "/srv/pub/www");
    EXPECT_EQ(config.Flags(), "/srv/pub/www/flags");
    EXPECT_EQ(config.LogFile, "/tmp/x.log");
    ASSERT_EQ(config.Modify.size(), 2u);
    EXPECT_EQ(config.Modify[1].Key, "B");
    EXPECT_EQ(config.Modify[1].Value, "2");
    EXPECT_EQ(config.Update.Mode, publisher::TReplyMode::Stall);
    EXPECT_EQ(config.Update.StallSeconds, 5);

    for (const char* bad : {"port=1\n", "[server]\nport=70000\n", "[update]\nstall=1x\n",
             "[location]\nmode=wrongmagic\n", "[nowhere]\n", "[update]\nno equals\n"})
        EXPECT_FALSE(publisher::ParsePublisherConfig(bad, "", config, error)) << bad;
}
