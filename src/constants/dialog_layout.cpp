// LayOutOkCancel.
#include "constants/dialog_layout.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace constants {

QPushButton* LayOutOkCancel(QDialog* dialog, QFormLayout* fields, QPushButton* ok) {
  auto* cancel = new QPushButton(QDialog::tr("&Cancel"), dialog);
  cancel->setAccessibleName(QDialog::tr("Cancel"));
  ok->setAccessibleName(ok->text().remove('&'));
  // Enter in any field is Ok; Escape is the dialog's own Cancel.
  ok->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(fields);
  layout->addLayout(buttons);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return cancel;
}

}  // namespace constants
