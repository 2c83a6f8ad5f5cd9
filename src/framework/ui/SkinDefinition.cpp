#include "framework/ui/SkinDefinition.h"

#include "framework/ui/SkinBuiltin.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinIni.h"
#include "framework/ui/SkinValues.h"

#include <unordered_set>

namespace vp {

namespace {

constexpr size_t kMaxIniBytes = 1u << 20;
// Sections beyond these are not read: no skin needs them, and each costs memory.
constexpr size_t kMaxElements = 1024;
constexpr size_t kMaxInheritDepth = 16;
constexpr size_t kMaxInfoText = 256;

const TSkinMetricInfo kMetrics[] = {
    {u"CaptionHeight", &TSkinMetrics::CaptionHeight, 0, 128},
    {u"BorderWidth", &TSkinMetrics::BorderWidth, 0, 32},
    {u"CaptionButtonWidth", &TSkinMetrics::CaptionButtonWidth, 0, 128},
    {u"CaptionButtonHeight", &TSkinMetrics::CaptionButtonHeight, 0, 128},
    {u"CaptionButtonSpacing", &TSkinMetrics::CaptionButtonSpacing, 0, 32},
    {u"CaptionIconSize", &TSkinMetrics::CaptionIconSize, 0, 64},
    {u"MenuItemHeight", &TSkinMetrics::MenuItemHeight, 8, 128},
    {u"MenuSeparatorHeight", &TSkinMetrics::MenuSeparatorHeight, 1, 64},
    {u"MenuGutterWidth", &TSkinMetrics::MenuGutterWidth, 0, 128},
    {u"ScrollBarWidth", &TSkinMetrics::ScrollBarWidth, 4, 64},
    {u"ScrollBarMinThumb", &TSkinMetrics::ScrollBarMinThumb, 4, 128},
    {u"CheckBoxSize", &TSkinMetrics::CheckBoxSize, 6, 64},
    {u"CheckBoxSpacing", &TSkinMetrics::CheckBoxSpacing, 0, 64},
    {u"TabHeight", &TSkinMetrics::TabHeight, 8, 128},
    {u"SpinButtonWidth", &TSkinMetrics::SpinButtonWidth, 6, 64},
    {u"MessageBoxIconSize", &TSkinMetrics::MessageBoxIconSize, 0, 128},
    {u"MessageBoxButtonWidth", &TSkinMetrics::MessageBoxButtonWidth, 16, 512},
    {u"MessageBoxButtonHeight", &TSkinMetrics::MessageBoxButtonHeight, 8, 128},
    {u"MessageBoxSpacing", &TSkinMetrics::MessageBoxSpacing, 0, 128},
    {u"HintMaxWidth", &TSkinMetrics::HintMaxWidth, 32, 2048},
};

bool IsFontSection(StringView name)
{
    return name.size() > 5 && SameText(name.substr(0, 5), u"Font.");
}

// Sections that are not elements.
bool IsReservedSection(StringView name)
{
    return SameText(name, u"Skin") || SameText(name, u"Colors") || SameText(name, u"Metrics") ||
        IsFontSection(name);
}

String InfoText(const TSkinIniSection* section, StringView key)
{
    const String* value = section ? section->Find(key) : nullptr;
    return value ? value->substr(0, kMaxInfoText) : String();
}

const TSkinElement& PlainElement()
{
    static const TSkinElement plain;
    return plain;
}

} // namespace

std::span<const TSkinMetricInfo> SkinMetricTable()
{
    return kMetrics;
}

// Works out elements from the skin's sections over the base skin's elements.
struct TSkinDefinition::TResolver {
    const TSkinIni& Ini;
    const TSkinDefinition& Skin; // palette, fonts and pictures are in place
    const TSkinDefinition* Base; // nullptr while the built-in look itself is made

    // The sections an element reads, nearest first, through "Inherit" and the fall-back
    // elements; and the first known element on that way, whose base values lie beneath.
    struct TChain {
        std::vector<const TSkinIniSection*> Sections;
        String KnownName;
    };

    bool IsElementName(StringView name) const
    {
        return !IsReservedSection(name) && (Ini.Section(name) || FindSkinElement(name));
    }

