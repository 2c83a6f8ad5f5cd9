// The fuzz body over bounded random inputs, so that every test run (with the sanitizers in
// the native build) feeds the language file hostile bytes.
#include "LangFileFuzzBody.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Pieces that reach the parser's interesting paths more often than random bytes would.
const std::string_view kPieces[] = {"[", "]", "=", ";", "\r\n", "\n", "\r", " ", "\t", "<BR>", "<br>", "<SP>",
    "<sp", "Info", "AppRes", "SkinRes", "LibRes", "BasicRes", "ResString", "TfrmMain", "btnOK", ".",
    "Caption", "[0]", "{AppName}", "\xC3\xA4", "\xFF", "\x80", std::string_view("\0", 1), "-"};

std::string RandomInput(std::mt19937& random)
{
    std::string input;
    switch (random() % 8) {
    case 0: input = "\xEF\xBB\xBF"; break;
    case 1: input = "\xFF\xFE"; break;
    case 2: input = "\xFE\xFF"; break;
    default: break;
    }
    size_t pieces = random() % 64;
    for (size_t i = 0; i < pieces; ++i) {
        if (random() % 4 == 0)
            input.push_back(static_cast<char>(random() % 256));
        else
            input.append(kPieces[random() % std::size(kPieces)]);
    }
    return input;
}

} // namespace

TEST(LanguageFileFuzz, RandomInputsKeepEveryInvariant)
{
    std::mt19937 random(20240611);
    for (int run = 0; run < 3000; ++run) {
        std::string input = RandomInput(random);
        std::string failure = vptest::FuzzLanguageFile(input);
        ASSERT_EQ(failure, "") << "input #" << run << ": " << testing::PrintToString(input);
    }
}

TEST(LanguageFileFuzz, EdgeInputs)
{
    for (std::string_view input :
        {std::string_view(""), std::string_view("\xEF\xBB"), std::string_view("\xFF\xFE\x41"),
            std::string_view("[]\r\n=\r\n==\r\n[ ]\r\n a = b = c \r\n[[x]]\r\n[k=v\r\n"),
            std::string_view("[Info]\nb=1\na=2\n[info]\nc=3\n[A]\na =1\na!=2\n")})
        EXPECT_EQ(vptest::FuzzLanguageFile(input), "");
}
