// TForm22.
#include "constants/const_table_window.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <functional>

#include "app/main_window.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "constants/const_edit_dialog.h"
#include "constants/constant_list_window.h"
#include "evaluator/text_utils.h"

namespace constants {

using app::kAreYouSure;

namespace {

constexpr const char* kEnterAConstant = "Please enter a constant";
constexpr const char* kEmptyCategory = "Category cannot be an empty string";

enum TColumn { kNumber = 0, kName, kValue, kDescription, kColumnCount };

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string S(const QString& text) {
  return text.toStdString();
}

}  // namespace

TForm22::TForm22(app::TForm1& main, app::TUserPrompt& prompt, const std::string& defaultFile,
                 const std::string& constFilePath, QWidget* parent)
    : TToolWindow(parent),
      main_(main),
      prompt_(prompt),
      table_(defaultFile, prompt),
      categoryBox_(new QComboBox(this)),
      searchBox_(new QComboBox(this)),
      addToConstants_(new QPushButton(tr("&Add to Constants"), this)),
      grid_(new QTableWidget(this)),
      status_(new QLabel(this)) {
  setWindowTitle(tr("Constants definition table"));
  resize(640, 400);
  auto* central = new QWidget(this);
  auto* top = new QHBoxLayout;
  top->addWidget(categoryBox_, 2);
  // Without a name of its own a box would be announced by the item it shows.
  categoryBox_->setAccessibleName(tr("Category"));
  auto* searchLabel = new QLabel(tr("Search"), central);
  searchLabel->setBuddy(searchBox_);
  top->addWidget(searchLabel);
  top->addWidget(searchBox_, 2);
  top->addWidget(addToConstants_);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(grid_);
  setCentralWidget(central);
  statusBar()->addWidget(status_, 1);

  grid_->setColumnCount(kColumnCount);
  grid_->setHorizontalHeaderLabels({"#", "Name", "Value", "Description"});
  grid_->verticalHeader()->hide();
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setWordWrap(false);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->installEventFilter(this);
  connect(grid_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { EditRow(row + 1); });
  connect(categoryBox_, &QComboBox::currentIndexChanged, this, [this] { ShowCategory(); });
  connect(searchBox_, &QComboBox::activated, this, [this](int index) {
    if (index < 0 || index >= grid_->rowCount()) return;
    grid_->selectRow(index);
    grid_->scrollToItem(grid_->item(index, kName));
  });
  connect(addToConstants_, &QPushButton::clicked, this, &TForm22::AddToConstantsClick);

  constantDialog_ = std::make_unique<TForm23>([this] { return ConstantDialogOk(); });
  deleteDialog_ = std::make_unique<TForm24>(
      prompt_, [this](int from, int count) { return DeleteDialogOk(from, count); });
  categoryDialog_ = std::make_unique<TForm25>([this] { return CategoryDialogOk(); });
  BuildMenus();

  table_.ConstFilePath = constFilePath;
  table_.LoadAtStart();
  Refill(table_.Categories().empty() ? std::nullopt : std::optional<std::size_t>(0));
  ShowPath();
}

TForm22::~TForm22() = default;

void TForm22::BuildMenus() {
  // A failure inside a handler (out of memory, say) is shown with its own text.
  auto add = [this](QMenu* menu, const QString& caption, const char* name, auto handler) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] {
      try {
        std::invoke(handler, this);
      } catch (const std::exception& e) {
        prompt_.Message(e.what());
      }
    });
    return action;
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  add(file, tr("&New const"), "NewConst1", &TForm22::NewConst1Click);
  add(file, tr("&Open const"), "OpenConst1", &TForm22::OpenConst1Click);
  add(file, tr("&Save const"), "SaveConst1", &TForm22::SaveConst1Click);
  add(file, tr("Save &As const..."), "SaveAsConst1", &TForm22::SaveAsConst1Click);
  add(file, tr("&Default const"), "DefaultConst1", &TForm22::DefaultConst1Click);
  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  add(edit, tr("&Add const"), "AddConst1", &TForm22::AddConst1Click);
  add(edit, tr("&Delete const"), "DeleteConst1", &TForm22::DeleteConst1Click);
  QMenu* category = menuBar()->addMenu(tr("&Category"));
  add(category, tr("&Add category"), "AddCategory1", &TForm22::AddCategory1Click);
  add(category, tr("&Edit category"), "EditCategory1", &TForm22::EditCategory1Click);
  add(category, tr("&Delete category"), "DeleteCategory1", &TForm22::DeleteCategory1Click);
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  add(window, tr("&Main"), "Main1", [](TForm22* self) {
    self->main_.show();
    self->main_.raise();
  });
  add(window, tr("&Constants"), "Constants1", [](TForm22* self) { self->main_.Constants1Click(); });
  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddStayOnTopAction(view)->setObjectName("StayOnTop1");
}

