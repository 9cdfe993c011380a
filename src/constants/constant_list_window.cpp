// TForm10.
#include "constants/constant_list_window.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "app/main_window.h"
#include "constants/constant_delete_window.h"
#include "constants/constant_edit_window.h"
#include "constants/constant_list.h"

namespace constants {

namespace {

enum TColumn { kNumber = 0, kName, kValue, kExpression, kDescription, kColumnCount };

QTableWidgetItem* ReadOnlyItem(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

}  // namespace

TForm10::TForm10(app::TForm1& main, TConstantList& list, app::TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent), main_(main), list_(list), grid_(new QTableWidget(this)) {
  setWindowTitle(tr("Constant list"));
  resize(600, 300);
  grid_->setColumnCount(kColumnCount);
  grid_->setHorizontalHeaderLabels({"#", "Name", "Value", "Expression", "Description"});
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setWordWrap(false);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->horizontalHeader()->setStretchLastSection(false);
  grid_->setToolTip(tr("Double click for edit!"));
  grid_->installEventFilter(this);
  setCentralWidget(grid_);
  connect(grid_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { EditRow(row + 1); });

  editWindow_ = std::make_unique<TForm11>(
      list_,
      [this] {
        FormShow();
        ConstantsChanged();
      },
      [this] { main_.ResultsMemo()->clear(); });
  deleteWindow_ = std::make_unique<TForm12>(prompt, list_, [this] {
    // The row the edit window was opened for may be gone or moved.
    if (editWindow_->isVisible()) editWindow_->close();
    FormShow();
    ConstantsChanged();
  });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  QAction* add = edit->addAction(tr("&Add const"));
  add->setObjectName("AddConst1");
  connect(add, &QAction::triggered, this, &TForm10::AddConst1Click);
  QAction* remove = edit->addAction(tr("&Delete const"));
  remove->setObjectName("DeleteConst1");
  connect(remove, &QAction::triggered, this, &TForm10::DeleteConst1Click);

  QMenu* window = menuBar()->addMenu(tr("&Window"));
  QAction* showMain = window->addAction(tr("&Main"));
  showMain->setObjectName("Main1");
  connect(showMain, &QAction::triggered, this, [this] {
    main_.show();
    main_.raise();
  });
  QAction* definitions = window->addAction(tr("&Def constants"));
  definitions->setObjectName("DefConstants1");
  connect(definitions, &QAction::triggered, this, [this] { main_.DefConstants1Click(); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddStayOnTopAction(view)->setObjectName("StayOnTop1");
  FormShow();
}

TForm10::~TForm10() = default;

QAction* TForm10::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void TForm10::FormShow() {
  list_.Refresh();
  grid_->setRowCount(list_.Count());
  for (int r = 1; r <= list_.Count(); ++r) {
    const TConstantRow& row = list_.Row(r);
    grid_->setItem(r - 1, kNumber, ReadOnlyItem(std::to_string(r)));
    grid_->setItem(r - 1, kName, ReadOnlyItem(row.Name));
    grid_->setItem(r - 1, kValue, ReadOnlyItem(row.Value));
    grid_->setItem(r - 1, kExpression, ReadOnlyItem(row.Expression));
    grid_->setItem(r - 1, kDescription, ReadOnlyItem(row.Description));
  }
}

void TForm10::EditRow(int row) {
  if (row < 1 || row > list_.Count()) return;
  const TConstantRow& constant = list_.Row(row);
  editWindow_->SetRow(row, constant.Name, constant.Expression, constant.Description);
  editWindow_->show();
  editWindow_->raise();
}

bool TForm10::AddNewConstant(const std::string& name, const std::string& expression,
                             const std::string& description) {
  editWindow_->SetRow(list_.NewRow(), name, expression, description);
  return editWindow_->AddConst();
}

void TForm10::AddConst1Click() {
  editWindow_->SetRow(list_.NewRow(), "", "", "");
  editWindow_->show();
  editWindow_->raise();
}

void TForm10::DeleteConst1Click() {
  deleteWindow_->show();
  deleteWindow_->raise();
}

void TForm10::ConstantsChanged() {
  main_.Frame31Memo1Change();
}

void TForm10::SetColumnWidths() {
  const int a = (grid_->width() - 40) / 10 - 3;
  grid_->setColumnWidth(kNumber, 40);
  grid_->setColumnWidth(kName, 2 * a);
  grid_->setColumnWidth(kValue, 2 * a);
  grid_->setColumnWidth(kExpression, 4 * a);
  grid_->setColumnWidth(kDescription, 2 * a);
}

void TForm10::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  FormShow();
  SetColumnWidths();
}

bool TForm10::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::Resize) SetColumnWidths();
  if (const int row = RowToEdit(grid_, watched, event)) {
    EditRow(row);
    return true;
  }
  return TToolWindow::eventFilter(watched, event);
}

}  // namespace constants
