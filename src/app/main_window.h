// TForm1, the "Calculator" window: definitions, expressions and results panes over the
// calculator core, its menus, keys and status bar.
#pragma once

#include <memory>
#include <optional>
#include <utility>

#include "app/calculator_core.h"
#include "app/calculator_session.h"
#include "app/data_folder.h"
#include "app/settings_file.h"
#include "app/tool_window.h"

class QAction;
class QGroupBox;
class QPlainTextEdit;
class QSplitter;

namespace conversion {
class TForm17;
class TForm21;
class TgrfForm3;
class TUnitConversion;
}  // namespace conversion

namespace interpolation {
class TForm26;
}
namespace constants {
class TConstantList;
class TForm10;
class TForm22;
}  // namespace constants
namespace periodic {
class TpteForm1;
}

namespace linsys {
class TlssForm1;
}

namespace app {

class TForm14;
class TForm15;
class TForm2;
class TForm6;
class TForm8;
class TStatusPanel;

class TForm1 : public TToolWindow {
  Q_OBJECT

 public:
  // `prompt` shows the message boxes; it must outlive the window. `dataFolder` says where the
  // calculator's own files (settings, log, default data files) live.
  TForm1(TUserPrompt& prompt, TDataFolder dataFolder, QWidget* parent = nullptr);
  ~TForm1() override;

  TCalculatorCore& Core() { return core_; }
  // The conversion table that "Conv" and the conversion windows use, read at start-up.
  conversion::TUnitConversion& Conversion() { return *conversion_; }
  const TDataFolder& DataFolder() const { return dataFolder_; }
  constants::TConstantList& Constants() { return *constants_; }
  constants::TForm10* ConstantListWindow() const { return constantListWindow_.get(); }
  constants::TForm22* ConstTableWindow() const { return constTableWindow_.get(); }
  conversion::TForm17* ConversionTableWindow() const { return conversionTableWindow_.get(); }
  conversion::TForm21* ConvertUnitWindow() const { return convertUnitWindow_.get(); }
  conversion::TgrfForm3* GraphWindow() const { return graphWindow_.get(); }

  // The two passes, reading the panes and writing the results pane.
  void Frame31Memo1Change();
  void Frame41Memo1Change();

  // Menu actions that tests and tool windows reach.
  void Clear1Click();
  void Help1Click();
  void SetCurrencyFormat(bool currency);
  // "&Table": the definitions pass, then the function table of its runtime functions.
  void Table1Click();
  void Constants1Click();
  void DefConstants1Click();
  // "&Conversion" and "&Def conversions".
  void Conversion1Click();
  void DefConversions1Click();
  // The file menu and the history.
  void Open1Click();
  void Save1Click();
  void SaveAs1Click();
  void Undo1Click();
  void Redo1Click();
  void ClearHistory1Click();
  TCalculatorSession& Session() { return *session_; }

  QPlainTextEdit* DefinitionsMemo() const { return definitionsMemo_; }
  QPlainTextEdit* ExpressionsMemo() const { return expressionsMemo_; }
  QPlainTextEdit* ResultsMemo() const { return resultsMemo_; }
  QGroupBox* DefinitionsBox() const { return definitionsBox_; }
  QGroupBox* ExpressionsBox() const { return expressionsBox_; }
  QSplitter* Splitter() const { return splitter_; }
  TStatusPanel* StatusPanel(int index) const { return panels_[index]; }
  TForm2* HelpWindow() const { return helpWindow_.get(); }
  interpolation::TForm26* InterpolationWindow() const { return interpolationWindow_.get(); }
  linsys::TlssForm1* SystemSolverWindow() const { return systemSolver_.get(); }
  TForm6* VariableWindow() const { return variableWindow_.get(); }
  TForm8* TableWindow() const { return tableWindow_.get(); }
  TForm14* DerivativeWindow() const { return derivativeWindow_.get(); }
  TForm15* EquivalenceWindow() const { return equivalenceWindow_.get(); }
  periodic::TpteForm1* PeriodicTableWindow() const { return periodicTable_.get(); }
  QAction* Action(const QString& objectName) const;

  // The settings file: the window's place, size, panes and view switches and the last files.
  void WriteToIniFile();
  void ReadFromIniFile();
  TWindowSettings CurrentSettings() const;
  void ApplyWindowSettings(const TWindowSettings& settings);

  // The last conversion, constants and periodic-table files, kept in the settings file for
  // their windows.
  std::string ConvFilePath;
  std::string ConstFilePath;
  std::string PTEFilePath;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void EscapePressed() override { Clear1Click(); }
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildPanes();
  void BuildMenus();
  void ShowResults();
  void ToggleUserFunctions(bool shown);
  // The function-variable window's edit, which the definitions pass validates. While that
  // window is closed the edit follows the function variable set elsewhere (a calculator file).
  std::string FunctionVariableText();
  // Grows (+5) or shrinks (-5) a pane, taking the difference from the results pane.
  void ResizePane(int pane, int delta);
  void ApplyPaneHeights();
  // The passes a user's entry into `memo` (a click, or the focus moved in by the user) runs;
  // an entry while a pass is under way, as a message box's focus coming back, runs none.
  void EnterMemo(QPlainTextEdit* memo);
  // The first activation: the default calculator file, written when missing, then read.
  void ReadStartUpFile();
  // After a file or history operation: "&Save", "&Undo", "&Redo", panel 1 and the caption.
  void ShowFileState();

  class TMemoPanes;

  TUserPrompt& prompt_;
  TDataFolder dataFolder_;
  TCalculatorCore core_;
  std::unique_ptr<conversion::TUnitConversion> conversion_;
  std::unique_ptr<TForm2> helpWindow_;
  std::unique_ptr<TForm6> variableWindow_;
  std::unique_ptr<TForm8> tableWindow_;
  std::unique_ptr<TForm14> derivativeWindow_;
  std::unique_ptr<TForm15> equivalenceWindow_;
  // Made at start-up, as its sheets serve "Lagrange" and "CubicSpline" from the first pass on.
  std::unique_ptr<interpolation::TForm26> interpolationWindow_;
  std::unique_ptr<linsys::TlssForm1> systemSolver_;
  std::unique_ptr<constants::TConstantList> constants_;
  std::unique_ptr<constants::TForm10> constantListWindow_;
  std::unique_ptr<constants::TForm22> constTableWindow_;
  std::unique_ptr<conversion::TForm17> conversionTableWindow_;
  std::unique_ptr<conversion::TForm21> convertUnitWindow_;
  std::unique_ptr<conversion::TgrfForm3> graphWindow_;
  std::unique_ptr<TMemoPanes> panes_;
  std::unique_ptr<TCalculatorSession> session_;
  std::unique_ptr<periodic::TpteForm1> periodicTable_;
  QSplitter* splitter_ = nullptr;
  QGroupBox* definitionsBox_ = nullptr;
  QGroupBox* expressionsBox_ = nullptr;
  QGroupBox* resultsBox_ = nullptr;
  QPlainTextEdit* definitionsMemo_ = nullptr;
  QPlainTextEdit* expressionsMemo_ = nullptr;
  QPlainTextEdit* resultsMemo_ = nullptr;
  TStatusPanel* panels_[3] = {};
  int rememberedDefinitionsHeight_ = 2;
  bool shownOnce_ = false;
  bool passRunning_ = false;
  // The pane heights read from the settings file, until the window is first shown.
  std::optional<std::pair<int, int>> paneHeights_;
};

}  // namespace app
