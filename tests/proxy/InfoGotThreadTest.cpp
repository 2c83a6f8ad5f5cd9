// The location lookup and the keep-alive request under Wine against a server on 127.0.0.1.
#include "support/LoopbackHttpServer.h"
#include "support/UiTestSupport.h"
#include "ProxyTestSupport.h"

#include "proxy/InfoGotThreadWin.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class LocationLookup : public testing::Test {
protected:
    explicit LocationLookup() : Manager(std::make_unique<TProxyManager>(Settings))
    {
        Settings.Values[u"App.MagicWord"] = u"mw42";
        Manager->FOnGetCurrentLocalInfo = [this](TProxyManager* Sender) {
            ++Events;
            SenderWasManager = Sender == Manager.get();
            OnThisThread = GetCurrentThreadId() == FThread;
        };
    }

    // Points the lookup at the server, asks once and waits until the server has answered
    // (and a little longer, for a delivery that should not come).
    void LookUpAndSettle(TLoopbackHttpServer& server, const std::string& path, size_t requestsBefore = 0)
    {
        Settings.Values[u"URL.GetInfo"] = server.URL(path);
        Manager->GetCurrentLocalInfo();
        ASSERT_TRUE(server.WaitForRequests(requestsBefore + 1));
        PumpUntil([] { return false; }, 700);
    }

    TApplicationScope App;
    TModalRecorder Boxes; // any message box would be recorded here
    TMapSettings Settings;
    std::unique_ptr<TProxyManager> Manager;
    int Events = 0;
    bool SenderWasManager = false;
    bool OnThisThread = false;

private:
    DWORD FThread = GetCurrentThreadId();
};

TReply Body(const std::string& body)
{
    TReply reply;
    reply.Body = body;
    return reply;
}

} // namespace

TEST_F(LocationLookup, AReplyIsStoredAndAnnouncedOnTheUserInterfaceThread)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        return Body("IP=203.0.113.5\r\ncountry_short=de\r\nCOUNTRY_LONG=Germany\r\nCITY=Berlin\r\n");
    });
    Settings.Values[u"URL.GetInfo"] = server.URL("/getinfo.php");
    Manager->GetCurrentLocalInfo();
    ASSERT_TRUE(PumpUntil([&] { return Events > 0; }));
    EXPECT_TRUE(SenderWasManager);
    EXPECT_TRUE(OnThisThread);
    EXPECT_EQ(Manager->FLocalInfo.Count(), 4);
    EXPECT_EQ(Manager->LocalInfoValue(u"IP"), u"203.0.113.5");
    EXPECT_EQ(Manager->LocalInfoValue(u"COUNTRY_SHORT"), u"de");
    EXPECT_EQ(Manager->LocalInfoValue(u"CITY"), u"Berlin");

    TRecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Method, "GET");
    EXPECT_EQ(request.Version, "HTTP/1.1");
    EXPECT_EQ(request.Target, "/getinfo.php?MagicWord=mw42");
    EXPECT_FALSE(request.HasHeader("Cookie"));
    EXPECT_FALSE(request.HasHeader("Authorization"));
    EXPECT_FALSE(request.HasHeader("Referer"));
    EXPECT_TRUE(Boxes.Requests.empty());
}

TEST_F(LocationLookup, TwoRepliesInARowLeaveOnlyTheSecond)
{
    int served = 0;
    TLoopbackHttpServer server([&](const TRecordedRequest&) {
        return ++served == 1 ? Body("IP=198.51.100.1\r\nCITY=Paris\r\n") : Body("IP=198.51.100.2\r\n");
    });
    Settings.Values[u"URL.GetInfo"] = server.URL("/getinfo.php");
    Manager->GetCurrentLocalInfo();
    ASSERT_TRUE(PumpUntil([&] { return Events == 1; }));
    Manager->GetCurrentLocalInfo();
    ASSERT_TRUE(PumpUntil([&] { return Events == 2; }));
    EXPECT_EQ(Manager->FLocalInfo, TStringList{u"IP=198.51.100.2"});
    EXPECT_EQ(Manager->LocalInfoValue(u"CITY"), u"");
}

