// HTTPS requests of the downloader accept only a certificate issued for the host they ask.
// Run by run_with_https_servers.sh, which starts the two servers and names the authority.
#include "support/UiTestSupport.h"
#include "support/DownloaderTestSupport.h"
#include "support/HttpsTestSupport.h"

#include "framework/engine/WinInetSession.h"

#include <gtest/gtest.h>

using namespace vp;
using namespace vptest;

namespace {

class HttpsNameCheck : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(HttpsServersRunning()) << "run me through run_with_https_servers.sh";
        ASSERT_TRUE(Authority.Trusted());
    }

    // The downloader's outcome for url in text mode: the text, or "(error)".
    String Fetch(const String& url)
    {
        TSingleDownloader sd(nullptr);
        TDownloadEvents events;
        events.Bind(sd);
        sd.SetURL(url);
        sd.GetString();
        EXPECT_TRUE(events.WaitEnded());
        return events.Order.empty() || events.Order.back() == "error" ? String(u"(error)") : events.Text;
    }

    TApplicationScope App;
    TTrustedAuthority Authority;
};

// What the old flag combination would have answered: the same request with the
// certificate name check switched off.
String FetchIgnoringTheName(const String& url)
{
    TSplitURL split = SplitURL(url);
    TInternetHandle session(InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    TInternetHandle connection(
        InternetConnectW(session.Get(), reinterpret_cast<const wchar_t*>(split.Host.c_str()), split.Port, L"",
            L"", INTERNET_SERVICE_HTTP, 0, 0));
    const wchar_t* accept[] = {L"*/*", nullptr};
    TInternetHandle request(
        HttpOpenRequestW(connection.Get(), L"GET", reinterpret_cast<const wchar_t*>(split.Path.c_str()),
            L"HTTP/1.0", L"", accept, INTERNET_FLAG_SECURE | INTERNET_FLAG_IGNORE_CERT_CN_INVALID, 0));
    if (!request || !HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0))
        return u"(error)";
    char buffer[256];
    DWORD got = 0;
    std::string body;
    while (InternetReadFile(request.Get(), buffer, sizeof(buffer), &got) && got > 0)
        body.append(buffer, got);
    return Utf8ToU16(body);
}

} // namespace

TEST_F(HttpsNameCheck, ACertificateForTheAskedHostIsAccepted)
{
    EXPECT_EQ(Fetch(HttpsURL("VP_HTTPS_GOOD_PORT", "/ok")), u"secure hello");
}

TEST_F(HttpsNameCheck, ACertificateIssuedForAnotherHostNameIsRefused)
{
    EXPECT_EQ(Fetch(HttpsURL("VP_HTTPS_WRONG_PORT", "/ok")), u"(error)");
    // The refusal is the name check: without it the same server is accepted.
    EXPECT_EQ(FetchIgnoringTheName(HttpsURL("VP_HTTPS_WRONG_PORT", "/ok")), u"secure hello");
}