QAction* TForm22::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

std::optional<std::size_t> TForm22::SelectedCategory() const {
  const int index = categoryBox_->currentIndex();
  if (index < 0 || static_cast<std::size_t>(index) >= table_.Categories().size()) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(index);
}

void TForm22::Refill(std::optional<std::size_t> category) {
  {
    const QSignalBlocker quiet(categoryBox_);
    categoryBox_->clear();
    for (const TConstCategory& each : table_.Categories())
      categoryBox_->addItem(Q(each.Name));
    categoryBox_->setCurrentIndex(category ? static_cast<int>(*category) : -1);
  }
  ShowCategory();
}

void TForm22::ShowCategory() {
  searchBox_->clear();
  grid_->clearContents();
  const std::optional<std::size_t> category = SelectedCategory();
  const std::vector<TConstEntry>* constants =
      category ? &table_.Categories()[*category].Constants : nullptr;
  if (constants == nullptr || constants->empty()) {
    grid_->setRowCount(1);  // a blank row under the header
    return;
  }
  grid_->setRowCount(static_cast<int>(constants->size()));
  for (std::size_t i = 0; i < constants->size(); ++i) {
    const TConstEntry& constant = (*constants)[i];
    const int row = static_cast<int>(i);
    grid_->setItem(row, kNumber, ReadOnlyItem(QString::number(row + 1)));
    grid_->setItem(row, kName, ReadOnlyItem(Q(constant.Name)));
    grid_->setItem(row, kValue, ReadOnlyItem(Q(constant.Record.Value)));
    grid_->setItem(row, kDescription, ReadOnlyItem(Q(constant.Record.Description)));
    searchBox_->addItem(Q(constant.Name));
  }
  searchBox_->setCurrentIndex(-1);
}

void TForm22::ShowPath() {
  status_->setText(Q(table_.ConstFilePath));
}

void TForm22::ReadAndShow() {
  status_->clear();
  table_.ReadFromConstFile();
  Refill(table_.Categories().empty() ? std::nullopt : std::optional<std::size_t>(0));
  ShowPath();
}

void TForm22::SetColumnWidths() {
  const int a = (grid_->width() - 40) / 8 - 1;
  grid_->setColumnWidth(kNumber, 40);
  grid_->setColumnWidth(kName, 4 * a);
  grid_->setColumnWidth(kValue, 2 * a);
  grid_->setColumnWidth(kDescription, 2 * a);
}

void TForm22::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  SetColumnWidths();
}

bool TForm22::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::Resize) SetColumnWidths();
  if (const int row = RowToEdit(grid_, watched, event)) {
    EditRow(row);
    return true;
  }
  return TToolWindow::eventFilter(watched, event);
}

// ---- File menu ------------------------------------------------------------------------------

void TForm22::NewConst1Click() {
  if (!prompt_.Confirm(kAreYouSure)) return;
  table_.FreeStringList();
  Refill(std::nullopt);
}

void TForm22::OpenConst1Click() {
  setWindowTitle(tr("Constant definition table"));
  const std::optional<std::string> file = prompt_.OpenFile(kConstFileFilter);
  if (!file) return;
  table_.ConstFilePath = *file;
  std::error_code error;
  if (std::filesystem::is_regular_file(*file, error)) {
    // A file that cannot be read stays unloaded, so that no save goes over it.
    ReadAndShow();
  } else {
    table_.Loaded = true;
    ShowPath();
  }
}

void TForm22::SaveConst1Click() {
  if (!prompt_.Confirm(kAreYouSure)) return;
  table_.WriteToConstFile();
}

void TForm22::SaveAsConst1Click() {
  const std::optional<std::string> file = prompt_.SaveFile(kConstFileFilter);
  if (!file) return;
  table_.ConstFilePath = *file;
  table_.Loaded = true;
  table_.WriteToConstFile();
  ShowPath();
}

void TForm22::DefaultConst1Click() {
  if (!prompt_.Confirm(kAreYouSure)) return;
  if (table_.WriteToDefConstFile()) ReadAndShow();
}

// ---- Constants ------------------------------------------------------------------------------

