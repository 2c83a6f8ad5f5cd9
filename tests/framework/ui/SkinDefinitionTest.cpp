#include "SkinTestSupport.h"

#include "framework/ui/SkinDefinition.h"
#include "framework/ui/SkinElementNames.h"
#include "framework/ui/SkinIni.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vp;
using namespace vptest;

namespace {

using enum TSkinState;

std::shared_ptr<const TSkinDefinition> FromText(StringView ini)
{
    return TSkinDefinition::FromIni(TSkinIni::FromText(ini));
}

std::shared_ptr<const TSkinDefinition> FromFile(const std::string& ini, const std::vector<TTestImage>& images)
{
    return TSkinDefinition::FromBytes(MakeSkinFile(ini, images));
}

const TSkinDefinition& Builtin()
{
    static const TSkinDefinition builtin;
    return builtin;
}

constexpr TColor kRed = RGBColor(0xFF, 0, 0);
constexpr TColor kGreen = RGBColor(0, 0xFF, 0);
constexpr TColor kBlue = RGBColor(0, 0, 0xFF);

} // namespace

TEST(SkinIni, SectionsKeysCommentsAndRepeats)
{
    TSkinIni ini = TSkinIni::FromText(u"orphan=1\n"
                                      u"[ Button ]\r\n"
                                      u"; Color=#000000\n"
                                      u"# also a comment\n"
                                      u"  Color = #FF0000  \r"
                                      u"no equals sign\n"
                                      u"=no name\n"
                                      u"[button]\n"
                                      u"color=#00FF00\n"
                                      u"Radius=4\n");
    ASSERT_EQ(ini.Sections().size(), 1u);
    EXPECT_EQ(ini.Sections()[0].Name(), u"Button");
    EXPECT_EQ(ini.Sections()[0].Keys(), (std::vector<String>{u"Color", u"Radius"}));
    EXPECT_EQ(*ini.Find(u"BUTTON", u"COLOR"), u"#00FF00");
    EXPECT_EQ(ini.Find(u"Button", u"orphan"), nullptr);
    EXPECT_EQ(ini.Find(u"Button", u"no equals sign"), nullptr);
}

TEST(SkinIni, ReadsUtf8AndUtf16)
{
    std::string utf8 = "\xEF\xBB\xBF[Skin]\nName=Caf\xC3\xA9\n";
    EXPECT_EQ(*TSkinIni::FromBytes(utf8).Find(u"Skin", u"Name"), u"Caf\u00E9");
    std::string utf16("\xFF\xFE[\0S\0]\0\n\0a\0=\0\xE9\0", 16);
    EXPECT_EQ(*TSkinIni::FromBytes(utf16).Find(u"S", u"a"), u"\u00E9");
    EXPECT_EQ(*TSkinIni::FromBytes("[S]\na=Caf\xE9").Find(u"S", u"a"), u"Caf\uFFFD");
}

TEST(SkinDefinition, MissingStatesFallBackToNormal)
{
    auto skin = FromText(
        u"[Button]\nColor=#FF0000\nColor.Hot=#00FF00\nColor.Pressed=bad\nTextColor.Disabled=#0000FF\n");
    const TSkinElement& button = skin->Element(u"Button");
    EXPECT_EQ(button.Fill[Normal], kRed);
    EXPECT_EQ(button.Fill[Hot], kGreen);
    EXPECT_EQ(button.Fill[Pressed], kRed); // a bad value counts as left out
    EXPECT_EQ(button.Fill[Disabled], kRed);
    EXPECT_EQ(button.Fill[Focused], kRed);
    // A key the skin leaves out entirely keeps the built-in look, states and all.
    EXPECT_EQ(button.Text[Disabled], kBlue);
    EXPECT_EQ(button.Text[Normal], Builtin().Element(u"Button").Text[Normal]);
    EXPECT_EQ(button.Border, Builtin().Element(u"Button").Border);
}

