#include "scene/Random.h"

namespace {

std::uint32_t randomState;

}  // namespace

void SeedRandom(std::uint32_t seed) {
    randomState = seed;
}

int NextRandom() {
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the generator's step.
    randomState = randomState * 214013u + 2531011u;
    return static_cast<int>((randomState >> 16) & 0x7FFFu);
}
