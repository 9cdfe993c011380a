// TForm26, the "Interpolation table" window: one tab per sheet with its grid of points, the
// sheets' files, rows, spline types and ordering. It owns the sheets, and with them the
// "Lagrange" and "CubicSpline" functions of the calculator's expressions.
#pragma once

#include <memory>
#include <vector>

#include "app/calculator_core.h"
#include "app/tool_window.h"
#include "interpolation/interpolation_sheets.h"

class QAction;
class QTabWidget;
class QTableView;

namespace interpolation {

class TForm27;
class TForm28;
class TSheetModel;

class TForm26 : public app::TToolWindow {
  Q_OBJECT

 public:
  // `core` and `prompt` must outlive the window; "&Main" shows `mainWindow` when there is one.
  TForm26(app::TCalculatorCore& core, app::TUserPrompt& prompt, QWidget* mainWindow = nullptr,
          QWidget* parent = nullptr);
  ~TForm26() override;

  TInterpolationSheets& Sheets() { return sheets_; }
  std::size_t ActiveSheet() const;
  QTabWidget* PageControl1() const { return pageControl_; }
  QTableView* Grid(std::size_t sheet) const;
  TForm27* RowsCountDialog() const { return rowsCount_.get(); }
  TForm28* DeleteRowsDialog() const { return deleteRows_.get(); }
  QAction* Action(const QString& objectName) const;

  // Shows the sheets' rows again after they changed outside the grids (a file loaded from the
  // command line, a test).
  void ReloadGrids();

  // Menu handlers.
  void Open1Click();
  void Save1Click();
  void SaveAs1Click();
  void AddRow1Click();
  void DelRow1Click();
  void AddSheet1Click();
  void DeleteSheet1Click();
  void CubicSpline1Click();
  void SetSplineType(TSplineType type);  // "&Natural", "&Periodic"
  void Ordonatex1Click();                // "&Ordination"

 protected:
  // A grid's visible width sets its column widths.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  QTableView* NewGrid(std::size_t sheet);
  // Column widths and the active grid's header.
  void FormResize();
  void PageControl1Change();
  void RenameTabs();
  void Write(const std::string& path);
  void ShowMainWindow();

  TInterpolationSheets sheets_;
  app::TUserPrompt& prompt_;
  QWidget* mainWindow_;
  QTabWidget* pageControl_ = nullptr;
  std::vector<TSheetModel*> models_;
  std::unique_ptr<TForm27> rowsCount_;
  std::unique_ptr<TForm28> deleteRows_;
};

}  // namespace interpolation
