// TpteForm1, the "Periodic Table of the Elements" window: the element grid drawn in coloured
// cells, picking an element for the element window, and the periodic-table file commands.
#pragma once

#include <memory>
#include <string>

#include "app/tool_window.h"
#include "app/user_prompt.h"
#include "periodic/periodic_links.h"
#include "periodic/periodic_table.h"

class QLabel;

namespace periodic {

class TElementDrawGrid;
class TpteForm2;

class TpteForm1 : public app::TToolWindow {
  Q_OBJECT

 public:
  // `prompt` shows message boxes and file dialogs, `pteFilePath` is the path setting of the
  // periodic-table file (read and updated here) and `defaultPtePath` the default file's path;
  // the first two must outlive the window. Loads the file, writing the default one first when
  // no file is found.
  TpteForm1(app::TUserPrompt& prompt, std::string& pteFilePath, std::string defaultPtePath,
            TPeriodicLinks links, QWidget* parent = nullptr);
  ~TpteForm1() override;

  const TPeriodicTable& Table() const { return table_; }
  const TPeriodicLinks& Links() const { return links_; }
  TCellPosition SelectedCell() const { return selected_; }
  bool Loaded() const { return loaded_; }
  QString StatusText() const;
  TElementDrawGrid* DrawGrid1() const { return drawGrid1_; }
  TpteForm2* ElementWindow() const { return elementWindow_.get(); }
  QAction* Action(const QString& objectName) const;

  // Handlers, reachable from tests as the user's actions.
  void FormResize();
  void DrawGrid1MouseMove(TCellPosition cell);
  void DrawGrid1DblClick();
  // Enter in the grid: picks the grid's current cell.
  void DrawGrid1KeyPress();
  void Open1Click();
  void Defpte1Click();
  void Main1Click();
  void Element1Click();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void BuildMenus();
  void FormCreate();
  void ReadFromPTEFile();
  void CloseElementWindow();

  app::TUserPrompt& prompt_;
  std::string& pteFilePath_;
  const std::string defaultPtePath_;
  TPeriodicLinks links_;
  TPeriodicTable table_;
  std::string openDialogPath_;  // where the open dialog starts
  TCellPosition mouseCell_;
  TCellPosition selected_;
  bool loaded_ = false;
  TElementDrawGrid* drawGrid1_ = nullptr;
  QLabel* status_ = nullptr;
  std::unique_ptr<TpteForm2> elementWindow_;
};

}  // namespace periodic
