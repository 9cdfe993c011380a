// TForm21.
#include "conversion/convert_unit_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

#include "app/main_window.h"
#include "app/status_panel.h"
#include "conversion/conversion_table_window.h"
#include "evaluator/value.h"

namespace conversion {

namespace {

QString Q(const std::string& text) {
  return QString::fromStdString(text);
}

// A label for `field`, which its accelerator and the screen reader reach it by.
QLabel* FieldLabel(const QString& caption, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(field);
  field->setAccessibleName(QString(caption).remove('&').remove(':'));
  return label;
}

}  // namespace

TForm21::TForm21(app::TForm1& main, app::TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent),
      main_(main),
      conversion_(main.Conversion()),
      tool_(main.Core(), main.Conversion(), prompt),
      comboBox3_(new QComboBox(this)),
      comboBox1_(new QComboBox(this)),
      comboBox2_(new QComboBox(this)),
      edit1_(new QLineEdit(this)),
      edit2_(new QLineEdit(this)),
      button1_(new QPushButton(tr("&Check Conv"), this)),
      button2_(new QPushButton(tr("&Define Conv"), this)),
      button3_(new QPushButton(tr("&Calculate"), this)),
      status_(new app::TStatusPanel(this)) {
  setWindowTitle(tr("Convert Unit"));
  resize(420, 200);
  auto* central = new QWidget(this);
  auto* fields = new QGridLayout;
  fields->addWidget(FieldLabel(tr("Unit Category:"), comboBox3_, central), 0, 0);
  fields->addWidget(comboBox3_, 0, 1, 1, 3);
  fields->addWidget(FieldLabel(tr("From:"), comboBox1_, central), 1, 0);
  fields->addWidget(comboBox1_, 1, 1);
  fields->addWidget(FieldLabel(tr("To:"), comboBox2_, central), 1, 2);
  fields->addWidget(comboBox2_, 1, 3);
  fields->addWidget(FieldLabel(tr("Expression:"), edit1_, central), 2, 0);
  fields->addWidget(edit1_, 2, 1, 1, 3);
  fields->addWidget(FieldLabel(tr("Value:"), edit2_, central), 3, 0);
  fields->addWidget(edit2_, 3, 1, 1, 3);
  fields->setColumnStretch(1, 1);
  fields->setColumnStretch(3, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {button1_, button2_, button3_}) {
    button->setAccessibleName(button->text().remove('&'));
    buttons->addWidget(button);
  }
  auto* layout = new QVBoxLayout(central);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  layout->addStretch();
  setCentralWidget(central);
  status_->setAccessibleName(tr("Status"));
  statusBar()->addWidget(status_, 1);
  edit2_->setReadOnly(true);
  for (QComboBox* box : {comboBox3_, comboBox1_, comboBox2_})
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  QWidget::setTabOrder(comboBox3_, comboBox1_);
  QWidget::setTabOrder(comboBox1_, comboBox2_);
  QWidget::setTabOrder(comboBox2_, edit1_);
  QWidget::setTabOrder(edit1_, edit2_);
  QWidget::setTabOrder(edit2_, button1_);
  QWidget::setTabOrder(button1_, button2_);
  QWidget::setTabOrder(button2_, button3_);
  BuildMenus();

  connect(comboBox3_, &QComboBox::currentIndexChanged, this, &TForm21::ComboBox3Change);
  connect(comboBox1_, &QComboBox::currentIndexChanged, edit2_, &QLineEdit::clear);
  connect(comboBox2_, &QComboBox::currentIndexChanged, edit2_, &QLineEdit::clear);
  connect(edit1_, &QLineEdit::textChanged, edit2_, &QLineEdit::clear);
  connect(edit1_, &QLineEdit::returnPressed, this, [this] {
    if (button3_->isEnabled()) Button3Click();
  });
  connect(button1_, &QPushButton::clicked, this, &TForm21::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm21::Button2Click);
  connect(button3_, &QPushButton::clicked, this, &TForm21::Button3Click);

  // Every change of the table locks: this window, the definition window's row and the graph
  // follow.
  conversion_.OnLock = [this] {
    ShowLockState();
    if (TForm17* table = main_.ConversionTableWindow()) {
      table->SelectCurrentRow();
      if (table->Links().UpdateGraph) table->Links().UpdateGraph();
    }
  };
  ShowLockState();
}

TForm21::~TForm21() {
  conversion_.OnLock = nullptr;
}

void TForm21::BuildMenus() {
  QMenu* window = menuBar()->addMenu(tr("&Window"));
  app::AddMenuItem(window, tr("&Def conversions"), "DefConversions1", this,
                   [this] { main_.DefConversions1Click(); });
  app::AddMenuItem(window, tr("&Main"), "Main1", this, [this] { app::BringToFront(&main_); });
}

QAction* TForm21::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void TForm21::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  // The first field that takes input: the boxes wait for a check.
  if (comboBox3_->isEnabled()) {
    comboBox3_->setFocus();
  } else {
    edit1_->setFocus();
  }
}

