// The program's pseudo-random source: seeded once from the clock at start-up,
// it supplies the cache-busting "rand" values of the HTTP requests.
#pragma once

#include <cstdint>

void RandomSeed(std::uint32_t seed);
// Uniform in [0, limit); limit must be at least 1.
std::uint32_t RandomBelow(std::uint32_t limit);
