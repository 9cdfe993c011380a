// The periodic-table windows' content: layout, cell colours, the element card and its texts.
#include "periodic/element_view.h"

#include <cmath>

namespace periodic {

namespace {

struct TRgb {
  std::uint8_t Red, Green, Blue;
};

// Fill colours of the element cells, by position only: hydrogen shares the alkali metals'
// colour whatever its category says.
std::optional<TRgb> FillAt(int row, int column) {
  const auto at = [&](int c, int r) { return column == c && row == r; };
  if (row == kLanthanoidRow || at(2, 6)) return TRgb{0, 102, 0};
  if (row == kActinoidRow || at(2, 7)) return TRgb{45, 45, 132};
  if (column == 0 && row >= 1 && row <= 7) return TRgb{226, 197, 225};
  if (column == 1 && row >= 2 && row <= 7) return TRgb{0, 194, 240};
  if (column >= 2 && column <= 11 && row >= 4 && row <= 7) return TRgb{180, 180, 212};
  if ((column == 12 && row >= 3 && row <= 6) || at(13, 5) || at(13, 6) || at(14, 6)) {
    return TRgb{169, 205, 225};
  }
  if (at(12, 2) || at(13, 3) || at(13, 4) || at(14, 4) || at(14, 5) || at(15, 5) || at(15, 6)) {
    return TRgb{0, 180, 176};
  }
  if (at(13, 2) || at(14, 2) || at(14, 3) || at(15, 2) || at(15, 3) || at(15, 4)) {
    return TRgb{255, 255, 163};
  }
  if (column == 16 && row >= 2 && row <= 6) return TRgb{255, 204, 159};
  if (column == 17 && row >= 1 && row <= 6) return TRgb{255, 255, 255};
  return std::nullopt;
}

// The group numbers above the columns, placed in the empty cells over each group's first
// element.
std::string GroupNumberAt(int row, int column) {
  if (row == 0 && column == 0) return "1";
  if (row == 1 && column == 1) return "2";
  if (row == 3 && column >= 2 && column <= 11) return std::to_string(column + 1);
  if (row == 1 && column >= 12 && column <= 16) return std::to_string(column + 1);
  if (row == 0 && column == 17) return "18";
  return {};
}

std::string OxidationText(int state) {
  return state >= 1 ? "+" + std::to_string(state) : std::to_string(state);
}

}  // namespace

TTableLayout TableLayout(int windowWidth) {
  TTableLayout layout;
  layout.GridWidth = std::max(0, windowWidth - 40);
  layout.Cell = layout.GridWidth / kGridColumns;
  layout.GridHeight = kGridRows * layout.Cell;
  layout.FontSize = static_cast<int>(std::trunc(layout.Cell / 2.5));
  return layout;
}

std::uint32_t BGRTOColor(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  return (std::uint32_t{blue} << 16) | (std::uint32_t{green} << 8) | red;
}

void ColorToBGRTOColor(std::uint32_t color, std::uint8_t& blue, std::uint8_t& green,
                       std::uint8_t& red) {
  blue = static_cast<std::uint8_t>(color >> 16);
  green = static_cast<std::uint8_t>(color >> 8);
  red = static_cast<std::uint8_t>(color);
}

std::optional<TCellLook> CellLook(const TPeriodicTable& table, TCellPosition position) {
  if (!TPeriodicTable::InGrid(position)) return std::nullopt;
  const TElementRec& cell = table.Cell(position);
  if (cell.Empty()) {
    std::string number = GroupNumberAt(position.Row, position.Column);
    if (number.empty()) return std::nullopt;
    return TCellLook{number, false, 0, false};
  }
  const std::optional<TRgb> fill = FillAt(position.Row, position.Column);
  if (!fill) return std::nullopt;
  // Lanthanum, actinium and the two series below get white text on their dark fills.
  const bool white = position.Row >= kLanthanoidRow || (position.Column == 2 && position.Row >= 6);
  return TCellLook{cell.Symbol, true, BGRTOColor(fill->Blue, fill->Green, fill->Red), white};
}

std::vector<std::array<std::string, 3>> InitialPropertyRows() {
  std::vector<std::array<std::string, 3>> rows = {{"Property", "Value", "Unit"}};
  for (const char* name : kBuiltInPropertyNames)
    rows.push_back({name, "", ""});
  return rows;
}

TElementCard RefreshData(const TPeriodicTable& table, TCellPosition position) {
  TElementCard card;
  if (!TPeriodicTable::InGrid(position) || table.Cell(position).Empty()) return card;
  const TElementRec& element = table.Cell(position);
  card.Label1 = std::to_string(element.Number);
  card.Label4 = element.Symbol;
  card.Label5 = element.Name;
  card.Panel3 = element.Category;
  card.Label7 = element.State;
  card.Label2 = element.Group == 0 ? "" : "Group: " + std::to_string(element.Group);
  card.Label3 = element.Period == 0 ? "" : "Period: " + std::to_string(element.Period);
  card.Label6 = element.Radioactive ? "Radioactive" : "";
  card.Label8 = element.Toxic ? "Toxic" : "";
  card.Label9 = element.Synthetic ? "Synthetic" : "";
  for (const std::int8_t state : element.Oxidation)
    card.Oxidation.push_back(OxidationText(state));

  // Rows are addressed by property identifier; the header row and identifiers beyond the last
  // row have no place in the grid.
  card.Rows.assign(table.PropertyNames.size() + 1, {});
  card.Rows[0] = {"Property", "Value", "Unit"};
  const auto place = [&card](const TPropertyList& list, std::size_t column) {
    for (const TPropertyEntry& entry : list) {
      if (entry.Id >= 1 && static_cast<std::size_t>(entry.Id) < card.Rows.size()) {
        card.Rows[static_cast<std::size_t>(entry.Id)][column] = entry.Text;
      }
    }
  };
  place(table.PropertyNames, 0);
  place(table.PropertyUnits, 2);
  place(element.Values, 1);
  return card;
}

std::vector<std::string> CardLines(const TElementCard& card) {
  std::vector<std::string> lines = {card.Label1, card.Label4, card.Label5, card.Panel3,
                                    card.Label7, card.Label2, card.Label3, card.Label6,
                                    card.Label8, card.Label9};
  std::string oxidation = "Oxidation:";
  for (const std::string& state : card.Oxidation)
    oxidation += " " + state;
  lines.push_back(oxidation);
  for (std::size_t row = 1; row < card.Rows.size(); ++row) {
    const auto& cells = card.Rows[row];
    lines.push_back(cells[0] + "\t" + cells[1] + "\t" + cells[2]);
  }
  return lines;
}

int CenteredLeft(int cardWidth, std::size_t length, double charWidth) {
  return static_cast<int>(std::lround((cardWidth - static_cast<double>(length) * charWidth) / 2));
}

std::array<int, 3> PropertyColumnWidths(int gridWidth) {
  const int a = static_cast<int>(std::lround(gridWidth / 12.0)) - 3;
  return {5 * a, 4 * a, 3 * a};
}

std::string ConstantName(const std::string& symbol, const std::string& propertyName) {
  const auto first = propertyName.find_first_not_of(" \t");
  std::string name;
  if (first != std::string::npos) {
    name = propertyName.substr(first, propertyName.find_last_not_of(" \t") - first + 1);
  }
  for (char& c : name) {
    if (c == ' ') c = '_';
  }
  return symbol + "_" + name;
}

std::string ConversionStatus(const std::string& elementName, const std::string& propertyName,
                             const std::string& value, const std::string& unit) {
  return " Initial " + elementName + " " + propertyName + " = " + value + " " + unit;
}

}  // namespace periodic
