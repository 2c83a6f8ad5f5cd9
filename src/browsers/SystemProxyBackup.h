// The user's own system proxy configuration as it was before the switch first changed it,
// and its file form. The file is text: a version line, one line per registry value and per
// connection, and a closing line with the length and CRC-32 of everything before it, so a
// damaged or cut file is refused as a whole and never applied in part.
#pragma once

#include "framework/rtl/RtlText.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vp {

// The registry values under the Internet settings key that the backup keeps, in this order.
inline constexpr StringView kProxyRegistryValueNames[] = {
    u"ProxyEnable", u"ProxyServer", u"ProxyOverride", u"AutoConfigURL"};

// One registry value exactly as stored: its type and bytes, or its absence.
struct TRegistryValueBackup {
    String Name;
    bool Present = false;
    uint32_t Type = 0;
    std::string Data;
    bool operator==(const TRegistryValueBackup&) const = default;
};

// One connection's WinINet options. An empty name is the default (LAN) connection.
struct TConnectionBackup {
    String Name;
    uint32_t Flags = 0;
    String ProxyServer;
    String ProxyBypass;
    String AutoConfigURL;
    bool operator==(const TConnectionBackup&) const = default;
};

struct TSystemProxyBackup {
    std::vector<TRegistryValueBackup> RegistryValues;
    std::vector<TConnectionBackup> Connections;

    // nullptr when the backup holds no connection of that name (exact comparison).
    const TConnectionBackup* FindConnection(StringView name) const;
    bool operator==(const TSystemProxyBackup&) const = default;
};

std::string SerializeSystemProxyBackup(const TSystemProxyBackup& backup);
// nullopt for anything but a whole, undamaged file of this version; reason says why.
std::optional<TSystemProxyBackup> ParseSystemProxyBackup(std::string_view bytes, String* reason = nullptr);

// The standard CRC-32 (the one of zip and PNG).
uint32_t Crc32(std::string_view bytes);

} // namespace vp
