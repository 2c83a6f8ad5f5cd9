// The location lookup over HTTPS accepts only a certificate issued for the service's host.
// Run by run_with_https_servers.sh, which starts the two servers and names the authority.
#include "support/HttpsTestSupport.h"
#include "support/UiTestSupport.h"
#include "ProxyTestSupport.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class LocationLookupHttps : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(HttpsServersRunning()) << "run me through run_with_https_servers.sh";
        ASSERT_TRUE(Authority.Trusted());
        Manager.FOnGetCurrentLocalInfo = [this](TProxyManager*) { ++Events; };
    }

    // Asks the service at that address and waits until the reply is in, or a while.
    void LookUp(const String& url)
    {
        Settings.Values[u"URL.GetInfo"] = url;
        int before = Events;
        Manager.GetCurrentLocalInfo();
        PumpUntil([&] { return Events > before; }, 3000);
    }

    TApplicationScope App;
    TTrustedAuthority Authority;
    TMapSettings Settings;
    TProxyManager Manager{Settings};
    int Events = 0;
};

} // namespace

TEST_F(LocationLookupHttps, AServiceCertifiedForItsNameAnswers)
{
    LookUp(HttpsURL("VP_HTTPS_GOOD_PORT", "/info"));
    EXPECT_EQ(Events, 1);
    EXPECT_EQ(Manager.LocalInfoValue(u"IP"), u"192.0.2.44");
}

TEST_F(LocationLookupHttps, ACertificateIssuedForAnotherHostNameIsRefused)
{
    LookUp(HttpsURL("VP_HTTPS_WRONG_PORT", "/info"));
    EXPECT_EQ(Events, 0);
    EXPECT_EQ(Manager.FLocalInfo.Count(), 0);
}
