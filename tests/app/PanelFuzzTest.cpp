// The fuzz body over a few thousand generated inputs, so that the normal test run (g++, no
// libFuzzer) covers it too: pieces of commands and scene lines mixed with separators,
// non-ASCII text and raw bytes.
#include "PanelFuzzBody.h"

#include "support/FuzzPieces.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const char* const KPieces[] = {"Local", "Target", "LocalA", "TargetA", "Fade", "Turn", "Info_Text", "Info_Text2",
    "Background", "Logo", ",", ",", ",", "True", "in", "out", "0", "50", "100", "-7", "99999999999999", "16711680",
    "C:\\a, b\\KR.PNG", ".png", "\n", "\n", "\r\n", " ", "[Timing]", "Turn=", "Fade=", "Frame=", "[Cards]",
    "Front=", "Back=", "Swing=", "1,2,3,4", "-4097", "#FF00FF", "#80ffffff", "[CardIP]", "Font=", "Tahoma,9,bold",
    "\xC3\xA9", "\xF0\x9F\x98\x80", "\xFF", "\xED\xA0\x80"};

std::string GeneratedInput(std::mt19937& rng)
{
    std::string input;
    vptest::AppendRandomPieces(input, rng, KPieces, 60);
    return input;
}

std::string RunInput(const std::string& input)
{
    return vptest::RunPanelFuzzInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

} // namespace

TEST(PanelFuzzBody, GeneratedInputsKeepEveryInvariant)
{
    std::mt19937 rng(20240917u);
    for (int round = 0; round < 3000; ++round) {
        std::string input = GeneratedInput(rng);
        ASSERT_EQ(RunInput(input), "") << "round " << round << " input: " << testing::PrintToString(input);
    }
}

TEST(PanelFuzzBody, EdgeInputs)
{
    const std::string inputs[] = {"", "\n\n", std::string(20000, ','), "Info_Text," + std::string(20000, 'x') + ",0",
        "[Timing]\nTurn=10000\nFade=10000\nFrame=10\nLocal,True,,,,,100,100\nTurn,Target\nFade,Local,out,0",
        "[Timing]\nTurn=0\nFade=0\nLocal,True,,,,,100,100\nTurn,Target\nFade,Local,out,0\nTurn,Local"};
    for (const std::string& input : inputs)
        EXPECT_EQ(RunInput(input), "");
}
