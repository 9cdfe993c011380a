// libFuzzer target: bytes opened as a ".pte" file by the periodic table, as its window opens
// one over the state the default file gave. A refused file leaves every property list as it
// was and says why; an accepted one gives the same lists whatever the table held before.
#include <cstdint>
#include <string>

#include "file_fuzz_support.h"
#include "periodic/periodic_table.h"

namespace fuzzing {
namespace {

using periodic::TPeriodicTable;

// What a read fills: the property names and units and every cell's values.
struct TSnapshot {
  periodic::TPropertyList names;
  periodic::TPropertyList units;
  std::vector<periodic::TPropertyList> values;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snapshot(const TPeriodicTable& table) {
  TSnapshot snapshot{table.PropertyNames, table.PropertyUnits, {}};
  for (const auto& row : table.ElementGrid) {
    for (const periodic::TElementRec& cell : row)
      snapshot.values.push_back(cell.Values);
  }
  return snapshot;
}

}  // namespace
}  // namespace fuzzing

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace fuzzing;
  static const TSnapshot builtIn = [] {
    TPeriodicTable table;
    table.LoadBuiltInProperties();
    return Snapshot(table);
  }();
  TQuietPrompt prompt;
  TPeriodicTable table;
  table.LoadBuiltInProperties();
  std::string path = InputFile(AsText(data, size), "pte");
  const TPeriodicTable::TReadState state =
      table.ReadFromPTEFile(path, "/nonexistent/calc-fuzz-default.pte", prompt);
  if (!state.Loaded) {
    if (!(Snapshot(table) == builtIn)) FileViolation("a refused file changed the lists");
    if (prompt.messages.empty()) FileViolation("refusal without a message");
    return 0;
  }
  // The same file read into a table that holds nothing yet.
  TPeriodicTable fresh;
  if (const auto error = fresh.LoadFile(path)) FileViolation("a loaded file was refused", *error);
  if (!(Snapshot(fresh) == Snapshot(table))) {
    FileViolation("what a file gives depends on what the table held");
  }
  return 0;
}
