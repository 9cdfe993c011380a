// TQtUserPrompt: QMessageBox and QFileDialog behind the prompt interface.
#include "app/qt_user_prompt.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QString>

namespace app {

namespace {

// "Text files (*.txt)|*.txt|All files (*.)|*." to Qt's "Text files (*.txt);;All files (*)". Qt
// reads the patterns from the parentheses, so a description without them ("Bitmap File|*.bmp")
// gets its pattern added, or the dialog would match files named like the description.
QString QtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList descriptions;
  for (int i = 0; i < parts.size(); i += 2) {
    QString description = parts[i];
    if (!description.contains('(') && i + 1 < parts.size()) {
      description += " (" + parts[i + 1] + ")";
    }
    descriptions << description.replace("(*.)", "(*)");
  }
  return descriptions.join(";;");
}

std::optional<std::string> Chosen(const QString& file) {
  if (file.isEmpty()) return std::nullopt;
  return file.toStdString();
}

}  // namespace

void TQtUserPrompt::Message(const std::string& text) {
  QMessageBox::information(parent_, QString(), QString::fromStdString(text));
}

bool TQtUserPrompt::Confirm(const std::string& text) {
  return QMessageBox::question(parent_, QString(), QString::fromStdString(text),
                               QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> TQtUserPrompt::OpenFile(const std::string& filter) {
  return Chosen(QFileDialog::getOpenFileName(parent_, QString(), QString::fromStdString(folder_),
                                             QtFilter(filter)));
}

std::optional<std::string> TQtUserPrompt::SaveFile(const std::string& filter) {
  return Chosen(QFileDialog::getSaveFileName(parent_, QString(), QString::fromStdString(folder_),
                                             QtFilter(filter)));
}

}  // namespace app
