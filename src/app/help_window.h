// TForm2, the help window: a read-through text of shortcuts and every function the evaluator
// knows, filled by the main window's "&Help".
#pragma once

#include <string>
#include <vector>

#include "app/tool_window.h"

class QPlainTextEdit;

namespace app {

class TForm2 : public TToolWindow {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);
  void SetLines(const std::vector<std::string>& lines);
  QPlainTextEdit* Memo1() const { return memo_; }

 private:
  QPlainTextEdit* memo_;
};

}  // namespace app
