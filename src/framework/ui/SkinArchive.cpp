#include "framework/ui/SkinArchive.h"

#include <zlib.h>

#include <algorithm>

namespace vp {

namespace {

constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr uint32_t kCentralSignature = 0x02014b50;
constexpr uint32_t kEndSignature = 0x06054b50;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kCentralHeaderSize = 46;
constexpr size_t kEndRecordSize = 22;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kFlagStrongEncryption = 0x0040;

[[noreturn]] void Refuse(StringView reason)
{
    throw ESkinError(u"The skin file cannot be used: " + String(reason) + u".");
}

[[noreturn]] void RefuseEntry(StringView name, StringView reason)
{
    Refuse(u"\"" + String(name) + u"\" " + String(reason));
}

// Little-endian fields; the reader checks every position with Has() before it reads there.
class TBytes {
public:
    explicit TBytes(std::string_view bytes) : FBytes(bytes) { }

    size_t Size() const { return FBytes.size(); }
    bool Has(size_t pos, size_t count) const { return pos <= FBytes.size() && count <= FBytes.size() - pos; }
    uint16_t U16(size_t pos) const { return static_cast<uint16_t>(Byte(pos) | Byte(pos + 1) << 8); }
    uint32_t U32(size_t pos) const
    {
        return static_cast<uint32_t>(Byte(pos)) | static_cast<uint32_t>(Byte(pos + 1)) << 8 |
            static_cast<uint32_t>(Byte(pos + 2)) << 16 | static_cast<uint32_t>(Byte(pos + 3)) << 24;
    }
    std::string_view View(size_t pos, size_t count) const { return FBytes.substr(pos, count); }

private:
    unsigned Byte(size_t pos) const { return static_cast<unsigned char>(FBytes[pos]); }

