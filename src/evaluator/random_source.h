// The process-wide random generator behind the language's random(x). It is seeded from the
// clock when first used; the application reseeds it at start and tests seed it to repeat runs.
#pragma once

#include <cstdint>
#include <random>

namespace evaluator {

class TRandomSource {
 public:
  TRandomSource();

  void Seed(std::uint64_t seed);
  void SeedFromClock();

  // A uniform double in [0, 1).
  double NextUnit();
  // A uniform whole number in [0, range); range must be at least 1.
  std::uint64_t NextBelow(std::uint64_t range);

 private:
  std::mt19937_64 engine_;
};

// The one generator of the process.
TRandomSource& RandomSource();

}  // namespace evaluator
