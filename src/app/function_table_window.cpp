// TForm8: the grid is a view over TFunctionTableModel; long tables are computed under a
// progress dialog; files are written through the safe save.
#include "app/function_table_window.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTableView>
#include <QUrl>

#include "app/calculator_core.h"
#include "app/chart_window.h"
#include "app/function_table_model.h"
#include "app/safe_save.h"
#include "app/user_prompt.h"
#include "app/workbook_export.h"

namespace app {

namespace {

constexpr const char* kTextFilter = "Comma-separated text (*.csv)|*.csv|All files (*)|*";
constexpr const char* kWorkbookFilter = "Excel workbook (*.xlsx)|*.xlsx";
constexpr int kRowNumberWidth = 64;
constexpr int kProgressSteps = 1000;

}  // namespace

TForm8::TForm8(TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent),
      prompt_(prompt),
      model_(new TFunctionTableModel(this)),
      grid_(new QTableView(this)) {
  setWindowTitle(tr("Functions table"));
  grid_->setModel(model_);
  grid_->verticalHeader()->hide();
  // Fixed row heights keep scrolling through a million rows as cheap as through ten.
  grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setWordWrap(false);
  setCentralWidget(grid_);
  BuildMenus();
  statusBar();
  resize(520, 400);
  OpenDocument = [](const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  };
}

TForm8::~TForm8() = default;

void TForm8::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name, void (TForm8::*slot)()) {
    return AddMenuItem(menu, caption, name, this, slot);
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  add(file, tr("&Save As..."), "SaveAs1", &TForm8::SaveAs1Click);
  QMenu* option = menuBar()->addMenu(tr("&Option"));
  QAction* nan = add(option, tr("&Null -> #NUM!"), "NAN1", &TForm8::NAN1Click);
  nan->setCheckable(true);
  nan->setChecked(true);
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  add(window, tr("&Main"), "Main1", &TForm8::Main1Click);
  add(window, tr("&Excel workbook"), "ExcelOLE2", &TForm8::ExcelOLE2Click);
  add(window, tr("&Chart"), "Chart1", &TForm8::Chart1Click);
}

QAction* TForm8::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

std::unique_ptr<QProgressDialog> TForm8::NewProgressDialog(const QString& label) {
  auto dialog = std::make_unique<QProgressDialog>(label, tr("Cancel"), 0, kProgressSteps, this);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setMinimumDuration(0);
  dialog->setValue(0);
  return dialog;
}

bool TForm8::ShowProgress(QProgressDialog* dialog, std::size_t done, std::size_t total) {
  if (dialog == nullptr) return true;
  const std::size_t steps = total == 0 ? 0 : done * kProgressSteps / total;
  dialog->setValue(static_cast<int>(std::min<std::size_t>(steps, kProgressSteps - 1)));
  QApplication::processEvents();
  return !dialog->wasCanceled();
}

const TFunctionTable& TForm8::Table() const {
  return model_->Table();
}

TFunctionTable::TBuildResult TForm8::Fill(TCalculatorCore& core) {
  if (filling_) return TFunctionTable::TBuildResult::Cancelled;
  filling_ = true;
  struct TDone {
    bool& flag;
    ~TDone() { flag = false; }
  } done{filling_};
  // The old rows go first, so that two big tables are never held at once.
  model_->SetTable(TFunctionTable());
  const std::size_t expected = TFunctionTable::ExpectedRows(core);
  std::unique_ptr<QProgressDialog> dialog;
  if (expected > kProgressRows) dialog = NewProgressDialog(tr("Computing the table..."));
  const auto progress = [&dialog](std::size_t done, std::size_t total) {
    return ShowProgress(dialog.get(), done, total);
  };
  TFunctionTable table;
  const TFunctionTable::TBuildResult result = table.Build(core, progress);
  dialog.reset();
  if (Action("NAN1")->isChecked()) table.FailuresAsNum();
  model_->SetTable(std::move(table));

  const int columnWidth = static_cast<int>(core.GetSetting(stColWidth));
  grid_->setColumnWidth(0, kRowNumberWidth);
  for (int column = 1; column < model_->columnCount(); ++column)
    grid_->setColumnWidth(column, columnWidth);
  if (result == TFunctionTable::TBuildResult::Cut) {
    prompt_.Message("The table stops at " + std::to_string(Table().DataRowCount()) +
                    " rows: a longer one would not fit in memory");
  }
  if (chartWindow_) chartWindow_->Rebuild();
  emit TableChanged();
  return result;
}

void TForm8::SaveAs1Click() {
  const std::optional<std::string> path = prompt_.SaveFile(kTextFilter);
  if (!path) return;
  if (const auto failure = SafeSave(*path, Table().CommaLines())) prompt_.Message(*failure);
}

void TForm8::NAN1Click() {
  // The action has already toggled its check: checked now means it was unchecked.
  QAction* option = Action("NAN1");
  model_->ChangeTexts([checked = option->isChecked()](TFunctionTable& table) {
    if (checked) {
      table.FailuresAsNum();
    } else {
      table.NumAsNull();
    }
  });
}

void TForm8::Main1Click() {
  if (QWidget* main = parentWidget()) BringToFront(main);
}

void TForm8::ExcelOLE2Click() {
  std::string path = workbookPath_;
  if (path.empty()) {
    const std::optional<std::string> chosen = prompt_.SaveFile(kWorkbookFilter);
    if (!chosen) return;
    path = *chosen;
    if (QFileInfo(QString::fromStdString(path)).suffix().isEmpty()) path += ".xlsx";
  }
  std::unique_ptr<QProgressDialog> dialog;
  if (Table().DataRowCount() > kProgressRows)
    dialog = NewProgressDialog(tr("Writing the workbook..."));
  const auto failure = WriteWorkbook(Table(), path, [&dialog](std::size_t done, std::size_t total) {
    return ShowProgress(dialog.get(), done, total);
  });
  dialog.reset();
  if (failure) {
    if (!failure->empty()) prompt_.Message(*failure);
    return;
  }
  workbookPath_ = path;
  const QString written = QString::fromStdString(path);
  if (!OpenDocument || !OpenDocument(written)) {
    statusBar()->showMessage(tr("Workbook written to %1").arg(written));
  }
}

void TForm8::Chart1Click() {
  if (!chartWindow_) {
    chartWindow_ = std::make_unique<TChartWindow>(Table(), prompt_, this);
  }
  chartWindow_->Rebuild();
  ShowOwnedWindow(chartWindow_.get());
}

}  // namespace app
