// One arbitrary input through the skin file path (archive, skin.ini, model, pictures), shared by the
// libFuzzer target and by the bounded random-input test of the normal test run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vptest {

// The input is read four ways: as a PNG picture, as a skin file, as the skin.ini of a sound
// skin file, and as skin.ini text alone. Returns "" when every invariant held, else what broke.
std::string RunSkinFuzzInput(const uint8_t* data, size_t size);

} // namespace vptest
