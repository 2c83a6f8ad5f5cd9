// The program's own reader of PNG pictures (skin pictures, flags, the panel's pictures).
//
// The system decoder behind GDI+ costs a noticeable share of start-up the first time it is
// used, and nearly every picture the program draws is a plain PNG. This reader turns one into
// premultiplied 32-bit pixels, the form GDI+ draws fastest. Every byte is hostile input: each
// chunk's CRC is checked, sizes are bounded, and anything it does not take (interlaced
// pictures, damage, sizes beyond the limit) is refused whole, so the caller can hand the
// bytes to the system decoder instead.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace vp {

struct TPngPixels {
    uint32_t Width = 0;
    uint32_t Height = 0;
    // Row by row, top row first; each pixel 0xAARRGGBB with the colour premultiplied by alpha.
    std::vector<uint32_t> Pixels;
};

// Pictures with more pixels than this are left to the system decoder.
constexpr uint64_t kPngMaxPixels = 4u << 20;

// The PNG signature starts the bytes.
bool IsPngData(std::string_view bytes);

// Decodes a non-interlaced PNG of any colour type and bit depth; false, with pixels empty,
// when the bytes are not one it takes.
bool DecodePngPixels(std::string_view bytes, TPngPixels& pixels);

} // namespace vp
