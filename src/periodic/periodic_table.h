// TPeriodicTable: the grid of element cells in the 18-column layout with the two series below
// it, and the property names, units and values that a ".pte" file adds to the built-in data.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "periodic/element_record.h"

namespace app {
class TIniFile;
class TUserPrompt;
}  // namespace app

namespace periodic {

constexpr int kGridRows = 10;
constexpr int kGridColumns = 18;
// Rows of the lanthanoid and actinoid series; their elements sit in columns 3 .. 16.
constexpr int kLanthanoidRow = 8;
constexpr int kActinoidRow = 9;

using TElementGrid = std::array<std::array<TElementRec, kGridColumns>, kGridRows>;

struct TCellPosition {
  int Row = 0;
  int Column = 0;

  bool operator==(const TCellPosition&) const = default;
};

// Names and default units of properties 1 .. 4.
extern const std::array<const char*, kBuiltInPropertyCount> kBuiltInPropertyNames;
extern const std::array<const char*, kBuiltInPropertyCount> kBuiltInPropertyUnits;

// Where an element of the built-in data sits: row = period and column = group - 1 in the main
// table, rows 8 and 9 from column 3 for the two series.
TCellPosition PositionOf(const TElementRec& element);

// A key of a property line as an integer, the way the file reader takes it: optional blanks
// around an optional sign and decimal digits that fit 32 bits. Nothing for anything else.
std::optional<std::int32_t> PropertyKey(const std::string& text);

class TPeriodicTable {
 public:
  // Fills the grid with the built-in data; the property lists start empty.
  TPeriodicTable();

  TElementGrid ElementGrid;
  TPropertyList PropertyNames;  // file order, then the missing ones of 1 .. 4
  TPropertyList PropertyUnits;  // file order

  const TElementRec& Cell(TCellPosition position) const {
    return ElementGrid[position.Row][position.Column];
  }
  static bool InGrid(TCellPosition position) {
    return position.Row >= 0 && position.Row < kGridRows && position.Column >= 0 &&
           position.Column < kGridColumns;
  }

  // The element with this symbol (exact case first, then ignoring case) or atomic number.
  std::optional<TCellPosition> Find(const std::string& symbolOrNumber) const;

  // Empties PropertyNames, PropertyUnits and every cell's Values.
  void ClearProperties();

  // The default ".pte" file: the four properties, their units and one section per element in
  // grid order with its built-in texts; lines end with CR LF.
  std::string DefaultFileText() const;

  // Replaces the property lists with the sections "Properties", "Units" and one per element.
  // The names of properties 1 .. 4 are always the built-in ones and an element's missing
  // values 1 .. 4 are its built-in texts. A key that is not an integer fails the load with the
  // conversion message and leaves the lists as they were, rather than half read.
  std::optional<std::string> LoadSections(const app::TIniFile& file);
  // LoadSections from the file at `path`; a file that cannot be read gives its message.
  std::optional<std::string> LoadFile(const std::string& path);

  // The state that reading the default file gives, without a file.
  void LoadBuiltInProperties();

  // Writes DefaultFileText to `path` through the safe save; the message when that fails.
  std::optional<std::string> WriteToDefPTEFile(const std::string& path) const;

  // What a read leaves for the table window: whether a file is loaded, and the status text
  // (the file's path once loaded, else empty).
  struct TReadState {
    bool Loaded = false;
    std::string StatusText;
  };
  // Loads `pteFilePath` when it names an existing file, else the default file. `pteFilePath`
  // becomes the path loaded, or empty when neither file exists. A failure is shown through
  // `prompt` and changes no list.
  TReadState ReadFromPTEFile(std::string& pteFilePath, const std::string& defaultPath,
                             app::TUserPrompt& prompt);

 private:
  std::optional<std::string> ReadSections(const app::TIniFile& file);
};

}  // namespace periodic
