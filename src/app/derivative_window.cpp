// TForm14: two frames over one splitter; any change of the input clears the result, so a shown
// derivative always belongs to the shown input.
#include "app/derivative_window.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kMinimumPane = 50;

QFont TimesFont(const QFont& base) {
  QFont font(base);
  font.setFamily("Times New Roman");
  return font;
}

}  // namespace

TForm14::TForm14(QWidget* parent)
    : TToolWindow(parent),
      expressionMemo_(new QPlainTextEdit),
      edit1_(new QLineEdit(QStringLiteral("x"))),
      button1_(new QPushButton(tr("&Differentiate"))),
      resultMemo_(new QPlainTextEdit),
      splitter1_(new QSplitter(Qt::Vertical, this)) {
  setWindowTitle(tr("Symbolic Differentiate"));
  setFont(TimesFont(font()));

  // Frame131: the expression, and below its own splitter the variable and the button.
  auto* frame131 = new QSplitter(Qt::Vertical);
  frame131->setChildrenCollapsible(false);
  auto* expressionBox = new QGroupBox(tr("Mathematical expression"));
  (new QVBoxLayout(expressionBox))->addWidget(expressionMemo_);
  expressionMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* variableBox = new QGroupBox;
  auto* variableRow = new QHBoxLayout(variableBox);
  variableRow->addWidget(new QLabel(tr("Diff Variable:")));
  variableRow->addWidget(edit1_, 1);
  variableRow->addWidget(button1_);
  frame131->addWidget(expressionBox);
  frame131->addWidget(variableBox);
  expressionBox->setMinimumHeight(kMinimumPane);
  variableBox->setMinimumHeight(kMinimumPane);
  frame131->setStretchFactor(0, 1);
  frame131->setStretchFactor(1, 0);

  // Frame91: the derivative.
  auto* derivativeBox = new QGroupBox(tr("Derivative"));
  (new QVBoxLayout(derivativeBox))->addWidget(resultMemo_);
  resultMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  resultMemo_->setReadOnly(true);
  derivativeBox->setMinimumHeight(kMinimumPane);

  splitter1_->setChildrenCollapsible(false);
  splitter1_->addWidget(frame131);
  splitter1_->addWidget(derivativeBox);
  // The upper pane never becomes smaller than 50 pixels.
  frame131->setMinimumHeight(kMinimumPane);
  splitter1_->setSizes({170, 130});
  setCentralWidget(splitter1_);
  resize(420, 320);

  connect(button1_, &QPushButton::clicked, this, &TForm14::Frame131Button1Click);
  connect(expressionMemo_, &QPlainTextEdit::textChanged, resultMemo_, &QPlainTextEdit::clear);
  connect(edit1_, &QLineEdit::textChanged, resultMemo_, &QPlainTextEdit::clear);
}

void TForm14::showEvent(QShowEvent* event) {
  TToolWindow::showEvent(event);
  expressionMemo_->setFocus();
}

void TForm14::Frame131Button1Click() {
  resultMemo_->clear();
  bool produced = false;
  const std::string text = tool_.Differentiate(expressionMemo_->toPlainText().toStdString(),
                                               edit1_->text().toStdString(), false, produced);
  resultMemo_->setPlainText(QString::fromStdString(text));
}

}  // namespace app
