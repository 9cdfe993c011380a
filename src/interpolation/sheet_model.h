// The grid of one interpolation sheet for a table view: columns "#", "x" and "f(x)", the number
// column fixed, the other two edited in place. The sheet's rows are the data; the model only
// shows them, so that sheets of a million rows stay light.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>

namespace interpolation {

class TInterpolationSheets;

class TSheetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  // Shows sheet `index` of `sheets`, which must outlive the model.
  TSheetModel(TInterpolationSheets& sheets, std::size_t index, QObject* parent = nullptr);

  // The sheet shown moves when an earlier sheet is deleted.
  void SetSheetIndex(std::size_t index) { index_ = index; }
  std::size_t SheetIndex() const { return index_; }
  // Shows the rows again after a change that did not come through the model.
  void Reload();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  TInterpolationSheets& sheets_;
  std::size_t index_;
};

}  // namespace interpolation
