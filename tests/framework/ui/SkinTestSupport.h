// Skin files made byte by byte for the tests: sound ones, and each way of being unsound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vptest {

struct TZipEntry {
    std::string Name;
    std::string Data;
    bool Deflate = true;
    // Figures written instead of the true ones (in both headers unless said otherwise).
    std::optional<uint32_t> Crc;
    std::optional<uint32_t> Size;
    std::optional<uint32_t> PackedSize;
    std::optional<std::string> Packed; // the stored bytes instead of the packed data
    std::optional<std::string> LocalName;
    uint16_t Flags = 0;
    std::optional<uint16_t> Method;
    bool DataDescriptor = false; // zero figures in the local header, a descriptor after the data
    std::optional<uint32_t> LocalOffset; // in the directory
};

struct TZipOptions {
    std::optional<uint16_t> EntryCount; // in the end record
    std::optional<uint32_t> DirectoryOffset;
    uint16_t Disk = 0;
    std::string Comment;
    std::string Prefix; // bytes before the archive, not counted in its offsets
};

std::string BuildZip(const std::vector<TZipEntry>& entries, const TZipOptions& options = {});

// Raw deflate of the data (as a ZIP entry holds it).
std::string Deflate(const std::string& data);

// Big-endian figures and PNG chunks (length, type, data, CRC), for pictures made byte by byte.
void PutBig32(std::string& out, uint32_t value);
void PngChunk(std::string& out, const std::string& type, const std::string& data);

// A small real PNG file: width x height pixels of one colour, rgba as 0xRRGGBBAA.
std::string MakePng(uint32_t width, uint32_t height, uint32_t rgba = 0x2563EBFF);

// A skin file holding the skin.ini text and the given pictures ({name, width, height}).
struct TTestImage {
    std::string Name;
    uint32_t Width;
    uint32_t Height;
};
std::string MakeSkinFile(const std::string& skinIni, const std::vector<TTestImage>& images = {});

} // namespace vptest
