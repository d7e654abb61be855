#include "draw/random_source.h"

#include <chrono>
#include <stdexcept>

namespace draw {

RandomSource::RandomSource() { seedFromClock(); }

void RandomSource::seedFromClock() {
  engine_.seed(static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

int RandomSource::between(int lowest, int highest) {
  if (lowest > highest) throw std::invalid_argument("empty random range");
  return std::uniform_int_distribution<int>(lowest, highest)(engine_);
}

}  // namespace draw
