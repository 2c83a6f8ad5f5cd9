// The program's own PNG reader: every colour type and depth, every row filter, data split
// over chunks, and each way a file is refused (so that it goes to the system decoder).
#include "framework/ui/PngDecoder.h"

#include "SkinTestSupport.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace vp;

namespace {

std::string Chunk(const std::string& type, const std::string& data)
{
    std::string out;
    vptest::PngChunk(out, type, data);
    return out;
}

std::string Header(uint32_t width, uint32_t height, int depth, int colorType, int interlace = 0)
{
    std::string data;
    vptest::PutBig32(data, width);
    vptest::PutBig32(data, height);
    data += static_cast<char>(depth);
    data += static_cast<char>(colorType);
    data += std::string(2, '\0');
    data += static_cast<char>(interlace);
    return Chunk("IHDR", data);
}

std::string Zlib(const std::string& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
        static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

int Paeth(int a, int b, int c)
{
    int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Rows of raw samples, each filtered with the given filter (cycled over the rows).
std::string Filtered(const std::vector<std::string>& rows, size_t pixelBytes, const std::vector<int>& filters)
{
    std::string out;
    std::string previous(rows.empty() ? 0 : rows[0].size(), '\0');
    for (size_t y = 0; y < rows.size(); ++y) {
        const int filter = filters[y % filters.size()];
        const std::string& row = rows[y];
        out.push_back(static_cast<char>(filter));
        for (size_t i = 0; i < row.size(); ++i) {
            int cur = static_cast<unsigned char>(row[i]);
            int left = i >= pixelBytes ? static_cast<unsigned char>(row[i - pixelBytes]) : 0;
            int up = static_cast<unsigned char>(previous[i]);
            int upLeft = i >= pixelBytes ? static_cast<unsigned char>(previous[i - pixelBytes]) : 0;
            int predicted = filter == 1 ? left : filter == 2 ? up : filter == 3 ? (left + up) / 2 :
                filter == 4 ? Paeth(left, up, upLeft) : 0;
            out.push_back(static_cast<char>((cur - predicted) & 0xFF));
        }
        previous = row;
    }
    return out;
}

const std::string kSignature("\x89PNG\r\n\x1A\n", 8);

std::string Png(const std::string& header, const std::string& beforeData, const std::string& packed)
{
    return kSignature + header + beforeData + Chunk("IDAT", packed) + Chunk("IEND", "");
}

std::vector<uint32_t> Decoded(const std::string& png, uint32_t width = 0, uint32_t height = 0)
{
    TPngPixels pixels;
    EXPECT_TRUE(DecodePngPixels(png, pixels));
    if (width) {
        EXPECT_EQ(pixels.Width, width);
        EXPECT_EQ(pixels.Height, height);
    }
    return pixels.Pixels;
}

bool Refused(const std::string& png)
{
    TPngPixels pixels;
    bool decoded = DecodePngPixels(png, pixels);
    return !decoded && pixels.Pixels.empty() && pixels.Width == 0;
}

// A sound 3 x 2 RGBA picture and its pixels.
std::string SoundRgba(const std::string& extraBeforeData = "")
{
    std::string rows = std::string(1, '\0') + std::string("\xFF\x00\x00\xFF\x00\xFF\x00\x80\x00\x00\xFF\x00", 12) +
        std::string(1, '\0') + std::string("\x10\x20\x30\xFF\x40\x50\x60\xFF\x70\x80\x90\xFF", 12);
    return Png(Header(3, 2, 8, 6), extraBeforeData, Zlib(rows));
}

} // namespace

TEST(PngDecoder, EveryColourTypeAndDepthGivesPremultipliedPixels)
{
    // Grey at 1, 2, 4 and 8 bits: the darkest and the brightest value, and one between.
    EXPECT_EQ(Decoded(Png(Header(3, 1, 1, 0), "", Zlib(std::string("\0\xA0", 2))), 3, 1),
        (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}));
    EXPECT_EQ(Decoded(Png(Header(3, 1, 2, 0), "", Zlib(std::string("\0\x1C", 2)))),
        (std::vector<uint32_t>{0xFF000000, 0xFF555555, 0xFFFFFFFF}));
    EXPECT_EQ(Decoded(Png(Header(3, 1, 4, 0), "", Zlib(std::string("\0\x0F\x80", 3)))),
        (std::vector<uint32_t>{0xFF000000, 0xFFFFFFFF, 0xFF888888}));
    // Grey at 16 bits with a transparent key: the key compares all 16 bits.
    EXPECT_EQ(Decoded(Png(Header(2, 1, 16, 0), Chunk("tRNS", std::string("\x12\x34", 2)),
                  Zlib(std::string("\0\x12\x34\x12\x35", 5)))),
        (std::vector<uint32_t>{0x00000000, 0xFF121212}));
    // RGB with a transparent key, at 8 and 16 bits.
    EXPECT_EQ(Decoded(Png(Header(2, 1, 8, 2), Chunk("tRNS", std::string("\0\x0A\0\x0B\0\x0C", 6)),
                  Zlib(std::string("\0\x0A\x0B\x0C\x0A\x0B\x0D", 7)))),
        (std::vector<uint32_t>{0x00000000, 0xFF0A0B0D}));
    EXPECT_EQ(Decoded(Png(Header(1, 1, 16, 2), "", Zlib(std::string("\0\xAB\xFF\xCD\x00\xEF\x80", 7)))),
        (std::vector<uint32_t>{0xFFABCDEF}));
    // Grey with alpha at 8 and 16 bits.
    EXPECT_EQ(Decoded(Png(Header(2, 1, 8, 4), "", Zlib(std::string("\0\xFF\x80\x40\x00", 5)))),
        (std::vector<uint32_t>{0x80808080, 0x00000000}));
    EXPECT_EQ(Decoded(Png(Header(1, 1, 16, 4), "", Zlib(std::string("\0\xC8\x00\xFF\xFF", 5)))),
        (std::vector<uint32_t>{0xFFC8C8C8}));
    // RGBA at 8 bits: colour premultiplied, rounded; at 16 bits the high bytes count.
    EXPECT_EQ(Decoded(SoundRgba(), 3, 2),
        (std::vector<uint32_t>{0xFFFF0000, 0x80008000, 0x00000000, 0xFF102030, 0xFF405060, 0xFF708090}));
    EXPECT_EQ(Decoded(Png(Header(1, 1, 16, 6), "", Zlib(std::string("\0\xFF\x00\x00\x00\x00\x00\x80\x00", 9)))),
        (std::vector<uint32_t>{0x80800000}));
}

TEST(PngDecoder, PaletteDepthsTransparencyAndIndexesBeyondThePalette)
{
    const std::string palette = Chunk("PLTE", std::string("\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 9));
    // Two entries get alpha; the third stays opaque. Index 3 lies beyond the palette.
    const std::string alpha = Chunk("tRNS", std::string("\x00\x80", 2));
    EXPECT_EQ(Decoded(Png(Header(4, 1, 2, 3), palette + alpha, Zlib(std::string("\0\x1B", 2)))),
        (std::vector<uint32_t>{0x00000000, 0x80008000, 0xFF0000FF, 0xFF000000}));
    EXPECT_EQ(Decoded(Png(Header(9, 1, 1, 3), palette, Zlib(std::string("\0\x80\x80", 3)))),
        (std::vector<uint32_t>{0xFF00FF00, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000, 0xFFFF0000,
            0xFFFF0000, 0xFF00FF00}));
    EXPECT_EQ(Decoded(Png(Header(2, 1, 4, 3), palette, Zlib(std::string("\0\x21", 2)))),
        (std::vector<uint32_t>{0xFF0000FF, 0xFF00FF00}));
    EXPECT_EQ(Decoded(Png(Header(1, 1, 8, 3), palette, Zlib(std::string("\0\x02", 2)))),
        (std::vector<uint32_t>{0xFF0000FF}));
    // No palette, a palette after the data, more alphas than entries.
    EXPECT_TRUE(Refused(Png(Header(1, 1, 8, 3), "", Zlib(std::string("\0\x00", 2)))));
    EXPECT_TRUE(Refused(kSignature + Header(1, 1, 8, 3) + Chunk("IDAT", Zlib(std::string("\0\x00", 2))) + palette +
        Chunk("IEND", "")));
    EXPECT_TRUE(Refused(Png(Header(1, 1, 8, 3), palette + Chunk("tRNS", "abcd"), Zlib(std::string("\0\x00", 2)))));
}

TEST(PngDecoder, EveryRowFilterAndAnyChunkingGiveTheSamePixels)
{
    // A 7 x 5 RGBA picture of varied bytes, so that every predictor matters.
    std::mt19937 random(7);
    std::vector<std::string> rows(5);
    for (std::string& row : rows)
        for (int i = 0; i < 7 * 4; ++i)
            row.push_back(static_cast<char>(random() % 256));
    const std::vector<uint32_t> expected = Decoded(Png(Header(7, 5, 8, 6), "", Zlib(Filtered(rows, 4, {0}))));
    ASSERT_EQ(expected.size(), 35u);
    for (int filter = 1; filter <= 4; ++filter)
        EXPECT_EQ(Decoded(Png(Header(7, 5, 8, 6), "", Zlib(Filtered(rows, 4, {filter})))), expected) << filter;
    const std::string mixed = Zlib(Filtered(rows, 4, {4, 3, 2, 1, 0}));
    EXPECT_EQ(Decoded(Png(Header(7, 5, 8, 6), "", mixed)), expected);

    // The stream split into chunks of one byte, of three, and an empty chunk between.
    for (size_t size : {size_t{1}, size_t{3}}) {
        std::string png = kSignature + Header(7, 5, 8, 6);
        for (size_t at = 0; at < mixed.size(); at += size)
            png += Chunk("IDAT", mixed.substr(at, size)) + (at == 0 ? Chunk("IDAT", "") : "");
        EXPECT_EQ(Decoded(png + Chunk("IEND", "")), expected) << size;
    }
    // Ancillary chunks anywhere are skipped, and the end chunk may be missing.
    EXPECT_EQ(Decoded(kSignature + Header(7, 5, 8, 6) + Chunk("gAMA", "1234") + Chunk("IDAT", mixed) +
                  Chunk("tEXt", "a\0b")),
        expected);
}

TEST(PngDecoder, DamagedOrUnsupportedFilesAreRefusedWhole)
{
    const std::string sound = SoundRgba();
    ASSERT_FALSE(Refused(sound));
    const std::string rows = std::string(1, '\0') + std::string(12, 'x') + std::string(1, '\0') + std::string(12, 'y');

    EXPECT_TRUE(Refused(""));
    EXPECT_TRUE(Refused("GIF89a"));
    EXPECT_TRUE(Refused(kSignature));
    // Every cut of the file short of its data's end.
    const size_t dataEnd = sound.size() - 12;
    for (size_t cut = 0; cut < dataEnd; ++cut)
        EXPECT_TRUE(Refused(sound.substr(0, cut))) << cut;
    // One changed byte anywhere in a chunk fails its CRC (or the signature).
    for (size_t at = 0; at < sound.size() - 12; ++at) {
        std::string damaged = sound;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x40);
        EXPECT_TRUE(Refused(damaged)) << at;
    }
    // Interlaced pictures, unknown critical chunks, a chunk before the header.
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 6, 1), "", Zlib(rows))));
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 6), Chunk("ABCD", ""), Zlib(rows))));
    EXPECT_TRUE(Refused(kSignature + Chunk("gAMA", "1234") + Header(3, 2, 8, 6) + Chunk("IDAT", Zlib(rows))));
    // Headers no PNG has: no pixels, a depth the colour type does not take, a type beyond 6.
    EXPECT_TRUE(Refused(Png(Header(0, 2, 8, 6), "", Zlib(""))));
    EXPECT_TRUE(Refused(Png(Header(3, 2, 4, 6), "", Zlib(rows))));
    EXPECT_TRUE(Refused(Png(Header(3, 2, 16, 3), "", Zlib(rows))));
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 7), "", Zlib(rows))));
    // Too many pixels for this reader: left to the system decoder before anything is allocated.
    EXPECT_TRUE(Refused(Png(Header(1u << 16, 1u << 16, 8, 6), "", Zlib(""))));
    // Too little data, too much, a row filter beyond 4, data in two separated runs.
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 6), "", Zlib(rows.substr(0, 20)))));
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 6), "", Zlib(rows + "z"))));
    std::string badFilter = rows;
    badFilter[13] = 5;
    EXPECT_TRUE(Refused(Png(Header(3, 2, 8, 6), "", Zlib(badFilter))));
    const std::string packed = Zlib(rows);
    EXPECT_TRUE(Refused(kSignature + Header(3, 2, 8, 6) + Chunk("IDAT", packed.substr(0, 5)) + Chunk("tEXt", "a") +
        Chunk("IDAT", packed.substr(5)) + Chunk("IEND", "")));
    // A chunk length that runs past the file.
    std::string longChunk = sound;
    longChunk[kSignature.size() + 25] = '\x7F';
    EXPECT_TRUE(Refused(longChunk));
}
