// The fuzz body over bounded random inputs, so that every test run (with the sanitizers in the
// native build) feeds the skin path hostile bytes: damaged skin files and skin.ini texts.
#include "SkinFuzzBody.h"
#include "SkinTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const std::string_view kPieces[] = {"[", "]", "=", ";", "\n", "\r\n", " ", ".", ",", "#", "@2x", "@1.5x",
    ".png", "a.png", "b.png", "none", "[Skin]", "[Colors]", "[Metrics]", "[Font.Default]", "[Font.X]",
    "[Button]", "[Button.Default]", "[Form.Caption]", "[PopupMenu.Item]", "[X.Y]", "Inherit", "Color",
    "Color.Hot", "BorderColor.Disabled", "TextColor", "Glyph", "Glyph.Pressed", "Image", "Image.Focused",
    "Margins", "Padding", "Radius", "BorderWidth", "Font", "Family", "Size", "Weight", "TextAlign",
    "SkinnedFrame", "CaptionHeight", "#2563EB", "#FFF", "Close", "ArrowUp", "Center", "-1", "0", "4", "65",
    "99999999999", "8.25pt", "11px", "\xC3\xA9", "\xFF", "\xEF\xBB\xBF", std::string_view("\0", 1)};

std::string IniText(std::mt19937& random)
{
    std::string text;
    size_t pieces = random() % 80;
    for (size_t i = 0; i < pieces; ++i) {
        if (random() % 6 == 0)
            text.push_back(static_cast<char>(random() % 256));
        else
            text.append(kPieces[random() % std::size(kPieces)]);
    }
    return text;
}

// A sound skin file, then damaged: bytes changed, cut off, or a stretch repeated.
std::string DamagedFile(std::mt19937& random)
{
    std::string file = vptest::MakeSkinFile(IniText(random), {{"a.png", 4, 4}, {"a@2x.png", 8, 8}});
    switch (random() % 4) {
    case 0:
        for (int i = 0, n = 1 + static_cast<int>(random() % 4); i < n; ++i)
            file[random() % file.size()] = static_cast<char>(random() % 256);
        break;
    case 1: file.resize(random() % file.size()); break;
    case 2: {
        size_t from = random() % file.size();
        file.insert(random() % file.size(), file.substr(from, random() % 64));
        break;
    }
    default: break;
    }
    return file;
}

std::string RunInput(const std::string& input)
{
    return vptest::RunSkinFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

} // namespace

TEST(SkinFuzz, RandomInputsKeepEveryInvariant)
{
    std::mt19937 random(20240611);
    for (int run = 0; run < 600; ++run) {
        std::string input = run % 3 == 0 ? IniText(random) : DamagedFile(random);
        std::string failure = RunInput(input);
        ASSERT_EQ(failure, "") << "input #" << run << ": " << testing::PrintToString(input);
    }
}

TEST(SkinFuzz, DamagedPicturesAreRefusedOrWhole)
{
    std::mt19937 random(20261209);
    for (int run = 0; run < 300; ++run) {
        std::string png = vptest::MakePng(1 + random() % 9, 1 + random() % 9, static_cast<uint32_t>(random()));
        switch (random() % 3) {
        case 0: png[8 + random() % (png.size() - 8)] = static_cast<char>(random() % 256); break;
        case 1: png.resize(8 + random() % (png.size() - 8)); break;
        default: png.insert(8 + random() % (png.size() - 8), png.substr(8 + random() % 20, random() % 40)); break;
        }
        ASSERT_EQ(RunInput(png), "") << "picture #" << run;
    }
}

TEST(SkinFuzz, EdgeInputs)
{
    for (const std::string& input : {std::string(), std::string("PK\x05\x06", 4), std::string(22, '\0'),
             std::string("PK\x05\x06") + std::string(18, '\xFF'), std::string(70000, '['),
             std::string("[A]\nInherit=A\n[B.C.D]\nInherit=B.C\n[B.C]\nInherit=B.C.D\n")})
        EXPECT_EQ(RunInput(input), "") << testing::PrintToString(input.substr(0, 60));
}
