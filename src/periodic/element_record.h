// One cell of the periodic table and the property lists that a ".pte" file fills: the types
// shared by the element data, the table logic, its file and its windows.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace periodic {

// One line of a property list: a property identifier and its text (a name, a unit or a value).
struct TPropertyEntry {
  std::int32_t Id = 0;
  std::string Text;

  bool operator==(const TPropertyEntry&) const = default;
};
using TPropertyList = std::vector<TPropertyEntry>;

// The number of properties every element has built in: atomic weight, melting point, boiling
// point and density, identifiers 1 .. 4.
constexpr int kBuiltInPropertyCount = 4;

struct TElementRec {
  std::string Symbol;  // also the element's section name in a ".pte" file
  std::string Name;
  std::string Category;
  std::string State;
  // Built-in texts of properties 1 .. 4, exactly as the default file stores them; empty when
  // no value is known.
  std::array<std::string, kBuiltInPropertyCount> Properties;
  std::uint8_t Number = 0;             // 0 marks an empty cell
  std::uint8_t Group = 0;              // 0 for the two series below the main table
  std::uint8_t Period = 0;             // likewise
  std::vector<std::int8_t> Oxidation;  // in display order
  std::uint8_t Radioactive = 0;
  std::uint8_t Synthetic = 0;
  std::uint8_t Toxic = 0;
  // Property values after a file was read; empty before.
  TPropertyList Values;

  bool Empty() const { return Number == 0; }
};

// The built-in data of the 109 elements, hydrogen to meitnerium, in atomic-number order.
const std::vector<TElementRec>& BuiltInElements();

}  // namespace periodic
