// Small helpers over the Windows Internet functions, shared by the downloader and the
// proxy manager's requests. Win32 only.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "framework/engine/HttpRequest.h"

#include <optional>

namespace vp {

// An Internet handle closed when the object goes. Declare request, connection and session
// handles in the order session, connection, request: they close in reverse.
class TInternetHandle {
public:
    TInternetHandle() = default;
    explicit TInternetHandle(HINTERNET handle) : FHandle(handle) { }
    ~TInternetHandle() { Close(); }
    TInternetHandle(const TInternetHandle&) = delete;
    TInternetHandle& operator=(const TInternetHandle&) = delete;

    void Reset(HINTERNET handle)
    {
        Close();
        FHandle = handle;
    }
    void Close();
    HINTERNET Get() const { return FHandle; }
    explicit operator bool() const { return FHandle != nullptr; }

private:
    HINTERNET FHandle = nullptr;
};

// Sets the connect, send and receive time-outs on a session or request handle.
void ApplyTimeouts(HINTERNET handle, const THttpTimeouts& timeouts);

// A reply header as text (HTTP_QUERY_* code); nothing when the reply has none.
std::optional<String> QueryReplyHeader(HINTERNET request, DWORD info);
// The reply's status code; 0 when it cannot be read.
DWORD QueryStatusCode(HINTERNET request);

} // namespace vp