    TChain Chain(StringView name) const
    {
        TChain chain;
        std::unordered_set<String> seen;
        String current(name);
        while (!current.empty() && seen.size() < kMaxInheritDepth && seen.insert(UpperCase(current)).second) {
            const TSkinElementInfo* info = FindSkinElement(current);
            if (info && chain.KnownName.empty())
                chain.KnownName = info->Name;
            const TSkinIniSection* section = IsReservedSection(current) ? nullptr : Ini.Section(current);
            String next;
            if (section) {
                chain.Sections.push_back(section);
                const String* inherit = section->Find(u"Inherit");
                if (inherit && IsElementName(*inherit))
                    next = *inherit;
            }
            if (next.empty() && info && info->Parent)
                next = info->Parent;
            // An element of the skin's own falls back the way Element() looks names up.
            size_t dot = current.rfind(u'.');
            if (next.empty() && !info && dot != String::npos &&
                IsElementName(StringView(current).substr(0, dot)))
                next = current.substr(0, dot);
            current = std::move(next);
        }
        return chain;
    }

    // An element key in upper case, alone and with each state's suffix.
    struct TKey {
        explicit TKey(StringView name) : Plain(UpperCase(name))
        {
            for (TSkinState state : kSkinStates)
                Stated[static_cast<size_t>(state)] = Plain + u"." + UpperCase(SkinStateName(state));
        }
        String Plain;
        std::array<String, kSkinStateCount> Stated;
    };

    // Per state: "Key.State", then "Key", section by section; else the base value.
    template <class T, class Parse>
    static void States(const TChain& chain, const TKey& key, TSkinStates<T>& values, Parse parse)
    {
        for (TSkinState state : kSkinStates) {
            for (const TSkinIniSection* section : chain.Sections) {
                std::optional<T> value;
                if (state != TSkinState::Normal)
                    if (const String* text = section->FindUpper(key.Stated[static_cast<size_t>(state)]))
                        value = parse(*text);
                if (!value)
                    if (const String* text = section->FindUpper(key.Plain))
                        value = parse(*text);
                if (value) {
                    values[state] = std::move(*value);
                    break;
                }
            }
        }
    }

    template <class T, class Parse>
    static void Single(const TChain& chain, const TKey& key, T& value, Parse parse)
    {
        for (const TSkinIniSection* section : chain.Sections)
            if (const String* text = section->FindUpper(key.Plain))
                if (std::optional<T> parsed = parse(*text)) {
                    value = std::move(*parsed);
                    return;
                }
    }

    std::optional<TColor> Color(StringView text) const
    {
        if (std::optional<TColor> color = ParseSkinColor(text))
            return color;
        return Skin.PaletteColor(Trim(text));
    }

    std::optional<String> Image(StringView text) const
    {
        String name = Trim(text);
        if (SameText(name, u"none"))
            return String();
        if (Skin.FImages.Contains(name))
            return name;
        return std::nullopt;
    }

    std::optional<TSkinGlyph> Glyph(StringView text) const
    {
        String name = Trim(text);
        if (SameText(name, u"none"))
            return TSkinGlyph{};
        if (std::optional<TBuiltinGlyph> builtin = ParseBuiltinGlyph(name))
            return TSkinGlyph{*builtin, String()};
        if (Skin.FImages.Contains(name))
            return TSkinGlyph{TBuiltinGlyph::None, name};
        return std::nullopt;
    }

    std::optional<String> FontName(StringView text) const
    {
        String name = Trim(text);
        if (Skin.FFonts.count(UpperCase(name)))
            return name;
        return std::nullopt;
    }

