// TForm17.
#include "conversion/conversion_table_window.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <filesystem>
#include <functional>

#include "app/data_folder.h"
#include "app/main_window.h"
#include "app/status_panel.h"
#include "constants/category_dialog.h"
#include "constants/const_delete_dialog.h"
#include "conversion/definition_dialog.h"
#include "conversion/unit_graph.h"

namespace conversion {

namespace {

enum TColumn { kNumber = 0, kUnitA, kUnitB, kAToB, kBToA, kColumnCount };

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(item->flags() & ~Qt::ItemIsEditable);
  return item;
}

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

std::string Trimmed(const QLineEdit* edit) {
  return edit->text().trimmed().toStdString();
}

}  // namespace

TForm17::TForm17(app::TForm1& main, app::TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent),
      main_(main),
      prompt_(prompt),
      conversion_(main.Conversion()),
      editor_(main.Conversion(), prompt),
      comboBox1_(new QComboBox(this)),
      grid_(new QTableWidget(this)),
      status_(new app::TStatusPanel(this)) {
  setWindowTitle(tr("Conversion definition table"));
  resize(600, 380);
  auto* central = new QWidget(this);
  auto* top = new QHBoxLayout;
  auto* label = new QLabel(tr("Unit Category"), central);
  label->setBuddy(comboBox1_);
  top->addWidget(label);
  top->addWidget(comboBox1_, 1);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(grid_);
  setCentralWidget(central);
  statusBar()->addWidget(status_, 1);
  comboBox1_->setAccessibleName(tr("Unit Category"));
  grid_->setAccessibleName(tr("Conversion definitions"));
  status_->setAccessibleName(tr("Conversion file"));

  grid_->setColumnCount(kColumnCount);
  grid_->setHorizontalHeaderLabels({"#", "Unit A", "Unit B", "A => B", "B => A"});
  grid_->verticalHeader()->hide();
  // "#" keeps 40 pixels; the other columns share what the grid has left, whatever its width.
  grid_->horizontalHeader()->setMinimumSectionSize(40);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  grid_->horizontalHeader()->setSectionResizeMode(kNumber, QHeaderView::Fixed);
  grid_->setColumnWidth(kNumber, 40);
  grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 6);
  grid_->setWordWrap(false);
  grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->installEventFilter(this);
  connect(grid_, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { EditRow(row + 1); });
  connect(comboBox1_, &QComboBox::currentIndexChanged, this, [this] {
    CloseDialogs();
    ShowCategory();
  });

  definitionDialog_ = std::make_unique<TForm18>(
      TForm18::THandlers{[this] { return DefinitionDialogOk(); }, [this] { AddUnitClick(); },
                         [this] { EditUnitClick(); }},
      this);
  deleteDialog_ = std::make_unique<TForm19>(
      prompt_, [this](int from, int count) { return DeleteDialogOk(from, count); }, this);
  nameDialog_ = std::make_unique<TForm20>([this] { return NameDialogOk(); }, this);
  BuildMenus();
  ShowTable(conversion_.Table().Count() > 0 ? std::optional<std::int32_t>(0) : std::nullopt);
  ShowPath();
}

TForm17::~TForm17() = default;

void TForm17::BuildMenus() {
  // A failure inside a handler (out of memory, say) is shown with its own text.
  auto add = [this](QMenu* menu, const QString& caption, const char* name, auto handler) {
    return app::AddMenuItem(menu, caption, name, this, [this, handler] {
      try {
        std::invoke(handler, this);
      } catch (const std::exception& e) {
        prompt_.Message(e.what());
      }
    });
  };
  QMenu* file = menuBar()->addMenu(tr("&File"));
  add(file, tr("&New cnv"), "NewCnv1", &TForm17::NewCnv1Click);
  add(file, tr("&Open cnv"), "OpenCnv1", &TForm17::OpenCnv1Click);
  add(file, tr("&Save cnv"), "SaveCnv1", &TForm17::SaveCnv1Click);
  add(file, tr("Save &As cnv..."), "SaveAsCnv1", &TForm17::SaveAsCnv1Click);
  add(file, tr("&Default cnv"), "DefaultCnv1", &TForm17::DefaultCnv1Click);
  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  add(edit, tr("&Add definition"), "AddDefinition1", &TForm17::AddDefinition1Click);
  add(edit, tr("&Delete definition"), "DeleteDefinition1", &TForm17::DeleteDefinition1Click);
  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddStayOnTopAction(view)->setObjectName("StayOnTop1");
  QMenu* category = menuBar()->addMenu(tr("&Category"));
  add(category, tr("&Add category"), "AddCategory1", &TForm17::AddCategory1Click);
  add(category, tr("&Edit category"), "EditCategory1", &TForm17::EditCategory1Click);
  add(category, tr("&Delete category"), "DeleteCategory1", &TForm17::DeleteCategory1Click);
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  add(window, tr("&Graph"), "Graph1", &TForm17::Graph1Click);
  add(window, tr("&Main"), "Main1", [](TForm17* self) { app::BringToFront(&self->main_); });
  add(window, tr("&Conversion"), "Conversion1",
      [](TForm17* self) { self->main_.Conversion1Click(); });
}

