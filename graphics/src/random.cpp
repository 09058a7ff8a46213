// The pseudo-random generator: a fixed start seed, so a program that never
// calls Randomize sees the same numbers on every run.

#include <chrono>
#include <cstdint>

#include "device.h"

namespace gfx {

namespace {

constexpr std::uint64_t kStartSeed = 0x5EED0F5EED0F5EEDull;
std::uint64_t state = kStartSeed;

// splitmix64: small, fast, and good in every output bit.
std::uint32_t Next32() {
  state += 0x9E3779B97F4A7C15ull;
  std::uint64_t z = state;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return std::uint32_t((z ^ (z >> 31)) >> 32);
}

}  // namespace

void ResetRandom() { state = kStartSeed; }

}  // namespace gfx

void Randomize() {
  gfx::state = std::uint64_t(std::chrono::system_clock::now().time_since_epoch().count()) ^
               std::uint64_t(std::chrono::steady_clock::now().time_since_epoch().count());
}

int Random(int n) {
  if (n == 0) return 0;
  const std::uint64_t range = n > 0 ? std::uint64_t(n) : std::uint64_t(-std::int64_t(n));
  const auto value = std::int64_t((std::uint64_t(gfx::Next32()) * range) >> 32);
  return int(n > 0 ? value : -value);
}
