// The parts of a downloader request that do not need the Internet functions: the address
// split into host, port and path, the request flags, verb, header and body bytes, the
// announced length, the decoding of text replies, and what a file transfer leaves behind.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <optional>
#include <string>

namespace vp {

// How the body of a text request becomes text.
enum THttpCharset : int32_t {
    KAnsi = 0, // the system ANSI code page
    KUnicode = 1, // UTF-16 little-endian; an odd last byte is dropped
    KUTF8 = 2,
};

// Bounded waits, so that a service that accepts and then says nothing cannot hold a request
// (and the component waiting for it) for ever.
struct THttpTimeouts {
    uint32_t ConnectMs = 15000;
    // Sending the request, and each wait for the next piece of the reply.
    uint32_t ReceiveMs = 30000;
};

struct TSplitURL {
    String Host;
    uint16_t Port = 80;
    // From the first "/" after the host to the end, query included.
    String Path;
    bool Secure = false;
};

// A leading "http://" and then a leading "https://" (any letter case) are removed; the host
// is the text before the first "/", the path the rest. A port written after the host name
// is used; without one the port is 443 for HTTPS, else 80. Without any "/" the host is
// empty and the whole text is the path, so the request fails at connection.
TSplitURL SplitURL(StringView aURL);

// The request flags as the Internet functions define them.
inline constexpr uint32_t kFlagReload = 0x80000000u;
inline constexpr uint32_t kFlagSecure = 0x00800000u;

// HTTPS: secure only; the certificate must be valid for the host name, whatever aUseCache
// says. HTTP: reload (bypassing the cache) unless aUseCache.
uint32_t RequestFlags(bool aSecure, bool aUseCache);

// "POST" when a body is set, else "GET".
String RequestVerb(StringView aPostQuery);
// The header text sent with a body: aContentType, or the form-encoding header when empty.
String RequestHeaders(StringView aContentType);
// The body as sent: one byte per character. The form and multipart builders leave only
// characters up to U+00FF; anything above becomes "?".
std::string RequestBodyBytes(StringView aPostQuery);

// The announced length: decimal digits only, at most 2^31 - 1; nothing otherwise.
std::optional<int32_t> ParseAnnouncedLength(StringView aText);

String DecodeReplyText(std::string_view aBytes, THttpCharset aCharset);

// What the end of a file-mode transfer does with the temporary file.
struct TFileTransferOutcome {
    bool Result = false;
    bool CopyToTarget = false;
};
// With an announced length the transfer succeeds when exactly that many bytes arrived, and
// only then replaces the target (a dropped connection leaves the old target as it was).
// Without one the body replaces the target all the same, and only an empty body succeeds.
TFileTransferOutcome FileTransferOutcome(bool aLengthAnnounced, int32_t aAnnounced, uint64_t aReceived);

} // namespace vp
