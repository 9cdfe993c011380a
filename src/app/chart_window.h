// TChartWindow: the function table drawn inside the calculator, one line per function against
// the function variable, with gaps where a cell is not a number; zoom with the wheel or a
// rubber band, and the picture saved as PNG.
#pragma once

#include <QString>

#include "app/tool_window.h"

class QChart;
class QChartView;
class QValueAxis;

namespace app {

class TFunctionTable;
class TUserPrompt;

// Points drawn per function at most: a longer table is thinned to the least and greatest value
// of each stretch of rows, which keeps the curve's outline.
inline constexpr std::size_t kMaxChartPoints = 20000;

class TChartWindow : public TToolWindow {
  Q_OBJECT

 public:
  // `table` and `prompt` must outlive the window.
  TChartWindow(const TFunctionTable& table, TUserPrompt& prompt, QWidget* parent = nullptr);

  // Draws the table again, as it is now.
  void Rebuild();
  // "&Save image as...": the chart as a PNG file.
  void SaveImageAs();
  // The picture as PNG bytes.
  QByteArray PngBytes() const;

  QChart* Chart() const;
  QChartView* View() const { return view_; }

  // Draws the rows whose x is in view again, thinned for the visible range only, so that
  // zooming into a long table shows its detail.
  void ShowVisibleRows();

 private:
  // The series of rows [begin, end) added to `chart` and attached to the axes; widens
  // [minY, maxY] to the values drawn.
  void AddSeries(QChart& chart, std::size_t begin, std::size_t end, double& minY, double& maxY);

  const TFunctionTable& table_;
  TUserPrompt& prompt_;
  QChartView* view_;
  QValueAxis* xAxis_ = nullptr;
  QValueAxis* yAxis_ = nullptr;
  bool refillPending_ = false;
};

}  // namespace app
