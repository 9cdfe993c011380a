// TForm22, "Constants definition table": the categories and constants of the ".con" file, the
// dialogs that edit them, and "&Add to Constants", which copies one into the constant list.
#pragma once

#include <memory>
#include <optional>

#include "app/tool_window.h"
#include "constants/const_table.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace app {
class TForm1;
}

namespace constants {

class TForm23;
class TForm24;
class TForm25;

class TForm22 : public app::TToolWindow {
  Q_OBJECT

 public:
  // Reads the ".con" file `constFilePath` (`defaultFile` when that names no file), writing the
  // default file first when there is none. `main` and `prompt` must outlive the window.
  TForm22(app::TForm1& main, app::TUserPrompt& prompt, const std::string& defaultFile,
          const std::string& constFilePath = std::string(), QWidget* parent = nullptr);
  ~TForm22() override;

  TConstTable& Table() { return table_; }

  // Menu actions.
  void NewConst1Click();
  void OpenConst1Click();
  void SaveConst1Click();
  void SaveAsConst1Click();
  void DefaultConst1Click();
  void AddConst1Click();
  void DeleteConst1Click();
  void AddCategory1Click();
  void EditCategory1Click();
  void DeleteCategory1Click();
  // "&Add to Constants".
  void AddToConstantsClick();
  // Opens TForm23 for row `row` of the grid (counted from 1).
  void EditRow(int row);
  // Reads Table().ConstFilePath (see ReadFromConstFile) and shows it with the first category
  // selected.
  void ReadAndShow();
  // Shows the table as it now stands: the category selector with `category` selected (none
  // when it is not given), the grid and "Search" for it.
  void Refill(std::optional<std::size_t> category);

  QComboBox* CategoryBox() const { return categoryBox_; }
  QComboBox* SearchBox() const { return searchBox_; }
  QPushButton* AddToConstantsButton() const { return addToConstants_; }
  QTableWidget* Grid() const { return grid_; }
  QLabel* StatusLabel() const { return status_; }
  TForm23* ConstantDialog() const { return constantDialog_.get(); }
  TForm24* DeleteDialog() const { return deleteDialog_.get(); }
  TForm25* CategoryDialog() const { return categoryDialog_.get(); }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void SetColumnWidths();
  void ShowCategory();
  void ShowPath();
  // The category selected in the selector.
  std::optional<std::size_t> SelectedCategory() const;
  // "&Ok" of the three dialogs; true when the dialog is done.
  bool ConstantDialogOk();
  bool DeleteDialogOk(int from, int count);
  bool CategoryDialogOk();

  app::TForm1& main_;
  app::TUserPrompt& prompt_;
  TConstTable table_;
  QComboBox* categoryBox_;
  QComboBox* searchBox_;
  QPushButton* addToConstants_;
  QTableWidget* grid_;
  QLabel* status_;
  std::unique_ptr<TForm23> constantDialog_;
  std::unique_ptr<TForm24> deleteDialog_;
  std::unique_ptr<TForm25> categoryDialog_;
  // The constant TForm23 edits (index in the category), or nothing when it adds one.
  std::optional<std::size_t> editedConstant_;
  // Whether TForm25 renames the selected category rather than adding one.
  bool editingCategory_ = false;
};

}  // namespace constants
