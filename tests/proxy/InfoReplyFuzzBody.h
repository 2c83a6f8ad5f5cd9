// One arbitrary location reply run through decoding, storing and the key lookups, shared by
// the libFuzzer target and by the bounded random-input test of the normal test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vptest {

// The first byte picks the content type (odd: UTF-8 charset); the rest is the body. Returns
// "" when every invariant held, else what broke.
std::string RunInfoReplyFuzzInput(const uint8_t* data, size_t size);

} // namespace vptest
