// The skin files the build packs: each loads, defines every element the toolkit draws, and
// holds no key or value that would silently fall back.
#include "SkinTestSupport.h"
#include "support/TestSupport.h"

#include "framework/ui/SkinDefinition.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinIni.h"
#include "framework/ui/SkinValues.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using namespace vp;
using namespace vptest;

namespace {

// The build's skins folder and the built-in skin's file, given by the build.
std::vector<std::filesystem::path> ShippedSkinFiles()
{
    std::vector<std::filesystem::path> files{std::filesystem::path(VP_DEFAULT_SKIN_FILE)};
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(VP_BUILT_SKINS_DIR)))
        if (entry.path().extension() == ".skn")
            files.push_back(entry.path());
    return files;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct TShippedSkin {
    std::string FileName;
    std::shared_ptr<const TSkinDefinition> Skin;
    TSkinIni Ini;
};

TShippedSkin Load(const std::filesystem::path& path)
{
    std::string bytes = ReadFileBytes(path);
    TSkinArchive archive = TSkinArchive::Read(bytes);
    return {path.filename().string(), TSkinDefinition::FromBytes(bytes),
        TSkinIni::FromBytes(*archive.Find(u"skin.ini"))};
}

// What each element key must read as in a shipped skin.
std::function<bool(StringView)> ElementKeyReader(
    const TSkinDefinition& skin, const TSkinIni& ini, StringView key)
{
    auto color = [&skin](StringView v) { return ParseSkinColor(v) || skin.PaletteColor(Trim(v)); };
    auto image = [&skin](
                     StringView v) { return SameText(Trim(v), u"none") || skin.Images().Contains(Trim(v)); };
    auto glyph = [image](StringView v) { return ParseBuiltinGlyph(v) || image(v); };
    auto integer = [](int32_t maximum) {
        return [maximum](StringView v) { return ParseSkinInt(v, 0, maximum).has_value(); };
    };
    auto margins = [](int32_t maximum) {
        return [maximum](StringView v) { return ParseSkinMargins(v, maximum).has_value(); };
    };
    String base(key.substr(0, key.find(u'.')));
    bool stated = base.size() < key.size();
    if (stated) {
        StringView state = key.substr(base.size() + 1);
        bool known = false;
        for (TSkinState s : kSkinStates)
            known = known || SameText(state, SkinStateName(s));
        if (!known)
            return nullptr;
    }
    const std::pair<const char16_t*, std::function<bool(StringView)>> keys[] = {
        {u"Color", color},
        {u"BorderColor", color},
        {u"TextColor", color},
        {u"GlyphColor", color},
        {u"GlowColor", color},
        {u"Image", image},
        {u"Glyph", glyph},
    };
    for (const auto& [name, reader] : keys)
        if (SameText(base, name))
            return reader;
    if (stated)
        return nullptr;
    const std::pair<const char16_t*, std::function<bool(StringView)>> single[] = {
        {u"BorderWidth", integer(16)},
        {u"Radius", integer(64)},
        {u"GlowSize", integer(16)},
        {u"GlyphSize", integer(128)},
        {u"Padding", margins(256)},
        {u"Margins", margins(1024)},
        {u"TextAlign", [](StringView v) { return ParseSkinTextAlign(v).has_value(); }},
        {u"Font",
            [&ini](
                StringView v) { return SameText(Trim(v), u"Default") || ini.Section(u"Font." + Trim(v)); }},
        {u"Inherit", [&ini](StringView v) { return ini.Section(v) || FindSkinElement(v); }},
    };
    for (const auto& [name, reader] : single)
        if (SameText(base, name))
            return reader;
    return nullptr;
}

} // namespace

TEST(ShippedSkins, TheBuildPacksBothKinds)
{
    int framed = 0, systemFramed = 0;
    for (const std::filesystem::path& path : ShippedSkinFiles()) {
        std::string name = path.filename().string();
        (EndsWith(name, ".nsf.skn") ? systemFramed : framed)++;
    }
    EXPECT_GE(framed, 2) << "the built-in skin and a skin with its own frame";
    EXPECT_GE(systemFramed, 1);
}

