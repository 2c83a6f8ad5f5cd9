// The request log: one line per request, written before the request is answered, so that a
// test that has its reply can read its line. Fields are separated by a tab:
//
//   time (UTC, 2026-01-31T12:00:00.123Z)  method  path  query  client address  Via header
//
// The path and the query are the request target as received, split at its first "?": the
// query keeps its parameters in the order received, percent-encoding and all. A missing
// query or Via header is an empty field. Control characters appear as %XX.
#pragma once

#include <chrono>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>

namespace vp::publisher {

struct TLoggedRequest {
    std::chrono::system_clock::time_point Time;
    std::string Method;
    // The request target: path and query as the client sent them.
    std::string Target;
    std::string Client;
    std::string Via;
};

std::string FormatLogLine(const TLoggedRequest& aRequest);

class TRequestLog {
public:
    // An empty name writes to standard output. False when the file cannot be opened.
    bool Open(const std::string& aFileName);
    void Write(const TLoggedRequest& aRequest);

private:
    std::mutex FMutex;
    std::ofstream FFile;
    bool FToStdout = true;
};

} // namespace vp::publisher
