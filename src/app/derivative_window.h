// TForm14, the "Symbolic Differentiate" window: an expression, the variable to differentiate
// by, and the derivative (or the message saying why there is none).
#pragma once

#include "app/derivative_tool.h"
#include "app/tool_window.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSplitter;

namespace app {

class TForm14 : public TToolWindow {
  Q_OBJECT

 public:
  explicit TForm14(QWidget* parent = nullptr);

  // Frame131's expression memo, variable edit and button; Frame91's result memo.
  QPlainTextEdit* ExpressionMemo() const { return expressionMemo_; }
  QLineEdit* Edit1() const { return edit1_; }
  QPushButton* Button1() const { return button1_; }
  QPlainTextEdit* ResultMemo() const { return resultMemo_; }
  QSplitter* Splitter1() const { return splitter1_; }

  // "&Differentiate": the derivative of the memo's text (lines joined) by the edit's variable.
  void Frame131Button1Click();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TDerivativeTool tool_;
  QPlainTextEdit* expressionMemo_;
  QLineEdit* edit1_;
  QPushButton* button1_;
  QPlainTextEdit* resultMemo_;
  QSplitter* splitter1_;
};

}  // namespace app
