// TBlockDialog.
#include "constants/block_dialog.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/user_prompt.h"
#include "constants/dialog_layout.h"

namespace constants {

TBlockDialog::TBlockDialog(app::TUserPrompt& prompt, const QString& caption, int from, int count,
                           QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      fromEdit_(new QLineEdit(QString::number(from), this)),
      countEdit_(new QLineEdit(QString::number(count), this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  setWindowTitle(caption);
  auto* fields = new QFormLayout;
  fields->addRow(tr("From #"), fromEdit_);
  fields->addRow(tr("Count"), countEdit_);
  fromEdit_->setAccessibleName(tr("From #"));
  countEdit_->setAccessibleName(tr("Count"));
  LayOutOkCancel(this, fields, okButton_);
  connect(okButton_, &QPushButton::clicked, this, &TBlockDialog::Button1Click);
}

std::optional<int> TBlockDialog::ReadInteger(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  if (!ok) {
    prompt_.Message("'" + edit->text().toStdString() + "' is not a valid integer value");
    return std::nullopt;
  }
  return value;
}

void TBlockDialog::Button1Click() {
  const std::optional<int> from = ReadInteger(fromEdit_);
  if (!from) return;
  const std::optional<int> count = ReadInteger(countEdit_);
  if (!count) return;
  if (Delete(*from, *count)) accept();
}

}  // namespace constants
