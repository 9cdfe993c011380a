// TForm26: tabs of sheet grids at the bottom, its menus, and the handlers behind them.
#include "interpolation/interpolation_window.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <exception>
#include <filesystem>
#include <optional>

#include "interpolation/dat_file.h"
#include "interpolation/row_count_dialogs.h"
#include "interpolation/sheet_model.h"

namespace interpolation {

namespace {

constexpr const char* kCaption = "Interpolation table";
constexpr const char* kFilter =
    "Interpolation files (*.dat)|*.dat|Text files (*.txt)|*.txt|All files (*.)|*.";
constexpr int kNumberColumnWidth = 50;

QString TabCaption(std::size_t index) {
  return QStringLiteral("Sheet&%1").arg(index + 1);
}

}  // namespace

TForm26::TForm26(app::TCalculatorCore& core, app::TUserPrompt& prompt, QWidget* mainWindow,
                 QWidget* parent)
    : app::TToolWindow(parent),
      sheets_(core),
      prompt_(prompt),
      mainWindow_(mainWindow),
      rowsCount_(std::make_unique<TForm27>(prompt, this)),
      deleteRows_(std::make_unique<TForm28>(prompt, this)) {
  setWindowTitle(tr(kCaption));
  resize(360, 420);
  pageControl_ = new QTabWidget(this);
  pageControl_->setTabPosition(QTabWidget::South);
  pageControl_->setUsesScrollButtons(true);
  setCentralWidget(pageControl_);
  statusBar();
  pageControl_->addTab(NewGrid(0), TabCaption(0));
  BuildMenus();
  connect(pageControl_, &QTabWidget::currentChanged, this, &TForm26::PageControl1Change);
  FormResize();
}

TForm26::~TForm26() {
  // The grids' models read the sheets, which go before the window's children do.
  delete takeCentralWidget();
}

void TForm26::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name, auto handler) {
    return AddMenuItem(menu, caption, name, this, handler);
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  add(file, tr("&Open"), "Open1", &TForm26::Open1Click);
  add(file, tr("&Save"), "Save1", &TForm26::Save1Click)->setEnabled(false);
  add(file, tr("&Save As..."), "SaveAs1", &TForm26::SaveAs1Click);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  add(edit, tr("&Add Rows"), "AddRow1", &TForm26::AddRow1Click);
  add(edit, tr("&Delete Rows"), "DelRow1", &TForm26::DelRow1Click);
  add(edit, tr("Add &Sheet"), "AddSheet1", &TForm26::AddSheet1Click);
  add(edit, tr("&Delete S&heet"), "DeleteSheet1", &TForm26::DeleteSheet1Click);

  QMenu* options = menuBar()->addMenu(tr("&Options"));
  QMenu* spline = options->addMenu(tr("&Cubic Spline"));
  spline->menuAction()->setObjectName("CubicSpline1");
  connect(spline, &QMenu::aboutToShow, this, &TForm26::CubicSpline1Click);
  auto* types = new QActionGroup(this);
  QAction* natural = add(spline, tr("&Natural"), "Natural1", [this] { SetSplineType(stNatural); });
  QAction* periodic =
      add(spline, tr("&Periodic"), "Periodic1", [this] { SetSplineType(stPeriodic); });
  for (QAction* action : {natural, periodic}) {
    action->setCheckable(true);
    types->addAction(action);
  }
  natural->setChecked(true);
  add(options, tr("&Ordination"), "Ordonatex1", &TForm26::Ordonatex1Click);

  QMenu* window = menuBar()->addMenu(tr("&Window"));
  add(window, tr("&Main"), "Main1", &TForm26::ShowMainWindow);
}

QAction* TForm26::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

QTableView* TForm26::NewGrid(std::size_t sheet) {
  auto* grid = new QTableView(pageControl_);
  auto* model = new TSheetModel(sheets_, sheet, grid);
  grid->setModel(model);
  grid->verticalHeader()->hide();
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  grid->setTabKeyNavigation(true);
  grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
  grid->setObjectName(QStringLiteral("StringGrid%1").arg(sheet + 1));
  grid->viewport()->installEventFilter(this);
  models_.push_back(model);
  return grid;
}

std::size_t TForm26::ActiveSheet() const {
  const int index = pageControl_->currentIndex();
  return index < 0 ? 0 : static_cast<std::size_t>(index);
}

QTableView* TForm26::Grid(std::size_t sheet) const {
  return static_cast<QTableView*>(pageControl_->widget(static_cast<int>(sheet)));
}

void TForm26::ReloadGrids() {
  while (pageControl_->count() < static_cast<int>(sheets_.Count())) {
    pageControl_->addTab(NewGrid(static_cast<std::size_t>(pageControl_->count())),
                         TabCaption(static_cast<std::size_t>(pageControl_->count())));
  }
  for (TSheetModel* model : models_)
    model->Reload();
  PageControl1Change();
}

bool TForm26::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Resize && Grid(ActiveSheet()) != nullptr &&
      watched == Grid(ActiveSheet())->viewport()) {
    FormResize();
  }
  return app::TToolWindow::eventFilter(watched, event);
}

