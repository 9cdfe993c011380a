// TForm23: the name, value and description of one constant of the definition table; the
// table window sets its caption ("Add constant" or "Edit constant") and does what "&Ok" asks.
#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

namespace constants {

class TForm23 : public QDialog {
  Q_OBJECT

 public:
  // `ok` runs on "&Ok"; the dialog closes when it returns true.
  explicit TForm23(std::function<bool()> ok, QWidget* parent = nullptr);

  // Shows the dialog with its caption and fields.
  void Open(const QString& caption, const QString& name, const QString& value,
            const QString& description);

  QLineEdit* NameEdit() const { return nameEdit_; }
  QLineEdit* ValueEdit() const { return valueEdit_; }
  QLineEdit* DescriptionEdit() const { return descriptionEdit_; }
  QPushButton* OkButton() const { return okButton_; }

 private:
  std::function<bool()> ok_;
  QLineEdit* nameEdit_;
  QLineEdit* valueEdit_;
  QLineEdit* descriptionEdit_;
  QPushButton* okButton_;
};

}  // namespace constants
