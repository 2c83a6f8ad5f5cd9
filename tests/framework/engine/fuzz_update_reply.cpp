// libFuzzer target: arbitrary update replies through the parser and the writing step.
#include "UpdateReplyFuzzBody.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string broken = vptest::RunUpdateReplyFuzzInput(data, size);
    if (!broken.empty()) {
        std::fprintf(stderr, "%s\n", broken.c_str());
        std::abort();
    }
    return 0;
}
