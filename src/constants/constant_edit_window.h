// TForm11, "Edit constants": the name, expression and description of one row of the constant
// list, stored through the list's AddConst.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace constants {

class TConstantList;

class TForm11 : public QDialog {
  Q_OBJECT

 public:
  // `stored` runs after a constant was stored; `closed` whenever the window closes.
  TForm11(TConstantList& list, std::function<void()> stored, std::function<void()> closed,
          QWidget* parent = nullptr);

  // Fills the fields for row `row` (the list's NewRow() for a new constant); the name can be
  // edited only for user constants.
  void SetRow(int row, const std::string& name, const std::string& expression,
              const std::string& description);
  int Row() const { return row_; }

  // AddConst with the fields as they stand; runs `stored` on success.
  bool AddConst();
  // "&Ok": AddConst, and closes on success.
  void Button1Click();

  QLineEdit* NameEdit() const { return nameEdit_; }
  QPlainTextEdit* ExpressionMemo() const { return expressionMemo_; }
  QPlainTextEdit* DescriptionMemo() const { return descriptionMemo_; }
  QPushButton* OkButton() const { return okButton_; }

 protected:
  void done(int result) override;

 private:
  TConstantList& list_;
  std::function<void()> stored_;
  std::function<void()> closed_;
  int row_ = 0;
  QLineEdit* nameEdit_;
  QPlainTextEdit* expressionMemo_;
  QPlainTextEdit* descriptionMemo_;
  QPushButton* okButton_;
};

}  // namespace constants
