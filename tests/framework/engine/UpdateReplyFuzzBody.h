// One arbitrary update reply run through the parser and the writing step, shared by the
// libFuzzer target and by the bounded random-input test of the normal test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vptest {

// The input, read as UTF-8, is the magic word up to the first LF and the reply after it.
// Returns "" when every invariant held, else what broke.
std::string RunUpdateReplyFuzzInput(const uint8_t* data, size_t size);

} // namespace vptest
