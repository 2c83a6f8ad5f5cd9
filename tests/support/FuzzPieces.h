// Generated input for running the fuzz bodies in the normal test run (g++, no libFuzzer).
#pragma once

#include <random>
#include <span>
#include <string>

namespace vptest {

// Appends fewer than maxPieces items to input: mostly pieces of well-formed input, and on
// average one in rawOneIn a raw byte.
void AppendRandomPieces(
    std::string& input, std::mt19937& rng, std::span<const char* const> pieces, int maxPieces, int rawOneIn = 8);

} // namespace vptest