TEST_F(LocationLookup, ARedirectIsNotFollowed)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        if (request.Target.rfind("/moved", 0) == 0)
            return Body("IP=192.0.2.99\r\n");
        TReply reply = Body("IP=192.0.2.98\r\n");
        reply.Status = 302;
        reply.Reason = "Found";
        reply.Headers.push_back("Location: /moved");
        return reply;
    });
    Manager->FLocalInfo.SetText(u"IP=192.0.2.1");
    LookUpAndSettle(server, "/getinfo.php");
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(Manager->FLocalInfo, TStringList{u"IP=192.0.2.1"});
    EXPECT_EQ(server.RequestCount(), 1u);
}

TEST_F(LocationLookup, ErrorStatusesEmptyBodiesAndDeadServersChangeNothingAndRaiseNothing)
{
    TLoopbackHttpServer server([](const TRecordedRequest& request) {
        TReply reply = Body(request.Target.rfind("/empty", 0) == 0 ? "" : "IP=192.0.2.77\r\n");
        if (request.Target.rfind("/status", 0) == 0) {
            reply.Status = std::atoi(request.Target.c_str() + 7);
            reply.Reason = "Failed";
        }
        return reply;
    });
    Manager->FLocalInfo.SetText(u"IP=192.0.2.1");
    size_t asked = 0;
    for (const char* path : {"/status404", "/status500", "/status503", "/empty"}) {
        LookUpAndSettle(server, path, asked++);
        EXPECT_EQ(Events, 0) << path;
    }
    Settings.Values[u"URL.GetInfo"] = u"http://127.0.0.1:" + IntToStr(UnusedLoopbackPort()) + u"/getinfo.php";
    Manager->GetCurrentLocalInfo();
    Settings.Values[u"URL.GetInfo"] = u"";
    Manager->GetCurrentLocalInfo();
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(Manager->FLocalInfo, TStringList{u"IP=192.0.2.1"});
    EXPECT_TRUE(Boxes.Requests.empty());
}

TEST_F(LocationLookup, AReplyAfterTheManagerHasGoneIsDropped)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply = Body("IP=192.0.2.5\r\n");
        reply.DelayMs = 300;
        return reply;
    });
    Settings.Values[u"URL.GetInfo"] = server.URL("/getinfo.php");
    Manager->GetCurrentLocalInfo();
    ASSERT_TRUE(server.WaitForRequests(1));
    Manager.reset();
    PumpUntil([] { return false; }, 1000);
    EXPECT_EQ(Events, 0);
}

TEST_F(LocationLookup, AServiceThatNeverAnswersIsGivenUpAfterTheReceiveTimeout)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) {
        TReply reply;
        reply.Stall = true;
        return reply;
    });
    bool ended = false;
    bool delivered = false;
    auto* thread = new TInfoGotThread(true);
    thread->FURL = server.URL("/getinfo.php");
    thread->FTimeouts.ReceiveMs = 1000;
    thread->FreeOnTerminate = true;
    thread->FOnInfoGot = [&](const String&) { delivered = true; };
    thread->OnTerminate = [&](TThread*) { ended = true; };
    DWORD start = GetTickCount();
    thread->Start();
    ASSERT_TRUE(PumpUntil([&] { return ended; }, 15000));
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_FALSE(delivered);
}

TEST_F(LocationLookup, TouchAsksTheKeepAliveAddressWithTheProxyInEveryPlace)
{
    TLoopbackHttpServer server([](const TRecordedRequest&) { return Body("ok"); });
    Settings.Values[u"SUPER_TOUCH"] = server.URL("/touch.php?ip={1}&again={1}");
    TProxyRec rec;
    rec.IP = u"192.0.2.10";
    rec.Port = u"8080";
    rec.IsSuper = true;
    Manager->Touch(rec);
    ASSERT_TRUE(server.WaitForRequests(1));
    TRecordedRequest request = server.Requests().at(0);
    EXPECT_EQ(request.Method, "GET");
    EXPECT_EQ(request.Version, "HTTP/1.1");
    EXPECT_EQ(request.Target, "/touch.php?ip=192.0.2.10&again=192.0.2.10");
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(Events, 0); // the keep-alive reply is not a location reply

    // An empty template fails quietly.
    Settings.Values[u"SUPER_TOUCH"] = u"";
    Manager->Touch(rec);
    PumpUntil([] { return false; }, 300);
    EXPECT_EQ(server.RequestCount(), 1u);
    EXPECT_TRUE(Boxes.Requests.empty());
}
