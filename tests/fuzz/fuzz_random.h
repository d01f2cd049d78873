#pragma once
// The fuzz's random numbers: SplitMix64, so that a seed and a request number
// give the same request on every machine and in every build.

#include <cstddef>
#include <cstdint>

class FuzzRandom {
 public:
  explicit FuzzRandom(uint64_t seed) : state_(seed) {}

  // The generator of request `index` of a run: each request has its own, so
  // one request can be replayed without the ones before it.
  static FuzzRandom ForRequest(uint64_t runSeed, uint64_t index) {
    FuzzRandom mixer(runSeed ^ (index * 0xD1B54A32D192ED03ull));
    return FuzzRandom(mixer.Next());
  }

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // 0 .. count-1 (0 when count is 0).
  size_t Below(size_t count) { return count == 0 ? 0 : static_cast<size_t>(Next() % count); }
  // lowest .. highest, both included.
  int64_t Between(int64_t lowest, int64_t highest) {
    return lowest + static_cast<int64_t>(Next() % static_cast<uint64_t>(highest - lowest + 1));
  }
  bool Percent(unsigned percent) { return Below(100) < percent; }
  char Byte() { return static_cast<char>(Next() & 0xFF); }

  template <class T, size_t N>
  const T& Pick(const T (&items)[N]) {
    return items[Below(N)];
  }

 private:
  uint64_t state_;
};
