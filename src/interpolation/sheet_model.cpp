// TSheetModel.
#include "interpolation/sheet_model.h"

#include <QBrush>
#include <QPalette>

#include "interpolation/interpolation_sheets.h"

namespace interpolation {

namespace {

constexpr const char* kHeaders[] = {"#", "x", "f(x)"};

}  // namespace

TSheetModel::TSheetModel(TInterpolationSheets& sheets, std::size_t index, QObject* parent)
    : QAbstractTableModel(parent), sheets_(sheets), index_(index) {}

void TSheetModel::Reload() {
  beginResetModel();
  endResetModel();
}

int TSheetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(sheets_.Sheet(index_).RowCount());
}

int TSheetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : 3;
}

QVariant TSheetModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto column = static_cast<TSheetColumn>(index.column());
  if (role == Qt::DisplayRole || role == Qt::EditRole) {
    // Cells hold the file's single-byte text.
    return QString::fromLatin1(
        sheets_.Sheet(index_).CellText(static_cast<std::size_t>(index.row()), column));
  }
  if (role == Qt::BackgroundRole && column == scNumber) return QPalette().button();
  return {};
}

bool TSheetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole || index.column() == scNumber) return false;
  const std::string text = value.toString().toLatin1().toStdString();
  TInterpolationSheet& sheet = sheets_.Sheet(index_);
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<TSheetColumn>(index.column());
  if (sheet.CellText(row, column) == text) return true;  // an edit that changed nothing
  sheet.SetCell(row, column, text);
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags TSheetModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (index.column() == scNumber) return Qt::ItemIsEnabled;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant TSheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 3) {
    return QString(kHeaders[section]);
  }
  return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace interpolation
