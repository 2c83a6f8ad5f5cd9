// The fuzz body over a few thousand generated inputs, so that the normal test run (g++, no
// libFuzzer) covers it too: pieces of well-formed entries mixed with separators, escapes,
// non-ASCII text and raw bytes.
#include "PoolFuzzBody.h"

#include "support/FuzzPieces.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const kPieces[] = {"192.0.2.1:80|United States|US|-97|38",
    "198.51.100.7:81|Cote d\\'Ivoire|CI|-5|8", "203.0.113.9|No Colon|NC|1|2", "a:b:c|Two|TW|3|4", ";", ";;",
    "|", "||||", ":", "\\'", "\\", "'", "\n", " ", "UN", "un", "US", "us", "\xC3\xA9", "\xE2\x82\xAC",
    "\xF0\x9F\x98\x80", "\xFF", "\xC3", "\r"};

std::string GeneratedInput(std::mt19937& rng)
{
    std::string input;
    vptest::AppendRandomPieces(input, rng, kPieces, 40);
    return input;
}

} // namespace

TEST(PoolFuzzBody, GeneratedInputsKeepEveryInvariant)
{
    std::mt19937 rng(20240611u);
    for (int round = 0; round < 3000; ++round) {
        std::string input = GeneratedInput(rng);
        std::string broken =
            vptest::RunPoolFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
        ASSERT_EQ(broken, "") << "round " << round << " input: " << testing::PrintToString(input);
    }
}

TEST(PoolFuzzBody, EdgeInputs)
{
    const std::string inputs[] = {"", "\n\n\n", std::string(5000, ';'), std::string(3000, '|') + "\n" + "x",
        "1.1.1.1:1|A|UN|0|0\n1.1.1.1:1|a|un|0|0\nUN\nUN"};
    for (const std::string& input : inputs)
        EXPECT_EQ(vptest::RunPoolFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size()), "");
}
