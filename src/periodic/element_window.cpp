// TpteForm2: the element card's widgets, their filling from the element view, and the property
// grid's hand-offs to the constants list and the conversion window.
#include "periodic/element_window.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>

#include "periodic/element_view.h"
#include "periodic/periodic_table_window.h"

namespace periodic {

namespace {

constexpr int kMargin = 8;
constexpr int kCardWidth = 150;
constexpr int kCardHeight = 118;
constexpr int kGridTop = 200;
// Vertical places of the number, the symbol and the name on the card.
constexpr int kNumberTop = 4;
constexpr int kSymbolTop = 22;
constexpr int kNameTop = 90;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text, QRect geometry) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->setGeometry(geometry);
  return label;
}

void Colour(QWidget* widget, QPalette::ColorRole role, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(role, colour);
  palette.setColor(QPalette::Disabled, role, colour);
  widget->setPalette(palette);
}

// A flag label: black or white text on its colour, shown only when it says something.
void FlagLabel(QLabel* label, const QColor& background, const QColor& text) {
  label->setAutoFillBackground(true);
  label->setAlignment(Qt::AlignCenter);
  Colour(label, QPalette::Window, background);
  Colour(label, QPalette::WindowText, text);
}

}  // namespace

TpteForm2::TpteForm2(TpteForm1& tableWindow, QWidget* parent)
    : TToolWindow(parent), tableWindow_(tableWindow) {
  setWindowTitle(tr("Element"));
  auto* client = new QWidget(this);
  setCentralWidget(client);
  BuildCard(client);

  button1_ = new QPushButton(tr("&Add to Const"), client);
  button1_->setObjectName("Button1");
  button1_->setGeometry(kMargin, kGridTop - 32, 120, 26);
  button1_->setEnabled(static_cast<bool>(tableWindow_.Links().AddConstant));
  connect(button1_, &QPushButton::clicked, this, &TpteForm2::Button1Click);

  stringGrid1_ = new QTableWidget(client);
  stringGrid1_->setObjectName("StringGrid1");
  stringGrid1_->setColumnCount(3);
  stringGrid1_->horizontalHeader()->hide();
  stringGrid1_->verticalHeader()->hide();
  stringGrid1_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stringGrid1_->setSelectionBehavior(QAbstractItemView::SelectRows);
  stringGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
  stringGrid1_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  stringGrid1_->installEventFilter(this);
  connect(stringGrid1_, &QTableWidget::cellDoubleClicked, this,
          [this](int, int) { StringGrid1DblClick(); });
  // The header row and the built-in names until an element is shown.
  SetPropertyRows(InitialPropertyRows());

  BuildMenus();
  resize(420, 400);
  FormResize();
}

TpteForm2::~TpteForm2() = default;

void TpteForm2::BuildCard(QWidget* client) {
  card_ = new QFrame(client);
  card_->setObjectName("Panel1");
  card_->setFrameStyle(QFrame::Box | QFrame::Sunken);
  card_->setGeometry(kMargin, kMargin, kCardWidth, kCardHeight);
  card_->setAutoFillBackground(true);
  Colour(card_, QPalette::Window, Qt::white);

  labels_[1] = NewLabel(card_, "Label1", "", QRect(0, kNumberTop, kCardWidth, 18));
  labels_[4] = NewLabel(card_, "Label4", "", QRect(0, kSymbolTop, kCardWidth, 64));
  QFont symbol("Times New Roman");
  symbol.setStyleHint(QFont::Serif);
  symbol.setPixelSize(44);
  symbol.setBold(true);
  labels_[4]->setFont(symbol);
  Colour(labels_[4], QPalette::WindowText, Qt::blue);
  labels_[5] = NewLabel(card_, "Label5", "", QRect(0, kNameTop, kCardWidth, 18));

  panel3_ =
      NewLabel(client, "Panel3", "", QRect(kMargin, kMargin + kCardHeight + 6, kCardWidth, 26));
  panel3_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  panel3_->setAlignment(Qt::AlignCenter);
  QFont italic = panel3_->font();
  italic.setItalic(true);
  italic.setBold(true);
  panel3_->setFont(italic);
  Colour(panel3_, QPalette::WindowText, QColor(0, 128, 128));

  auto* facts = new QFrame(client);
  facts->setObjectName("Panel2");
  facts->setFrameStyle(QFrame::Box | QFrame::Sunken);
  const int left = 2 * kMargin + kCardWidth;
  facts->setGeometry(left, kMargin, 420 - left - kMargin, kCardHeight + 32);
  labels_[2] = NewLabel(facts, "Label2", "", QRect(8, 6, 120, 18));
  labels_[3] = NewLabel(facts, "Label3", "", QRect(8, 26, 120, 18));
  labels_[7] = NewLabel(facts, "Label7", "", QRect(8, 46, 120, 18));
  labels_[6] = NewLabel(facts, "Label6", tr("Radiactive"), QRect(8, 72, 100, 20));
  labels_[8] = NewLabel(facts, "Label8", tr("Toxic"), QRect(8, 96, 100, 20));
  labels_[9] = NewLabel(facts, "Label9", tr("Man-made"), QRect(8, 120, 100, 20));
  FlagLabel(labels_[6], QColor(255, 255, 0), Qt::black);
  FlagLabel(labels_[8], QColor(255, 0, 0), Qt::white);
  FlagLabel(labels_[9], QColor(0, 128, 0), Qt::white);

  listBox1_ = new QListWidget(facts);
  listBox1_->setObjectName("ListBox1");
  listBox1_->setGeometry(140, 6, facts->width() - 148, facts->height() - 12);
  listBox1_->setEnabled(false);
  // Disabled, yet read as plainly as an enabled list.
  Colour(listBox1_, QPalette::Text, Qt::black);
}

