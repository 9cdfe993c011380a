// TForm25.
#include "constants/category_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace constants {

TForm25::TForm25(std::function<bool()> ok, QWidget* parent)
    : QDialog(parent),
      ok_(std::move(ok)),
      nameEdit_(new QLineEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  resize(320, 90);
  auto* fields = new QFormLayout;
  fields->addRow(tr("Name:"), nameEdit_);
  auto* cancel = new QPushButton(tr("&Cancel"), this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (ok_ && ok_()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm25::Open(const QString& caption, const QString& name) {
  setWindowTitle(caption);
  nameEdit_->setText(name);
  show();
  raise();
  nameEdit_->setFocus();
}

}  // namespace constants
