// SaveGraphScreenshots.
#include "conversion/graph_screenshots.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "app/tool_screenshots.h"
#include "conversion/graph_picture.h"
#include "conversion/graph_window.h"
#include "conversion/path_number_dialog.h"
#include "conversion/unit_conversion.h"
#include "conversion/vertex_dialog.h"

namespace conversion {

namespace {

// The graph window's caption names its category, so its pictures go by the fixed name "Graph".
bool Save(QWidget* shown, const QString& folder, const QString& variant = QString()) {
  QApplication::processEvents();
  return shown->inherits("conversion::TgrfForm3")
             ? app::SavePicture(shown, folder, variant, QStringLiteral("Graph"))
             : app::SavePicture(shown, folder, variant);
}

// The category with the most definitions within the picture's limits, or -1.
std::int32_t Showcase(const TCategoryList& table) {
  std::int32_t best = -1;
  std::size_t most = 0;
  for (std::int32_t c = 0; c < table.Count(); ++c) {
    const TRecList& list = table.At(c).list;
    if (!TUnitGraph::PictureLimitMessage(list).empty()) continue;
    if (list.Definitions.size() > most) {
      most = list.Definitions.size();
      best = c;
    }
  }
  return best;
}

// Picks the first and the last unit in the vertex dialog.
void ChooseEnds(TgrfForm3& window) {
  TgrfForm4* dialog = window.VertexDialog();
  dialog->BeginBox()->setCurrentIndex(0);
  dialog->EndBox()->setCurrentIndex(dialog->EndBox()->count() - 1);
}

}  // namespace

bool SaveGraphScreenshots(TgrfForm3& window, const QString& folder) {
  const std::int32_t previous = window.Category();
  const QSize size = window.size();
  window.ShowCategory(Showcase(window.Conversion().Table()));
  window.show();
  // The stored places may reach beyond the usual size: the pictures show the whole graph.
  window.resize(size.expandedTo(window.PictureBox()->ContentSize() + QSize(24, 70)));
  bool saved = Save(&window, folder);

  window.Action("MinimalTree1")->trigger();
  saved = Save(&window, folder, "minimal-tree") && saved;

  window.Action("ShortestPath1")->trigger();
  ChooseEnds(window);
  saved = Save(window.VertexDialog(), folder) && saved;
  window.VertexDialog()->OkButton()->click();
  saved = Save(&window, folder, "shortest-path") && saved;
  window.Action("Path1")->trigger();
  saved = Save(window.PathDialog(), folder) && saved;
  window.PathDialog()->reject();

  window.Action("MaximalFlow1")->trigger();
  ChooseEnds(window);
  window.VertexDialog()->OkButton()->click();
  saved = Save(&window, folder, "maximal-flow") && saved;

  window.close();
  window.resize(size);
  window.ShowCategory(previous);
  return saved;
}

}  // namespace conversion
