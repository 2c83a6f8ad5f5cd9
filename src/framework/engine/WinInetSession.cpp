#include "framework/engine/WinInetSession.h"

#include "framework/rtl/WinText.h"

namespace vp {

static_assert(kFlagReload == INTERNET_FLAG_RELOAD, "request flags mirror the Internet functions");
static_assert(kFlagSecure == INTERNET_FLAG_SECURE, "request flags mirror the Internet functions");

void TInternetHandle::Close()
{
    if (FHandle)
        InternetCloseHandle(FHandle);
    FHandle = nullptr;
}

void ApplyTimeouts(HINTERNET handle, const THttpTimeouts& timeouts)
{
    DWORD connect = timeouts.ConnectMs;
    DWORD receive = timeouts.ReceiveMs;
    InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &connect, sizeof(connect));
    InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &receive, sizeof(receive));
    InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &receive, sizeof(receive));
}

std::optional<String> QueryReplyHeader(HINTERNET request, DWORD info)
{
    wchar_t buffer[512] = {}; // 1024 bytes
    DWORD size = sizeof(buffer);
    DWORD index = 0;
    if (!HttpQueryInfoW(request, info, buffer, &size, &index))
        return std::nullopt;
    return FromWStr(buffer, size / sizeof(wchar_t));
}

DWORD QueryStatusCode(HINTERNET request)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    DWORD index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
        return 0;
    return status;
}

} // namespace vp
