// The reader of skin files: ZIP archives whose entries are checked and unpacked whole.
//
// Every byte is hostile input. The reader keeps to the limits below, checks each entry's
// CRC-32, refuses encrypted, multi-part and Zip64 archives, overlapping entries, and names
// that could be taken for paths; anything wrong refuses the archive as a whole, so a caller
// never gets part of a skin. Entry names are only keys: they compare without regard to
// case, with "\" read as "/".
#pragma once

#include "framework/rtl/Exceptions.h"
#include "framework/rtl/RtlText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vp {

// A skin file that cannot be used: damaged, truncated, too large or hostile.
class ESkinError : public Exception {
public:
    using Exception::Exception;
};

struct TSkinArchiveLimits {
    size_t MaxArchiveBytes = 16u << 20;
    size_t MaxEntries = 2048;
    size_t MaxNameBytes = 255;
    size_t MaxEntryBytes = 8u << 20; // one entry unpacked
    size_t MaxTotalBytes = 32u << 20; // all entries unpacked
    // An entry, and the archive as a whole, larger than RatioFloorBytes unpacked may not
    // expand more than MaxRatio times: the mark of a zip bomb, never of a skin.
    size_t MaxRatio = 100;
    size_t RatioFloorBytes = 64u << 10;
};

class TSkinArchive {
public:
    // Reads and checks every entry; raises ESkinError unless the archive is sound.
    static TSkinArchive Read(std::string_view bytes, const TSkinArchiveLimits& limits = {});

    size_t Count() const { return FEntries.size(); }
    // Entry names after normalisation ("/" separated), in archive order; folders are left out.
    std::vector<String> Names() const;
    // The unpacked contents of the named entry, or nullptr.
    const std::string* Find(StringView name) const;
    // Moves the named entry's contents out (empty when there is none).
    std::string Take(StringView name);

private:
    struct TEntry {
        String Name;
        std::string Data;
    };

    std::vector<TEntry> FEntries;
    // Upper-case name -> position in FEntries.
    std::unordered_map<String, size_t> FIndex;
};

// The key under which an entry name is found: "\" as "/", letters in upper case.
String SkinEntryKey(StringView name);

} // namespace vp
