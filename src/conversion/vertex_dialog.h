// TgrfForm4: the begin and end vertex of the graph window's shortest-path and maximal-flow
// views.
#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>

class QComboBox;
class QPushButton;

namespace app {
class TUserPrompt;
}

namespace conversion {

inline constexpr const char* kEnterUnits = "Please enter units";

class TgrfForm4 : public QDialog {
  Q_OBJECT

 public:
  // `chosen` gets the two vertex numbers (1-based) on "&Ok"; "&Cancel" and Escape reject.
  TgrfForm4(app::TUserPrompt& prompt, std::function<void(std::int32_t, std::int32_t)> chosen,
            QWidget* parent = nullptr);

  // Shows the dialog with `caption` and both boxes listing `units`, nothing selected.
  void Open(const QString& caption, const QStringList& units);

  QComboBox* BeginBox() const { return beginBox_; }
  QComboBox* EndBox() const { return endBox_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

 private:
  void OkClick();

  app::TUserPrompt& prompt_;
  std::function<void(std::int32_t, std::int32_t)> chosen_;
  QComboBox* beginBox_;
  QComboBox* endBox_;
  QPushButton* okButton_;
  QPushButton* cancelButton_;
};

}  // namespace conversion
