// TForm25: the name of a category of the definition table, for adding or renaming one.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace constants {

class TForm25 : public QDialog {
  Q_OBJECT

 public:
  // `ok` runs on "&Ok"; the dialog closes when it returns true.
  explicit TForm25(std::function<bool()> ok, QWidget* parent = nullptr);

  void Open(const QString& caption, const QString& name);

  QLineEdit* NameEdit() const { return nameEdit_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  std::function<bool()> ok_;
  QLineEdit* nameEdit_;
  QPushButton* okButton_;
};

}  // namespace constants
