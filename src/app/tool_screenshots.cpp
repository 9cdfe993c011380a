// SaveToolScreenshots.
#include "app/tool_screenshots.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "app/chart_window.h"
#include "app/derivative_window.h"
#include "app/equivalence_window.h"
#include "app/function_table_window.h"
#include "app/function_variable_window.h"
#include "app/main_window.h"

namespace app {

namespace {

bool Save(QWidget* shown, const QString& path) {
  QApplication::processEvents();
  const bool saved = shown->grab().save(path);
  shown->close();
  return saved;
}

}  // namespace

bool SaveToolScreenshots(TForm1& window, const QString& folder) {
  bool saved = true;
  window.Action("Derivative1")->trigger();
  TForm14* derivative = window.DerivativeWindow();
  derivative->ExpressionMemo()->setPlainText("x^2*sin(x)+exp(-x)/x");
  derivative->Frame131Button1Click();
  saved = Save(derivative, folder + "/derivative_window.png") && saved;

  window.Action("EquivalentTest1")->trigger();
  TForm15* equivalence = window.EquivalenceWindow();
  equivalence->FirstMemo()->setPlainText("sin(x)^2+cos(x)^2");
  equivalence->SecondMemo()->setPlainText("1");
  saved = Save(equivalence, folder + "/equivalence_window.png") && saved;

  window.Action("Variable1")->trigger();
  saved = Save(window.VariableWindow(), folder + "/function_variable_window.png") && saved;

  const QString definitions = window.DefinitionsMemo()->toPlainText();
  window.DefinitionsMemo()->setPlainText(
      "f(x)~sin(x)*exp(-x/4),\ng(x)~cos(x),\nr(x)~sqrt(x-2),\nh(x)~1/(x-5)");
  window.Core().SetSetting(stFrom, 0);
  window.Core().SetSetting(stTo, 10);
  window.Core().SetSetting(stStep, 0.05);
  window.Table1Click();
  TForm8* table = window.TableWindow();
  table->Action("Chart1")->trigger();
  QApplication::processEvents();
  saved = Save(table->ChartWindow(), folder + "/chart_window.png") && saved;
  table->resize(620, 400);
  saved = Save(table, folder + "/function_table_window.png") && saved;
  window.DefinitionsMemo()->setPlainText(definitions);
  return saved;
}

}  // namespace app
