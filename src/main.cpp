// Starts the calculator: its window, or the command-line mode when given one of its options.
#include <QApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line/command_line.h"
#include "app/data_folder.h"
#include "app/help_window.h"
#include "app/keyboard_access.h"
#include "app/main_window.h"
#include "app/qt_user_prompt.h"
#include "app/tool_screenshots.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "constants/const_edit_dialog.h"
#include "constants/const_table_window.h"
#include "constants/constant_delete_window.h"
#include "constants/constant_edit_window.h"
#include "constants/constant_list_window.h"
#include "conversion/conversion_screenshots.h"
#include "conversion/graph_screenshots.h"
#include "conversion/graph_window.h"
#include "interpolation/interpolation_window.h"
#include "interpolation/row_count_dialogs.h"
#include "linsys/linear_system_window.h"
#include "periodic/element_window.h"
#include "periodic/periodic_table_window.h"

namespace {

using app::SavePicture;

// Shows a dialog (without its modal loop), saves its picture and hides it again.
bool SaveDialog(QWidget* dialog, const QString& folder, const QString& variant = QString()) {
  dialog->show();
  const bool saved = SavePicture(dialog, folder, variant);
  dialog->hide();
  return saved;
}

// The interpolation window with a sheet of points, and a main window expression reading it.
bool SaveInterpolationScreenshot(app::TForm1& window, const QString& folder) {
  interpolation::TForm26* sheets = window.InterpolationWindow();
  sheets->Sheets().Sheet(0).SetRows(
      {{"0", "0"}, {"1", "1"}, {"2", "0"}, {"3", "1"}, {"4", "sin(pi/2)"}, {"5", "2^0.5"}});
  sheets->ReloadGrids();
  window.Action("Interpolation1")->trigger();
  window.ExpressionsMemo()->setPlainText("CubicSpline(2.5,1), Lagrange(2.5,1)");
  QApplication::processEvents();
  const bool dialogs = SaveDialog(sheets->RowsCountDialog(), folder) &&
                       SaveDialog(sheets->DeleteRowsDialog(), folder);
  return dialogs && SavePicture(sheets, folder) &&
         SavePicture(&window, folder, "interpolation", "Calculator");
}

// The constant list with one constant of the user's, its dialogs, and the constants definition
// table with its dialogs.
bool SaveConstantsScreenshots(app::TForm1& window, const QString& folder) {
  window.ConstantListWindow()->AddNewConstant("g", "9.81", "(m/s^2)");
  window.Constants1Click();
  QApplication::processEvents();
  bool saved = SavePicture(window.ConstantListWindow(), folder);
  constants::TForm10& list = *window.ConstantListWindow();
  list.EditWindow()->SetRow(6, "g", "9.81", "(m/s^2)");
  saved = SaveDialog(list.EditWindow(), folder) && saved;
  saved = SaveDialog(list.DeleteWindow(), folder) && saved;
  window.DefConstants1Click();
  QApplication::processEvents();
  saved = SavePicture(window.ConstTableWindow(), folder) && saved;
  constants::TForm22& table = *window.ConstTableWindow();
  table.ConstantDialog()->Open("Edit constant", "Avogadro_constant", "6.0221367E+23",
                               " Avogadro constant (1/mol)");
  saved = SaveDialog(table.ConstantDialog(), folder) && saved;
  saved = SaveDialog(table.DeleteDialog(), folder, "constant") && saved;
  table.CategoryDialog()->Open("Edit constant category", "Physical constants");
  return SaveDialog(table.CategoryDialog(), folder) && saved;
}

// Types sample definitions and expressions, then saves the main and help windows as PNG files
// in `folder`, so that anyone can look at what a user sees.
int SaveScreenshots(app::TForm1& window, const QString& folder) {
  QDir().mkpath(folder);
  window.DefinitionsMemo()->setPlainText(
      "f(x)~Sin(x),\nFact(n)~if(eq(n,0),1,n*Fact(n-1)),\ny=1/3,\nrate=0.05");
  window.ExpressionsMemo()->setPlainText(
      "f(pi/6), Fact(10),\ny*3, 1/7,\nFutureValue(rate,10,-100,0,0),\ncomplex(1,2)*2, 1e20");
  QApplication::processEvents();
  bool saved = SavePicture(&window, folder, QString(), "Calculator");
  window.Help1Click();
  QApplication::processEvents();
  saved = SavePicture(window.HelpWindow(), folder) && saved;
  saved = SaveInterpolationScreenshot(window, folder) && saved;
  window.Action("SystemSolver1")->trigger();
  linsys::TlssForm1& solver = *window.SystemSolverWindow();
  solver.SystemSolve1Click();
  QApplication::processEvents();
  saved = SavePicture(&solver, folder) && saved;
  solver.Inversmatix1Click();
  QApplication::processEvents();
  saved = SavePicture(&solver, folder, "inverse") && saved;
  saved = app::SaveToolScreenshots(window, folder) && saved;
  saved = SaveConstantsScreenshots(window, folder) && saved;
  saved = conversion::SaveConversionScreenshots(window, folder) && saved;
  saved = conversion::SaveGraphScreenshots(*window.GraphWindow(), folder) && saved;
  window.Action("PeriodicTable1")->trigger();
  periodic::TpteForm1& periodicTable = *window.PeriodicTableWindow();
  periodicTable.DrawGrid1MouseMove({4, 7});  // iron
  periodicTable.DrawGrid1DblClick();
  QApplication::processEvents();
  saved = SavePicture(&periodicTable, folder) && saved;
  saved = SavePicture(periodicTable.ElementWindow(), folder) && saved;
  periodicTable.DrawGrid1MouseMove({9, 5});  // uranium, with its flags
  periodicTable.DrawGrid1DblClick();
  QApplication::processEvents();
  saved = SavePicture(periodicTable.ElementWindow(), folder, "uranium") && saved;
  window.ExpressionsMemo()->setPlainText("1/0");
  QApplication::processEvents();
  saved = SavePicture(&window, folder, "error", "Calculator") && saved;
  std::cout << (saved ? "saved to " : "could not save to ") << folder.toStdString() << '\n';
  return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::optional<app::TWindowOptions> options = app::ReadWindowOptions(arguments);
  if (!options) return app::RunCommandLine(arguments, std::cin, std::cout, std::cerr);
  QApplication application(argc, argv);
  app::TKeyboardAccess::Install();
  app::TQtUserPrompt prompt;
  app::TForm1 window(prompt, app::TDataFolder::ForRunningProgram(options->dataFolder));
  prompt.SetParent(&window);
  window.show();
  if (!options->screenshotFolder.empty()) {
    return SaveScreenshots(window, QString::fromStdString(options->screenshotFolder));
  }
  return QApplication::exec();
}
