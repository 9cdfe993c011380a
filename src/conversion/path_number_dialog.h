// TgrfForm2, "Insert path numer": the number of the shortest chain the graph window highlights.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace conversion {

class TgrfForm2 : public QDialog {
  Q_OBJECT

 public:
  // `ok` gets the text typed on "&Ok"; the dialog closes when it returns true.
  explicit TgrfForm2(std::function<bool(const QString&)> ok, QWidget* parent = nullptr);

  // Shows the dialog with `number` in the edit, selected for typing over.
  void Open(const QString& number);

  QLineEdit* NumberEdit() const { return numberEdit_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 private:
  std::function<bool(const QString&)> ok_;
  QLineEdit* numberEdit_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace conversion