QAction* TForm17::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

std::int32_t TForm17::SelectedCategory() const {
  const int index = comboBox1_->currentIndex();
  return index < conversion_.Table().Count() ? index : -1;
}

void TForm17::ShowTable(std::optional<std::int32_t> category) {
  CloseDialogs();
  {
    const QSignalBlocker quiet(comboBox1_);
    comboBox1_->clear();
    const TCategoryList& table = conversion_.Table();
    for (std::int32_t c = 0; c < table.Count(); ++c)
      comboBox1_->addItem(Q(table.At(c).name));
    comboBox1_->setCurrentIndex(category ? *category : -1);
  }
  ShowCategory();
}

void TForm17::ShowCategory() {
  selectedRow_ = 0;
  grid_->clearContents();
  const std::int32_t category = SelectedCategory();
  if (category < 0 || conversion_.Table().At(category).list.Definitions.empty()) {
    grid_->setRowCount(1);  // a blank row under the header
    return;
  }
  const TRecList& list = conversion_.Table().At(category).list;
  grid_->setRowCount(static_cast<int>(list.Definitions.size()));
  for (std::size_t k = 0; k < list.Definitions.size(); ++k) {
    const TConversionDefinition& definition = list.Definitions[k];
    const int row = static_cast<int>(k);
    grid_->setItem(row, kNumber, ReadOnlyItem(QString::number(row + 1)));
    grid_->setItem(row, kUnitA, ReadOnlyItem(Q(list.Unit(definition.unitA).name)));
    grid_->setItem(row, kUnitB, ReadOnlyItem(Q(list.Unit(definition.unitB).name)));
    grid_->setItem(row, kAToB, ReadOnlyItem(Q(definition.aToB)));
    grid_->setItem(row, kBToA, ReadOnlyItem(Q(definition.bToA)));
  }
}

void TForm17::SelectCurrentRow() {
  if (selectedRow_ >= 1 && selectedRow_ <= grid_->rowCount()) {
    grid_->selectRow(selectedRow_ - 1);
  } else {
    grid_->clearSelection();
  }
}

void TForm17::ShowPath() {
  status_->SetPanelText(Q(main_.ConvFilePath));
}

void TForm17::CloseDialogs() {
  // The dialogs act on the selected category: they close when another one is shown.
  for (QWidget* dialog :
       {static_cast<QWidget*>(nameDialog_.get()), static_cast<QWidget*>(deleteDialog_.get()),
        static_cast<QWidget*>(definitionDialog_.get())}) {
    if (dialog != nullptr && dialog->isVisible()) dialog->close();
  }
}

void TForm17::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  comboBox1_->setFocus();
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
  if (const int row = RowToEdit(grid_, watched, event)) {
    EditRow(row);
    return true;
  }
  return TToolWindow::eventFilter(watched, event);
}

// ---- File menu ------------------------------------------------------------------------------

void TForm17::NewCnv1Click() {
  if (!prompt_.Confirm(kAreYouSure)) return;
  conversion_.FreeStringList();
  ShowTable(std::nullopt);
}

