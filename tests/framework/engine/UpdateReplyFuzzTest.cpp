// The update reply fuzz body over a few thousand generated replies, so that the normal test
// run (g++, no libFuzzer) covers it too: known names in any case, both prefixes, repeated
// lines, equals signs in values, every kind of line end, brackets, non-ASCII text and raw bytes.
#include "UpdateReplyFuzzBody.h"

#include "support/FuzzPieces.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>

namespace {

const char* const kMagicWords[] = {"", "vp", "Veilport", "\xC3\xA9t\xC3\xA9"};

const char* const kPieces[] = {"magicword=", "MAGICWORD=", "magicword", "vp", "VP", "Veilport",
    "\xC3\x89T\xC3\x89", "__MODIFY__.", "__modify__.", "__MODIFY__", "Banner.", "BANNER.", "NORMAL_IPS",
    "192.0.2.1:80|United States|US|-97|38;", "Result=", "result=", "info=", "page=", "0", "1", "2", "abc",
    "$1", "=", "==", "[", "]", ";", " ", "\t", "\r\n", "\n", "\r", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xC3",
    "\xFF", "\r\n__MODIFY__.A=", "\n__modify__.SUPER_TOUCH=", "\r\nBanner.Top=", "\rResult=1\r", "\ninfo="};

std::string GeneratedInput(std::mt19937& rng)
{
    std::string magic = kMagicWords[rng() % std::size(kMagicWords)];
    std::string input = magic + '\n';
    // Most replies open with their magic line, so that the lines after it are read.
    if (rng() % 4 != 0)
        input += (rng() % 2 ? "magicword=" : "MagicWord=") + magic + "\r\n";
    vptest::AppendRandomPieces(input, rng, kPieces, 48);
    return input;
}

std::string RunInput(const std::string& input)
{
    return vptest::RunUpdateReplyFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

} // namespace

TEST(UpdateReplyFuzzBody, GeneratedRepliesKeepEveryInvariant)
{
    std::mt19937 rng(20240923u);
    for (int round = 0; round < 4000; ++round) {
        std::string input = GeneratedInput(rng);
        ASSERT_EQ(RunInput(input), "") << "round " << round << " input: " << testing::PrintToString(input);
    }
}

TEST(UpdateReplyFuzzBody, EdgeReplies)
{
    const std::string inputs[] = {"", "\n", "vp", "vp\nmagicword=vp", std::string(20000, '='),
        "\n" + std::string(5000, '\r'), "vp\n" + std::string("magicword=vp\0\n__MODIFY__.\0=\0", 29),
        "\nmagicword=\n" + std::string(3000, 'x') + "\n__MODIFY__.[" + std::string(3000, '=') + "]"};
    for (const std::string& input : inputs)
        EXPECT_EQ(RunInput(input), "") << testing::PrintToString(input);
}
