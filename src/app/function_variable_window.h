// TForm6, the "Function variable" window: edits the name of the variable that the function
// table tabulates over, checked by the calculator core against the constants and reserved names.
#pragma once

#include <functional>
#include <string>

#include "app/tool_window.h"

class QLineEdit;
class QPushButton;

namespace app {

class TCalculatorCore;
class TUserPrompt;

class TForm6 : public TToolWindow {
  Q_OBJECT

 public:
  // `definitionsUpdate` runs the main window's definitions pass. `core` and `prompt` must
  // outlive the window.
  TForm6(TCalculatorCore& core, TUserPrompt& prompt, std::function<void()> definitionsUpdate,
         QWidget* parent = nullptr);

  QLineEdit* Edit3() const { return edit3_; }
  QPushButton* Button1() const { return button1_; }
  QPushButton* Button2() const { return button2_; }

  // Puts the current function variable in the edit and remembers it.
  void FormShow();
  // "&Ok": takes the edit's name when the core accepts it, else says why and stays open.
  void Button1Click();
  // "&Cancel": the remembered name again, in the core and in the edit.
  void Button2Click();

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape, and closing the window by its frame, act as "&Cancel".
  void EscapePressed() override { Button2Click(); }
  void closeEvent(QCloseEvent* event) override;

 private:
  void CloseAnswered();

  TCalculatorCore& core_;
  TUserPrompt& prompt_;
  std::function<void()> definitionsUpdate_;
  QLineEdit* edit3_;
  QPushButton* button1_;
  QPushButton* button2_;
  std::string remembered_;
  bool answered_ = false;
};

}  // namespace app