void TForm21::ShowLockState() {
  const bool locked = conversion_.Locked();
  button1_->setEnabled(locked);
  for (QWidget* unlocked : {static_cast<QWidget*>(button3_), static_cast<QWidget*>(comboBox3_),
                            static_cast<QWidget*>(comboBox1_), static_cast<QWidget*>(comboBox2_)}) {
    unlocked->setEnabled(!locked);
  }
}

void TForm21::Button1Click() {
  {
    const QSignalBlocker quiet(comboBox3_);
    comboBox3_->clear();
    const TCategoryList& table = conversion_.Table();
    for (std::int32_t c = 0; c < table.Count(); ++c)
      comboBox3_->addItem(Q(table.At(c).name));
    comboBox3_->setCurrentIndex(-1);
  }
  const bool checked = conversion_.Check();
  ShowLockState();
  if (!checked) {
    comboBox1_->clear();
    comboBox2_->clear();
    // The paths could not be stored: the table is where the fault is mended.
    if (conversion_.PathsFailed) main_.DefConversions1Click();
    return;
  }
  {
    const QSignalBlocker quiet(comboBox3_);
    comboBox3_->setCurrentIndex(comboBox3_->count() > 0 ? 0 : -1);
  }
  ComboBox3Change();
  if (TForm17* table = main_.ConversionTableWindow()) {
    if (table->Links().UpdateGraph) table->Links().UpdateGraph();
  }
}

void TForm21::Button2Click() {
  main_.DefConversions1Click();
}

void TForm21::ComboBox3Change() {
  edit2_->clear();
  const QSignalBlocker quietFrom(comboBox1_);
  const QSignalBlocker quietTo(comboBox2_);
  comboBox1_->clear();
  comboBox2_->clear();
  const std::int32_t category = comboBox3_->currentIndex();
  const TCategoryList& table = conversion_.Table();
  if (category < 0 || category >= table.Count()) return;
  const TRecList& list = table.At(category).list;
  if (list.Definitions.empty()) return;
  for (const TUnit& unit : list.Units()) {
    comboBox1_->addItem(Q(unit.name));
    comboBox2_->addItem(Q(unit.name));
  }
  comboBox1_->setCurrentIndex(0);
  comboBox2_->setCurrentIndex(0);
}

void TForm21::Button3Click() {
  main_.ResultsMemo()->clear();
  edit2_->clear();
  const std::optional<evaluator::TEvalValue> value = tool_.Calculate(
      edit1_->text().toStdString(), comboBox3_->currentIndex(), comboBox1_->currentIndex(),
      comboBox2_->currentIndex(), main_.DefinitionsMemo()->toPlainText().toStdString());
  if (value) edit2_->setText(Q(evaluator::ValueToText(*value)));
}

void TForm21::SetInput(const std::string& expression, const std::string& statusText) {
  edit1_->setText(Q(expression));
  status_->SetPanelText(Q(statusText));
}

}  // namespace conversion
