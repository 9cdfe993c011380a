// TgrfForm2.
#include "conversion/path_number_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "constants/dialog_layout.h"

namespace conversion {

TgrfForm2::TgrfForm2(std::function<bool(const QString&)> ok, QWidget* parent)
    : QDialog(parent),
      ok_(std::move(ok)),
      numberEdit_(new QLineEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  setWindowTitle(tr("Insert path numer"));
  resize(260, 90);
  numberEdit_->setObjectName("Edit1");
  numberEdit_->setAccessibleName(tr("Path #"));
  auto* fields = new QFormLayout;
  fields->addRow(tr("Path #"), numberEdit_);
  cancelButton_ = constants::LayOutOkCancel(this, fields, okButton_);
  okButton_->setAccessibleName(tr("Ok"));
  cancelButton_->setAccessibleName(tr("Cancel"));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (ok_ && ok_(numberEdit_->text())) accept();
  });
}

void TgrfForm2::Open(const QString& number) {
  numberEdit_->setText(number);
  numberEdit_->selectAll();
  show();
  raise();
  activateWindow();
  numberEdit_->setFocus();
}

}  // namespace conversion