void TForm17::OpenCnv1Click() {
  setWindowTitle(tr("Conversion definition table"));
  const std::optional<std::string> file = prompt_.OpenFile(kConvFileFilter);
  if (!file) return;
  std::error_code error;
  if (std::filesystem::is_regular_file(*file, error)) {
    std::string previous = main_.ConvFilePath;
    main_.ConvFilePath = *file;
    // A file that cannot be read does not become the one "&Save cnv" writes over.
    if (!conversion_.ReadFromConvFile(main_.ConvFilePath,
                                      main_.DataFolder().PathOf(app::TDataFile::Conversion))) {
      main_.ConvFilePath = std::move(previous);
    }
    ShowTable(conversion_.Table().Count() > 0 ? std::optional<std::int32_t>(0) : std::nullopt);
  } else {
    main_.ConvFilePath = *file;
    conversion_.Lock();
  }
  ShowPath();
}

void TForm17::SaveCnv1Click() {
  if (!conversion_.Loaded() || main_.ConvFilePath.empty()) return;
  if (!prompt_.Confirm(kAreYouSure)) return;
  conversion_.WriteToConvFile(main_.ConvFilePath);
}

void TForm17::SaveAsCnv1Click() {
  const std::optional<std::string> file = prompt_.SaveFile(kConvFileFilter);
  if (!file) return;
  main_.ConvFilePath = *file;
  conversion_.WriteToConvFile(main_.ConvFilePath);
  ShowPath();
}

void TForm17::DefaultCnv1Click() {
  if (!prompt_.Confirm(kAreYouSure)) return;
  const std::string defaultPath = main_.DataFolder().PathOf(app::TDataFile::Conversion);
  if (conversion_.WriteToDefConvFile(main_.ConvFilePath, defaultPath)) {
    conversion_.ReadFromConvFile(main_.ConvFilePath, defaultPath);
    ShowTable(conversion_.Table().Count() > 0 ? std::optional<std::int32_t>(0) : std::nullopt);
  }
  ShowPath();
}

// ---- Definitions ------------------------------------------------------------------------------

QStringList TForm17::UnitNames() const {
  QStringList names;
  const std::int32_t category = SelectedCategory();
  if (category < 0) return names;
  for (const TUnit& unit : conversion_.Table().At(category).list.Units())
    names << Q(unit.name);
  return names;
}

void TForm17::AddDefinition1Click() {
  if (SelectedCategory() < 0) return;
  editingDefinition_ = false;
  const QStringList units = UnitNames();
  definitionDialog_->Open(tr("Add conversion definition"), units, units.isEmpty() ? -1 : 0,
                          units.size() > 1 ? 1 : -1, "", "");
}

void TForm17::EditRow(int row) {
  const std::int32_t category = SelectedCategory();
  if (category < 0) return;
  const TRecList& list = conversion_.Table().At(category).list;
  if (row < 1 || static_cast<std::size_t>(row) > list.Definitions.size()) return;
  selectedRow_ = row;
  SelectCurrentRow();
  editingDefinition_ = true;
  const TConversionDefinition& definition = list.Definitions[static_cast<std::size_t>(row - 1)];
  definitionDialog_->Open(tr("Edit conversion definition"), UnitNames(), definition.unitA,
                          definition.unitB, Q(definition.aToB), Q(definition.bToA));
}

bool TForm17::DefinitionDialogOk() {
  const std::int32_t category = SelectedCategory();
  if (category < 0) return true;
  const int unitA = definitionDialog_->UnitA();
  const int unitB = definitionDialog_->UnitB();
  const std::string aToB = Trimmed(definitionDialog_->AToBEdit());
  const std::string bToA = Trimmed(definitionDialog_->BToAEdit());
  if (!editor_.CheckDefinition(unitA, unitB, aToB, bToA)) return false;
  int row = 0;
  if (editingDefinition_ && selectedRow_ >= 1) {
    row = selectedRow_;
    editor_.EditDefinition(category, row - 1, unitA, unitB, aToB, bToA);
  } else {
    row = editor_.AddDefinition(category, unitA, unitB, aToB, bToA) + 1;
  }
  ShowCategory();
  selectedRow_ = row;
  SelectCurrentRow();
  return true;
}

void TForm17::DeleteDefinition1Click() {
  if (SelectedCategory() < 0) return;
  deleteDialog_->show();
  deleteDialog_->raise();
  deleteDialog_->activateWindow();
  deleteDialog_->FromEdit()->setFocus();
}

