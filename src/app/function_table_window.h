// TForm8, the "Functions table" window: the grid of function values over the table range, its
// comma-text file, the "&Null -> #NUM!" option, the workbook export and the chart window.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "app/function_table.h"
#include "app/tool_window.h"

class QAction;
class QProgressDialog;
class QTableView;

namespace app {

class TCalculatorCore;
class TChartWindow;
class TFunctionTableModel;
class TUserPrompt;

class TForm8 : public TToolWindow {
  Q_OBJECT

 public:
  // `prompt` must outlive the window.
  explicit TForm8(TUserPrompt& prompt, QWidget* parent = nullptr);
  ~TForm8() override;

  // Table1Click's rows for the core's functions and settings, after a good definitions pass.
  // A table longer than kProgressRows rows shows a progress dialog whose Cancel keeps the rows
  // computed so far.
  TFunctionTable::TBuildResult Fill(TCalculatorCore& core);

  const TFunctionTable& Table() const;
  QTableView* StringGrid1() const { return grid_; }
  QAction* Action(const QString& objectName) const;
  TChartWindow* ChartWindow() const { return chartWindow_.get(); }
  // The workbook the last export wrote, which later exports write again; empty before.
  const std::string& WorkbookPath() const { return workbookPath_; }

  // Menu items.
  void SaveAs1Click();
  void NAN1Click();
  void Main1Click();
  void ExcelOLE2Click();
  void Chart1Click();

  // Opens a written workbook; the desktop's default application unless replaced (tests do).
  // False when nothing opened it.
  std::function<bool(const QString& path)> OpenDocument;

 signals:
  void TableChanged();

 private:
  void BuildMenus();
  // A window-modal progress dialog with Cancel, shown at once.
  std::unique_ptr<QProgressDialog> NewProgressDialog(const QString& label);
  // Moves the dialog on (when there is one) and lets events through; false after Cancel.
  static bool ShowProgress(QProgressDialog* dialog, std::size_t done, std::size_t total);

  TUserPrompt& prompt_;
  TFunctionTableModel* model_;
  QTableView* grid_;
  std::unique_ptr<TChartWindow> chartWindow_;
  std::string workbookPath_;
  // Set while Fill runs: the progress dialog lets events through.
  bool filling_ = false;
};

}  // namespace app
