// The process-wide random generator.
#include "evaluator/random_source.h"

#include <chrono>

namespace evaluator {

TRandomSource::TRandomSource() {
  SeedFromClock();
}

void TRandomSource::Seed(std::uint64_t seed) {
  engine_.seed(seed);
}

void TRandomSource::SeedFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  engine_.seed(static_cast<std::uint64_t>(ticks));
}

double TRandomSource::NextUnit() {
  // The top 53 bits scaled by 2^-53: every result is exact and strictly below 1.
  return static_cast<double>(engine_() >> 11) * 0x1.0p-53;
}

std::uint64_t TRandomSource::NextBelow(std::uint64_t range) {
  // Rejection of the incomplete last block keeps every value equally likely.
  const std::uint64_t limit = ~std::uint64_t{0} - (~std::uint64_t{0} % range + 1) % range;
  std::uint64_t draw = engine_();
  while (draw > limit)
    draw = engine_();
  return draw % range;
}

TRandomSource& RandomSource() {
  static TRandomSource source;
  return source;
}

}  // namespace evaluator
