// SaveGraphScreenshots.
#include "conversion/graph_screenshots.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include "conversion/graph_picture.h"
#include "conversion/graph_window.h"
#include "conversion/path_number_dialog.h"
#include "conversion/unit_conversion.h"
#include "conversion/vertex_dialog.h"

namespace conversion {

namespace {

bool Save(QWidget* shown, const QString& path) {
  QApplication::processEvents();
  return shown->grab().save(path);
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
  bool saved = Save(&window, folder + "/graph_window.png");

  window.Action("MinimalTree1")->trigger();
  saved = Save(&window, folder + "/graph_window_tree.png") && saved;

  window.Action("ShortestPath1")->trigger();
  ChooseEnds(window);
  saved = Save(window.VertexDialog(), folder + "/graph_vertex_dialog.png") && saved;
  window.VertexDialog()->OkButton()->click();
  saved = Save(&window, folder + "/graph_window_path.png") && saved;
  window.Action("Path1")->trigger();
  saved = Save(window.PathDialog(), folder + "/graph_path_dialog.png") && saved;
  window.PathDialog()->reject();

  window.Action("MaximalFlow1")->trigger();
  ChooseEnds(window);
  window.VertexDialog()->OkButton()->click();
  saved = Save(&window, folder + "/graph_window_flow.png") && saved;

  window.close();
  window.resize(size);
  window.ShowCategory(previous);
  return saved;
}

}  // namespace conversion
