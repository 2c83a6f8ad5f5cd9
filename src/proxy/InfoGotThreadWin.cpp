#include "proxy/InfoGotThreadWin.h"

#include "framework/engine/WinInetSession.h"
#include "framework/rtl/WinText.h"
#include "framework/rtl/ErrorReport.h"

namespace vp {

namespace {

const wchar_t kInfoAgent[] = L"Mozilla/4.0 (compatible; Win32)";

// Straight from the service: no redirect followed, no cache, no cookies, no credentials,
// no dialog. HTTPS certificates are checked in full.
constexpr DWORD kInfoFlags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD |
    INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH | INTERNET_FLAG_NO_UI;

struct TCrackedURL {
    String Host;
    INTERNET_PORT Port = INTERNET_DEFAULT_HTTP_PORT;
    String Path;
    bool Secure = false;
};

// An http or https address split by the system's own parser; nothing for anything else.
std::optional<TCrackedURL> CrackURL(const String& aURL)
{
    wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH + 1;
    parts.dwUrlPathLength = 1; // pointers into aURL
    parts.dwExtraInfoLength = 1;
    if (!InternetCrackUrlW(WStr(aURL), static_cast<DWORD>(aURL.size()), 0, &parts))
        return std::nullopt;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return std::nullopt;
    TCrackedURL url;
    url.Host = FromWStr(host, parts.dwHostNameLength);
    url.Port = parts.nPort;
    url.Secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    url.Path = FromWStr(parts.lpszUrlPath, parts.dwUrlPathLength) +
        FromWStr(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (url.Host.empty())
        return std::nullopt;
    if (url.Path.empty())
        url.Path = u"/";
    return url;
}

} // namespace

TInfoGotThread::TInfoGotThread(bool aCreateSuspended)
{
    if (!aCreateSuspended)
        Start();
}

void TInfoGotThread::Execute()
{
    try {
        if (!Fetch())
            return;
        Synchronize([this] {
            if (!FRet.empty() && FOnInfoGot)
                GuardCall([this] { FOnInfoGot(FRet); });
        });
    } catch (...) {
        // A failed request is not reported.
    }
}

bool TInfoGotThread::Fetch()
{
    if (FURL.empty())
        return false;
    std::optional<TCrackedURL> url = CrackURL(FURL);
    if (!url)
        return false;
    TInternetHandle session(InternetOpenW(kInfoAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session)
        return false;
    ApplyTimeouts(session.Get(), FTimeouts);
    TInternetHandle connection(InternetConnectW(
        session.Get(), WStr(url->Host), url->Port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return false;
    DWORD flags = kInfoFlags | (url->Secure ? INTERNET_FLAG_SECURE : 0);
    TInternetHandle request(
        HttpOpenRequestW(connection.Get(), L"GET", WStr(url->Path), L"HTTP/1.1", nullptr, nullptr, flags, 0));
    if (!request)
        return false;
    // Set on the request itself: not every implementation hands the session's time-outs on.
    ApplyTimeouts(request.Get(), FTimeouts);
    if (!HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0) ||
        !IsInfoReplyAccepted(QueryStatusCode(request.Get())))
        return false;
    std::string body;
    char chunk[16384];
    while (true) {
        DWORD got = 0;
        if (!InternetReadFile(request.Get(), chunk, sizeof(chunk), &got))
            return false; // the connection broke off
        if (got == 0)
            break;
        if (Terminated() || body.size() + got > kInfoReplyLimit)
            return false;
        body.append(chunk, got);
    }
    // A reply cut short would lose lines.
    if (std::optional<String> length = QueryReplyHeader(request.Get(), HTTP_QUERY_CONTENT_LENGTH)) {
        std::optional<int32_t> announced = ParseAnnouncedLength(*length);
        if (!announced || static_cast<size_t>(*announced) != body.size())
            return false;
    }
    FRet = DecodeInfoReply(body, QueryReplyHeader(request.Get(), HTTP_QUERY_CONTENT_TYPE).value_or(String()));
    return !FRet.empty();
}

} // namespace vp
