// TForm21, "Convert Unit": a category and two of its units, the expression whose value is
// converted, and the check that unlocks the conversion after every change of the table.
#pragma once

#include <cstdint>
#include <string>

#include "app/status_panel.h"
#include "app/tool_window.h"
#include "conversion/convert_unit_tool.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace app {
class TForm1;
class TUserPrompt;
}  // namespace app

namespace conversion {

class TForm21 : public app::TToolWindow {
  Q_OBJECT

 public:
  // Follows the lock of `main`'s conversion from now on; `main` and `prompt` must outlive the
  // window.
  TForm21(app::TForm1& main, app::TUserPrompt& prompt, QWidget* parent = nullptr);
  ~TForm21() override;

  // Shows the locked or the unlocked state, as the conversion is.
  void ShowLockState();
  // "&Check Conv", "&Define Conv" and "&Calculate".
  void Button1Click();
  void Button2Click();
  void Button3Click();
  // A value handed in from elsewhere: it becomes the expression, with a note in the status bar.
  void SetInput(const std::string& expression, const std::string& statusText);

  QComboBox* CategoryBox() const { return comboBox3_; }
  QComboBox* FromBox() const { return comboBox1_; }
  QComboBox* ToBox() const { return comboBox2_; }
  QLineEdit* ExpressionEdit() const { return edit1_; }
  QLineEdit* ValueEdit() const { return edit2_; }
  QPushButton* CheckButton() const { return button1_; }
  QPushButton* DefineButton() const { return button2_; }
  QPushButton* CalculateButton() const { return button3_; }
  QLabel* StatusLabel() const { return status_; }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildMenus();
  // Both unit boxes get the chosen category's units, the first selected.
  void ComboBox3Change();

  app::TForm1& main_;
  TUnitConversion& conversion_;
  TConvertUnitTool tool_;
  QComboBox* comboBox3_;
  QComboBox* comboBox1_;
  QComboBox* comboBox2_;
  QLineEdit* edit1_;
  QLineEdit* edit2_;
  QPushButton* button1_;
  QPushButton* button2_;
  QPushButton* button3_;
  app::TStatusPanel* status_;
};

}  // namespace conversion
