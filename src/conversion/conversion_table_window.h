// TForm17, "Conversion definition table": the categories and definitions of the conversion
// table that the main window read at start-up, its file menu, and the dialogs that edit it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "app/status_panel.h"
#include "app/tool_window.h"
#include "conversion/conversion_links.h"
#include "conversion/table_editing.h"

class QComboBox;
class QLabel;
class QTableWidget;

namespace app {
class TForm1;
class TUserPrompt;
}  // namespace app

namespace constants {
class TForm24;
class TForm25;
}  // namespace constants

namespace conversion {

class TForm18;
// "Delete definition" and the name dialog are the constants table's own.
using TForm19 = constants::TForm24;
using TForm20 = constants::TForm25;

inline constexpr const char* kConvFileFilter =
    "Conversion files (*.cnv)|*.cnv|Text files (*.txt)|*.txt|All files (*.)|*.";

class TForm17 : public app::TToolWindow {
  Q_OBJECT

 public:
  // Shows `main`'s conversion table; `main` and `prompt` must outlive the window.
  TForm17(app::TForm1& main, app::TUserPrompt& prompt, QWidget* parent = nullptr);
  ~TForm17() override;

  // The graph window's hooks; "&Graph" with no category selected asks for category -1.
  TConversionLinks& Links() { return links_; }

  // Menu actions.
  void NewCnv1Click();
  void OpenCnv1Click();
  void SaveCnv1Click();
  void SaveAsCnv1Click();
  void DefaultCnv1Click();
  void AddDefinition1Click();
  void DeleteDefinition1Click();
  void AddCategory1Click();
  void EditCategory1Click();
  void DeleteCategory1Click();
  void Graph1Click();
  // Opens TForm18 on definition `row` (counted from 1) of the selected category.
  void EditRow(int row);
  // Selects the remembered row in the grid again.
  void SelectCurrentRow();
  // Lists the categories anew with `category` selected (none when not given).
  void ShowTable(std::optional<std::int32_t> category);

  // The selected category's index, -1 for none; the remembered definition number, 0 for none.
  std::int32_t SelectedCategory() const;
  int SelectedRow() const { return selectedRow_; }

  QComboBox* CategoryBox() const { return comboBox1_; }
  QTableWidget* Grid() const { return grid_; }
  QLabel* StatusLabel() const { return status_; }
  TForm18* DefinitionDialog() const { return definitionDialog_.get(); }
  TForm19* DeleteDialog() const { return deleteDialog_.get(); }
  TForm20* NameDialog() const { return nameDialog_.get(); }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  enum class TNameTarget { kCategory, kUnit };

  void BuildMenus();
  // Fills the grid with the selected category's definitions.
  void ShowCategory();
  void ShowPath();
  void CloseDialogs();
  // The units of the selected category, as the editor's boxes list them.
  QStringList UnitNames() const;
  // "&Add..." and "&Edit..." of TForm18.
  void AddUnitClick();
  void EditUnitClick();
  // "&Ok" of the dialogs; true when the dialog is done.
  bool DefinitionDialogOk();
  bool DeleteDialogOk(int from, int count);
  bool NameDialogOk();
  // After a unit change: TForm18's boxes list the units again, choosing these names.
  void ShowUnitsInEditor(const std::string& unitA, const std::string& unitB);

  app::TForm1& main_;
  app::TUserPrompt& prompt_;
  TUnitConversion& conversion_;
  TTableEditor editor_;
  TConversionLinks links_;
  QComboBox* comboBox1_;
  QTableWidget* grid_;
  app::TStatusPanel* status_;
  std::unique_ptr<TForm18> definitionDialog_;
  std::unique_ptr<TForm19> deleteDialog_;
  std::unique_ptr<TForm20> nameDialog_;
  int selectedRow_ = 0;
  // Whether TForm18 edits the selected row rather than adding one.
  bool editingDefinition_ = false;
  // Whether TForm20 renames rather than adds, and what.
  bool editingName_ = false;
  TNameTarget nameTarget_ = TNameTarget::kCategory;
};

}  // namespace conversion
