// TForm2.
#include "app/help_window.h"

#include <QFont>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>

namespace app {

TForm2::TForm2(QWidget* parent) : TToolWindow(parent), memo_(new QPlainTextEdit(this)) {
  setWindowTitle(tr("Help"));
  resize(696, 480);
  QFont font("Times New Roman");
  font.setPixelSize(16);
  memo_->setFont(font);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setCentralWidget(memo_);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(screen->availableGeometry().center() - rect().center());
  }
}

void TForm2::SetLines(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines)
    text << QString::fromStdString(line);
  memo_->setPlainText(text.join('\n'));
}

}  // namespace app