void TpteForm2::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& caption, const char* name) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    return action;
  };
  QMenu* view = menuBar()->addMenu(tr("&View"));
  AddStayOnTopAction(view)->setObjectName("OnTop1");
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  connect(add(window, tr("&Main"), "Main1"), &QAction::triggered, this, &TpteForm2::Main1Click);
  connect(add(window, tr("&Periodic Table"), "PeriodicTable1"), &QAction::triggered, this,
          &TpteForm2::PeriodicTable1Click);
  connect(add(window, tr("&Constants"), "Constants1"), &QAction::triggered, this,
          &TpteForm2::Constants1Click);
  Action("Main1")->setEnabled(static_cast<bool>(tableWindow_.Links().ShowMain));
  Action("Constants1")->setEnabled(static_cast<bool>(tableWindow_.Links().ShowConstants));
}

QAction* TpteForm2::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

QLabel* TpteForm2::Label(int number) const {
  return number >= 1 && number <= 9 ? labels_[number] : nullptr;
}

void TpteForm2::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  RefreshData();  // FormShow
}

void TpteForm2::resizeEvent(QResizeEvent* event) {
  TToolWindow::resizeEvent(event);
  FormResize();
}

void TpteForm2::FormResize() {
  QWidget* client = centralWidget();
  stringGrid1_->setGeometry(kMargin, kGridTop, client->width() - 2 * kMargin,
                            std::max(60, client->height() - kGridTop - kMargin));
  const std::array<int, 3> widths = PropertyColumnWidths(stringGrid1_->width());
  for (int column = 0; column < 3; ++column)
    stringGrid1_->setColumnWidth(column, std::max(0, widths[column]));
}

void TpteForm2::RefreshData() {
  const TCellPosition selected = tableWindow_.SelectedCell();
  if (tableWindow_.Table().Cell(selected).Empty()) return;
  const TElementCard card = periodic::RefreshData(tableWindow_.Table(), selected);
  const auto set = [](QLabel* label, const std::string& text) {
    label->setText(QString::fromStdString(text));
  };
  set(labels_[1], card.Label1);
  set(labels_[4], card.Label4);
  set(labels_[5], card.Label5);
  set(panel3_, card.Panel3);
  set(labels_[7], card.Label7);
  set(labels_[2], card.Label2);
  set(labels_[3], card.Label3);
  set(labels_[6], card.Label6);
  set(labels_[8], card.Label8);
  set(labels_[9], card.Label9);
  // The card's labels are centred by estimates of their text's width.
  const int width = card_->width();
  for (const auto& [index, charWidth] :
       {std::pair{1, kCardTextWidth}, std::pair{4, kCardSymbolWidth},
        std::pair{5, kCardTextWidth}}) {
    QLabel* label = labels_[index];
    label->adjustSize();
    label->move(CenteredLeft(width, label->text().size(), charWidth), label->y());
  }
  for (int index : {6, 8, 9})
    labels_[index]->setVisible(!labels_[index]->text().isEmpty());

  listBox1_->clear();
  for (const std::string& line : card.Oxidation)
    listBox1_->addItem(QString::fromStdString(line));

  SetPropertyRows(card.Rows);
}

void TpteForm2::SetPropertyRows(const std::vector<std::array<std::string, 3>>& rows) {
  stringGrid1_->setRowCount(static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    for (int column = 0; column < 3; ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(rows[row][column]));
      if (row == 0) {  // the header row, which no property takes
        item->setFlags(Qt::ItemIsEnabled);
        item->setBackground(palette().color(QPalette::Mid));
      }
      stringGrid1_->setItem(row, column, item);
    }
  }
}

int TpteForm2::CurrentPropertyRow() const {
  const int row = stringGrid1_->currentRow();
  return row >= 1 && row < stringGrid1_->rowCount() ? row : -1;
}

QString TpteForm2::Cell(int row, int column) const {
  const QTableWidgetItem* item = stringGrid1_->item(row, column);
  return item == nullptr ? QString() : item->text();
}

void TpteForm2::Button1Click() {
  const int row = CurrentPropertyRow();
  const TElementRec& element = tableWindow_.Table().Cell(tableWindow_.SelectedCell());
  const auto& addConstant = tableWindow_.Links().AddConstant;
  if (row < 0 || element.Empty() || !addConstant) return;
  addConstant(ConstantName(element.Symbol, Cell(row, 0).toStdString()), Cell(row, 1).toStdString(),
              "(" + Cell(row, 2).toStdString() + ")");
}

void TpteForm2::StringGrid1DblClick() {
  const int row = CurrentPropertyRow();
  const TElementRec& element = tableWindow_.Table().Cell(tableWindow_.SelectedCell());
  const auto& convert = tableWindow_.Links().ConvertValue;
  if (row < 0 || element.Empty() || !convert) return;
  const std::string value = Cell(row, 1).toStdString();
  convert(value, ConversionStatus(element.Name, Cell(row, 0).toStdString(), value,
                                  Cell(row, 2).toStdString()));
}

bool TpteForm2::eventFilter(QObject* watched, QEvent* event) {
  if (watched == stringGrid1_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {  // StringGrid1KeyPress
      StringGrid1DblClick();
      return true;
    }
  }
  return TToolWindow::eventFilter(watched, event);
}

void TpteForm2::Main1Click() {
  if (tableWindow_.Links().ShowMain) tableWindow_.Links().ShowMain();
}

void TpteForm2::PeriodicTable1Click() {
  tableWindow_.show();
  tableWindow_.raise();
}

void TpteForm2::Constants1Click() {
  if (tableWindow_.Links().ShowConstants) tableWindow_.Links().ShowConstants();
}

}  // namespace periodic
