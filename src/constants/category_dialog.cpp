// TForm25.
#include "constants/category_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include "constants/dialog_layout.h"

namespace constants {

TForm25::TForm25(std::function<bool()> ok, QWidget* parent)
    : QDialog(parent),
      ok_(std::move(ok)),
      nameEdit_(new QLineEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  resize(320, 90);
  auto* fields = new QFormLayout;
  fields->addRow(tr("Name:"), nameEdit_);
  nameEdit_->setAccessibleName(tr("Name"));
  LayOutOkCancel(this, fields, okButton_);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (ok_ && ok_()) accept();
  });
}

void TForm25::Open(const QString& caption, const QString& name) {
  setWindowTitle(caption);
  nameEdit_->setText(name);
  show();
  raise();
  nameEdit_->setFocus();
}

}  // namespace constants
