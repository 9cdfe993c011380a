// What the two periodic-table windows show, without widgets: the table's layout and cell
// colours, and the element window's card, oxidation list and property rows for a pick. The
// windows and the command line both draw from here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "periodic/periodic_table.h"

namespace periodic {

// The table window's grid for a window width: the grid is 40 pixels narrower than the window,
// its square cells fill its width, ten rows high, with a font size of 2/5 of a cell.
struct TTableLayout {
  int GridWidth = 0;
  int Cell = 0;
  int GridHeight = 0;
  int FontSize = 0;
};
TTableLayout TableLayout(int windowWidth);

// Colour values are 0x00BBGGRR.
std::uint32_t BGRTOColor(std::uint8_t blue, std::uint8_t green, std::uint8_t red);
void ColorToBGRTOColor(std::uint32_t color, std::uint8_t& blue, std::uint8_t& green,
                       std::uint8_t& red);

// How one grid cell is drawn: a group number as plain text, or an element's symbol in a
// filled box. Cells without either are left undrawn.
struct TCellLook {
  std::string Text;
  bool Boxed = false;      // an element cell
  std::uint32_t Fill = 0;  // box fill, BGRTOColor form
  bool WhiteText = false;  // the two series
};
std::optional<TCellLook> CellLook(const TPeriodicTable& table, TCellPosition position);

// The element window's content for one element: card labels, the oxidation list and the
// property grid (row 0 is the header "Property", "Value", "Unit").
struct TElementCard {
  std::string Label1;  // atomic number
  std::string Label4;  // symbol
  std::string Label5;  // name
  std::string Panel3;  // category
  std::string Label7;  // state
  std::string Label2;  // "Group: " line, empty for the series
  std::string Label3;  // "Period: " line
  std::string Label6;  // "Radioactive"
  std::string Label8;  // "Toxic"
  std::string Label9;  // "Synthetic"
  std::vector<std::string> Oxidation;
  std::vector<std::array<std::string, 3>> Rows;
};
TElementCard RefreshData(const TPeriodicTable& table, TCellPosition position);

// The card as text lines, as the command line prints it: Label1, Label4, Label5, Panel3,
// Label7, Label2, Label3, Label6, Label8, Label9 (empty lines where a label is empty), then
// "Oxidation:" with each state after one blank, then name TAB value TAB unit per property row.
std::vector<std::string> CardLines(const TElementCard& card);

// The property grid before any element is shown: the header and the four built-in names.
std::vector<std::array<std::string, 3>> InitialPropertyRows();

// The left edge that centres a label of `length` characters of about `charWidth` pixels in a
// card `cardWidth` wide, rounded to the nearest pixel.
int CenteredLeft(int cardWidth, std::size_t length, double charWidth);
constexpr double kCardTextWidth = 8.7;   // number and name
constexpr double kCardSymbolWidth = 28;  // the large symbol

// Widths of the property grid's three columns for a grid width.
std::array<int, 3> PropertyColumnWidths(int gridWidth);

// The constant a property becomes: symbol, "_" and the trimmed property name with its blanks
// as "_" (Fe_Melting_Point).
std::string ConstantName(const std::string& symbol, const std::string& propertyName);
// The conversion window's status text for a property handed to it.
std::string ConversionStatus(const std::string& elementName, const std::string& propertyName,
                             const std::string& value, const std::string& unit);

}  // namespace periodic
