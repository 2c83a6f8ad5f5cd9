// The local publisher's settings: the sample publisher.conf describes the file format and
// every key; command-line flags win over the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vp::publisher {

// How a service answers: as configured, with a wrong magic word (update only), with an empty
// body, with status 500, after holding the reply, or with a body given through /control
// (update only).
enum class TReplyMode { Normal, WrongMagic, Empty, Error, Stall, Raw };

bool ParseReplyMode(std::string_view aText, TReplyMode& aMode);
std::string_view ReplyModeName(TReplyMode aMode);
// The modes only the update service knows.
bool UpdateOnly(TReplyMode aMode);
// Stall seconds: 0 to 86400.
bool ParseStallSeconds(std::string_view aText, int& aSeconds);

struct TBehaviour {
    TReplyMode Mode = TReplyMode::Normal;
    // How long a stalled reply is held; 0 holds it until the mode changes or the service stops.
    int StallSeconds = 0;
    // The body a raw reply sends (UTF-8 here, Windows-1252 on the wire).
    std::string Body;
};

struct TKeyValue {
    std::string Key;
    std::string Value;
};

struct TPublisherConfig {
    // [server]
    int Port = 0;
    std::string LogFile;
    std::string Root;
    std::string FlagsFolder;

    // [update]
    TBehaviour Update;
    std::string MagicWord;
    std::vector<std::string> NormalPool;
    std::vector<std::string> SuperPool;
    // Absent: the service's own keep-alive address; present and empty: sent empty.
    std::optional<std::string> SuperTouch;
    std::string Result = "0";
    std::string Info;
    std::string Page;
    std::vector<TKeyValue> Modify;
    std::vector<TKeyValue> Banner;

    // [location]
    TBehaviour Location;
    std::string Ip = "203.0.113.10";
    std::string CountryShort = "US";
    std::string CountryLong = "United States";
    std::string City = "Denver";

    // [pages]
    std::string Title = "Veilport";

    // The flag folder in use: the configured one, else "flags" in the root folder.
    std::string Flags() const;
};

// Reads a configuration text over aConfig. aBaseFolder resolves relative folder and file
// names. False, with the line and what is wrong in aError, on any unknown section or key or
// malformed value.
bool ParsePublisherConfig(
    std::string_view aText, const std::string& aBaseFolder, TPublisherConfig& aConfig, std::string& aError);

// The command line: "--config <file>" is read first, then "--port", "--log" and "--root" win
// over it. False with aError on a wrong argument or an unreadable file; aHelp set for "--help".
bool ReadCommandLine(
    int argc, const char* const* argv, TPublisherConfig& aConfig, bool& aHelp, std::string& aError);

} // namespace vp::publisher
