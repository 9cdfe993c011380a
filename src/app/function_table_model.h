// TFunctionTableModel: the function table as a Qt item model, so that the grid asks only for
// the cells it shows; a table of a million rows opens and scrolls at once.
#pragma once

#include <QAbstractTableModel>
#include <functional>

#include "app/function_table.h"

namespace app {

class TFunctionTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  // Grid row 0 is the horizontal header; model row r is grid row r + 1.
  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  const TFunctionTable& Table() const { return table_; }
  // Puts a new table in place of the old one (the views start again).
  void SetTable(TFunctionTable table);
  // Changes the cells' texts (Replace and the like) and tells the views.
  void ChangeTexts(const std::function<void(TFunctionTable&)>& change);

 private:
  TFunctionTable table_;
};

}  // namespace app
