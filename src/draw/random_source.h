#pragma once
// The one random source of the program. Start-up seeds it from the clock once;
// tests replace the seed to make a draw repeatable. Every draw is uniform:
// std::uniform_int_distribution rejects rather than folds, so no value is
// favoured the way a modulo would favour the low ones.
#include <cstdint>
#include <random>

namespace draw {

class RandomSource {
 public:
  RandomSource();  // seeded from the clock
  explicit RandomSource(std::uint64_t seed) : engine_(seed) {}

  void seed(std::uint64_t value) { engine_.seed(value); }
  void seedFromClock();
  // A uniform integer in lowest … highest (both included); requires lowest ≤ highest.
  int between(int lowest, int highest);

 private:
  std::mt19937_64 engine_;
};

}  // namespace draw