void TForm22::AddConst1Click() {
  if (!SelectedCategory()) return;
  editedConstant_.reset();
  constantDialog_->Open(tr("Add constant"), "", "", "");
}

void TForm22::EditRow(int row) {
  const std::optional<std::size_t> category = SelectedCategory();
  if (!category) return;
  const std::vector<TConstEntry>& constants = table_.Categories()[*category].Constants;
  if (row < 1 || static_cast<std::size_t>(row) > constants.size()) return;
  editedConstant_ = static_cast<std::size_t>(row - 1);
  const TConstEntry& constant = constants[*editedConstant_];
  constantDialog_->Open(tr("Edit constant"), Q(constant.Name), Q(constant.Record.Value),
                        Q(constant.Record.Description));
}

bool TForm22::ConstantDialogOk() {
  const std::optional<std::size_t> category = SelectedCategory();
  const std::string name = evaluator::TrimBlanks(S(constantDialog_->NameEdit()->text()));
  if (!category || name.empty()) return false;
  const TConstRec record{evaluator::TrimBlanks(S(constantDialog_->ValueEdit()->text())),
                         evaluator::TrimBlanks(S(constantDialog_->DescriptionEdit()->text()))};
  const std::optional<std::string> refusal =
      editedConstant_ ? table_.EditConstant(*category, *editedConstant_, name, record)
                      : table_.AddConstant(*category, name, record);
  if (refusal) {
    prompt_.Message(*refusal);
    return false;
  }
  ShowCategory();
  if (const std::optional<std::size_t> index = table_.FindConstant(*category, name)) {
    searchBox_->setCurrentIndex(static_cast<int>(*index));
    grid_->selectRow(static_cast<int>(*index));
  }
  return true;
}

void TForm22::DeleteConst1Click() {
  if (!SelectedCategory()) return;
  deleteDialog_->show();
  deleteDialog_->raise();
}

bool TForm22::DeleteDialogOk(int from, int count) {
  const std::optional<std::size_t> category = SelectedCategory();
  if (!category) return true;
  const auto size = static_cast<int>(table_.Categories()[*category].Constants.size());
  if (!app::ConfirmBlockDelete(prompt_, from, count, size)) return false;
  table_.DeleteConstants(*category, static_cast<std::size_t>(from - 1),
                         static_cast<std::size_t>(count));
  ShowCategory();
  return true;
}

// ---- Categories -----------------------------------------------------------------------------

void TForm22::AddCategory1Click() {
  editingCategory_ = false;
  categoryDialog_->Open(tr("Add constant category"), "");
}

void TForm22::EditCategory1Click() {
  const std::optional<std::size_t> category = SelectedCategory();
  if (!category) return;
  editingCategory_ = true;
  categoryDialog_->Open(tr("Edit constant category"), Q(table_.Categories()[*category].Name));
}

bool TForm22::CategoryDialogOk() {
  const std::string name = evaluator::TrimBlanks(S(categoryDialog_->NameEdit()->text()));
  if (name.empty()) {
    prompt_.Message(kEmptyCategory);
    return false;
  }
  const std::optional<std::size_t> category = SelectedCategory();
  if (editingCategory_ && !category) return true;
  const std::optional<std::string> refusal =
      editingCategory_ ? table_.RenameCategory(*category, name) : table_.AddCategory(name);
  if (refusal) {
    prompt_.Message(*refusal);
    return false;
  }
  Refill(std::nullopt);
  return true;
}

void TForm22::DeleteCategory1Click() {
  const std::optional<std::size_t> category = SelectedCategory();
  if (!category || !prompt_.Confirm(kAreYouSure)) return;
  if (const std::optional<std::string> refusal = table_.DeleteCategory(*category)) {
    prompt_.Message(*refusal);
    return;
  }
  Refill(std::nullopt);
}

// ---- Into the constant list -------------------------------------------------------------------

void TForm22::AddToConstantsClick() {
  const std::optional<std::size_t> category = SelectedCategory();
  const int chosen = searchBox_->currentIndex();
  if (!category || chosen < 0 ||
      static_cast<std::size_t>(chosen) >= table_.Categories()[*category].Constants.size()) {
    prompt_.Message(kEnterAConstant);
    return;
  }
  const TConstEntry& constant =
      table_.Categories()[*category].Constants[static_cast<std::size_t>(chosen)];
  main_.ConstantListWindow()->AddNewConstant(constant.Name, constant.Record.Value,
                                             constant.Record.Description);
}

}  // namespace constants
