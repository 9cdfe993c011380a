// TBlockDialog: the small dialog that asks for a block of rows, "From #" and "Count", and hands
// both as integers to the deletion its subclass performs.
#pragma once

#include <QDialog>
#include <optional>

class QLineEdit;
class QPushButton;

namespace app {
class TUserPrompt;
}

namespace constants {

class TBlockDialog : public QDialog {
  Q_OBJECT

 public:
  TBlockDialog(app::TUserPrompt& prompt, const QString& caption, int from, int count,
               QWidget* parent = nullptr);

  QLineEdit* FromEdit() const { return fromEdit_; }
  QLineEdit* CountEdit() const { return countEdit_; }
  QPushButton* OkButton() const { return okButton_; }

  // "&Ok": reads both fields and runs Delete; closes when it says so.
  void Button1Click();

 protected:
  // Deletes `count` rows from `from`; true when the dialog is done.
  virtual bool Delete(int from, int count) = 0;

 private:
  // The field as an integer, or the conversion failure shown and nothing.
  std::optional<int> ReadInteger(const QLineEdit* edit);

  app::TUserPrompt& prompt_;
  QLineEdit* fromEdit_;
  QLineEdit* countEdit_;
  QPushButton* okButton_;
};

}  // namespace constants
