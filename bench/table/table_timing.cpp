// Times the function table as a user meets it: "&Table" over a million rows until the grid has
// been drawn, scrolling to its end, and the workbook export of 100,000 rows; prints the times
// and the process's peak memory.
#include <malloc.h>
#include <sys/resource.h>

#include <QApplication>
#include <QChartView>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <iostream>

#include "app/chart_window.h"
#include "app/function_table_window.h"
#include "app/main_window.h"
#include "app/workbook_export.h"

namespace {

class TQuietPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { std::cerr << "message: " << text << '\n'; }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

double PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  QTemporaryDir folder;
  TQuietPrompt prompt;
  app::TForm1 window(prompt, app::TDataFolder("calculator", "", folder.path().toStdString()));
  window.show();
  QApplication::processEvents();
  std::cout << "peak memory before the table: " << PeakMegabytes() << " MB\n";

  window.DefinitionsMemo()->setPlainText("f(x)~sin(x)*exp(-x)");
  window.Core().SetSetting(app::stFrom, 0);
  window.Core().SetSetting(app::stTo, 100);
  window.Core().SetSetting(app::stStep, 1e-4);
  auto start = std::chrono::steady_clock::now();
  window.Table1Click();
  QTableView* grid = window.TableWindow()->StringGrid1();
  grid->viewport()->repaint();
  QApplication::processEvents();
  std::cout << "table of " << window.TableWindow()->Table().DataRowCount()
            << " rows computed and shown: " << Seconds(start) << " s\n";
  start = std::chrono::steady_clock::now();
  grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
  grid->viewport()->repaint();
  QApplication::processEvents();
  std::cout << "scrolled to the last row: " << Seconds(start) << " s\n";
  std::cout << "peak memory with the table shown: " << PeakMegabytes() << " MB (heap in use "
            << static_cast<double>(mallinfo2().uordblks + mallinfo2().hblkhd) / 1048576.0
            << " MB)\n";

  start = std::chrono::steady_clock::now();
  window.TableWindow()->Chart1Click();
  window.TableWindow()->ChartWindow()->View()->viewport()->repaint();
  QApplication::processEvents();
  std::cout << "chart of the million rows drawn: " << Seconds(start) << " s\n";

  window.Core().SetSetting(app::stStep, 1e-3);
  window.Table1Click();
  const std::string path = (folder.path() + "/table.xlsx").toStdString();
  start = std::chrono::steady_clock::now();
  const auto failure = app::WriteWorkbook(window.TableWindow()->Table(), path);
  std::cout << "workbook of " << window.TableWindow()->Table().DataRowCount()
            << " rows written: " << Seconds(start) << " s"
            << (failure ? " FAILED: " + *failure : "") << '\n';
  return failure ? 1 : 0;
}
