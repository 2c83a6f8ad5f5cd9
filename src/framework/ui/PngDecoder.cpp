#include "framework/ui/PngDecoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vp {

namespace {

constexpr std::string_view kSignature("\x89PNG\r\n\x1A\n", 8);
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFFu;

uint32_t BigEndian32(const unsigned char* at)
{
    return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | uint32_t{at[3]};
}

struct THeader {
    uint32_t Width = 0;
    uint32_t Height = 0;
    int BitDepth = 0;
    int ColorType = 0;
    int Channels = 0;
};

bool ReadHeader(const unsigned char* data, uint32_t length, THeader& header)
{
    if (length != 13)
        return false;
    header.Width = BigEndian32(data);
    header.Height = BigEndian32(data + 4);
    header.BitDepth = data[8];
    header.ColorType = data[9];
    const int compression = data[10], filter = data[11], interlace = data[12];
    if (header.Width == 0 || header.Height == 0 || uint64_t{header.Width} * header.Height > kPngMaxPixels ||
        compression != 0 || filter != 0 || interlace != 0)
        return false;
    const int depth = header.BitDepth;
    switch (header.ColorType) {
    case 0: // grey
        header.Channels = 1;
        return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3: // palette
        header.Channels = 1;
        return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2: // RGB
        header.Channels = 3;
        return depth == 8 || depth == 16;
    case 4: // grey and alpha
        header.Channels = 2;
        return depth == 8 || depth == 16;
    case 6: // RGBA
        header.Channels = 4;
        return depth == 8 || depth == 16;
    default:
        return false;
    }
}

int Paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Undoes the row filters in place; rows are filter byte + rowBytes each.
bool Unfilter(std::vector<unsigned char>& data, size_t rowBytes, size_t height, size_t pixelBytes)
{
    const unsigned char* previous = nullptr;
    for (size_t y = 0; y < height; ++y) {
        unsigned char* row = data.data() + y * (rowBytes + 1);
        const int filter = row[0];
        unsigned char* cur = row + 1;
        for (size_t i = 0; i < rowBytes; ++i) {
            const int left = i >= pixelBytes ? cur[i - pixelBytes] : 0;
            const int up = previous ? previous[i] : 0;
            const int upLeft = previous && i >= pixelBytes ? previous[i - pixelBytes] : 0;
            int add = 0;
            switch (filter) {
            case 0: break;
            case 1: add = left; break;
            case 2: add = up; break;
            case 3: add = (left + up) / 2; break;
            case 4: add = Paeth(left, up, upLeft); break;
            default: return false;
            }
            cur[i] = static_cast<unsigned char>(cur[i] + add);
        }
        previous = cur;
    }
    return true;
}

uint32_t Premultiplied(uint32_t r, uint32_t g, uint32_t b, uint32_t a)
{
    if (a == 255)
        return 0xFF000000u | (r << 16) | (g << 8) | b;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    return (a << 24) | (scale(r) << 16) | (scale(g) << 8) | scale(b);
}

struct TTransparency {
    bool Present = false;
    std::array<uint16_t, 3> Key{}; // grey, or red, green, blue, at the picture's bit depth
    std::array<uint8_t, 256> PaletteAlpha{};
};

void ToPixels(const THeader& header, const std::vector<unsigned char>& data, size_t rowBytes,
    const std::array<uint32_t, 256>& palette, const TTransparency& transparency, std::vector<uint32_t>& out)
{
    const int depth = header.BitDepth;
    const uint32_t width = header.Width;
    out.resize(size_t{width} * header.Height);
    for (uint32_t y = 0; y < header.Height; ++y) {
        const unsigned char* row = data.data() + size_t{y} * (rowBytes + 1) + 1;
        uint32_t* target = out.data() + size_t{y} * width;
        // One sample at its own depth (16-bit ones whole, for the transparent key).
        auto sample = [&](size_t index) -> uint32_t {
            if (depth == 16)
                return (uint32_t{row[index * 2]} << 8) | row[index * 2 + 1];
            if (depth == 8)
                return row[index];
            const size_t bit = index * static_cast<size_t>(depth);
            const int shift = 8 - depth - static_cast<int>(bit % 8);
            return (row[bit / 8] >> shift) & ((1u << depth) - 1);
        };
        auto to8 = [depth](uint32_t value) -> uint32_t {
            switch (depth) {
            case 16: return value >> 8;
            case 8: return value;
            case 4: return value * 17;
            case 2: return value * 85;
            default: return value * 255;
            }
        };
        for (uint32_t x = 0; x < width; ++x) {
            switch (header.ColorType) {
            case 0: {
                const uint32_t grey = sample(x);
                const uint32_t alpha = transparency.Present && grey == transparency.Key[0] ? 0 : 255;
                const uint32_t v = to8(grey);
                target[x] = Premultiplied(v, v, v, alpha);
                break;
            }
            case 3: {
                const uint32_t index = sample(x);
                const uint32_t rgb = palette[index];
                target[x] = Premultiplied((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF,
                    transparency.PaletteAlpha[index]);
                break;
            }
            case 2: {
                const uint32_t r = sample(size_t{x} * 3), g = sample(size_t{x} * 3 + 1), b = sample(size_t{x} * 3 + 2);
                const bool clear = transparency.Present && r == transparency.Key[0] && g == transparency.Key[1] &&
                    b == transparency.Key[2];
                target[x] = Premultiplied(to8(r), to8(g), to8(b), clear ? 0 : 255);
                break;
            }
            case 4: {
                const uint32_t v = to8(sample(size_t{x} * 2));
                target[x] = Premultiplied(v, v, v, to8(sample(size_t{x} * 2 + 1)));
                break;
            }
            default: {
                const size_t at = size_t{x} * 4;
                target[x] = Premultiplied(to8(sample(at)), to8(sample(at + 1)), to8(sample(at + 2)), to8(sample(at + 3)));
                break;
            }
            }
        }
    }
}

class TInflater {
public:
    explicit TInflater(std::vector<unsigned char>& target) : FTarget(target)
    {
        FReady = inflateInit(&FStream) == Z_OK;
        FStream.next_out = target.data();
        FStream.avail_out = static_cast<uInt>(target.size());
    }
    ~TInflater()
    {
        if (FReady)
            inflateEnd(&FStream);
    }
    TInflater(const TInflater&) = delete;
    TInflater& operator=(const TInflater&) = delete;

    // Feeds one IDAT chunk; false once the stream is damaged or longer than the picture.
    bool Feed(const unsigned char* data, uint32_t length)
    {
        if (!FReady || FEnded)
            return FReady && length == 0;
        FStream.next_in = const_cast<unsigned char*>(data);
        FStream.avail_in = length;
        while (FStream.avail_in > 0) {
            const int rc = inflate(&FStream, Z_NO_FLUSH);
            if (rc == Z_STREAM_END) {
                FEnded = true;
                return true;
            }
            if (rc != Z_OK)
                return false;
            if (FStream.avail_out == 0 && FStream.avail_in > 0) {
                // The picture is full; only the stream's end may follow.
                unsigned char spare = 0;
                FStream.next_out = &spare;
                FStream.avail_out = 1;
                const int end = inflate(&FStream, Z_NO_FLUSH);
                if (end != Z_STREAM_END || FStream.avail_out == 0)
                    return false;
                FEnded = true;
                return true;
            }
        }
        return true;
    }
    // Every byte of the picture arrived.
    bool Complete() const { return FReady && FStream.avail_out == 0 && FStream.total_out == FTarget.size(); }

private:
    std::vector<unsigned char>& FTarget;
    z_stream FStream{};
    bool FReady = false;
    bool FEnded = false;
};

bool Decode(std::string_view bytes, TPngPixels& pixels)
{
    if (!IsPngData(bytes))
        return false;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t at = kSignature.size();
    THeader header;
    bool haveHeader = false, havePalette = false, seenData = false, dataEnded = false;
    std::array<uint32_t, 256> palette{};
    size_t paletteEntries = 0;
    TTransparency transparency;
    transparency.PaletteAlpha.fill(255);
    std::vector<unsigned char> raw;
    size_t rowBytes = 0;
    std::unique_ptr<TInflater> inflater;

    while (true) {
        if (bytes.size() - at < 12)
            return false;
        const uint32_t length = BigEndian32(data + at);
        if (length > kMaxChunkLength || length > bytes.size() - at - 12)
            return false;
        const unsigned char* type = data + at + 4;
        const unsigned char* body = type + 4;
        const uint32_t crc = BigEndian32(body + length);
        if (static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), type, length + 4)) != crc)
            return false;
        at += size_t{length} + 12;
        const std::string_view name(reinterpret_cast<const char*>(type), 4);

