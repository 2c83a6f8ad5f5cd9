// TInfoGotThread: one GET of the proxy manager (the location lookup or the keep-alive
// request) on a worker thread that frees itself. The request goes straight to the service
// over HTTP/1.1, whatever proxy the system settings name, and does not follow redirects;
// a reply body is handed to the user-interface thread while the worker waits.
#pragma once

#include "framework/engine/HttpRequest.h"
#include "framework/rtl/Threads.h"

#include <functional>
#include <string_view>

namespace vp {

using TOnInfoGot = std::function<void(const String& aRet)>;

// A longer reply is not a location reply; it is dropped rather than held in memory.
inline constexpr size_t kInfoReplyLimit = 1024 * 1024;

// Only a 2xx reply counts: an error status fails, and so does a redirect, which is not
// followed.
bool IsInfoReplyAccepted(uint32_t aStatusCode);
// The reply body as text: by its byte-order mark, else UTF-8 when the content type names
// that charset, else the system ANSI code page.
String DecodeInfoReply(std::string_view aBody, StringView aContentType);

} // namespace vp