TEST(SkinDefinition, ElementsFallBackThroughTheirParents)
{
    auto skin = FromText(u"[Button]\nColor=#FF0000\nColor.Hot=#00FF00\nRadius=9\n"
                         u"[Button.Default]\nColor=#0000FF\n"
                         u"[Big]\nInherit=Button.Default\nBorderWidth=3\n"
                         u"[Button.Wide]\nPadding=30,4\n");
    // A missing element is its parent; a present one takes over the keys it leaves out, and
    // its own normal value goes before the parent's state values.
    EXPECT_FALSE(skin->Defines(u"Panel.Framed"));
    EXPECT_EQ(skin->Element(u"Panel.Framed").Border, Builtin().Element(u"Panel.Framed").Border);
    const TSkinElement& def = skin->Element(u"button.default");
    EXPECT_EQ(def.Name, u"Button.Default");
    EXPECT_TRUE(def.Defined);
    EXPECT_EQ(def.Fill[Hot], kBlue);
    EXPECT_EQ(def.Radius, 9);
    // "Inherit" names any element; a skin's own element falls back by its dotted prefix.
    const TSkinElement& big = skin->Element(u"Big");
    EXPECT_EQ(big.Fill[Normal], kBlue);
    EXPECT_EQ(big.BorderWidth, 3);
    EXPECT_EQ(big.Radius, 9);
    EXPECT_EQ(skin->Element(u"Button.Wide").Fill[Hot], kGreen);
    EXPECT_EQ(skin->Element(u"Button.Wide").Padding, (TSkinMargins{30, 4, 30, 4}));
    // Unknown names look up their prefix, and at last a plain element.
    EXPECT_EQ(&skin->Element(u"Button.Default.Huge"), &skin->Element(u"Button.Default"));
    EXPECT_EQ(skin->Element(u"Nothing.Here").Name, u"");
}

TEST(SkinDefinition, InheritanceCyclesAndBadParentsEnd)
{
    auto skin = FromText(u"[A]\nInherit=B\nColor=#FF0000\n[B]\nInherit=A\nRadius=5\n"
                         u"[Self]\nInherit=Self\nRadius=7\n"
                         u"[Button]\nInherit=Nowhere\nRadius=2\n"
                         u"[Label]\nInherit=Colors\n");
    EXPECT_EQ(skin->Element(u"A").Radius, 5);
    EXPECT_EQ(skin->Element(u"B").Fill[Normal], kRed);
    EXPECT_EQ(skin->Element(u"Self").Radius, 7);
    // A parent that is no element is ignored: the built-in parent stands.
    EXPECT_EQ(skin->Element(u"Button").Fill, Builtin().Element(u"Button").Fill);
    EXPECT_EQ(skin->Element(u"Label").Text, Builtin().Element(u"Label").Text);

    std::u16string chain;
    for (int i = 0; i < 40; ++i)
        chain += u"[E" + IntToStr(i) + u"]\nInherit=E" + IntToStr(i + 1) + u"\n";
    chain += u"[E40]\nRadius=6\n";
    auto deep = FromText(chain);
    EXPECT_EQ(deep->Element(u"E30").Radius, 6);
    EXPECT_EQ(deep->Element(u"E0").Radius, 0); // beyond the depth that is followed
}

TEST(SkinDefinition, BadValuesFallBack)
{
    auto skin = FromText(u"[Colors]\nAccent=#00FF00\nBroken=#XYZ\n"
                         u"[Button]\nColor=Accent\nBorderColor=Broken\nBorderWidth=abc\nRadius=65\n"
                         u"Padding=1,2,3\nTextAlign=Middle\nFont=Missing\nGlyph=Sparkle\nImage=nothere.png\n"
                         u"[Metrics]\nCaptionHeight=500\nScrollBarWidth=20\nTabHeight=x\n"
                         u"[Skin]\nFormat=0\nSkinnedFrame=maybe\nName=" +
        String(300, u'n') + u"\n");
    const TSkinElement& button = skin->Element(u"Button");
    const TSkinElement& builtin = Builtin().Element(u"Button");
    EXPECT_EQ(button.Fill[Normal], kGreen);
    EXPECT_EQ(button.Border, builtin.Border);
    EXPECT_EQ(button.BorderWidth, builtin.BorderWidth);
    EXPECT_EQ(button.Radius, builtin.Radius);
    EXPECT_EQ(button.Padding, builtin.Padding);
    EXPECT_EQ(button.TextAlign, builtin.TextAlign);
    EXPECT_EQ(button.Font, u"Default");
    EXPECT_TRUE(button.Glyph[Normal].Empty());
    EXPECT_FALSE(button.HasImage(Normal));
    EXPECT_EQ(skin->PaletteColor(u"accent"), kGreen);
    EXPECT_EQ(skin->PaletteColor(u"Broken"), std::nullopt);

    EXPECT_EQ(skin->Metrics().CaptionHeight, TSkinMetrics{}.CaptionHeight);
    EXPECT_EQ(skin->Metrics().ScrollBarWidth, 20);
    EXPECT_EQ(skin->Metrics().TabHeight, TSkinMetrics{}.TabHeight);
    EXPECT_EQ(skin->Info().Format, 1);
    EXPECT_TRUE(skin->Info().SkinnedFrame);
    EXPECT_EQ(skin->Info().Name.size(), 256u);
}

