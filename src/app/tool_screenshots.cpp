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

// Saves the picture of a window and closes it.
bool Save(QWidget* shown, const QString& folder) {
  const bool saved = SavePicture(shown, folder);
  shown->close();
  return saved;
}

}  // namespace

QString PictureName(const QString& caption, const QString& variant) {
  QString name;
  for (const QString& part : {caption, variant}) {
    for (const QChar c : part.toLower()) {
      if (c.isLetterOrNumber()) {
        name += c;
      } else if (!name.isEmpty() && !name.endsWith('-')) {
        name += '-';
      }
    }
    if (!name.isEmpty() && !name.endsWith('-')) name += '-';
  }
  while (name.endsWith('-'))
    name.chop(1);
  return name + ".png";
}

bool SavePicture(QWidget* window, const QString& folder, const QString& variant,
                 const QString& caption) {
  QApplication::processEvents();
  const QString name = PictureName(caption.isEmpty() ? window->windowTitle() : caption, variant);
  return window->grab().save(folder + "/" + name);
}

bool SaveToolScreenshots(TForm1& window, const QString& folder) {
  bool saved = true;
  window.Action("Derivative1")->trigger();
  TForm14* derivative = window.DerivativeWindow();
  derivative->ExpressionMemo()->setPlainText("x^2*sin(x)+exp(-x)/x");
  derivative->Frame131Button1Click();
  saved = Save(derivative, folder) && saved;

  window.Action("EquivalentTest1")->trigger();
  TForm15* equivalence = window.EquivalenceWindow();
  equivalence->FirstMemo()->setPlainText("sin(x)^2+cos(x)^2");
  equivalence->SecondMemo()->setPlainText("1");
  saved = Save(equivalence, folder) && saved;

  window.Action("Variable1")->trigger();
  saved = Save(window.VariableWindow(), folder) && saved;

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
  saved = Save(table->ChartWindow(), folder) && saved;
  table->resize(620, 400);
  saved = Save(table, folder) && saved;
  window.DefinitionsMemo()->setPlainText(definitions);
  return saved;
}

}  // namespace app
