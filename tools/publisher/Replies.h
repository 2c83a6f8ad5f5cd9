// What the local publisher answers: the update reply, the location reply, flag files and
// the web pages. Pure functions of the settings and the request, so that the server stays a
// thin layer over them.
#pragma once

#include "PublisherConfig.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vp::publisher {

// Every "%base%" replaced by the service's own address (http://127.0.0.1:<port>).
std::string ExpandBase(std::string_view aText, std::string_view aBase);

// A pool value: the entries joined by ";", each apostrophe sent as "\'".
std::string PoolValue(const std::vector<std::string>& aEntries);

// The update reply, lines ending in CR LF, in Windows-1252 (the program reads it in the ANSI
// code page): the magic line (wrong on purpose when aWrongMagic), both pools, "SUPER_TOUCH",
// the [modify] and [banner] settings in file order, then "Result", "info" and "page".
std::string BuildUpdateReply(const TPublisherConfig& aConfig, std::string_view aBase, bool aWrongMagic);

// A body given as it is (UTF-8), in Windows-1252 like the update reply.
std::string BuildRawReply(std::string_view aBody);

// The location reply in UTF-8: "IP", "COUNTRY_SHORT", "COUNTRY_LONG" and "CITY" lines.
std::string BuildLocationReply(const TPublisherConfig& aConfig);

// The file in aFolder whose name equals aName ignoring ASCII letter case; only names of that
// folder itself are looked at, so no name can lead out of it.
std::optional<std::filesystem::path> FindFileIgnoringCase(
    const std::filesystem::path& aFolder, std::string_view aName);

// A raw query split at "&" into (name, value), in the order received; a part without "=" has
// an empty value. Names and values stay percent-encoded.
std::vector<std::pair<std::string, std::string>> SplitQuery(std::string_view aQuery);

// The names of the pages that BuildPage knows.
bool IsPageName(std::string_view aName);
// A small HTML page for "home", "help", "support", "eula" or "privary", listing the query
// parameters it was called with.
std::string BuildPage(const TPublisherConfig& aConfig, std::string_view aName, std::string_view aQuery);
// The check-IP page: the address the request came from and its "Via" and "X-Forwarded-For"
// headers, so that one sees whether a proxy carried it.
std::string BuildCheckIpPage(const TPublisherConfig& aConfig, std::string_view aClient, std::string_view aVia,
    std::string_view aForwardedFor);

std::string HtmlEscape(std::string_view aText);

} // namespace vp::publisher
