// One arbitrary input run through pool loading, the lookups and selection, shared by the
// libFuzzer target and by the bounded random-input test of the normal test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vptest {

// The input, read as UTF-8, is split at line ends into "NORMAL_IPS", "SUPER_IPS",
// "TARGET_COUNTRY" and a query text. Returns "" when every invariant held, else what broke.
std::string RunPoolFuzzInput(const uint8_t* data, size_t size);

} // namespace vptest
