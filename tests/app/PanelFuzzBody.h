// One arbitrary input run through the status panel's scene reading, command parsing, state
// and movement, shared by the libFuzzer target and by the bounded random-input test of the
// normal test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vptest {

// The input, read as UTF-8, is read as a scene file and then, line by line, sent as commands
// at times drawn from the input. Returns "" when every invariant held, else what broke.
std::string RunPanelFuzzInput(const uint8_t* data, size_t size);

} // namespace vptest
