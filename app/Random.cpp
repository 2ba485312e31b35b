#include "app/Random.h"

#include <random>

namespace {
std::mt19937& Engine() {
  static std::mt19937 engine(5489u);
  return engine;
}
}  // namespace

void RandomSeed(std::uint32_t seed) { Engine().seed(seed); }

std::uint32_t RandomBelow(std::uint32_t limit) {
  std::uniform_int_distribution<std::uint32_t> dist(0, limit - 1);
  return dist(Engine());
}
