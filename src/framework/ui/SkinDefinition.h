// A skin as the drawing code reads it: what the skin says about itself, its metrics, fonts,
// colours, elements and pictures, every value resolved once at loading.
//
// A skin never fails to describe something: an element the skin leaves out draws as the
// element it falls back to, a key it leaves out comes from the fall-back element or from the
// toolkit's built-in look, and a value that does not read counts as left out.
#pragma once

#include "framework/ui/SkinArchive.h"
#include "framework/ui/SkinImages.h"
#include "framework/ui/SkinTypes.h"

#include <memory>
#include <optional>
#include <span>
#include <unordered_map>

namespace vp {

class TSkinIni;

// The [Skin] section.
struct TSkinInfo {
    String Name;
    String Author;
    String Version;
    String Description;
    int32_t Format = 1;
    // The skin draws the window frame. A skin file's name decides this for files (".nsf.skn"
    // keeps the system frame); the key serves a skin that is not a file (the built-in one).
    bool SkinnedFrame = true;
};

// Sizes in pixels at 96 DPI (the [Metrics] section).
struct TSkinMetrics {
    int32_t CaptionHeight = 30;
    int32_t BorderWidth = 1; // of the skinned frame
    int32_t CaptionButtonWidth = 36;
    int32_t CaptionButtonHeight = 30;
    int32_t CaptionButtonSpacing = 0;
    int32_t CaptionIconSize = 16;
    int32_t MenuItemHeight = 26;
    int32_t MenuSeparatorHeight = 9;
    int32_t MenuGutterWidth = 28;
    int32_t ScrollBarWidth = 14;
    int32_t ScrollBarMinThumb = 24;
    int32_t CheckBoxSize = 16;
    int32_t CheckBoxSpacing = 6;
    int32_t TabHeight = 28;
    int32_t SpinButtonWidth = 18;
    int32_t MessageBoxIconSize = 32;
    int32_t MessageBoxButtonWidth = 88;
    int32_t MessageBoxButtonHeight = 28;
    int32_t MessageBoxSpacing = 12;
    int32_t HintMaxWidth = 320;
    bool operator==(const TSkinMetrics&) const = default;
};

struct TSkinMetricInfo {
    const char16_t* Key;
    int32_t TSkinMetrics::*Field;
    int32_t Minimum;
    int32_t Maximum;
};
std::span<const TSkinMetricInfo> SkinMetricTable();

class TSkinDefinition {
public:
    // The toolkit's built-in look (a skin that defines nothing).
    TSkinDefinition();
    // A skin file: the archive with its skin.ini and pictures. Raises ESkinError when the
    // archive is unsound or holds no skin.ini; the skin.ini itself never makes it fail.
    static std::shared_ptr<const TSkinDefinition> FromBytes(
        std::string_view skinFile, const TSkinArchiveLimits& limits = {});
    // A skin.ini with the pictures it may name.
    static std::shared_ptr<const TSkinDefinition> FromIni(const TSkinIni& ini, TSkinImageSet images = {});

    const TSkinInfo& Info() const { return FInfo; }
    const TSkinMetrics& Metrics() const { return FMetrics; }
    // The named font ("Default", "Caption", ...); an unknown name gives the default font.
    const TSkinFont& Font(StringView name) const;
    // A colour of the [Colors] section.
    std::optional<TColor> PaletteColor(StringView name) const;

    // The element to draw. An unknown name falls back to the name without its last dotted
    // part ("Button.Large" to "Button"), and at last to a plain element.
    const TSkinElement& Element(StringView name) const;
    // The skin has a section of that name.
    bool Defines(StringView name) const;
    // The names of the elements this skin should define but does not.
    std::vector<String> MissingElements() const;

    const TSkinImageSet& Images() const { return FImages; }

private:
    struct TResolver;

    TSkinDefinition(const TSkinIni& ini, TSkinImageSet images, const TSkinDefinition* base);
    static const TSkinDefinition& Builtin();

    TSkinInfo FInfo;
    TSkinMetrics FMetrics;
    std::unordered_map<String, TSkinFont> FFonts; // upper-case name
    std::unordered_map<String, TColor> FPalette; // upper-case name
    std::unordered_map<String, TSkinElement> FElements; // upper-case name
    TSkinImageSet FImages;
};

} // namespace vp
