// The process's one random generator. Several parts draw from it; tests replace it.
#pragma once

#include <cstdint>

namespace vp {

class TRandomSource {
public:
    virtual ~TRandomSource() = default;
    // A number from 0 to range - 1 (0 when range <= 0).
    virtual int32_t Next(int32_t range) = 0;
};

// Draws from the current source (the built-in generator unless a test set another).
int32_t Random(int32_t range);
// Seeds the built-in generator from the clock.
void Randomize();
bool IsRandomized();
void SetRandSeed(uint32_t seed);
// nullptr puts the built-in generator back.
void SetRandomSource(TRandomSource* source);

} // namespace vp