    TSkinElement Resolve(StringView name) const
    {
        TChain chain = Chain(name);
        const TSkinElement* base = nullptr;
        if (Base && !chain.KnownName.empty())
            base = &Base->Element(chain.KnownName);
        TSkinElement element = base ? *base : PlainElement();
        const TSkinElementInfo* info = FindSkinElement(name);
        element.Name = info ? String(info->Name) : String(name);
        element.Defined = !IsReservedSection(name) && Ini.Section(name);

        auto color = [this](StringView text) { return Color(text); };
        auto ranged = [](int32_t maximum) {
            return [maximum](StringView text) { return ParseSkinInt(text, 0, maximum); };
        };
        auto margins = [](int32_t maximum) {
            return [maximum](StringView text) { return ParseSkinMargins(text, maximum); };
        };
        static const TKey kColor(u"Color"), kBorderColor(u"BorderColor"), kTextColor(u"TextColor"),
            kGlyphColor(u"GlyphColor"), kGlowColor(u"GlowColor"), kImage(u"Image"), kGlyph(u"Glyph"),
            kBorderWidth(u"BorderWidth"), kRadius(u"Radius"), kGlowSize(u"GlowSize"),
            kGlyphSize(u"GlyphSize"), kPadding(u"Padding"), kMargins(u"Margins"), kFont(u"Font"),
            kTextAlign(u"TextAlign");
        States(chain, kColor, element.Fill, color);
        States(chain, kBorderColor, element.Border, color);
        States(chain, kTextColor, element.Text, color);
        States(chain, kGlyphColor, element.GlyphColor, color);
        States(chain, kGlowColor, element.Glow, color);
        States(chain, kImage, element.Image, [this](StringView text) { return Image(text); });
        States(chain, kGlyph, element.Glyph, [this](StringView text) { return Glyph(text); });
        Single(chain, kBorderWidth, element.BorderWidth, ranged(16));
        Single(chain, kRadius, element.Radius, ranged(64));
        Single(chain, kGlowSize, element.GlowSize, ranged(16));
        Single(chain, kGlyphSize, element.GlyphSize, ranged(128));
        Single(chain, kPadding, element.Padding, margins(256));
        Single(chain, kMargins, element.Margins, margins(1024));
        Single(chain, kFont, element.Font, [this](StringView text) { return FontName(text); });
        Single(chain, kTextAlign, element.TextAlign, ParseSkinTextAlign);
        if (!MarginsFit(element))
            element.Margins = TSkinMargins{};
        return element;
    }

