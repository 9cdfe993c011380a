// TForm27 "Rows count" and TForm28 "Delete rows", the modal dialogs that resize the active
// sheet of the interpolation window. Escape cancels them.
#pragma once

#include <QDialog>

#include "app/user_prompt.h"

class QLineEdit;
class QPushButton;

namespace interpolation {

class TInterpolationSheet;

class TForm27 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm27(app::TUserPrompt& prompt, QWidget* parent = nullptr);
  // The sheet the next Ok resizes; the edit shows its row count.
  void SetSheet(TInterpolationSheet& sheet);
  // "&Ok": sets the row count and closes, or tells why not and stays.
  void Button1Click();
  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* Button1() const { return button1_; }

 private:
  app::TUserPrompt& prompt_;
  TInterpolationSheet* sheet_ = nullptr;
  QLineEdit* edit1_;
  QPushButton* button1_;
};

class TForm28 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm28(app::TUserPrompt& prompt, QWidget* parent = nullptr);
  void SetSheet(TInterpolationSheet& sheet);
  // "&Ok": deletes the rows after the user confirms, and closes.
  void Button1Click();
  QLineEdit* FromEdit() const { return fromEdit_; }
  QLineEdit* CountEdit() const { return countEdit_; }
  QPushButton* Button1() const { return button1_; }

 private:
  app::TUserPrompt& prompt_;
  TInterpolationSheet* sheet_ = nullptr;
  QLineEdit* fromEdit_;
  QLineEdit* countEdit_;
  QPushButton* button1_;
};

}  // namespace interpolation
