// One interpolation sheet: the x and f(x) cell texts of its rows, its file, its spline type,
// the marks that tell the interpolation functions to read it again, and what they cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace interpolation {

enum TSplineType : std::int32_t { stNatural = 1, stPeriodic = 2 };

// Columns of a sheet's grid; column 0 holds the row number.
enum TSheetColumn : std::int32_t { scNumber = 0, scX = 1, scFx = 2 };

struct TSheetRow {
  std::string x;
  std::string fx;
  bool operator==(const TSheetRow&) const = default;
};

// A sheet never holds more rows than this, whatever a dialog or a file asks for: a sheet's
// rows, its caches and its spline system then stay within a few hundred megabytes.
inline constexpr std::int64_t kMaxSheetRows = 1000000;

class TInterpolationSheet {
 public:
  // One empty row, no file, natural spline, both marks set.
  TInterpolationSheet() = default;

  std::size_t RowCount() const { return rows_.size(); }
  // Row r counts from 0; it is the grid's row r + 1.
  const TSheetRow& Row(std::size_t r) const { return rows_[r]; }
  const std::vector<TSheetRow>& Rows() const { return rows_; }
  // The text of a cell of the grid's data rows; the number column shows r + 1.
  std::string CellText(std::size_t r, TSheetColumn column) const;

  // Every change below sets both marks. Out-of-range rows and the number column are ignored.
  void SetCell(std::size_t r, TSheetColumn column, std::string text);
  // Keeps the first rows, adds empty ones; `count` is clamped to 1 .. kMaxSheetRows.
  void SetRowCount(std::int64_t count);
  // Replaces every row; an empty list leaves one empty row. At most kMaxSheetRows are kept.
  void SetRows(std::vector<TSheetRow> rows);
  // Removes rows [first, first + count) (0-based, clamped to the rows there are); the last row
  // left is emptied instead of removed, since a sheet always has a row.
  void RemoveRows(std::size_t first, std::size_t count);
  // Reorders the rows by `order` (a permutation of the row indexes) without setting the marks:
  // the points, and so what the functions read, stay the same.
  void Reorder(const std::vector<std::size_t>& order);

  TSplineType SplineType() const { return splineType_; }
  void SetSplineType(TSplineType type);

  // The file the sheet was read from or written to.
  bool HasFile = false;
  std::string FileName;

  // Set on every change. "Lagrange" clears the data mark when it has read the sheet;
  // "CubicSpline" clears both once it has read the sheet and solved its spline.
  bool DataChanged = true;
  bool SplineChanged = true;
  void MarkChanged() { DataChanged = SplineChanged = true; }

  // What the functions read: nodes sorted by x with their values, and the spline's second
  // derivatives at the nodes.
  std::vector<double> CachedX;
  std::vector<double> CachedY;
  std::vector<double> CachedM;

 private:
  std::vector<TSheetRow> rows_{1};
  TSplineType splineType_ = stNatural;
};

}  // namespace interpolation