    // Nine-slice margins must leave every picture of the element a middle to stretch.
    bool MarginsFit(const TSkinElement& element) const
    {
        for (TSkinState state : kSkinStates) {
            if (!element.HasImage(state))
                continue;
            std::optional<TPngSize> size = Skin.FImages.DesignSize(element.Image[state]);
            const TSkinMargins& m = element.Margins;
            if (!size || m.Left + m.Right > size->Width || m.Top + m.Bottom > size->Height)
                return false;
        }
        return true;
    }
};

TSkinDefinition::TSkinDefinition() : TSkinDefinition(Builtin())
{
}

TSkinDefinition::TSkinDefinition(const TSkinIni& ini, TSkinImageSet images, const TSkinDefinition* base)
    : FImages(std::move(images))
{
    const TSkinIniSection* info = ini.Section(u"Skin");
    FInfo.Name = InfoText(info, u"Name");
    FInfo.Author = InfoText(info, u"Author");
    FInfo.Version = InfoText(info, u"Version");
    FInfo.Description = InfoText(info, u"Description");
    if (info) {
        if (const String* text = info->Find(u"Format"))
            FInfo.Format = ParseSkinInt(*text, 1, 1000).value_or(FInfo.Format);
        if (const String* text = info->Find(u"SkinnedFrame"))
            FInfo.SkinnedFrame = ParseSkinBool(*text).value_or(FInfo.SkinnedFrame);
    }

    if (const TSkinIniSection* colors = ini.Section(u"Colors"))
        for (const String& key : colors->Keys())
            if (std::optional<TColor> color = ParseSkinColor(*colors->Find(key)))
                FPalette[UpperCase(key)] = *color;

    FMetrics = base ? base->FMetrics : TSkinMetrics{};
    if (const TSkinIniSection* metrics = ini.Section(u"Metrics"))
        for (const TSkinMetricInfo& metric : kMetrics)
            if (const String* text = metrics->Find(metric.Key))
                FMetrics.*metric.Field =
                    ParseSkinInt(*text, metric.Minimum, metric.Maximum).value_or(FMetrics.*metric.Field);

    // Every font of the skin starts from its default font, which starts from the base's.
    TSkinFont defaultFont = base ? base->Font(u"Default") : TSkinFont{};
    auto readFont = [](const TSkinIniSection& section, TSkinFont font) {
        if (const String* text = section.Find(u"Family"))
            font.Families = ParseSkinFontFamilies(*text).value_or(font.Families);
        if (const String* text = section.Find(u"Size"))
            font.Height = ParseSkinFontSize(*text).value_or(font.Height);
        if (const String* text = section.Find(u"Weight"))
            font.Weight = ParseSkinFontWeight(*text).value_or(font.Weight);
        if (const String* text = section.Find(u"Italic"))
            font.Italic = ParseSkinBool(*text).value_or(font.Italic);
        if (const String* text = section.Find(u"Underline"))
            font.Underline = ParseSkinBool(*text).value_or(font.Underline);
        return font;
    };
    if (const TSkinIniSection* section = ini.Section(u"Font.Default"))
        defaultFont = readFont(*section, defaultFont);
    FFonts[u"DEFAULT"] = defaultFont;
    for (const TSkinIniSection& section : ini.Sections())
        if (IsFontSection(section.Name()) && FFonts.size() < kMaxElements)
            FFonts.emplace(UpperCase(section.Name().substr(5)), readFont(section, defaultFont));

    TResolver resolver{ini, *this, base};
    for (const TSkinElementInfo& element : SkinElementTable())
        FElements[UpperCase(element.Name)] = resolver.Resolve(element.Name);
    for (const TSkinIniSection& section : ini.Sections()) {
        if (FElements.size() >= kMaxElements)
            break;
        String key = UpperCase(section.Name());
        if (!IsReservedSection(section.Name()) && !section.Name().empty() && !FElements.count(key))
            FElements[key] = resolver.Resolve(section.Name());
    }
}

const TSkinDefinition& TSkinDefinition::Builtin()
{
    static const TSkinDefinition builtin(TSkinIni::FromText(BuiltinSkinIni()), TSkinImageSet(), nullptr);
    return builtin;
}

std::shared_ptr<const TSkinDefinition> TSkinDefinition::FromIni(const TSkinIni& ini, TSkinImageSet images)
{
    return std::shared_ptr<const TSkinDefinition>(new TSkinDefinition(ini, std::move(images), &Builtin()));
}

std::shared_ptr<const TSkinDefinition> TSkinDefinition::FromBytes(
    std::string_view skinFile, const TSkinArchiveLimits& limits)
{
    TSkinArchive archive = TSkinArchive::Read(skinFile, limits);
    const std::string* iniBytes = archive.Find(u"skin.ini");
    if (!iniBytes)
        throw ESkinError(u"The skin file cannot be used: it holds no skin.ini.");
    if (iniBytes->size() > kMaxIniBytes)
        throw ESkinError(u"The skin file cannot be used: its skin.ini is too large.");
    TSkinIni ini = TSkinIni::FromBytes(*iniBytes);
    TSkinImageSet images;
    images.AddFromArchive(archive);
    return FromIni(ini, std::move(images));
}

const TSkinFont& TSkinDefinition::Font(StringView name) const
{
    auto it = FFonts.find(UpperCase(name));
    return it != FFonts.end() ? it->second : FFonts.at(u"DEFAULT");
}

std::optional<TColor> TSkinDefinition::PaletteColor(StringView name) const
{
    auto it = FPalette.find(UpperCase(name));
    return it == FPalette.end() ? std::nullopt : std::optional<TColor>(it->second);
}

const TSkinElement& TSkinDefinition::Element(StringView name) const
{
    String key = UpperCase(name);
    while (true) {
        auto it = FElements.find(key);
        if (it != FElements.end())
            return it->second;
        size_t dot = key.rfind(u'.');
        if (dot == String::npos)
            return PlainElement();
        key.resize(dot);
    }
}

bool TSkinDefinition::Defines(StringView name) const
{
    auto it = FElements.find(UpperCase(name));
    return it != FElements.end() && it->second.Defined;
}

std::vector<String> TSkinDefinition::MissingElements() const
{
    std::vector<String> missing;
    for (const TSkinElementInfo& element : SkinElementTable()) {
        bool needed = element.Need == TSkinNeed::Always ||
            (element.Need == TSkinNeed::SkinnedFrame && FInfo.SkinnedFrame);
        if (needed && !Defines(element.Name))
            missing.emplace_back(element.Name);
    }
    return missing;
}

} // namespace vp
