// TForm15, the "Are expressions equivalent?" window: two expressions and "&Test", whose verdict
// ("Yes", "No" or "Indeterminate") comes in a message box.
#pragma once

#include "app/equivalence.h"
#include "app/tool_window.h"

class QAction;
class QPlainTextEdit;
class QSplitter;

namespace app {

class TForm15 : public TToolWindow {
  Q_OBJECT

 public:
  // `prompt` shows the verdict and the prefixed parse messages; it must outlive the window.
  explicit TForm15(TUserPrompt& prompt, QWidget* parent = nullptr);

  QPlainTextEdit* FirstMemo() const { return firstMemo_; }
  QPlainTextEdit* SecondMemo() const { return secondMemo_; }
  QAction* Test1() const { return est1_; }
  QSplitter* Splitter() const { return splitter_; }

  // "&Test".
  void est1Click();

 private:
  TUserPrompt& prompt_;
  TEquivalenceTest test_;
  QPlainTextEdit* firstMemo_;
  QPlainTextEdit* secondMemo_;
  QAction* est1_;
  QSplitter* splitter_;
};

}  // namespace app