        if (!haveHeader) {
            if (name != "IHDR" || !ReadHeader(body, length, header))
                return false;
            haveHeader = true;
            rowBytes = (size_t{header.Width} * static_cast<size_t>(header.Channels * header.BitDepth) + 7) / 8;
            raw.resize((rowBytes + 1) * header.Height);
            inflater = std::make_unique<TInflater>(raw);
        } else if (name == "IEND") {
            break;
        } else if (name == "PLTE") {
            if (havePalette || seenData || length % 3 != 0 || length == 0 || length > 768)
                return false;
            havePalette = true;
            paletteEntries = length / 3;
            for (size_t i = 0; i < paletteEntries; ++i)
                palette[i] = (uint32_t{body[i * 3]} << 16) | (uint32_t{body[i * 3 + 1]} << 8) | body[i * 3 + 2];
        } else if (name == "tRNS") {
            if (seenData)
                return false;
            if (header.ColorType == 3) {
                if (!havePalette || length > paletteEntries)
                    return false;
                std::memcpy(transparency.PaletteAlpha.data(), body, length);
            } else if (header.ColorType == 0 && length == 2) {
                transparency.Present = true;
                transparency.Key[0] = static_cast<uint16_t>((body[0] << 8) | body[1]);
            } else if (header.ColorType == 2 && length == 6) {
                transparency.Present = true;
                for (int i = 0; i < 3; ++i)
                    transparency.Key[i] = static_cast<uint16_t>((body[i * 2] << 8) | body[i * 2 + 1]);
            } else {
                return false;
            }
        } else if (name == "IDAT") {
            if (dataEnded || (header.ColorType == 3 && !havePalette))
                return false;
            seenData = true;
            if (!inflater->Feed(body, length))
                return false;
        } else {
            // Other chunks are skipped; one that must be understood to show the picture
            // (its name starts with a capital) is not one this reader knows.
            if (!(type[0] & 0x20))
                return false;
            if (seenData)
                dataEnded = true;
        }
        if (at == bytes.size())
            break;
    }
    if (!seenData || !inflater->Complete())
        return false;
    const size_t pixelBytes = std::max<size_t>(1, static_cast<size_t>(header.Channels * header.BitDepth) / 8);
    if (!Unfilter(raw, rowBytes, header.Height, pixelBytes))
        return false;
    // A palette index beyond the palette shows black, opaque, as the common decoders show it.
    ToPixels(header, raw, rowBytes, palette, transparency, pixels.Pixels);
    pixels.Width = header.Width;
    pixels.Height = header.Height;
    return true;
}

} // namespace

bool IsPngData(std::string_view bytes)
{
    return bytes.substr(0, kSignature.size()) == kSignature;
}

bool DecodePngPixels(std::string_view bytes, TPngPixels& pixels)
{
    pixels = TPngPixels{};
    if (Decode(bytes, pixels))
        return true;
    pixels = TPngPixels{};
    return false;
}

} // namespace vp
