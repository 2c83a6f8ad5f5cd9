#include "framework/ui/SkinValues.h"

#include <gtest/gtest.h>

using namespace vp;

TEST(SkinValues, ColoursAreHashRRGGBBStoredAsWindowsColourValues)
{
    EXPECT_EQ(ParseSkinColor(u"#2563EB"), TColor(0xEB6325));
    EXPECT_EQ(ParseSkinColor(u" #0f172a "), TColor(0x2A170F));
    EXPECT_EQ(ParseSkinColor(u"#FF0000"), RGBColor(0xFF, 0, 0));
    EXPECT_EQ(ParseSkinColor(u"None"), kClNone);
    for (const char16_t* bad : {u"", u"#", u"#12345", u"#1234567", u"#GG0000", u"2563EB", u"$2563EB",
             u"0x2563EB", u"#25 63EB", u"#\uFF12563EB"})
        EXPECT_EQ(ParseSkinColor(bad), std::nullopt) << U16ToUtf8(bad);
}

TEST(SkinValues, NumbersReadWholeAndWithinTheirRange)
{
    EXPECT_EQ(ParseSkinInt(u" 12 ", 0, 16), 12);
    EXPECT_EQ(ParseSkinInt(u"-3", -5, 5), -3);
    EXPECT_EQ(ParseSkinInt(u"16", 0, 16), 16);
    for (const char16_t* bad : {u"", u"17", u"-1", u"+3", u"3px", u"0x10", u"1.5", u"99999999999", u"\uFF11"})
        EXPECT_EQ(ParseSkinInt(bad, 0, 16), std::nullopt);

    EXPECT_EQ(ParseSkinBool(u"Yes"), true);
    EXPECT_EQ(ParseSkinBool(u"off"), false);
    EXPECT_EQ(ParseSkinBool(u"2"), std::nullopt);
}

TEST(SkinValues, MarginsTakeOneTwoOrFourNumbers)
{
    EXPECT_EQ(ParseSkinMargins(u"4", 10), (TSkinMargins{4, 4, 4, 4}));
    EXPECT_EQ(ParseSkinMargins(u"8, 2", 10), (TSkinMargins{8, 2, 8, 2}));
    EXPECT_EQ(ParseSkinMargins(u"1,2,3,4", 10), (TSkinMargins{1, 2, 3, 4}));
    for (const char16_t* bad : {u"", u"1,2,3", u"1,2,3,4,5", u"1,,2,3", u"11", u"-1", u"1;2", u","})
        EXPECT_EQ(ParseSkinMargins(bad, 10), std::nullopt);
}

TEST(SkinValues, FontsSizeInPixelsOrPoints)
{
    EXPECT_EQ(ParseSkinFontSize(u"11"), 11);
    EXPECT_EQ(ParseSkinFontSize(u"11px"), 11);
    EXPECT_EQ(ParseSkinFontSize(u"8.25pt"), 11); // 11 pixels at 96 DPI
    EXPECT_EQ(ParseSkinFontSize(u"9PT"), 12);
    for (const char16_t* bad : {u"", u"pt", u"5", u"97px", u"-11", u"11em", u"1e1"})
        EXPECT_EQ(ParseSkinFontSize(bad), std::nullopt);

    EXPECT_EQ(ParseSkinFontWeight(u"semibold"), 600);
    EXPECT_EQ(ParseSkinFontWeight(u"700"), 700);
    EXPECT_EQ(ParseSkinFontWeight(u"1200"), std::nullopt);
    EXPECT_EQ(ParseSkinFontFamilies(u" Segoe UI ,, Tahoma "), (std::vector<String>{u"Segoe UI", u"Tahoma"}));
    EXPECT_EQ(ParseSkinFontFamilies(u" , "), std::nullopt);
}

TEST(SkinValues, GlyphNamesRoundTrip)
{
    for (int i = 1; i <= static_cast<int>(TBuiltinGlyph::Confirmation); ++i) {
        auto glyph = static_cast<TBuiltinGlyph>(i);
        EXPECT_EQ(ParseBuiltinGlyph(UpperCase(BuiltinGlyphName(glyph))), glyph);
    }
    EXPECT_EQ(ParseBuiltinGlyph(u"None"), std::nullopt);
    EXPECT_EQ(ParseBuiltinGlyph(u"close.png"), std::nullopt);
}

TEST(SkinValues, ImageNamesCarryTheirScale)
{
    auto split = [](StringView name) {
        std::optional<TSkinImageName> parts = SplitSkinImageName(name);
        return parts ? std::make_pair(parts->Base, parts->Scale) : std::make_pair(String(u"-"), 0.0);
    };
    EXPECT_EQ(split(u"button.png"), std::make_pair(String(u"button.png"), 1.0));
    EXPECT_EQ(split(u"button@1.5x.png"), std::make_pair(String(u"button.png"), 1.5));
    EXPECT_EQ(split(u"Button@2X.PNG"), std::make_pair(String(u"Button.PNG"), 2.0));
    EXPECT_EQ(split(u"a@b/button.png"), std::make_pair(String(u"a@b/button.png"), 1.0));
    for (const char16_t* bad : {u"button.bmp", u".png", u"button@0.5x.png", u"button@5x.png", u"button@x.png",
             u"button@2.png", u"button@-2x.png"})
        EXPECT_EQ(split(bad).second, 0.0) << U16ToUtf8(bad);
}
