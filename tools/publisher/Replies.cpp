#include "Replies.h"

#include "framework/rtl/AnsiCodePage.h"
#include "framework/rtl/RtlText.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace vp::publisher {

namespace {

struct TPage {
    std::string_view Name;
    std::string_view Heading;
    std::string_view Body;
};

constexpr TPage kPages[] = {
    {"home", "Welcome",
        "<p>{title} hides your public IP address from the web sites you visit. Choose a country, press "
        "<b>Hide IP</b>, and your browsers go through a proxy of that country until you press "
        "<b>Stop Hide</b>.</p>"},
    {"help", "Help Center",
        "<p><b>Hide IP</b> picks a proxy of the country shown under the button and sets it in Internet "
        "Explorer, Firefox and Opera. <b>Stop Hide</b> puts them back to a direct connection.</p>"
        "<p>Use <b>Check IP Info</b> in the tray menu to see the address that web sites see.</p>"},
    {"support", "Support",
        "<p>Write to the publisher's support team; include the version shown in the about box.</p>"},
    {"eula", "Licence Agreement",
        "<p>This copy of {title} is licensed, not sold. You may install and use it on your own computers. "
        "It comes without any warranty.</p>"},
    {"privary", "Privacy Policy",
        "<p>{title} sends its version, language and usage counters with its update requests. It keeps "
        "no record of the pages you visit.</p>"},
};

std::string ReplaceAll(std::string_view aText, std::string_view aWhat, std::string_view aWith)
{
    std::string out;
    size_t start = 0;
    for (size_t found; (found = aText.find(aWhat, start)) != std::string_view::npos;
         start = found + aWhat.size())
        out.append(aText.substr(start, found - start)).append(aWith);
    return out.append(aText.substr(start));
}

std::string PercentDecode(std::string_view aText)
{
    std::string out;
    for (size_t i = 0; i < aText.size(); ++i) {
        if (aText[i] == '+') {
            out += ' ';
        } else if (aText[i] == '%' && i + 2 < aText.size() &&
            std::isxdigit(static_cast<unsigned char>(aText[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(aText[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(aText.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += aText[i];
        }
    }
    return out;
}

std::string Layout(const TPublisherConfig& aConfig, std::string_view aHeading, std::string_view aBody)
{
    std::string title = HtmlEscape(aConfig.Title);
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>" + title +
        " - " + std::string(aHeading) +
        "</title>\n<style>body{font:15px/1.5 sans-serif;max-width:40em;margin:2em auto;padding:0 "
        "1em;color:#222}"
        "h1{font-size:1.4em;border-bottom:2px solid #2a6;padding-bottom:.2em}"
        "table{border-collapse:collapse}td,th{border:1px solid #ccc;padding:.2em .6em;text-align:left}"
        "footer{margin-top:2em;color:#777;font-size:.85em}</style></head>\n<body><h1>" +
        std::string(aHeading) + "</h1>\n" + std::string(aBody) + "\n<footer>" + title +
        " &middot; local publisher service</footer></body></html>\n";
    return ReplaceAll(html, "{title}", title);
}

} // namespace

std::string ExpandBase(std::string_view aText, std::string_view aBase)
{
    return ReplaceAll(aText, "%base%", aBase);
}

std::string PoolValue(const std::vector<std::string>& aEntries)
{
    std::string value;
    for (const std::string& entry : aEntries) {
        if (!value.empty())
            value += ';';
        value += ReplaceAll(entry, "'", "\\'");
    }
    return value;
}

std::string BuildUpdateReply(const TPublisherConfig& aConfig, std::string_view aBase, bool aWrongMagic)
{
    auto line = [&](std::string_view name, std::string_view value) {
        return std::string(name) + "=" + ExpandBase(value, aBase) + "\r\n";
    };
    std::string reply = line("magicword", aWrongMagic ? aConfig.MagicWord + "-wrong" : aConfig.MagicWord);
    reply += line("__MODIFY__.NORMAL_IPS", PoolValue(aConfig.NormalPool));
    reply += line("__MODIFY__.SUPER_IPS", PoolValue(aConfig.SuperPool));
    reply += line("__MODIFY__.SUPER_TOUCH", aConfig.SuperTouch.value_or("%base%/touch?ip={1}"));
    for (const TKeyValue& setting : aConfig.Modify)
        reply += line("__MODIFY__." + setting.Key, setting.Value);
    for (const TKeyValue& setting : aConfig.Banner)
        reply += line("Banner." + setting.Key, setting.Value);
    reply += line("Result", aConfig.Result);
    reply += line("info", aConfig.Info);
    reply += line("page", aConfig.Page);
    return U16ToCp1252(Utf8ToU16(reply));
}

std::string BuildRawReply(std::string_view aBody)
{
    return U16ToCp1252(Utf8ToU16(aBody));
}

std::string BuildLocationReply(const TPublisherConfig& aConfig)
{
    return "IP=" + aConfig.Ip + "\r\nCOUNTRY_SHORT=" + aConfig.CountryShort +
        "\r\nCOUNTRY_LONG=" + aConfig.CountryLong + "\r\nCITY=" + aConfig.City + "\r\n";
}

std::optional<std::filesystem::path> FindFileIgnoringCase(
    const std::filesystem::path& aFolder, std::string_view aName)
{
    auto lower = [](std::string text) {
        std::transform(
            text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
        return text;
    };
    std::string wanted = lower(std::string(aName));
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(aFolder, error)) {
        if (entry.is_regular_file(error) && lower(entry.path().filename().string()) == wanted)
            return entry.path();
    }
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> SplitQuery(std::string_view aQuery)
{
    std::vector<std::pair<std::string, std::string>> params;
    while (!aQuery.empty()) {
        size_t amp = aQuery.find('&');
        std::string_view part = aQuery.substr(0, amp);
        aQuery = amp == std::string_view::npos ? std::string_view() : aQuery.substr(amp + 1);
        size_t equals = part.find('=');
        if (equals == std::string_view::npos)
            params.emplace_back(part, "");
        else
            params.emplace_back(part.substr(0, equals), part.substr(equals + 1));
    }
    return params;
}

bool IsPageName(std::string_view aName)
{
    return std::any_of(
        std::begin(kPages), std::end(kPages), [&](const TPage& page) { return page.Name == aName; });
}

std::string BuildPage(const TPublisherConfig& aConfig, std::string_view aName, std::string_view aQuery)
{
    auto page =
        std::find_if(std::begin(kPages), std::end(kPages), [&](const TPage& p) { return p.Name == aName; });
    if (page == std::end(kPages))
        return {};
    std::string body(page->Body);
    std::vector<std::pair<std::string, std::string>> params = SplitQuery(aQuery);
    if (!params.empty()) {
        body += "\n<h2>Request parameters</h2>\n<table><tr><th>Name</th><th>Value</th></tr>\n";
        for (const auto& [name, value] : params)
            body += "<tr><td>" + HtmlEscape(PercentDecode(name)) + "</td><td>" +
                HtmlEscape(PercentDecode(value)) + "</td></tr>\n";
        body += "</table>";
    }
    return Layout(aConfig, page->Heading, body);
}

std::string BuildCheckIpPage(const TPublisherConfig& aConfig, std::string_view aClient, std::string_view aVia,
    std::string_view aForwardedFor)
{
    bool proxied = !aVia.empty() || !aForwardedFor.empty();
    auto row = [](std::string_view name, std::string_view value, std::string_view id) {
        return "<tr><th>" + std::string(name) + "</th><td id=\"" + std::string(id) + "\">" +
            (value.empty() ? std::string("none") : HtmlEscape(value)) + "</td></tr>\n";
    };
    std::string body = std::string(proxied ? "<p>A proxy carried this request.</p>\n"
                                           : "<p>This request came directly, without a proxy.</p>\n") +
        "<table>\n" + row("Your address", aClient, "address") + row("Via", aVia, "via") +
        row("X-Forwarded-For", aForwardedFor, "forwarded-for") + "</table>";
    return Layout(aConfig, "Check IP", body);
}

std::string HtmlEscape(std::string_view aText)
{
    std::string out;
    for (char c : aText) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace vp::publisher
