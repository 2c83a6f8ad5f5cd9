// The location reply fuzz body over a few thousand generated replies, so that the normal test
// run (g++, no libFuzzer) covers it too: key lines in any case, repeated keys, empty values,
// every kind of line end, byte-order marks, malformed UTF-8 and raw bytes (NUL among them).
#include "InfoReplyFuzzBody.h"

#include "support/FuzzPieces.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const kPieces[] = {"IP=", "ip=", "Ip",
    "COUNTRY_SHORT=", "country_short=", "COUNTRY_LONG=", "CITY=", "=", "==", "192.0.2.1", "US", "de", "\r\n",
    "\n", "\r", "\r\r\n", " ", "\t", "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", "\xC3\xBC", "\xE2\x82\xAC",
    "\xF0\x9F\x98\x80", "\xC3", "\xFF"};

std::string GeneratedReply(std::mt19937& rng)
{
    std::string input(1, static_cast<char>(rng() % 2));
    vptest::AppendRandomPieces(input, rng, kPieces, 48, 6);
    return input;
}

} // namespace

TEST(InfoReplyFuzzBody, GeneratedRepliesKeepEveryInvariant)
{
    std::mt19937 rng(20240817u);
    for (int round = 0; round < 4000; ++round) {
        std::string input = GeneratedReply(rng);
        std::string broken =
            vptest::RunInfoReplyFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
        ASSERT_EQ(broken, "") << "round " << round << " input: " << testing::PrintToString(input);
    }
}

TEST(InfoReplyFuzzBody, EdgeReplies)
{
    const std::string inputs[] = {"", std::string(1, '\1'), std::string("\0IP=1\r\nIP=2", 11),
        std::string(20000, '='), "\1" + std::string(3000, '\n'), std::string("\0\xFF\xFEI\0P\0=\0x\0", 11),
        "\1\xEF\xBB\xBFIP=\xC3"};
    for (const std::string& input : inputs)
        EXPECT_EQ(
            vptest::RunInfoReplyFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size()), "");
}
