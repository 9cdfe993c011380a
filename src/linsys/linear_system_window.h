// TlssForm1, the "System of linear equations solver" window: the variables, the equations and
// the results memos, the file, execute and view menus, over TLinearSystem.
#pragma once

#include <functional>
#include <string_view>

#include "app/tool_window.h"
#include "linsys/linear_system.h"

class QGroupBox;
class QPlainTextEdit;
class QSplitter;

namespace linsys {

inline constexpr std::string_view kSolverCaption = "System of linear equations solver";
inline constexpr std::string_view kSleFilter =
    "System of linear equatins files (*.sle)|*.sle|Text files (*.txt)|*.txt|All files (*.)|*.";

class TlssForm1 : public app::TToolWindow {
  Q_OBJECT

 public:
  // `prompt` shows the message boxes and the file dialogs; `detTolerance` reads the main
  // window's singularity tolerance. Both must outlive the window.
  TlssForm1(app::TUserPrompt& prompt, std::function<double()> detTolerance,
            QWidget* parent = nullptr);
  ~TlssForm1() override;

  // The menu commands.
  void SystemSolve1Click();
  void Determinant1Click();
  void Inversmatix1Click();
  void Initialmatrix1Click();
  void Rightpart1Click();
  void Open1Click();
  void Save1Click();
  void SaveAs1Click();

  QPlainTextEdit* Memo1() const { return memo1_; }  // variables
  QPlainTextEdit* Memo2() const { return memo2_; }  // results
  QPlainTextEdit* Memo3() const { return memo3_; }  // equations
  QSplitter* Splitter() const { return splitter_; }
  QAction* Action(const QString& objectName) const;
  const TLinearSystem& System() const { return system_; }

 private:
  void BuildPanes();
  void BuildMenus();
  // Runs one of the five commands over the memos' texts and checks its item when it showed.
  void ShowResult(TSystemResult result, const char* actionName);
  void UncheckResults();
  void TakeMemos();
  void ShowResultsMemo();

  app::TUserPrompt& prompt_;
  TLinearSystem system_;
  QSplitter* splitter_ = nullptr;
  QGroupBox* variablesBox_ = nullptr;
  QGroupBox* equationsBox_ = nullptr;
  QGroupBox* resultsBox_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  QPlainTextEdit* memo2_ = nullptr;
  QPlainTextEdit* memo3_ = nullptr;
};

}  // namespace linsys
