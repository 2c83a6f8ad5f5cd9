#include "app/PanelBlend.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vp {

namespace {

// Where a target pixel's centre falls in the picture: the pixel before it and the weight
// (0..256) of the one after it.
struct TSamplePoint {
    int Index = 0;
    uint32_t Weight = 0;
};

TSamplePoint SamplePoint(int target, double origin, double step, bool smooth)
{
    double position = (target + 0.5 - origin) * step - 0.5;
    if (!smooth)
        return {static_cast<int>(std::floor(position + 0.5)), 0};
    double index = std::floor(position);
    auto weight = static_cast<uint32_t>(std::lround((position - index) * 256));
    if (weight == 256)
        return {static_cast<int>(index) + 1, 0};
    return {static_cast<int>(index), weight};
}

uint32_t Texel(const TPanelPicture& picture, int x, int y)
{
    if (x < 0 || y < 0 || x >= picture.Width || y >= picture.Height)
        return 0;
    return picture.Bits[static_cast<size_t>(y) * static_cast<size_t>(picture.Stride) + static_cast<size_t>(x)];
}

// The four pixels weighed, then faded: opacity 0..256.
uint32_t Sample(const TPanelPicture& picture, TSamplePoint u, TSamplePoint v, uint32_t opacity)
{
    uint32_t c00 = Texel(picture, u.Index, v.Index);
    uint32_t c10 = u.Weight ? Texel(picture, u.Index + 1, v.Index) : 0;
    uint32_t c01 = v.Weight ? Texel(picture, u.Index, v.Index + 1) : 0;
    uint32_t c11 = u.Weight && v.Weight ? Texel(picture, u.Index + 1, v.Index + 1) : 0;
    if ((c00 | c10 | c01 | c11) == 0)
        return 0;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t top = ((c00 >> shift) & 0xFF) * (256 - u.Weight) + ((c10 >> shift) & 0xFF) * u.Weight;
        uint32_t bottom = ((c01 >> shift) & 0xFF) * (256 - u.Weight) + ((c11 >> shift) & 0xFF) * u.Weight;
        uint32_t value = (top * (256 - v.Weight) + bottom * v.Weight + 128) >> 8; // 0..65280
        value = (value * opacity + 32768) >> 16;
        result |= std::min<uint32_t>(value, 255) << shift;
    }
    return result;
}

// Premultiplied "over".
uint32_t Over(uint32_t source, uint32_t target)
{
    uint32_t keep = 255 - (source >> 24);
    if (keep == 0)
        return source;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        uint32_t value = ((source >> shift) & 0xFF) + (((target >> shift) & 0xFF) * keep + 127) / 255;
        result |= std::min<uint32_t>(value, 255) << shift;
    }
    return result;
}

} // namespace

void BlendPicture(const TPanelPixels& target, const TPanelPicture& picture, double left, double top, double width,
    double height, double opacity, bool smooth)
{
    // Beyond this a place is no place on a panel (and would not fit the pixel arithmetic).
    constexpr double kLimit = 1 << 20;
    auto usable = [&](double value) { return std::isfinite(value) && std::abs(value) < kLimit; };
    if (!target.Bits || !picture.Bits || picture.Width <= 0 || picture.Height <= 0 || !usable(left) ||
        !usable(top) || !usable(width) || !usable(height) || !(width > 0) || !(height > 0) || !(opacity > 0))
        return;
    auto fade = static_cast<uint32_t>(std::lround(std::min(opacity, 1.0) * 256));
    int x0 = std::max(0, static_cast<int>(std::floor(left)));
    int x1 = std::min(target.Width, static_cast<int>(std::ceil(left + width)));
    int y0 = std::max(0, static_cast<int>(std::floor(top)));
    int y1 = std::min(target.Height, static_cast<int>(std::ceil(top + height)));
    if (x0 >= x1 || y0 >= y1)
        return;
    const double stepX = picture.Width / width;
    const double stepY = picture.Height / height;
    std::vector<TSamplePoint> columns(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[static_cast<size_t>(x - x0)] = SamplePoint(x, left, stepX, smooth);
    for (int y = y0; y < y1; ++y) {
        TSamplePoint row = SamplePoint(y, top, stepY, smooth);
        if (row.Index < -1 || row.Index >= picture.Height)
            continue;
        uint32_t* line = target.Bits + static_cast<size_t>(y) * static_cast<size_t>(target.Stride);
        for (int x = x0; x < x1; ++x) {
            uint32_t source = Sample(picture, columns[static_cast<size_t>(x - x0)], row, fade);
            if (source != 0)
                line[x] = Over(source, line[x]);
        }
    }
}

} // namespace vp
