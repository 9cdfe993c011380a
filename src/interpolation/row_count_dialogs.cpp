// TForm27 and TForm28: two edits or one, "&Ok" and "&Cancel", over the rules of row_dialogs.h.
#include "interpolation/row_count_dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "interpolation/interpolation_sheet.h"
#include "interpolation/row_dialogs.h"

namespace interpolation {

namespace {

// "&Ok" (the default button) and "&Cancel" under the form.
QPushButton* AddButtons(QDialog* dialog, QFormLayout* form) {
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(form);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QDialog::tr("&Ok"), dialog);
  auto* cancel = new QPushButton(QDialog::tr("&Cancel"), dialog);
  ok->setObjectName("Button1");
  cancel->setObjectName("Button2");
  ok->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  return ok;
}

std::string TextOf(const QLineEdit* edit) {
  return edit->text().toStdString();
}

}  // namespace

TForm27::TForm27(app::TUserPrompt& prompt, QWidget* parent)
    : QDialog(parent), prompt_(prompt), edit1_(new QLineEdit(this)) {
  setWindowTitle(tr("Rows count"));
  auto* form = new QFormLayout;
  form->addRow(tr("Count"), edit1_);
  button1_ = AddButtons(this, form);
  connect(button1_, &QPushButton::clicked, this, &TForm27::Button1Click);
}

void TForm27::SetSheet(TInterpolationSheet& sheet) {
  sheet_ = &sheet;
  edit1_->setText(QString::number(static_cast<qulonglong>(sheet.RowCount())));
  edit1_->selectAll();
}

void TForm27::Button1Click() {
  if (sheet_ != nullptr && SetRowsCount(*sheet_, TextOf(edit1_), prompt_)) accept();
}

TForm28::TForm28(app::TUserPrompt& prompt, QWidget* parent)
    : QDialog(parent),
      prompt_(prompt),
      fromEdit_(new QLineEdit("1", this)),
      countEdit_(new QLineEdit("1", this)) {
  setWindowTitle(tr("Delete rows"));
  auto* form = new QFormLayout;
  form->addRow(tr("From #"), fromEdit_);
  form->addRow(tr("Count"), countEdit_);
  button1_ = AddButtons(this, form);
  connect(button1_, &QPushButton::clicked, this, &TForm28::Button1Click);
}

void TForm28::SetSheet(TInterpolationSheet& sheet) {
  sheet_ = &sheet;
}

void TForm28::Button1Click() {
  if (sheet_ != nullptr &&
      DeleteSheetRows(*sheet_, TextOf(fromEdit_), TextOf(countEdit_), prompt_)) {
    accept();
  }
}

}  // namespace interpolation
