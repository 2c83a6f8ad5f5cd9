#include "framework/rtl/Random.h"

#include "framework/rtl/DateTime.h"

#include <chrono>

namespace vp {

namespace {

// A linear congruential generator: cheap, and enough for spreading selections.
class TBuiltinRandom : public TRandomSource {
public:
    int32_t Next(int32_t range) override
    {
        if (range <= 0)
            return 0;
        Seed = Seed * 134775813u + 1u;
        return static_cast<int32_t>((static_cast<uint64_t>(Seed) * static_cast<uint64_t>(range)) >> 32);
    }

    uint32_t Seed = 0;
    bool Seeded = false;
};

TBuiltinRandom gBuiltin;
TRandomSource* gSource = nullptr;

} // namespace

int32_t Random(int32_t range)
{
    return (gSource ? *gSource : static_cast<TRandomSource&>(gBuiltin)).Next(range);
}

void Randomize()
{
    auto ticks = std::chrono::system_clock::now().time_since_epoch().count();
    gBuiltin.Seed = static_cast<uint32_t>(ticks) ^ static_cast<uint32_t>(static_cast<uint64_t>(ticks) >> 32) ^
        GetTickCount32();
    gBuiltin.Seeded = true;
}

bool IsRandomized()
{
    return gBuiltin.Seeded;
}

void SetRandSeed(uint32_t seed)
{
    gBuiltin.Seed = seed;
    gBuiltin.Seeded = true;
}

void SetRandomSource(TRandomSource* source)
{
    gSource = source;
}

} // namespace vp