void TForm26::FormResize() {
  QTableView* grid = Grid(ActiveSheet());
  if (grid == nullptr) return;
  const int width = grid->viewport()->width();
  const int dataWidth = std::max(10, (width - kNumberColumnWidth) / 2 - 15);
  grid->setColumnWidth(scNumber, kNumberColumnWidth);
  grid->setColumnWidth(scX, dataWidth);
  grid->setColumnWidth(scFx, dataWidth);
}

void TForm26::PageControl1Change() {
  FormResize();
  const TInterpolationSheet& sheet = sheets_.Sheet(ActiveSheet());
  setWindowTitle(sheet.HasFile ? QString::fromStdString(sheet.FileName) : tr(kCaption));
  Action("Save1")->setEnabled(sheet.HasFile);
  CubicSpline1Click();
}

void TForm26::RenameTabs() {
  for (int k = 0; k < pageControl_->count(); ++k) {
    pageControl_->setTabText(k, TabCaption(static_cast<std::size_t>(k)));
    pageControl_->widget(k)->setObjectName(QStringLiteral("StringGrid%1").arg(k + 1));
  }
}

void TForm26::Open1Click() {
  setWindowTitle(tr(kCaption));
  const std::optional<std::string> path = prompt_.OpenFile(kFilter);
  if (!path || !std::filesystem::exists(*path)) {
    PageControl1Change();
    return;
  }
  std::optional<std::string> failure;
  {
    // A sheet of a million rows takes seconds to read.
    const app::TWaitCursor wait;
    try {
      LoadSheetFile(sheets_.Sheet(ActiveSheet()), *path);
    } catch (const std::exception& e) {
      failure = e.what();
    }
    models_[ActiveSheet()]->Reload();
  }
  if (failure) prompt_.Message(*failure);
  PageControl1Change();
}

void TForm26::Write(const std::string& path) {
  try {
    SaveSheetFile(sheets_.Sheet(ActiveSheet()), path);
  } catch (const std::exception& e) {
    prompt_.Message(e.what());
  }
  PageControl1Change();
}

void TForm26::Save1Click() {
  const TInterpolationSheet& sheet = sheets_.Sheet(ActiveSheet());
  if (!sheet.HasFile) {
    SaveAs1Click();
    return;
  }
  Write(sheet.FileName);
}

void TForm26::SaveAs1Click() {
  setWindowTitle(tr(kCaption));
  const std::optional<std::string> path = prompt_.SaveFile(kFilter);
  if (!path) {
    PageControl1Change();
    return;
  }
  Write(*path);
}

void TForm26::AddRow1Click() {
  const std::size_t active = ActiveSheet();
  rowsCount_->SetSheet(sheets_.Sheet(active));
  rowsCount_->exec();
  models_[active]->Reload();
}

void TForm26::DelRow1Click() {
  const std::size_t active = ActiveSheet();
  deleteRows_->SetSheet(sheets_.Sheet(active));
  deleteRows_->exec();
  models_[active]->Reload();
}

void TForm26::AddSheet1Click() {
  sheets_.AddSheet();
  const std::size_t index = sheets_.Count() - 1;
  pageControl_->addTab(NewGrid(index), TabCaption(index));
  pageControl_->setCurrentIndex(static_cast<int>(index));
  Action("Save1")->setEnabled(false);
  FormResize();
}

void TForm26::DeleteSheet1Click() {
  if (!prompt_.Confirm("ARE YOU SURE ?")) return;
  if (sheets_.Count() <= 1) {
    prompt_.Message("Cannot delete first sheet");
    return;
  }
  const std::size_t active = ActiveSheet();
  QWidget* grid = pageControl_->widget(static_cast<int>(active));
  // The sheets move down first, so that the tab shown next finds its own rows.
  sheets_.DeleteSheet(active);
  models_.erase(models_.begin() + static_cast<std::ptrdiff_t>(active));
  for (std::size_t k = active; k < models_.size(); ++k)
    models_[k]->SetSheetIndex(k);
  {
    const QSignalBlocker quiet(pageControl_);
    pageControl_->removeTab(static_cast<int>(active));
  }
  delete grid;
  RenameTabs();
  PageControl1Change();
}

void TForm26::CubicSpline1Click() {
  const bool periodic = sheets_.Sheet(ActiveSheet()).SplineType() == stPeriodic;
  Action(periodic ? "Periodic1" : "Natural1")->setChecked(true);
}

void TForm26::SetSplineType(TSplineType type) {
  Action(type == stPeriodic ? "Periodic1" : "Natural1")->setChecked(true);
  sheets_.Sheet(ActiveSheet()).SetSplineType(type);
}

void TForm26::Ordonatex1Click() {
  const std::size_t active = ActiveSheet();
  try {
    sheets_.Ordinate(active);
  } catch (const std::exception& e) {
    prompt_.Message(e.what());
  }
  models_[active]->Reload();
}

void TForm26::ShowMainWindow() {
  if (mainWindow_ != nullptr) app::BringToFront(mainWindow_);
}

}  // namespace interpolation
