// Cell and row edits of an interpolation sheet.
#include "interpolation/interpolation_sheet.h"

#include <algorithm>
#include <utility>

namespace interpolation {

std::string TInterpolationSheet::CellText(std::size_t r, TSheetColumn column) const {
  if (r >= rows_.size()) return {};
  switch (column) {
    case scNumber:
      return std::to_string(r + 1);
    case scX:
      return rows_[r].x;
    case scFx:
      return rows_[r].fx;
  }
  return {};
}

void TInterpolationSheet::SetCell(std::size_t r, TSheetColumn column, std::string text) {
  if (r >= rows_.size() || column == scNumber) return;
  (column == scX ? rows_[r].x : rows_[r].fx) = std::move(text);
  MarkChanged();
}

void TInterpolationSheet::SetRowCount(std::int64_t count) {
  rows_.resize(static_cast<std::size_t>(std::clamp<std::int64_t>(count, 1, kMaxSheetRows)));
  MarkChanged();
}

void TInterpolationSheet::SetRows(std::vector<TSheetRow> rows) {
  if (rows.size() > static_cast<std::size_t>(kMaxSheetRows)) {
    rows.resize(static_cast<std::size_t>(kMaxSheetRows));
  }
  if (rows.empty()) rows.emplace_back();
  rows_ = std::move(rows);
  MarkChanged();
}

void TInterpolationSheet::RemoveRows(std::size_t first, std::size_t count) {
  if (first >= rows_.size()) return;
  count = std::min(count, rows_.size() - first);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(first),
              rows_.begin() + static_cast<std::ptrdiff_t>(first + count));
  if (rows_.empty()) rows_.emplace_back();
  MarkChanged();
}

void TInterpolationSheet::Reorder(const std::vector<std::size_t>& order) {
  if (order.size() != rows_.size()) return;
  std::vector<TSheetRow> reordered;
  reordered.reserve(rows_.size());
  for (const std::size_t r : order) {
    reordered.push_back(std::move(rows_[r]));
  }
  rows_ = std::move(reordered);
}

void TInterpolationSheet::SetSplineType(TSplineType type) {
  splineType_ = type;
  MarkChanged();
}

}  // namespace interpolation