TEST(ShippedSkins, EachDefinesEveryElementItNeeds)
{
    for (const std::filesystem::path& path : ShippedSkinFiles()) {
        SCOPED_TRACE(path.string());
        TShippedSkin shipped = Load(path);
        const TSkinDefinition& skin = *shipped.Skin;
        std::string stem = shipped.FileName.substr(0, shipped.FileName.find('.'));
        EXPECT_EQ(U16ToUtf8(skin.Info().Name), stem);
        EXPECT_EQ(skin.Info().SkinnedFrame, !EndsWith(shipped.FileName, ".nsf.skn"));
        EXPECT_EQ(skin.MissingElements(), std::vector<String>());
        // The designed client font: 11 pixels.
        EXPECT_EQ(skin.Font(u"Default").Height, 11);
    }
}

TEST(ShippedSkins, EveryKeyAndValueReads)
{
    for (const std::filesystem::path& path : ShippedSkinFiles()) {
        SCOPED_TRACE(path.string());
        TShippedSkin shipped = Load(path);
        for (const TSkinIniSection& section : shipped.Ini.Sections()) {
            const String& name = section.Name();
            std::string where = U16ToUtf8(name);
            if (SameText(name, u"Skin") || SameText(name, u"Metrics") ||
                UpperCase(name).rfind(u"FONT.", 0) == 0)
                continue;
            if (SameText(name, u"Colors")) {
                for (const String& key : section.Keys())
                    EXPECT_TRUE(ParseSkinColor(*section.Find(key))) << where << "." << U16ToUtf8(key);
                continue;
            }
            EXPECT_NE(FindSkinElement(name), nullptr) << "unknown element " << where;
            for (const String& key : section.Keys()) {
                auto reader = ElementKeyReader(*shipped.Skin, shipped.Ini, key);
                ASSERT_TRUE(reader) << "unknown key " << where << "." << U16ToUtf8(key);
                EXPECT_TRUE(reader(*section.Find(key)))
                    << where << "." << U16ToUtf8(key) << "=" << U16ToUtf8(*section.Find(key));
            }
        }
        if (const TSkinIniSection* metrics = shipped.Ini.Section(u"Metrics"))
            for (const String& key : metrics->Keys()) {
                const TSkinMetricInfo* info = nullptr;
                for (const TSkinMetricInfo& metric : SkinMetricTable())
                    if (SameText(key, metric.Key))
                        info = &metric;
                ASSERT_NE(info, nullptr) << "unknown metric " << U16ToUtf8(key);
                EXPECT_TRUE(ParseSkinInt(*metrics->Find(key), info->Minimum, info->Maximum))
                    << U16ToUtf8(key);
            }
    }
}

TEST(ShippedSkins, PicturesComeInEveryScale)
{
    for (const std::filesystem::path& path : ShippedSkinFiles()) {
        SCOPED_TRACE(path.string());
        TShippedSkin shipped = Load(path);
        const TSkinImageSet& images = shipped.Skin->Images();
        std::vector<String> used;
        for (const TSkinElementInfo& info : SkinElementTable()) {
            const TSkinElement& element = shipped.Skin->Element(info.Name);
            for (TSkinState state : kSkinStates) {
                if (element.HasImage(state))
                    used.push_back(element.Image[state]);
                if (!element.Glyph[state].Image.empty())
                    used.push_back(element.Glyph[state].Image);
            }
        }
        for (const String& name : used) {
            const std::vector<TSkinImage>* variants = images.Variants(name);
            ASSERT_NE(variants, nullptr) << U16ToUtf8(name);
            ASSERT_EQ(variants->size(), 3u) << U16ToUtf8(name);
            const TSkinImage& one = variants->front();
            for (const TSkinImage& variant : *variants) {
                EXPECT_NEAR(variant.Width, one.Width * variant.Scale, 0.5) << U16ToUtf8(variant.Name);
                EXPECT_NEAR(variant.Height, one.Height * variant.Scale, 0.5) << U16ToUtf8(variant.Name);
            }
        }
    }
}
