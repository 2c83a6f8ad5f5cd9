// libFuzzer target: arbitrary bytes as a skin file, as a skin.ini, and as skin.ini text.
#include "SkinFuzzBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string broken = vptest::RunSkinFuzzInput(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
