// TForm11.
#include "constants/constant_edit_window.h"

#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "constants/constant_list.h"
#include "constants/dialog_layout.h"

namespace constants {

TForm11::TForm11(TConstantList& list, std::function<void()> stored, std::function<void()> closed,
                 QWidget* parent)
    : QDialog(parent),
      list_(list),
      stored_(std::move(stored)),
      closed_(std::move(closed)),
      nameEdit_(new QLineEdit(this)),
      expressionMemo_(new QPlainTextEdit(this)),
      descriptionMemo_(new QPlainTextEdit(this)),
      okButton_(new QPushButton(tr("&Ok"), this)) {
  setWindowTitle(tr("Edit constants"));
  resize(400, 300);
  auto* fields = new QFormLayout;
  fields->addRow(tr("Name"), nameEdit_);
  fields->addRow(tr("Expression"), expressionMemo_);
  fields->addRow(tr("Description"), descriptionMemo_);
  LayOutOkCancel(this, fields, okButton_);
  connect(okButton_, &QPushButton::clicked, this, &TForm11::Button1Click);
}

void TForm11::SetRow(int row, const std::string& name, const std::string& expression,
                     const std::string& description) {
  row_ = row;
  nameEdit_->setText(QString::fromStdString(name));
  expressionMemo_->setPlainText(QString::fromStdString(expression));
  descriptionMemo_->setPlainText(QString::fromStdString(description));
  nameEdit_->setEnabled(row > kInternalConstantCount);
}

bool TForm11::AddConst() {
  if (!list_.AddConst(row_, nameEdit_->text().toStdString(),
                      expressionMemo_->toPlainText().toStdString(),
                      descriptionMemo_->toPlainText().toStdString())) {
    return false;
  }
  if (stored_) stored_();
  return true;
}

void TForm11::Button1Click() {
  if (AddConst()) accept();
}

void TForm11::done(int result) {
  QDialog::done(result);
  if (closed_) closed_();
}

}  // namespace constants
