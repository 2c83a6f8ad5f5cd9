// The fuzz bodies' check: a broken invariant ends the body with its text, so that a fuzzer
// and a GoogleTest case both report which one broke.
#pragma once

#include <string>

#define VP_FUZZ_CHECK(condition)                                                                             \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            return std::string("broken: ") + #condition;                                                     \
    } while (false)