TEST(SkinDefinition, FontsStartFromTheSkinsDefaultFont)
{
    auto skin = FromText(u"[Font.Default]\nFamily=Segoe UI, Tahoma\nSize=9pt\n"
                         u"[Font.Caption]\nWeight=Bold\n[Font.Link]\nUnderline=1\nSize=huge\n"
                         u"[Form.Caption]\nFont=caption\n");
    EXPECT_EQ(skin->Font(u"Default").Families, (std::vector<String>{u"Segoe UI", u"Tahoma"}));
    EXPECT_EQ(skin->Font(u"Default").Height, 12);
    const TSkinFont& caption = skin->Font(u"Caption");
    EXPECT_EQ(caption.Families, skin->Font(u"Default").Families);
    EXPECT_EQ(caption.Weight, 700);
    EXPECT_TRUE(skin->Font(u"link").Underline);
    EXPECT_EQ(skin->Font(u"link").Height, 12);
    EXPECT_EQ(&skin->Font(u"Unknown"), &skin->Font(u"Default"));
    EXPECT_EQ(skin->Element(u"Form.Caption").Font, u"caption");
    // The built-in look's other fonts do not leak into a skin.
    EXPECT_EQ(FromText(u"")->Font(u"Caption").Weight, 400);
}

TEST(SkinDefinition, GlyphsAreBuiltInOrPictures)
{
    auto skin = FromFile("[CaptionButton.Close]\nGlyph=close.png\nGlyph.Hot=Close\nGlyph.Disabled=none\n"
                         "GlyphColor.Hot=#FF0000\n",
        {{"close.png", 10, 10}});
    const TSkinElement& close = skin->Element(skin::kCaptionButtonClose);
    EXPECT_EQ(close.Glyph[Normal].Image, u"close.png");
    EXPECT_EQ(close.Glyph[Hot].Builtin, TBuiltinGlyph::Close);
    EXPECT_TRUE(close.Glyph[Disabled].Empty());
    EXPECT_EQ(close.Glyph[Pressed].Image, u"close.png");
    EXPECT_EQ(close.GlyphColor[Hot], kRed);
    // The built-in look gives every caption button its symbol.
    EXPECT_EQ(skin->Element(skin::kCaptionButtonRollUp).Glyph[Normal].Builtin, TBuiltinGlyph::RollUp);
    EXPECT_EQ(skin->Element(skin::kMessageBoxIconWarning).Glyph[Normal].Builtin, TBuiltinGlyph::Warning);
}

