// TpteForm1: builds the grid, menus and status bar, lays the grid out for the window's width and
// turns a pick into the element window's content.
#include "periodic/periodic_table_window.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <filesystem>
#include <system_error>

#include "periodic/element_draw_grid.h"
#include "periodic/element_view.h"
#include "periodic/element_window.h"

namespace periodic {

namespace {

constexpr int kGridLeft = 20;  // half of the 40 pixels the grid is narrower than the window
constexpr int kGridTop = 4;
constexpr int kStartWidth = 558;
constexpr const char* kFileFilter =
    "Periodic table files (*.pte)|*.pte|Text files (*.txt)|*.txt|All files (*.)|*.";

}  // namespace

TpteForm1::TpteForm1(app::TUserPrompt& prompt, std::string& pteFilePath, std::string defaultPtePath,
                     TPeriodicLinks links, QWidget* parent)
    : TToolWindow(parent),
      prompt_(prompt),
      pteFilePath_(pteFilePath),
      defaultPtePath_(std::move(defaultPtePath)),
      links_(std::move(links)) {
  setWindowTitle(tr("Periodic Table of the Elements"));
  auto* client = new QWidget(this);
  setCentralWidget(client);
  drawGrid1_ = new TElementDrawGrid(table_, client);
  drawGrid1_->OnMouseMove = [this](TCellPosition cell) { DrawGrid1MouseMove(cell); };
  drawGrid1_->OnDoubleClick = [this] { DrawGrid1DblClick(); };
  drawGrid1_->OnEnter = [this] { DrawGrid1KeyPress(); };
  status_ = new QLabel(this);
  status_->setObjectName("StatusBar1");
  statusBar()->addWidget(status_, 1);
  BuildMenus();
  elementWindow_ = std::make_unique<TpteForm2>(*this);

  FormCreate();
  const TTableLayout layout = TableLayout(kStartWidth);
  resize(kStartWidth, layout.GridHeight + 2 * kGridTop + menuBar()->sizeHint().height() +
                          statusBar()->sizeHint().height());
  FormResize();
}

TpteForm1::~TpteForm1() = default;

void TpteForm1::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  connect(add(file, tr("&Open PTE"), "Open1"), &QAction::triggered, this, &TpteForm1::Open1Click);
  connect(add(file, tr("&Def PTE"), "Defpte1"), &QAction::triggered, this,
          &TpteForm1::Defpte1Click);
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  connect(add(window, tr("&Main"), "Main1"), &QAction::triggered, this, &TpteForm1::Main1Click);
  connect(add(window, tr("&Element"), "Element1"), &QAction::triggered, this,
          &TpteForm1::Element1Click);
  Action("Main1")->setEnabled(static_cast<bool>(links_.ShowMain));
}

void TpteForm1::FormCreate() {
  ReadFromPTEFile();
  if (!pteFilePath_.empty()) return;
  // No file was found: a first start writes the default file and loads it.
  if (const std::optional<std::string> error = table_.WriteToDefPTEFile(defaultPtePath_)) {
    prompt_.Message(*error);
    // The built-in values stay at hand even though no file holds them.
    table_.LoadBuiltInProperties();
    return;
  }
  ReadFromPTEFile();
}

void TpteForm1::ReadFromPTEFile() {
  status_->clear();
  loaded_ = false;
  const TPeriodicTable::TReadState state =
      table_.ReadFromPTEFile(pteFilePath_, defaultPtePath_, prompt_);
  loaded_ = state.Loaded;
  status_->setText(QString::fromStdString(state.StatusText));
  // The open dialog starts where the file found was, as long as this window has its say.
  if (!pteFilePath_.empty()) openDialogPath_ = pteFilePath_;
}

void TpteForm1::Open1Click() {
  // The prompt serves every window, so the folder is set again before each dialog.
  if (!openDialogPath_.empty()) prompt_.SetInitialFolder(openDialogPath_);
  const std::optional<std::string> chosen = prompt_.OpenFile(kFileFilter);
  if (!chosen) return;
  CloseElementWindow();
  pteFilePath_ = *chosen;
  std::error_code error;
  if (std::filesystem::exists(std::filesystem::path(*chosen), error)) {
    ReadFromPTEFile();
  } else {
    loaded_ = false;
  }
}

void TpteForm1::Defpte1Click() {
  if (!prompt_.Confirm("ARE YOU SURE ?")) return;
  CloseElementWindow();
  if (const std::optional<std::string> error = table_.WriteToDefPTEFile(defaultPtePath_)) {
    prompt_.Message(*error);
    return;
  }
  // Reload the file just written, not another one opened before.
  pteFilePath_ = defaultPtePath_;
  ReadFromPTEFile();
}

QAction* TpteForm1::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

QString TpteForm1::StatusText() const {
  return status_->text();
}

void TpteForm1::resizeEvent(QResizeEvent* event) {
  TToolWindow::resizeEvent(event);
  FormResize();
}

void TpteForm1::FormResize() {
  const TTableLayout layout = TableLayout(width());
  drawGrid1_->setGeometry(kGridLeft, kGridTop, layout.GridWidth, layout.GridHeight);
  drawGrid1_->SetCellSize(layout.Cell, layout.FontSize);
  // A wider window needs a taller grid; the window grows with it rather than cutting it off.
  centralWidget()->setMinimumHeight(layout.GridHeight + 2 * kGridTop);
}

void TpteForm1::DrawGrid1MouseMove(TCellPosition cell) {
  mouseCell_ = cell;
}

void TpteForm1::DrawGrid1KeyPress() {
  mouseCell_ = drawGrid1_->CurrentCell();
  DrawGrid1DblClick();
}

void TpteForm1::DrawGrid1DblClick() {
  selected_ = mouseCell_;
  if (table_.Cell(selected_).Empty()) {
    CloseElementWindow();
    return;
  }
  elementWindow_->RefreshData();
  if (!elementWindow_->isVisible()) {
    elementWindow_->show();
  } else if (elementWindow_->StayOnTop()) {
    elementWindow_->show();
    elementWindow_->raise();
    elementWindow_->activateWindow();
  }
}

void TpteForm1::CloseElementWindow() {
  if (elementWindow_->isVisible()) elementWindow_->close();
}

void TpteForm1::Main1Click() {
  if (links_.ShowMain) links_.ShowMain();
}

void TpteForm1::Element1Click() {
  elementWindow_->show();
  elementWindow_->raise();
}

}  // namespace periodic
