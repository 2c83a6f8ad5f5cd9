#include "framework/ui/SkinImages.h"

#include "framework/ui/PngDecoder.h"
#include "framework/ui/SkinArchive.h"
#include "framework/ui/SkinValues.h"

#include <algorithm>
#include <cmath>

namespace vp {

namespace {

constexpr int32_t kMaxPngSide = 8192;

uint32_t BigEndian32(std::string_view bytes, size_t pos)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[pos + i]);
    return value;
}

std::optional<String> BaseKey(StringView name, double* scale = nullptr)
{
    std::optional<TSkinImageName> split = SplitSkinImageName(name);
    if (!split)
        return std::nullopt;
    if (scale)
        *scale = split->Scale;
    return SkinEntryKey(split->Base);
}

} // namespace

std::optional<TPngSize> ReadPngSize(std::string_view bytes)
{
    // Signature, then the IHDR chunk: length 13, type, width, height.
    if (bytes.size() < 24 || !IsPngData(bytes) || BigEndian32(bytes, 8) != 13 ||
        bytes.substr(12, 4) != "IHDR")
        return std::nullopt;
    uint32_t width = BigEndian32(bytes, 16);
    uint32_t height = BigEndian32(bytes, 20);
    if (width < 1 || width > kMaxPngSide || height < 1 || height > kMaxPngSide)
        return std::nullopt;
    return TPngSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

void TSkinImageSet::AddFromArchive(TSkinArchive& archive)
{
    for (const String& name : archive.Names())
        if (IsSkinImageName(name))
            Add(name, archive.Take(name));
}

bool TSkinImageSet::Add(StringView name, std::string png)
{
    double scale = 1.0;
    std::optional<String> key = BaseKey(name, &scale);
    std::optional<TPngSize> size = ReadPngSize(png);
    if (!key || !size)
        return false;
    std::vector<TSkinImage>& variants = FImages[*key];
    auto at =
        std::find_if(variants.begin(), variants.end(), [&](const TSkinImage& v) { return v.Scale >= scale; });
    if (at != variants.end() && at->Scale == scale)
        return false;
    variants.insert(at, TSkinImage{String(name), scale, size->Width, size->Height, std::move(png)});
    return true;
}

const std::vector<TSkinImage>* TSkinImageSet::Variants(StringView name) const
{
    std::optional<String> key = BaseKey(name);
    if (!key)
        return nullptr;
    auto it = FImages.find(*key);
    return it == FImages.end() ? nullptr : &it->second;
}

const TSkinImage* TSkinImageSet::Pick(StringView name, double scale) const
{
    const std::vector<TSkinImage>* variants = Variants(name);
    if (!variants)
        return nullptr;
    for (const TSkinImage& variant : *variants)
        if (variant.Scale >= scale - 0.01)
            return &variant;
    return &variants->back();
}

std::optional<TPngSize> TSkinImageSet::DesignSize(StringView name) const
{
    const std::vector<TSkinImage>* variants = Variants(name);
    if (!variants)
        return std::nullopt;
    const TSkinImage& smallest = variants->front();
    return TPngSize{static_cast<int32_t>(std::lround(smallest.Width / smallest.Scale)),
        static_cast<int32_t>(std::lround(smallest.Height / smallest.Scale))};
}

} // namespace vp
