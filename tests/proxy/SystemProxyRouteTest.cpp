// With the system proxy switched on, the downloader's requests go through that proxy while
// the location lookup and the keep-alive request go straight to the service.
#include "support/LoopbackHttpServer.h"
#include "support/UiTestSupport.h"
#include "ProxyTestSupport.h"
#include "support/TestSupportWin.h"

#include "browsers/IEProxyWin.h"
#include "framework/engine/SingleDownloader.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

const String kInternetSettings = u"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";

// Points the current user's WinINet settings at a proxy the way the system switch does, and
// puts the settings back afterwards.
class TSystemProxyGuard {
public:
    explicit TSystemProxyGuard(const String& server) { EXPECT_TRUE(SetProxy(true, server)); }
    ~TSystemProxyGuard() { SetProxy(false, u""); } // the registry guards then restore the values

private:
    static bool SetProxy(bool on, const String& server) { return SetInternetProxyOption(on, u"", server); }

    TRegistryValueGuard FEnable{HKEY_CURRENT_USER, kInternetSettings, u"ProxyEnable"};
    TRegistryValueGuard FServer{HKEY_CURRENT_USER, kInternetSettings, u"ProxyServer"};
    TRegistryValueGuard FOverride{HKEY_CURRENT_USER, kInternetSettings, u"ProxyOverride"};
};

// Fetches url as text with a fresh downloader; the text, or "(error)".
String Download(const String& url)
{
    TSingleDownloader sd(nullptr);
    String result;
    bool ended = false;
    sd.OnDoneString = [&](TObject*, const String& text) {
        result = text;
        ended = true;
    };
    sd.OnError = [&](TObject*) {
        result = u"(error)";
        ended = true;
    };
    sd.SetURL(url);
    sd.GetString();
    EXPECT_TRUE(PumpUntil([&] { return ended; }));
    return result;
}

TReply Body(const std::string& body)
{
    TReply reply;
    reply.Body = body;
    return reply;
}

} // namespace

TEST(SystemProxyRoute, TheDownloaderFollowsTheSystemProxyWhileLookupAndKeepAliveGoDirect)
{
    TApplicationScope app;
    TLoopbackHttpServer service([](const TRecordedRequest&) { return Body("IP=direct\r\n"); });
    TLoopbackHttpServer proxy([](const TRecordedRequest&) { return Body("IP=via proxy\r\n"); });
    const std::string serviceAddress = "http://127.0.0.1:" + std::to_string(service.Port());
    TMapSettings settings;
    settings.Values[u"URL.GetInfo"] = service.URL("/getinfo.php");
    settings.Values[u"App.MagicWord"] = u"mw";
    settings.Values[u"SUPER_TOUCH"] = service.URL("/touch.php?ip={1}");
    {
        TSystemProxyGuard guard(u"127.0.0.1:" + IntToStr(proxy.Port()));

        EXPECT_EQ(Download(service.URL("/update.php")), u"IP=via proxy\r\n");
        ASSERT_EQ(proxy.RequestCount(), 1u);
        EXPECT_EQ(proxy.Requests()[0].Target, serviceAddress + "/update.php");
        EXPECT_EQ(service.RequestCount(), 0u);

        TProxyManager manager(settings);
        int events = 0;
        manager.FOnGetCurrentLocalInfo = [&](TProxyManager*) { ++events; };
        manager.GetCurrentLocalInfo();
        ASSERT_TRUE(PumpUntil([&] { return events == 1; }));
        EXPECT_EQ(manager.LocalInfoValue(u"IP"), u"direct");
        TProxyRec rec;
        rec.IP = u"192.0.2.10";
        manager.Touch(rec);
        ASSERT_TRUE(service.WaitForRequests(2));
        EXPECT_EQ(service.Requests()[0].Target, "/getinfo.php?MagicWord=mw");
        EXPECT_EQ(service.Requests()[1].Target, "/touch.php?ip=192.0.2.10");
        EXPECT_EQ(proxy.RequestCount(), 1u);
    }
    // Switched off again: the downloader goes direct too.
    EXPECT_EQ(Download(service.URL("/update.php")), u"IP=direct\r\n");
    EXPECT_EQ(proxy.RequestCount(), 1u);
}
