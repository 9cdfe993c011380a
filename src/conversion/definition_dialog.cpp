// TForm18.
#include "conversion/definition_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "conversion/table_editing.h"

namespace conversion {

namespace {

QLabel* FieldLabel(const QString& caption, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(field);
  return label;
}

}  // namespace

TForm18::TForm18(THandlers handlers, QWidget* parent)
    : QDialog(parent),
      handlers_(std::move(handlers)),
      comboBox1_(new QComboBox(this)),
      comboBox2_(new QComboBox(this)),
      edit3_(new QLineEdit("1", this)),
      edit4_(new QLineEdit(this)),
      edit1_(new QLineEdit(this)),
      edit2_(new QLineEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)),
      cancelButton_(new QPushButton(tr("&Cancel"), this)),
      addButton_(new QPushButton(tr("&Add..."), this)),
      editButton_(new QPushButton(tr("&Edit..."), this)) {
  resize(460, 170);
  comboBox1_->setAccessibleName(tr("Unit A"));
  edit3_->setAccessibleName(tr("Unit A number"));
  comboBox2_->setAccessibleName(tr("Unit B"));
  edit4_->setAccessibleName(tr("Unit B number"));
  edit1_->setAccessibleName(tr("A => B"));
  edit2_->setAccessibleName(tr("B => A"));
  for (QPushButton* button : {okButton_, cancelButton_, addButton_, editButton_})
    button->setAccessibleName(button->text().remove('&').remove("..."));
  for (QLineEdit* number : {edit3_, edit4_})
    number->setMaximumWidth(60);

  auto* fields = new QGridLayout;
  fields->addWidget(FieldLabel(tr("Unit A"), comboBox1_, this), 0, 0);
  fields->addWidget(comboBox1_, 0, 1);
  fields->addWidget(edit3_, 0, 2);
  fields->addWidget(FieldLabel(tr("Unit B"), comboBox2_, this), 1, 0);
  fields->addWidget(comboBox2_, 1, 1);
  fields->addWidget(edit4_, 1, 2);
  fields->addWidget(FieldLabel(tr("A => B"), edit1_, this), 2, 0);
  fields->addWidget(edit1_, 2, 1, 1, 2);
  fields->addWidget(FieldLabel(tr("B => A"), edit2_, this), 3, 0);
  fields->addWidget(edit2_, 3, 1, 1, 2);
  fields->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(addButton_);
  buttons->addWidget(editButton_);
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  setTabOrder(comboBox1_, edit3_);
  setTabOrder(edit3_, comboBox2_);
  setTabOrder(comboBox2_, edit4_);
  setTabOrder(edit4_, edit1_);
  setTabOrder(edit1_, edit2_);
  setTabOrder(edit2_, addButton_);
  setTabOrder(addButton_, editButton_);
  setTabOrder(editButton_, okButton_);
  setTabOrder(okButton_, cancelButton_);

  // Enter is "&Ok" from any field; the unit buttons act only when pressed.
  okButton_->setDefault(true);
  addButton_->setAutoDefault(false);
  editButton_->setAutoDefault(false);
  cancelButton_->setAutoDefault(false);
  Mirror(comboBox1_, edit3_);
  Mirror(comboBox2_, edit4_);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (handlers_.ok && handlers_.ok()) accept();
  });
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
  connect(addButton_, &QPushButton::clicked, this, [this] {
    if (handlers_.addUnit) handlers_.addUnit();
  });
  connect(editButton_, &QPushButton::clicked, this, [this] {
    if (handlers_.editUnit) handlers_.editUnit();
  });
}

void TForm18::Mirror(QComboBox* box, QLineEdit* number) {
  connect(box, &QComboBox::currentIndexChanged, number, [number](int index) {
    const QSignalBlocker quiet(number);
    number->setText(index < 0 ? QString() : QString::number(index + 1));
  });
  connect(number, &QLineEdit::textChanged, box, [box, number](const QString& text) {
    const TUnitNumber chosen = UnitFromNumber(text.toStdString(), box->count());
    {
      const QSignalBlocker quiet(box);
      box->setCurrentIndex(chosen.unit);
    }
    if (chosen.notInteger) {
      const QSignalBlocker quiet(number);
      number->setText("0");
    }
  });
}

void TForm18::SetUnits(const QStringList& units, int unitA, int unitB) {
  for (QComboBox* box : {comboBox1_, comboBox2_}) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItems(units);
  }
  // Through the boxes' signals, so that the number edits follow.
  comboBox1_->setCurrentIndex(-1);
  comboBox1_->setCurrentIndex(unitA);
  comboBox2_->setCurrentIndex(-1);
  comboBox2_->setCurrentIndex(unitB);
}

void TForm18::Open(const QString& caption, const QStringList& units, int unitA, int unitB,
                   const QString& aToB, const QString& bToA) {
  setWindowTitle(caption);
  SetUnits(units, unitA, unitB);
  edit1_->setText(aToB);
  edit2_->setText(bToA);
  show();
  raise();
  activateWindow();
  comboBox1_->setFocus();
}

int TForm18::UnitA() const {
  return comboBox1_->currentIndex();
}

int TForm18::UnitB() const {
  return comboBox2_->currentIndex();
}

}  // namespace conversion
