// TForm6.
#include "app/function_variable_window.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/calculator_core.h"
#include "app/user_prompt.h"

namespace app {

namespace {

constexpr const char* kIncorrectName = "Incorrect name of function variable (must not be constant)";

}  // namespace

TForm6::TForm6(TCalculatorCore& core, TUserPrompt& prompt, std::function<void()> definitionsUpdate,
               QWidget* parent)
    : TToolWindow(parent),
      core_(core),
      prompt_(prompt),
      definitionsUpdate_(std::move(definitionsUpdate)),
      edit3_(new QLineEdit(QString::fromStdString(core.FunctionVariable))),
      button1_(new QPushButton(tr("&Ok"))),
      button2_(new QPushButton(tr("&Cancel"))) {
  setWindowTitle(tr("Function variable"));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->addWidget(edit3_);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(button1_);
  buttons->addWidget(button2_);
  layout->addLayout(buttons);
  setCentralWidget(central);
  button1_->setDefault(true);
  connect(edit3_, &QLineEdit::returnPressed, this, &TForm6::Button1Click);
  connect(button1_, &QPushButton::clicked, this, &TForm6::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TForm6::Button2Click);
  resize(260, 90);
}

void TForm6::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  FormShow();
}

void TForm6::FormShow() {
  remembered_ = core_.FunctionVariable;
  edit3_->setText(QString::fromStdString(remembered_));
  edit3_->selectAll();
  edit3_->setFocus();
}

void TForm6::Button1Click() {
  core_.SetFunctionVariable(edit3_->text().toStdString());
  if (core_.FunctionVariable.empty()) {
    prompt_.Message(kIncorrectName);
    return;
  }
  if (definitionsUpdate_) definitionsUpdate_();
  CloseAnswered();
}

void TForm6::Button2Click() {
  core_.SetFunctionVariable(remembered_);
  edit3_->setText(QString::fromStdString(remembered_));
  CloseAnswered();
}

void TForm6::CloseAnswered() {
  answered_ = true;
  close();
  answered_ = false;
}

void TForm6::closeEvent(QCloseEvent* event) {
  if (!answered_ && isVisible()) {
    core_.SetFunctionVariable(remembered_);
    edit3_->setText(QString::fromStdString(remembered_));
  }
  TToolWindow::closeEvent(event);
}

}  // namespace app
