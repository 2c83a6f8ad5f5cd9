#include "browsers/SystemProxyBackup.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace vp {

namespace {

constexpr std::string_view kHeaderLine = "VeilportProxyBackup 1";
constexpr std::string_view kEndWord = "end";
// Far above any real configuration; a larger file is not ours.
constexpr size_t kMaxFileBytes = 1024 * 1024;
constexpr size_t kMaxConnections = 4096;

constexpr char kHexDigits[] = "0123456789abcdef";

// "x" followed by two hexadecimal digits per byte: no text, however odd, needs escaping.
std::string HexField(std::string_view bytes)
{
    std::string out = "x";
    for (unsigned char c : bytes) {
        out += kHexDigits[c >> 4];
        out += kHexDigits[c & 0x0F];
    }
    return out;
}

std::string Utf16Bytes(StringView text)
{
    std::string bytes;
    for (char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1; // upper case is not what the writer makes
}

std::optional<std::string> ParseHexField(std::string_view field)
{
    if (field.empty() || field[0] != 'x' || field.size() % 2 != 1)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(field.size() / 2);
    for (size_t i = 1; i < field.size(); i += 2) {
        int high = HexValue(field[i]);
        int low = HexValue(field[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

std::optional<String> ParseTextField(std::string_view field)
{
    std::optional<std::string> bytes = ParseHexField(field);
    if (!bytes || bytes->size() % 2 != 0)
        return std::nullopt;
    String text;
    for (size_t i = 0; i < bytes->size(); i += 2)
        text += static_cast<char16_t>(
            static_cast<unsigned char>((*bytes)[i]) | (static_cast<unsigned char>((*bytes)[i + 1]) << 8));
    return text;
}

// Decimal digits only, no sign, no leading zero, within 32 bits.
std::optional<uint32_t> ParseNumber(std::string_view field)
{
    if (field.empty() || field.size() > 10 || (field.size() > 1 && field[0] == '0'))
        return std::nullopt;
    uint64_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value > UINT32_MAX)
        return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::vector<std::string_view> SplitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        size_t blank = line.find(' ', start);
        fields.push_back(line.substr(start, blank == std::string_view::npos ? blank : blank - start));
        if (blank == std::string_view::npos)
            return fields;
        start = blank + 1;
    }
}

std::string Hex8(uint32_t value)
{
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, value >>= 4)
        out[static_cast<size_t>(i)] = kHexDigits[value & 0x0F];
    return out;
}

std::optional<TSystemProxyBackup> Refuse(String* reason, StringView why)
{
    if (reason)
        *reason = String(why);
    return std::nullopt;
}

} // namespace

uint32_t Crc32(std::string_view bytes)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes)
        crc = table[(crc ^ c) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

const TConnectionBackup* TSystemProxyBackup::FindConnection(StringView name) const
{
    auto found = std::find_if(
        Connections.begin(), Connections.end(), [&](const TConnectionBackup& c) { return c.Name == name; });
    return found == Connections.end() ? nullptr : &*found;
}

std::string SerializeSystemProxyBackup(const TSystemProxyBackup& backup)
{
    std::string body = std::string(kHeaderLine) + "\n";
    for (const TRegistryValueBackup& value : backup.RegistryValues) {
        body += "registry " + U16ToUtf8(value.Name);
        if (value.Present)
            body += " " + std::to_string(value.Type) + " " + HexField(value.Data) + "\n";
        else
            body += " -\n";
    }
    for (const TConnectionBackup& connection : backup.Connections)
        body += "connection " + HexField(Utf16Bytes(connection.Name)) + " " +
            std::to_string(connection.Flags) + " " + HexField(Utf16Bytes(connection.ProxyServer)) + " " +
            HexField(Utf16Bytes(connection.ProxyBypass)) + " " +
            HexField(Utf16Bytes(connection.AutoConfigURL)) + "\n";
    return body + std::string(kEndWord) + " " + std::to_string(body.size()) + " " + Hex8(Crc32(body)) + "\n";
}

std::optional<TSystemProxyBackup> ParseSystemProxyBackup(std::string_view bytes, String* reason)
{
    if (bytes.size() > kMaxFileBytes)
        return Refuse(reason, u"too large");
    // The closing line first: until it vouches for the rest, nothing else is read.
    if (bytes.size() < 2 || bytes.back() != '\n')
        return Refuse(reason, u"cut short");
    size_t endStart = bytes.rfind('\n', bytes.size() - 2);
    endStart = endStart == std::string_view::npos ? 0 : endStart + 1;
    std::vector<std::string_view> end = SplitFields(bytes.substr(endStart, bytes.size() - 1 - endStart));
    std::string_view body = bytes.substr(0, endStart);
    std::optional<uint32_t> length = end.size() == 3 ? ParseNumber(end[1]) : std::nullopt;
    if (end.size() != 3 || end[0] != kEndWord || !length)
        return Refuse(reason, u"no closing line");
    if (*length != body.size() || end[2] != Hex8(Crc32(body)))
        return Refuse(reason, u"length or checksum does not match");

    TSystemProxyBackup backup;
    size_t position = 0;
    bool first = true;
    while (position < body.size()) {
        size_t lineEnd = body.find('\n', position); // the body ends with one
        std::string_view line = body.substr(position, lineEnd - position);
        position = lineEnd + 1;
        if (first) {
            if (line != kHeaderLine)
                return Refuse(reason, u"unknown version");
            first = false;
            continue;
        }
        std::vector<std::string_view> fields = SplitFields(line);
        if (fields[0] == "registry" && (fields.size() == 3 || fields.size() == 4)) {
            TRegistryValueBackup value;
            value.Name = FromAscii(fields[1]);
            bool known = std::find(std::begin(kProxyRegistryValueNames), std::end(kProxyRegistryValueNames),
                             StringView(value.Name)) != std::end(kProxyRegistryValueNames);
            bool repeated = std::any_of(backup.RegistryValues.begin(), backup.RegistryValues.end(),
                [&](const TRegistryValueBackup& v) { return v.Name == value.Name; });
            if (!known || repeated)
                return Refuse(reason, u"unknown or repeated registry value");
            if (fields.size() == 4) {
                std::optional<uint32_t> type = ParseNumber(fields[2]);
                std::optional<std::string> data = ParseHexField(fields[3]);
                if (!type || !data)
                    return Refuse(reason, u"malformed registry value");
                value.Present = true;
                value.Type = *type;
                value.Data = std::move(*data);
            } else if (fields[2] != "-") {
                return Refuse(reason, u"malformed registry value");
            }
            backup.RegistryValues.push_back(std::move(value));
        } else if (fields[0] == "connection" && fields.size() == 6) {
            std::optional<String> name = ParseTextField(fields[1]);
            std::optional<uint32_t> flags = ParseNumber(fields[2]);
            std::optional<String> server = ParseTextField(fields[3]);
            std::optional<String> bypass = ParseTextField(fields[4]);
            std::optional<String> autoConfig = ParseTextField(fields[5]);
            if (!name || !flags || !server || !bypass || !autoConfig)
                return Refuse(reason, u"malformed connection");
            if (backup.FindConnection(*name) || backup.Connections.size() >= kMaxConnections)
                return Refuse(reason, u"repeated connection or too many");
            backup.Connections.push_back({*name, *flags, *server, *bypass, *autoConfig});
        } else {
            return Refuse(reason, u"unknown line");
        }
    }
    if (first)
        return Refuse(reason, u"unknown version");
    if (backup.RegistryValues.size() != std::size(kProxyRegistryValueNames) || !backup.FindConnection(u""))
        return Refuse(reason, u"incomplete");
    return backup;
}

} // namespace vp
