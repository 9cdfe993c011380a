// TFunctionTableModel.
#include "app/function_table_model.h"

#include <QApplication>
#include <QPalette>
#include <limits>

namespace app {

namespace {

int Clamped(std::size_t count) {
  return static_cast<int>(std::min<std::size_t>(count, std::numeric_limits<int>::max()));
}

}  // namespace

int TFunctionTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Clamped(table_.RowCount() - 1);
}

int TFunctionTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : Clamped(table_.ColumnCount());
}

QVariant TFunctionTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto column = static_cast<std::size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(
          table_.CellText(static_cast<std::size_t>(index.row()) + 1, column));
    case Qt::BackgroundRole:
      // The row number and the variable are the grid's fixed columns.
      if (column < 2) return QApplication::palette().button();
      return {};
    default:
      return {};
  }
}

QVariant TFunctionTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || section < 0) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return QString::fromStdString(table_.CellText(0, static_cast<std::size_t>(section)));
}

void TFunctionTableModel::SetTable(TFunctionTable table) {
  beginResetModel();
  table_ = std::move(table);
  endResetModel();
}

void TFunctionTableModel::ChangeTexts(const std::function<void(TFunctionTable&)>& change) {
  change(table_);
  if (rowCount() > 0) emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

}  // namespace app
