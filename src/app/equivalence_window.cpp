// TForm15.
#include "app/equivalence_window.h"

#include <QAction>
#include <QGroupBox>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QVBoxLayout>

namespace app {

namespace {

constexpr int kMinimumPane = 50;

QGroupBox* MemoBox(const QString& title, QPlainTextEdit* memo) {
  auto* box = new QGroupBox(title);
  (new QVBoxLayout(box))->addWidget(memo);
  memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setMinimumHeight(kMinimumPane);
  return box;
}

}  // namespace

TForm15::TForm15(TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent),
      prompt_(prompt),
      test_(prompt),
      firstMemo_(new QPlainTextEdit),
      secondMemo_(new QPlainTextEdit),
      est1_(menuBar()->addAction(tr("&Test"))),
      splitter_(new QSplitter(Qt::Vertical, this)) {
  setWindowTitle(tr("Are expressions equivalent?"));
  est1_->setObjectName("est1");
  splitter_->setChildrenCollapsible(false);
  splitter_->addWidget(MemoBox(tr("First expression"), firstMemo_));
  splitter_->addWidget(MemoBox(tr("Second expression"), secondMemo_));
  setCentralWidget(splitter_);
  resize(420, 300);
  connect(est1_, &QAction::triggered, this, &TForm15::est1Click);
}

void TForm15::est1Click() {
  prompt_.Message(test_.Verdict(firstMemo_->toPlainText().toStdString(),
                                secondMemo_->toPlainText().toStdString()));
}

}  // namespace app
