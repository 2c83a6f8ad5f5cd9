#include "PublisherConfig.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace vp::publisher {

namespace {

constexpr std::pair<TReplyMode, std::string_view> kModeNames[] = {{TReplyMode::Normal, "normal"},
    {TReplyMode::WrongMagic, "wrongmagic"}, {TReplyMode::Empty, "empty"}, {TReplyMode::Error, "error"},
    {TReplyMode::Stall, "stall"}, {TReplyMode::Raw, "raw"}};

std::string_view TrimBlanks(std::string_view text)
{
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string_view::npos)
        return {};
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool ParseInt(std::string_view text, int minimum, int maximum, int& value)
{
    int parsed = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc() || end != text.data() + text.size() || parsed < minimum || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

std::string Resolve(const std::string& aBaseFolder, std::string_view aPath)
{
    if (aPath.empty())
        return {};
    std::filesystem::path path(aPath);
    return path.is_absolute() || aBaseFolder.empty() ? path.string()
                                                     : (std::filesystem::path(aBaseFolder) / path).string();
}

bool ReadFile(const std::string& aPath, std::string& aText)
{
    std::ifstream file(aPath, std::ios::binary);
    if (!file)
        return false;
    std::ostringstream text;
    text << file.rdbuf();
    aText = text.str();
    return true;
}

// One key of a section other than [modify] and [banner]; false when the key is unknown or
// its value malformed.
bool SetKey(TPublisherConfig& aConfig, const std::string& aSection, const std::string& aKey,
    std::string_view aValue, const std::string& aBaseFolder)
{
    std::string value(aValue);
    if (aSection == "server") {
        if (aKey == "port")
            return ParseInt(aValue, 0, 65535, aConfig.Port);
        if (aKey == "log")
            aConfig.LogFile = Resolve(aBaseFolder, aValue);
        else if (aKey == "root")
            aConfig.Root = Resolve(aBaseFolder, aValue);
        else if (aKey == "flags")
            aConfig.FlagsFolder = Resolve(aBaseFolder, aValue);
        else
            return false;
        return true;
    }
    if (aSection == "update" || aSection == "location") {
        TBehaviour& behaviour = aSection == "update" ? aConfig.Update : aConfig.Location;
        if (aKey == "mode")
            return ParseReplyMode(aValue, behaviour.Mode) &&
                (aSection == "update" || !UpdateOnly(behaviour.Mode));
        if (aKey == "stall")
            return ParseStallSeconds(aValue, behaviour.StallSeconds);
    }
    if (aSection == "update") {
        if (aKey == "magicword")
            aConfig.MagicWord = value;
        else if (aKey == "normal")
            aConfig.NormalPool.push_back(value);
        else if (aKey == "super")
            aConfig.SuperPool.push_back(value);
        else if (aKey == "super_touch")
            aConfig.SuperTouch = value;
        else if (aKey == "result")
            aConfig.Result = value;
        else if (aKey == "info")
            aConfig.Info = value;
        else if (aKey == "page")
            aConfig.Page = value;
        else
            return false;
        return true;
    }
    if (aSection == "location") {
        if (aKey == "ip")
            aConfig.Ip = value;
        else if (aKey == "country_short")
            aConfig.CountryShort = value;
        else if (aKey == "country_long")
            aConfig.CountryLong = value;
        else if (aKey == "city")
            aConfig.City = value;
        else
            return false;
        return true;
    }
    if (aSection == "pages" && aKey == "title") {
        aConfig.Title = value;
        return true;
    }
    return false;
}

} // namespace

bool ParseReplyMode(std::string_view aText, TReplyMode& aMode)
{
    for (auto [mode, name] : kModeNames) {
        if (Lower(aText) == name) {
            aMode = mode;
            return true;
        }
    }
    return false;
}

bool UpdateOnly(TReplyMode aMode)
{
    return aMode == TReplyMode::WrongMagic || aMode == TReplyMode::Raw;
}

bool ParseStallSeconds(std::string_view aText, int& aSeconds)
{
    return ParseInt(aText, 0, 86400, aSeconds);
}

std::string_view ReplyModeName(TReplyMode aMode)
{
    for (auto [mode, name] : kModeNames)
        if (mode == aMode)
            return name;
    return "normal";
}

std::string TPublisherConfig::Flags() const
{
    if (!FlagsFolder.empty() || Root.empty())
        return FlagsFolder;
    return (std::filesystem::path(Root) / "flags").string();
}

bool ParsePublisherConfig(
    std::string_view aText, const std::string& aBaseFolder, TPublisherConfig& aConfig, std::string& aError)
{
    std::string section;
    int lineNumber = 0;
    while (!aText.empty()) {
        size_t end = aText.find('\n');
        std::string_view line = TrimBlanks(aText.substr(0, end));
        aText = end == std::string_view::npos ? std::string_view() : aText.substr(end + 1);
        ++lineNumber;
        if (line.empty() || line.front() == '#' || line.front() == ';')
            continue;
        std::string where = "line " + std::to_string(lineNumber) + ": ";
        if (line.front() == '[' && line.back() == ']') {
            section = Lower(TrimBlanks(line.substr(1, line.size() - 2)));
            static const std::string_view known[] = {
                "server", "update", "location", "pages", "modify", "banner"};
            if (std::find(std::begin(known), std::end(known), section) == std::end(known)) {
                aError = where + "unknown section [" + section + "]";
                return false;
            }
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos || section.empty()) {
            aError = where + (section.empty() ? "a key before the first section" : "no \"=\" in the line");
            return false;
        }
        std::string_view key = TrimBlanks(line.substr(0, equals));
        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (section == "modify" || section == "banner") {
            (section == "modify" ? aConfig.Modify : aConfig.Banner)
                .push_back({std::string(key), std::string(value)});
        } else if (!SetKey(aConfig, section, Lower(key), value, aBaseFolder)) {
            aError = where + "unknown key or bad value: " + std::string(line);
            return false;
        }
    }
    return true;
}

bool ReadCommandLine(
    int argc, const char* const* argv, TPublisherConfig& aConfig, bool& aHelp, std::string& aError)
{
    aHelp = false;
    std::vector<std::pair<std::string, std::string>> flags;
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        if (flag == "--help" || flag == "-h") {
            aHelp = true;
            return true;
        }
        if (flag != "--config" && flag != "--port" && flag != "--log" && flag != "--root") {
            aError = "unknown argument " + flag;
            return false;
        }
        if (i + 1 >= argc) {
            aError = flag + " needs a value";
            return false;
        }
        flags.emplace_back(flag, argv[++i]);
    }
    for (const auto& [flag, value] : flags) {
        if (flag != "--config")
            continue;
        std::string text;
        if (!ReadFile(value, text)) {
            aError = "cannot read " + value;
            return false;
        }
        std::string base = std::filesystem::absolute(value).parent_path().string();
        if (!ParsePublisherConfig(text, base, aConfig, aError)) {
            aError = value + ": " + aError;
            return false;
        }
    }
    for (const auto& [flag, value] : flags) {
        if (flag == "--port" && !ParseInt(value, 0, 65535, aConfig.Port)) {
            aError = "--port needs a number from 0 to 65535";
            return false;
        }
        if (flag == "--log")
            aConfig.LogFile = value;
        if (flag == "--root")
            aConfig.Root = value;
    }
    return true;
}

} // namespace vp::publisher