bool TForm17::DeleteDialogOk(int from, int count) {
  const std::int32_t category = SelectedCategory();
  if (category < 0) return true;
  if (!editor_.DeleteDefinitions(category, from, count)) return false;
  ShowCategory();
  return true;
}

// ---- Units, from TForm18 ----------------------------------------------------------------------

void TForm17::AddUnitClick() {
  nameTarget_ = TNameTarget::kUnit;
  editingName_ = false;
  nameDialog_->Open(tr("Add unit"), "");
}

void TForm17::EditUnitClick() {
  const std::int32_t category = SelectedCategory();
  const int unit = definitionDialog_->UnitA();
  if (category < 0 || unit < 0) {
    prompt_.Message(kInsertUnitA);
    return;
  }
  nameTarget_ = TNameTarget::kUnit;
  editingName_ = true;
  nameDialog_->Open(tr("Edit unit"), Q(conversion_.Table().At(category).list.Unit(unit).name));
}

void TForm17::ShowUnitsInEditor(const std::string& unitA, const std::string& unitB) {
  const TRecList& list = conversion_.Table().At(SelectedCategory()).list;
  definitionDialog_->SetUnits(UnitNames(), list.FindUnit(unitA), list.FindUnit(unitB));
}

// ---- Categories and the name dialog -----------------------------------------------------------

void TForm17::AddCategory1Click() {
  nameTarget_ = TNameTarget::kCategory;
  editingName_ = false;
  nameDialog_->Open(tr("Add unit category"), "");
}

void TForm17::EditCategory1Click() {
  const std::int32_t category = SelectedCategory();
  if (category < 0) return;
  nameTarget_ = TNameTarget::kCategory;
  editingName_ = true;
  nameDialog_->Open(tr("Edit unit category"), Q(conversion_.Table().At(category).name));
}

void TForm17::DeleteCategory1Click() {
  const std::int32_t category = SelectedCategory();
  if (category < 0 || !prompt_.Confirm(kAreYouSure)) return;
  if (editor_.DeleteCategory(category)) ShowTable(std::nullopt);
}

bool TForm17::NameDialogOk() {
  const std::string name = nameDialog_->NameEdit()->text().toStdString();
  const std::int32_t category = SelectedCategory();
  if (nameTarget_ == TNameTarget::kCategory) {
    if (editingName_ && category < 0) return true;
    const std::optional<std::int32_t> done =
        editingName_ ? editor_.RenameCategory(category, name) : editor_.AddCategory(name);
    if (!done) return false;
    ShowTable(std::nullopt);
    return true;
  }
  if (category < 0) return true;
  const TRecList& list = conversion_.Table().At(category).list;
  const int unitA = definitionDialog_->UnitA();
  const int unitB = definitionDialog_->UnitB();
  std::string nameA = unitA >= 0 ? list.Unit(unitA).name : std::string();
  const std::string nameB = unitB >= 0 ? list.Unit(unitB).name : std::string();
  if (!editingName_) {
    if (!editor_.AddUnit(category, name)) return false;
    ShowUnitsInEditor(nameA, nameB);
    return true;
  }
  const std::optional<std::vector<std::int32_t>> moved = editor_.EditUnit(category, unitA, name);
  if (!moved) return unitA >= 0;
  // The edited row may have moved up or, linking a unit with itself now, be gone.
  int row = selectedRow_;
  if (row >= 1 && static_cast<std::size_t>(row) <= moved->size()) {
    row = (*moved)[static_cast<std::size_t>(row - 1)] + 1;
  }
  ShowCategory();
  selectedRow_ = row;
  SelectCurrentRow();
  if (editingDefinition_ && row == 0) {
    editingDefinition_ = false;
    definitionDialog_->setWindowTitle(tr("Add conversion definition"));
  }
  nameA = QString::fromStdString(name).trimmed().toStdString();
  ShowUnitsInEditor(nameA, nameB);
  return true;
}

void TForm17::Graph1Click() {
  const std::int32_t category = SelectedCategory();
  if (category >= 0) {
    const std::string refusal =
        TUnitGraph::PictureLimitMessage(conversion_.Table().At(category).list);
    if (!refusal.empty()) {
      prompt_.Message(refusal);
      return;
    }
  }
  if (links_.ShowGraph) links_.ShowGraph(category);
}

}  // namespace conversion
