// The pictures of a skin: PNG files kept as bytes (the drawing side decodes them), each in one
// or more scale variants ("button.png", "button@1.5x.png", "button@2x.png").
#pragma once

#include "framework/rtl/RtlText.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace vp {

class TSkinArchive;

struct TSkinImage {
    String Name; // the entry name, scale included
    double Scale = 1.0;
    int32_t Width = 0; // pixels of this picture
    int32_t Height = 0;
    std::string Png; // the file's bytes
};

struct TPngSize {
    int32_t Width = 0;
    int32_t Height = 0;
};

// The size a PNG file's header declares; nothing for anything else, or for a side outside
// 1..8192 pixels.
std::optional<TPngSize> ReadPngSize(std::string_view bytes);

class TSkinImageSet {
public:
    // Takes over every image entry of the archive; entries that are not PNG files are left out.
    void AddFromArchive(TSkinArchive& archive);
    // False (and nothing added) when the name is not an image name, the bytes are not a PNG,
    // or the image already has a variant of that scale.
    bool Add(StringView name, std::string png);

    size_t Count() const { return FImages.size(); }
    // The image is there in some scale; the name may be the base name or a variant's.
    bool Contains(StringView name) const { return Variants(name) != nullptr; }
    // Every variant, smallest scale first; nullptr for an unknown image.
    const std::vector<TSkinImage>* Variants(StringView name) const;
    // The variant to draw at the given scale (1.5 at 150 %): the smallest one at least that
    // large, so that it is only ever scaled down, else the largest one; nullptr when unknown.
    const TSkinImage* Pick(StringView name, double scale) const;
    // The image's size at 96 DPI: its smallest variant's size divided by that variant's scale.
    std::optional<TPngSize> DesignSize(StringView name) const;

private:
    std::unordered_map<String, std::vector<TSkinImage>> FImages; // key of the base name
};

} // namespace vp
