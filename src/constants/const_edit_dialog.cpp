// TForm23.
#include "constants/const_edit_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include "constants/dialog_layout.h"

namespace constants {

TForm23::TForm23(std::function<bool()> ok, QWidget* parent)
    : QDialog(parent),
      ok_(std::move(ok)),
      nameEdit_(new QLineEdit(this)),
      valueEdit_(new QLineEdit(this)),
      descriptionEdit_(new QLineEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  resize(360, 140);
  auto* fields = new QFormLayout;
  fields->addRow(tr("Name"), nameEdit_);
  fields->addRow(tr("Value"), valueEdit_);
  fields->addRow(tr("Descript."), descriptionEdit_);
  LayOutOkCancel(this, fields, okButton_);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (ok_ && ok_()) accept();
  });
}

void TForm23::Open(const QString& caption, const QString& name, const QString& value,
                   const QString& description) {
  setWindowTitle(caption);
  nameEdit_->setText(name);
  valueEdit_->setText(value);
  descriptionEdit_->setText(description);
  show();
  raise();
  nameEdit_->setFocus();
}

}  // namespace constants
