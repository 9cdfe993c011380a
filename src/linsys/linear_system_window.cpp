// TlssForm1: builds the three panes and the menus and passes the memos' texts to the solver.
#include "linsys/linear_system_window.h"

#include <QAction>
#include <QFileInfo>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressDialog>
#include <QSplitter>
#include <QVBoxLayout>

namespace linsys {

namespace {

constexpr int kMinimumPane = 50;
// The five result items; every command unchecks them all first.
constexpr const char* kResultActions[] = {"SystemSolve1", "Determinant1", "Inversmatix1",
                                          "Initialmatrix1", "Rightpart1"};

// The memos' texts are single-byte, as the files keep them; file names come from the dialogs as
// UTF-8.
QString ToQt(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}
std::string FromQt(const QString& text) {
  return text.toLatin1().toStdString();
}

QPlainTextEdit* NewMemo(QGroupBox* box) {
  auto* memo = new QPlainTextEdit(box);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(memo);
  return memo;
}

}  // namespace

TlssForm1::TlssForm1(app::TUserPrompt& prompt, std::function<double()> detTolerance,
                     QWidget* parent)
    : TToolWindow(parent), prompt_(prompt), system_(prompt, std::move(detTolerance)) {
  setWindowTitle(ToQt(std::string(kSolverCaption)));
  resize(620, 520);
  BuildPanes();
  BuildMenus();
}

TlssForm1::~TlssForm1() = default;

void TlssForm1::BuildPanes() {
  splitter_ = new QSplitter(Qt::Vertical, this);
  splitter_->setChildrenCollapsible(false);
  variablesBox_ = new QGroupBox(tr("Variables name"), splitter_);
  memo1_ = NewMemo(variablesBox_);
  memo1_->setPlainText(ToQt(system_.VariablesText));
  equationsBox_ = new QGroupBox(tr("System of linear equations"), splitter_);
  memo3_ = NewMemo(equationsBox_);
  memo3_->setPlainText(ToQt(system_.EquationsText));
  resultsBox_ = new QGroupBox(tr("Results"), splitter_);
  memo2_ = NewMemo(resultsBox_);
  memo2_->setReadOnly(true);
  // Matrix lines are long; they scroll rather than wrap, so that rows stay rows.
  memo2_->setLineWrapMode(QPlainTextEdit::NoWrap);
  for (QGroupBox* pane : {variablesBox_, equationsBox_, resultsBox_})
    pane->setMinimumHeight(kMinimumPane);
  splitter_->setSizes({80, 160, 240});
  setCentralWidget(splitter_);
}

void TlssForm1::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name, auto handler) {
    return AddMenuItem(menu, caption, name, this, handler);
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  add(file, tr("&Open"), "Open1", &TlssForm1::Open1Click);
  add(file, tr("&Save"), "Save1", &TlssForm1::Save1Click)->setEnabled(false);
  add(file, tr("Save As..."), "SaveAs1", &TlssForm1::SaveAs1Click);
  QMenu* execute = menuBar()->addMenu(tr("&Execute"));
  add(execute, tr("&System Solve"), "SystemSolve1", &TlssForm1::SystemSolve1Click);
  add(execute, tr("&Determinant"), "Determinant1", &TlssForm1::Determinant1Click);
  add(execute, tr("&Inverse matrix"), "Inversmatix1", &TlssForm1::Inversmatix1Click);
  QMenu* view = menuBar()->addMenu(tr("&View"));
  add(view, tr("&Initial matrix"), "Initialmatrix1", &TlssForm1::Initialmatrix1Click);
  add(view, tr("&Right part"), "Rightpart1", &TlssForm1::Rightpart1Click);
  for (const char* name : kResultActions)
    Action(name)->setCheckable(true);
}

QAction* TlssForm1::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void TlssForm1::UncheckResults() {
  for (const char* name : kResultActions)
    Action(name)->setChecked(false);
}

void TlssForm1::TakeMemos() {
  system_.VariablesText = FromQt(memo1_->toPlainText());
  system_.EquationsText = FromQt(memo3_->toPlainText());
}

void TlssForm1::ShowResultsMemo() {
  QStringList lines;
  for (const std::string& line : system_.Results())
    lines << ToQt(line);
  memo2_->setPlainText(lines.join('\n'));
}

void TlssForm1::ShowResult(TSystemResult result, const char* actionName) {
  UncheckResults();
  TakeMemos();
  // Shown only when a large system keeps the user waiting.
  QProgressDialog progress(tr("Building the system..."), tr("Cancel"), 0, 100, this);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  progress.setValue(0);
  system_.Progress = [&progress](std::size_t done, std::size_t total) {
    progress.setValue(static_cast<int>(done * 100 / total));
    return !progress.wasCanceled();
  };
  const bool shown = system_.Show(result);
  system_.Progress = nullptr;
  progress.reset();
  ShowResultsMemo();
  if (shown) Action(actionName)->setChecked(true);
}

void TlssForm1::SystemSolve1Click() {
  ShowResult(TSystemResult::Solution, "SystemSolve1");
}
void TlssForm1::Determinant1Click() {
  ShowResult(TSystemResult::Determinant, "Determinant1");
}
void TlssForm1::Inversmatix1Click() {
  ShowResult(TSystemResult::Inverse, "Inversmatix1");
}
void TlssForm1::Initialmatrix1Click() {
  ShowResult(TSystemResult::InitialMatrix, "Initialmatrix1");
}
void TlssForm1::Rightpart1Click() {
  ShowResult(TSystemResult::RightPart, "Rightpart1");
}

void TlssForm1::Open1Click() {
  setWindowTitle(ToQt(std::string(kSolverCaption)));
  const std::optional<std::string> path = prompt_.OpenFile(std::string(kSleFilter));
  if (!path) return;
  if (!QFileInfo::exists(QString::fromStdString(*path))) {
    system_.FileValid = false;
  } else if (system_.CitesteFisier(*path)) {
    // A file of many megabytes takes the text boxes seconds to lay out.
    const app::TWaitCursor wait;
    memo1_->setPlainText(ToQt(system_.VariablesText));
    memo3_->setPlainText(ToQt(system_.EquationsText));
    setWindowTitle(QString::fromStdString(*path));
    ShowResultsMemo();
    UncheckResults();
  }
  Action("Save1")->setEnabled(system_.FileValid);
}

void TlssForm1::Save1Click() {
  if (!system_.FileValid) return;
  TakeMemos();
  system_.ScrieFisier(system_.FileName);
}

void TlssForm1::SaveAs1Click() {
  setWindowTitle(ToQt(std::string(kSolverCaption)));
  const std::optional<std::string> path = prompt_.SaveFile(std::string(kSleFilter));
  if (!path) return;
  TakeMemos();
  if (system_.ScrieFisier(*path)) {
    system_.FileName = *path;
    setWindowTitle(QString::fromStdString(*path));
  }
}

}  // namespace linsys
