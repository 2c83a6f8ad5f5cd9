#include "RequestLog.h"

#include <cstdio>
#include <ctime>
#include <iostream>

namespace vp::publisher {

namespace {

// Tabs and line ends would break the line apart.
std::string Field(std::string_view aText)
{
    std::string out;
    for (char c : aText) {
        auto code = static_cast<unsigned char>(c);
        if (code < 0x20 || code == 0x7F) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", code);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out;
}

std::string FormatTime(std::chrono::system_clock::time_point aTime)
{
    std::time_t seconds = std::chrono::system_clock::to_time_t(aTime);
    auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(aTime.time_since_epoch()).count() % 1000;
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[80];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
        utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(millis));
    return text;
}

} // namespace

std::string FormatLogLine(const TLoggedRequest& aRequest)
{
    std::string_view target = aRequest.Target;
    size_t question = target.find('?');
    std::string_view path = target.substr(0, question);
    std::string_view query =
        question == std::string_view::npos ? std::string_view() : target.substr(question + 1);
    return FormatTime(aRequest.Time) + '\t' + Field(aRequest.Method) + '\t' + Field(path) + '\t' +
        Field(query) + '\t' + Field(aRequest.Client) + '\t' + Field(aRequest.Via);
}

bool TRequestLog::Open(const std::string& aFileName)
{
    std::lock_guard lock(FMutex);
    FToStdout = aFileName.empty();
    if (FToStdout)
        return true;
    FFile.open(aFileName, std::ios::app | std::ios::binary);
    return FFile.is_open();
}

void TRequestLog::Write(const TLoggedRequest& aRequest)
{
    std::string line = FormatLogLine(aRequest) + '\n';
    std::lock_guard lock(FMutex);
    std::ostream& out = FToStdout ? std::cout : static_cast<std::ostream&>(FFile);
    out << line << std::flush;
}

} // namespace vp::publisher
