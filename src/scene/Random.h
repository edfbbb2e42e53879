#pragma once

#include <cstdint>

// The scene's pseudo-random generator, with the arithmetic of the classic C library's rand():
// the same seed gives the same numbers on every target, so native runs and Windows runs spin
// the cube alike.
void SeedRandom(std::uint32_t seed);

// Advances the state (state * 214013 + 2531011, modulo 2^32) and returns its bits 16 to 30,
// a value from 0 to 32767.
int NextRandom();
