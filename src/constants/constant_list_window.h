// TForm10, "Constant list": the grid of constants with their values, and the menus that add,
// edit and delete them through TForm11 and TForm12.
#pragma once

#include <memory>
#include <string>

#include "app/tool_window.h"

class QTableWidget;

namespace app {
class TForm1;
class TUserPrompt;
}  // namespace app

namespace constants {

class TConstantList;
class TForm11;
class TForm12;

class TForm10 : public app::TToolWindow {
  Q_OBJECT

 public:
  // `main` is the calculator window that owns `list`; both and `prompt` must outlive this
  // window.
  TForm10(app::TForm1& main, TConstantList& list, app::TUserPrompt& prompt,
          QWidget* parent = nullptr);
  ~TForm10() override;

  // Recomputes the constants and shows every row with its value.
  void FormShow();
  // Opens the edit window for row `row` of the list (counted from 1).
  void EditRow(int row);
  // Stores a new constant as the edit window's "&Ok" does, without showing that window: the
  // list is refreshed and the main window takes the constants. Other windows copy constants
  // into the list through this. True when it was stored.
  bool AddNewConstant(const std::string& name, const std::string& expression,
                      const std::string& description);
  // "&Add const" and "&Delete const".
  void AddConst1Click();
  void DeleteConst1Click();

  QTableWidget* Grid() const { return grid_; }
  TForm11* EditWindow() const { return editWindow_.get(); }
  TForm12* DeleteWindow() const { return deleteWindow_.get(); }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void SetColumnWidths();
  // The main window takes the new constants and the function variable.
  void ConstantsChanged();

  app::TForm1& main_;
  TConstantList& list_;
  QTableWidget* grid_;
  std::unique_ptr<TForm11> editWindow_;
  std::unique_ptr<TForm12> deleteWindow_;
};

}  // namespace constants
