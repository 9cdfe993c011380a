// TgrfForm3, the graph of a category's units: the plain graph, its minimal tree, its shortest
// chains between two units and its maximal flow, with vertices the mouse can move and arc
// labels it can ask about, and the picture saved as a bitmap.
#pragma once

#include <QImage>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/tool_window.h"
#include "conversion/graph_view.h"

class QScrollArea;

namespace app {
class TStatusPanel;
class TUserPrompt;
}  // namespace app

namespace conversion {

class TGraphPicture;
class TgrfForm2;
class TgrfForm4;
class TUnitConversion;

// How the graph window's "Window" menu opens the other windows.
struct TGraphLinks {
  std::function<void()> ShowDefinitions, ShowMain, ShowConversion;
};

inline constexpr const char* kGraphHelp =
    "Click on vertex for moving it. Click on E1,E2,... for Units links";
inline constexpr const char* kPictureFilter = "Bitmap File|*.bmp|PNG File|*.png";

class TgrfForm3 : public app::TToolWindow {
  Q_OBJECT

 public:
  // `conversion` and `prompt` must outlive the window.
  TgrfForm3(TUnitConversion& conversion, app::TUserPrompt& prompt, TGraphLinks links,
            QWidget* parent = nullptr);
  ~TgrfForm3() override;

  // Shows category `index` (0-based, -1 for none) in the plain view: the caption, the graph
  // built again and drawn. Does not show the window.
  void ShowCategory(std::int32_t index);
  // The table changed or was checked: builds the graph again and redraws it, now when the
  // window is visible, otherwise when it is next shown.
  void UpdateIfVisible();
  std::int32_t Category() const { return view_.Category(); }

  // Menu actions.
  void Graph1Click();
  void MinimalTree1Click();
  void ShortestPath1Click();
  void MaximalFlow1Click();
  void Refresh1Click();
  void Path1Click();
  void Saveimageas1Click();
  void Help1Click();

  // The whole picture as it is drawn.
  QImage Picture() const;
  // Writes the picture to `path`: PNG for a ".png" name, otherwise a 16-colour bitmap. The
  // failure's message, or nothing.
  std::optional<std::string> SavePicture(const std::string& path) const;

  TUnitConversion& Conversion() const { return conversion_; }
  const TGraphView& View() const { return view_; }
  TGraphPicture* PictureBox() const { return picture_; }
  app::TStatusPanel* StatusPanel() const { return status_; }
  TgrfForm4* VertexDialog() const { return vertexDialog_.get(); }
  TgrfForm2* PathDialog() const { return pathDialog_.get(); }
  QAction* Action(const QString& objectName) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  // After the graph was built: caption, status text, picture size, drawing.
  void AfterRebuild();
  // After the view changed: the checked item, "&Path", the drawing.
  void AfterViewChange();
  // The picture fills the visible area and grows to hold every vertex.
  void FitPicture();
  void AskVertices(TGraphViewKind kind, const char* caption);
  bool PathChosen(const QString& text);
  // Opens a dialog over the window, which stays disabled until the dialog closes.
  void OpenDialog(QDialog* dialog);

  TUnitConversion& conversion_;
  app::TUserPrompt& prompt_;
  TGraphLinks links_;
  TGraphView view_;
  QScrollArea* scroll_;
  TGraphPicture* picture_;
  app::TStatusPanel* status_;
  std::unique_ptr<TgrfForm4> vertexDialog_;
  std::unique_ptr<TgrfForm2> pathDialog_;
  // The view the vertex dialog was opened for.
  TGraphViewKind askedKind_ = TGraphViewKind::Graph;
  // The table changed while the window was hidden.
  bool stale_ = false;
};

}  // namespace conversion
