// What the conversion windows ask of the graph window, which is made apart from them. Either
// hook may be left empty.
#pragma once

#include <cstdint>
#include <functional>

namespace conversion {

struct TConversionLinks {
  // Shows the graph of the category at this 0-based index.
  std::function<void(std::int32_t category)> ShowGraph;
  // The table was locked or has just been checked: a graph window on screen redraws.
  std::function<void()> UpdateGraph;
};

}  // namespace conversion
