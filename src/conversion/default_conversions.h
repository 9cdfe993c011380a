// The shipped conversion definitions as data: one row per definition, in file order.
#pragma once

#include <cstdint>
#include <span>

namespace conversion {

struct TDefaultDefinition {
  const char* category;
  const char* unitA;
  const char* unitB;
  const char* aToB;
  const char* bToA;
  std::int32_t xA, yA, xB, yB;
};

// The 89 definitions of the 11 default categories, grouped by category in list order.
std::span<const TDefaultDefinition> DefaultDefinitions();

}  // namespace conversion
