// One run of arbitrary bytes through the language file: loading, canonical sorting, lookups
// and section reads. Shared by the libFuzzer target and the bounded random-input test.
#pragma once

#include <string>
#include <string_view>

namespace vptest {

// Empty when every invariant held, otherwise what went wrong.
std::string FuzzLanguageFile(std::string_view bytes);

} // namespace vptest