TEST(SkinDefinition, PicturesWithStatesScalesAndMargins)
{
    auto skin = FromFile("[Button]\nImage=btn.png\nImage.Hot=btn_hot.png\nMargins=4,5\n"
                         "[Panel]\nImage=btn.png\nMargins=20,4\n"
                         "[Button.Default]\nImage=none\n",
        {{"btn.png", 20, 24}, {"btn@1.5x.png", 30, 36}, {"btn@2x.png", 40, 48}, {"btn_hot@2x.png", 40, 48},
            {"btn@3x.png", 60, 72}});
    const TSkinElement& button = skin->Element(u"Button");
    EXPECT_EQ(button.Image[Normal], u"btn.png");
    EXPECT_EQ(button.Image[Hot], u"btn_hot.png");
    EXPECT_EQ(button.Image[Focused], u"btn.png");
    EXPECT_EQ(button.Margins, (TSkinMargins{4, 5, 4, 5}));
    // Margins wider than the picture leave nothing to stretch: they are dropped.
    EXPECT_EQ(skin->Element(u"Panel").Margins, TSkinMargins{});
    // "none" draws the child flat although its parent has pictures.
    EXPECT_FALSE(skin->Element(u"Button.Default").HasImage(Normal));

    const TSkinImageSet& images = skin->Images();
    auto pick = [&](StringView name, double scale) { return images.Pick(name, scale)->Scale; };
    EXPECT_EQ(pick(u"btn.png", 1.0), 1.0);
    EXPECT_EQ(pick(u"btn.png", 1.25), 1.5);
    EXPECT_EQ(pick(u"BTN.PNG", 1.5), 1.5);
    EXPECT_EQ(pick(u"btn.png", 1.75), 2.0);
    EXPECT_EQ(pick(u"btn.png", 2.0), 2.0);
    EXPECT_EQ(pick(u"btn.png", 4.0), 3.0);
    // A picture drawn only at 2x serves every scale.
    EXPECT_EQ(pick(u"btn_hot.png", 1.0), 2.0);
    EXPECT_EQ(images.DesignSize(u"btn_hot.png")->Width, 20);
    EXPECT_EQ(images.Pick(u"btn@2x.png", 1.0)->Name, u"btn.png");
    EXPECT_EQ(images.Pick(u"missing.png", 1.0), nullptr);
    EXPECT_EQ(images.Variants(u"btn.png")->size(), 4u);
}

TEST(SkinImages, OnlyPngPicturesWithOneVariantPerScale)
{
    TSkinImageSet images;
    EXPECT_TRUE(images.Add(u"a.png", MakePng(4, 4)));
    EXPECT_FALSE(images.Add(u"A@1x.png", MakePng(4, 4)));
    EXPECT_FALSE(images.Add(u"b.png", "GIF89a not a png"));
    EXPECT_FALSE(images.Add(u"c.bmp", MakePng(4, 4)));
    EXPECT_FALSE(images.Add(u"d@9x.png", MakePng(4, 4)));
    std::string huge = MakePng(4, 4);
    huge[16] = '\x7F'; // width beyond what is drawn
    EXPECT_FALSE(images.Add(u"e.png", huge));
    EXPECT_EQ(images.Count(), 1u);
    EXPECT_EQ(ReadPngSize(MakePng(7, 3))->Height, 3);
    EXPECT_EQ(ReadPngSize(MakePng(7, 3).substr(0, 23)), std::nullopt);
}

TEST(SkinDefinition, RequiredElementsDependOnTheFrame)
{
    auto framed = FromText(u"[Skin]\nSkinnedFrame=1\n");
    auto system = FromText(u"[Skin]\nSkinnedFrame=0\n");
    auto has = [](const std::vector<String>& names, StringView name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    std::vector<String> framedMissing = framed->MissingElements();
    std::vector<String> systemMissing = system->MissingElements();
    EXPECT_TRUE(has(framedMissing, u"Form.Caption"));
    EXPECT_TRUE(has(framedMissing, u"CaptionButton.Close"));
    EXPECT_FALSE(has(systemMissing, u"Form.Caption"));
    EXPECT_TRUE(has(systemMissing, u"Button.Default"));
    EXPECT_FALSE(has(systemMissing, u"CaptionButton")); // a base others fall back to
    EXPECT_GT(framedMissing.size(), systemMissing.size());

    auto button = FromText(u"[Skin]\nSkinnedFrame=0\n[button]\n");
    EXPECT_FALSE(has(button->MissingElements(), u"Button"));
    // Every element of the table resolves, defined or not.
    for (const TSkinElementInfo& info : SkinElementTable())
        EXPECT_EQ(button->Element(info.Name).Name, info.Name);
}

TEST(SkinDefinition, FilesWithoutASkinIniAreRefused)
{
    EXPECT_THROW(TSkinDefinition::FromBytes(BuildZip({{"readme.txt", "x"}})), ESkinError);
    EXPECT_THROW(
        TSkinDefinition::FromBytes(BuildZip({{"skin.ini", std::string((1u << 20) + 1, ';'), false}})),
        ESkinError);
    EXPECT_THROW(TSkinDefinition::FromBytes("not a zip"), ESkinError);
    auto skin = TSkinDefinition::FromBytes(BuildZip({{"Skin.INI", "[Skin]\nName=Upper\n"}}));
    EXPECT_EQ(skin->Info().Name, u"Upper");
}