    std::string_view FBytes;
};

struct TCentralEntry {
    String Name; // normalised
    bool Folder = false;
    std::string_view RawName;
    uint16_t Flags = 0;
    uint16_t Method = 0;
    uint32_t Crc = 0;
    uint32_t PackedSize = 0;
    uint32_t Size = 0;
    uint32_t LocalOffset = 0;
    size_t DataStart = 0;
};

// Names are keys, never paths: anything a path could make use of is refused.
String NormaliseName(std::string_view raw, const TSkinArchiveLimits& limits)
{
    if (raw.empty())
        Refuse(u"an entry has no name");
    if (raw.size() > limits.MaxNameBytes)
        Refuse(u"an entry name is too long");
    for (char c : raw)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            Refuse(u"an entry name holds control characters");
    String name = Utf8ToU16(raw);
    std::replace(name.begin(), name.end(), u'\\', u'/');
    if (name.find(u':') != String::npos)
        RefuseEntry(name, u"names a drive or stream");
    if (name.front() == u'/')
        RefuseEntry(name, u"is an absolute name");
    // A trailing "/" marks a folder entry; every other part must be a plain name.
    StringView parts(name);
    if (parts.back() == u'/')
        parts.remove_suffix(1);
    size_t start = 0;
    while (start <= parts.size()) {
        size_t end = std::min(parts.find(u'/', start), parts.size());
        StringView part = parts.substr(start, end - start);
        if (part.empty() || part == u"." || part == u"..")
            RefuseEntry(name, u"is not a plain name");
        start = end + 1;
    }
    return name;
}

size_t FindEndRecord(const TBytes& bytes)
{
    if (bytes.Size() < kEndRecordSize)
        Refuse(u"it is not a ZIP archive or it is truncated");
    // The record ends the file, followed only by its comment (at most 65535 bytes).
    size_t last = bytes.Size() - kEndRecordSize;
    size_t first = last > 0xFFFF ? last - 0xFFFF : 0;
    for (size_t pos = last + 1; pos-- > first;) {
        if (bytes.U32(pos) == kEndSignature && bytes.U16(pos + 20) == bytes.Size() - kEndRecordSize - pos)
            return pos;
    }
    Refuse(u"it is not a ZIP archive or it is truncated");
}

bool ExpandsTooFar(size_t unpacked, size_t packed, const TSkinArchiveLimits& limits)
{
    return unpacked > limits.RatioFloorBytes && unpacked / std::max<size_t>(packed, 1) >= limits.MaxRatio;
}

std::vector<TCentralEntry> ReadCentralDirectory(
    const TBytes& bytes, size_t endPos, const TSkinArchiveLimits& limits)
{
    uint16_t disk = bytes.U16(endPos + 4);
    uint16_t directoryDisk = bytes.U16(endPos + 6);
    uint16_t entriesHere = bytes.U16(endPos + 8);
    uint16_t entries = bytes.U16(endPos + 10);
    uint32_t directorySize = bytes.U32(endPos + 12);
    uint32_t directoryOffset = bytes.U32(endPos + 16);
    if (entries == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF)
        Refuse(u"ZIP64 archives are not read");
    if (disk != 0 || directoryDisk != 0 || entriesHere != entries)
        Refuse(u"multi-part archives are not read");
    if (entries > limits.MaxEntries)
        Refuse(u"it holds too many entries");
    if (directoryOffset > endPos || directorySize != endPos - directoryOffset)
        Refuse(u"its directory is damaged");

    std::vector<TCentralEntry> result;
    result.reserve(entries);
    size_t pos = directoryOffset;
    for (uint16_t i = 0; i < entries; ++i) {
        if (!bytes.Has(pos, kCentralHeaderSize) || pos + kCentralHeaderSize > endPos ||
            bytes.U32(pos) != kCentralSignature)
            Refuse(u"its directory is damaged");
        TCentralEntry entry;
        entry.Flags = bytes.U16(pos + 8);
        entry.Method = bytes.U16(pos + 10);
        entry.Crc = bytes.U32(pos + 16);
        entry.PackedSize = bytes.U32(pos + 20);
        entry.Size = bytes.U32(pos + 24);
        size_t nameLength = bytes.U16(pos + 28);
        size_t extraLength = bytes.U16(pos + 30);
        size_t commentLength = bytes.U16(pos + 32);
        uint16_t startDisk = bytes.U16(pos + 34);
        entry.LocalOffset = bytes.U32(pos + 42);
        size_t next = pos + kCentralHeaderSize + nameLength + extraLength + commentLength;
        if (next > endPos)
            Refuse(u"its directory is damaged");
        entry.RawName = bytes.View(pos + kCentralHeaderSize, nameLength);
        entry.Name = NormaliseName(entry.RawName, limits);
        entry.Folder = entry.Name.back() == u'/';
        if (startDisk != 0)
            Refuse(u"multi-part archives are not read");
        if (entry.Flags & (kFlagEncrypted | kFlagStrongEncryption))
            RefuseEntry(entry.Name, u"is encrypted");
        if (entry.Method != kMethodStored && entry.Method != kMethodDeflate)
            RefuseEntry(entry.Name, u"uses an unknown compression method");
        if (entry.PackedSize == 0xFFFFFFFF || entry.Size == 0xFFFFFFFF || entry.LocalOffset == 0xFFFFFFFF)
            Refuse(u"ZIP64 archives are not read");
        if (entry.Folder && entry.Size != 0)
            RefuseEntry(entry.Name, u"is a folder with contents");
        if (entry.Size > limits.MaxEntryBytes)
            RefuseEntry(entry.Name, u"is too large");
        if (entry.Method == kMethodStored && entry.PackedSize != entry.Size)
            RefuseEntry(entry.Name, u"is damaged");
        if (ExpandsTooFar(entry.Size, entry.PackedSize, limits))
            RefuseEntry(entry.Name, u"expands too far");
        result.push_back(std::move(entry));
        pos = next;
    }
    if (pos != endPos)
        Refuse(u"its directory is damaged");
    return result;
}

// Finds each entry's data behind its local header and makes sure the entries neither overlap
// nor reach into the directory: overlapping entries are how the worst zip bombs are built.
void LocateData(const TBytes& bytes, std::vector<TCentralEntry>& entries, size_t directoryOffset)
{
    std::vector<TCentralEntry*> byOffset;
    for (TCentralEntry& entry : entries) {
        size_t pos = entry.LocalOffset;
        if (!bytes.Has(pos, kLocalHeaderSize) || pos + kLocalHeaderSize > directoryOffset ||
            bytes.U32(pos) != kLocalSignature)
            RefuseEntry(entry.Name, u"is damaged");
        uint16_t flags = bytes.U16(pos + 6);
        uint16_t method = bytes.U16(pos + 8);
        size_t nameLength = bytes.U16(pos + 26);
        size_t extraLength = bytes.U16(pos + 28);
        entry.DataStart = pos + kLocalHeaderSize + nameLength + extraLength;
        if (entry.DataStart > directoryOffset || entry.PackedSize > directoryOffset - entry.DataStart)
            RefuseEntry(entry.Name, u"is damaged");
        if (method != entry.Method || bytes.View(pos + kLocalHeaderSize, nameLength) != entry.RawName)
            RefuseEntry(entry.Name, u"is described twice in different ways");
        // Without a data descriptor the local header repeats the directory's figures.
        if (!(flags & kFlagDataDescriptor) &&
            (bytes.U32(pos + 14) != entry.Crc || bytes.U32(pos + 18) != entry.PackedSize ||
                bytes.U32(pos + 22) != entry.Size))
            RefuseEntry(entry.Name, u"is described twice in different ways");
        byOffset.push_back(&entry);
    }
    std::sort(byOffset.begin(), byOffset.end(),
        [](const TCentralEntry* a, const TCentralEntry* b) { return a->LocalOffset < b->LocalOffset; });
    size_t usedUpTo = 0;
    for (const TCentralEntry* entry : byOffset) {
        if (entry->LocalOffset < usedUpTo)
            RefuseEntry(entry->Name, u"overlaps another entry");
        usedUpTo = entry->DataStart + entry->PackedSize;
    }
}

std::string Inflate(std::string_view packed, size_t size, StringView name)
{
    std::string out(size, '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK)
        Refuse(u"the decompressor could not start");
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(size);
    int rc = inflate(&stream, Z_FINISH);
    bool complete = rc == Z_STREAM_END && stream.avail_out == 0 && stream.avail_in == 0;
    bool overflows = rc != Z_STREAM_END && stream.avail_out == 0 && rc != Z_DATA_ERROR;
    inflateEnd(&stream);
    if (overflows)
        RefuseEntry(name, u"unpacks to more than it declares");
    if (!complete)
        RefuseEntry(name, u"is damaged");
    return out;
}

} // namespace

String SkinEntryKey(StringView name)
{
    String key = UpperCase(name);
    std::replace(key.begin(), key.end(), u'\\', u'/');
    return key;
}

TSkinArchive TSkinArchive::Read(std::string_view data, const TSkinArchiveLimits& limits)
{
    if (data.size() > limits.MaxArchiveBytes)
        Refuse(u"it is too large");
    TBytes bytes(data);
    size_t endPos = FindEndRecord(bytes);
    std::vector<TCentralEntry> entries = ReadCentralDirectory(bytes, endPos, limits);
    size_t directoryOffset = bytes.U32(endPos + 16);
    LocateData(bytes, entries, directoryOffset);

    size_t total = 0;
    for (const TCentralEntry& entry : entries) {
        total += entry.Size;
        if (total > limits.MaxTotalBytes)
            Refuse(u"it unpacks to too much data");
    }
    if (ExpandsTooFar(total, data.size(), limits))
        Refuse(u"it expands too far");

    TSkinArchive archive;
    for (const TCentralEntry& entry : entries) {
        std::string_view packed = bytes.View(entry.DataStart, entry.PackedSize);
        std::string contents =
            entry.Method == kMethodStored ? std::string(packed) : Inflate(packed, entry.Size, entry.Name);
        uLong crc = crc32(0L, Z_NULL, 0);
        crc = crc32(crc, reinterpret_cast<const Bytef*>(contents.data()), static_cast<uInt>(contents.size()));
        if (crc != entry.Crc)
            RefuseEntry(entry.Name, u"fails its CRC-32 check");
        if (entry.Folder)
            continue;
        if (!archive.FIndex.emplace(SkinEntryKey(entry.Name), archive.FEntries.size()).second)
            RefuseEntry(entry.Name, u"is there twice");
        archive.FEntries.push_back({entry.Name, std::move(contents)});
    }
    return archive;
}

std::vector<String> TSkinArchive::Names() const
{
    std::vector<String> names;
    for (const TEntry& entry : FEntries)
        names.push_back(entry.Name);
    return names;
}

const std::string* TSkinArchive::Find(StringView name) const
{
    auto it = FIndex.find(SkinEntryKey(name));
    return it == FIndex.end() ? nullptr : &FEntries[it->second].Data;
}

std::string TSkinArchive::Take(StringView name)
{
    auto it = FIndex.find(SkinEntryKey(name));
    return it == FIndex.end() ? std::string() : std::move(FEntries[it->second].Data);
}

} // namespace vp
