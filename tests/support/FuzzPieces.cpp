#include "FuzzPieces.h"

namespace vptest {

void AppendRandomPieces(
    std::string& input, std::mt19937& rng, std::span<const char* const> pieces, int maxPieces, int rawOneIn)
{
    int count = static_cast<int>(rng() % static_cast<unsigned>(maxPieces));
    for (int i = 0; i < count; ++i) {
        if (rng() % static_cast<unsigned>(rawOneIn) == 0)
            input += static_cast<char>(rng() % 256);
        else
            input += pieces[rng() % pieces.size()];
    }
}

} // namespace vptest
