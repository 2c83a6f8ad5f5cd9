#include "SkinTestSupport.h"

#include <zlib.h>

#include <stdexcept>

namespace vptest {

namespace {

void Put16(std::string& out, uint32_t value)
{
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t value)
{
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

uint32_t Crc(const std::string& data)
{
    return static_cast<uint32_t>(crc32(
        crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

} // namespace

void PutBig32(std::string& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}

void PngChunk(std::string& out, const std::string& type, const std::string& data)
{
    PutBig32(out, static_cast<uint32_t>(data.size()));
    out += type;
    out += data;
    PutBig32(out, Crc(type + data));
}


std::string Deflate(const std::string& data)
{
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string out(deflateBound(&stream, static_cast<uLong>(data.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    int rc = deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    if (rc != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return out;
}

std::string BuildZip(const std::vector<TZipEntry>& entries, const TZipOptions& options)
{
    std::string out;
    std::string directory;
    for (const TZipEntry& entry : entries) {
        std::string packed = entry.Packed ? *entry.Packed : entry.Deflate ? Deflate(entry.Data) : entry.Data;
        uint16_t method = entry.Method ? *entry.Method : entry.Deflate ? 8 : 0;
        uint32_t crc = entry.Crc ? *entry.Crc : Crc(entry.Data);
        uint32_t size = entry.Size ? *entry.Size : static_cast<uint32_t>(entry.Data.size());
        uint32_t packedSize = entry.PackedSize ? *entry.PackedSize : static_cast<uint32_t>(packed.size());
        uint16_t flags = static_cast<uint16_t>(entry.Flags | (entry.DataDescriptor ? 0x0008 : 0));
        const std::string& localName = entry.LocalName ? *entry.LocalName : entry.Name;
        uint32_t offset = static_cast<uint32_t>(out.size());

        Put32(out, 0x04034b50);
        Put16(out, 20);
        Put16(out, flags);
        Put16(out, method);
        Put32(out, 0); // time and date
        Put32(out, entry.DataDescriptor ? 0 : crc);
        Put32(out, entry.DataDescriptor ? 0 : packedSize);
        Put32(out, entry.DataDescriptor ? 0 : size);
        Put16(out, static_cast<uint32_t>(localName.size()));
        Put16(out, 0);
        out += localName;
        out += packed;
        if (entry.DataDescriptor) {
            Put32(out, 0x08074b50);
            Put32(out, crc);
            Put32(out, packedSize);
            Put32(out, size);
        }

        Put32(directory, 0x02014b50);
        Put16(directory, 20);
        Put16(directory, 20);
        Put16(directory, flags);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, packedSize);
        Put32(directory, size);
        Put16(directory, static_cast<uint32_t>(entry.Name.size()));
        Put16(directory, 0); // extra
        Put16(directory, 0); // comment
        Put16(directory, 0); // disk
        Put16(directory, 0); // internal attributes
        Put32(directory, 0); // external attributes
        Put32(directory, entry.LocalOffset ? *entry.LocalOffset : offset);
        directory += entry.Name;
    }
    uint32_t directoryOffset =
        options.DirectoryOffset ? *options.DirectoryOffset : static_cast<uint32_t>(out.size());
    out += directory;
    uint16_t count = options.EntryCount ? *options.EntryCount : static_cast<uint16_t>(entries.size());
    Put32(out, 0x06054b50);
    Put16(out, options.Disk);
    Put16(out, 0);
    Put16(out, count);
    Put16(out, count);
    Put32(out, static_cast<uint32_t>(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, static_cast<uint32_t>(options.Comment.size()));
    out += options.Comment;
    return options.Prefix + out;
}

std::string MakePng(uint32_t width, uint32_t height, uint32_t rgba)
{
    std::string header;
    PutBig32(header, width);
    PutBig32(header, height);
    header += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA
    std::string rows;
    for (uint32_t y = 0; y < height; ++y) {
        rows.push_back('\0');
        for (uint32_t x = 0; x < width; ++x)
            PutBig32(rows, rgba);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(rows.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
        reinterpret_cast<const Bytef*>(rows.data()), static_cast<uLong>(rows.size()));
    packed.resize(packedSize);

    std::string png("\x89PNG\r\n\x1A\n", 8);
    PngChunk(png, "IHDR", header);
    PngChunk(png, "IDAT", packed);
    PngChunk(png, "IEND", "");
    return png;
}

std::string MakeSkinFile(const std::string& skinIni, const std::vector<TTestImage>& images)
{
    std::vector<TZipEntry> entries;
    entries.push_back({"skin.ini", skinIni});
    for (const TTestImage& image : images)
        entries.push_back({image.Name, MakePng(image.Width, image.Height), false});
    return BuildZip(entries);
}

} // namespace vptest
