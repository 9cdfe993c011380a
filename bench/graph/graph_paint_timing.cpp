// Times the graph picture of a category of 100 units and 150 definitions while one vertex is
// dragged across it: 100 paints into an image, and 100 mouse moves each repainting the window's
// picture; prints the mean and the slowest paint.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "conversion/graph_picture.h"
#include "conversion/graph_view.h"
#include "conversion/graph_window.h"
#include "conversion/unit_conversion.h"

namespace {

class TQuietPrompt : public app::TUserPrompt {
 public:
  void Message(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
  bool Confirm(const std::string&) override { return false; }
  std::optional<std::string> OpenFile(const std::string&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const std::string&) override { return std::nullopt; }
};

constexpr int kUnits = 100;
constexpr int kDefinitions = 150;
constexpr int kPaints = 100;

void FillCategory(conversion::TUnitConversion& conversion) {
  conversion::TCategoryList& table = conversion.EditTable();
  conversion::TRecList& list = table.At(*table.Add("Bench")).list;
  const std::vector<conversion::TGraphPoint> places =
      conversion::TUnitGraph::RingLayout(kUnits, 900, 700);
  for (int u = 0; u < kUnits; ++u) {
    char name[16];
    std::snprintf(name, sizeof name, "unit %03d", u);
    list.AddUnit(name, places[static_cast<std::size_t>(u)].x,
                 places[static_cast<std::size_t>(u)].y);
  }
  for (int k = 0; k < kDefinitions; ++k) {
    const int a = k % kUnits;
    const int b = k < kUnits - 1 ? a + 1 : (a * 37 + 11) % kUnits;
    list.AddDefinition(a, b == a ? (a + 2) % kUnits : b, "x*2", "x/2");
  }
}

void Report(const char* what, std::vector<double>& milliseconds) {
  double total = 0;
  for (const double each : milliseconds)
    total += each;
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("%-32s mean %.2f ms, median %.2f ms, slowest %.2f ms over %zu paints\n", what,
              total / static_cast<double>(milliseconds.size()),
              milliseconds[milliseconds.size() / 2], milliseconds.back(), milliseconds.size());
}

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  TQuietPrompt prompt;
  conversion::TUnitConversion conversion(prompt);
  FillCategory(conversion);

  // Into an image, as "&Save image as" draws.
  conversion::TGraphView view(conversion);
  view.ShowCategory(0);
  view.ShowMinimalTree();
  QImage image(900, 700, QImage::Format_RGB32);
  const conversion::TGraphPoint start = view.Graph().Vertex(1).position;
  view.BeginDrag(start.x, start.y);
  std::vector<double> times;
  for (int i = 0; i < kPaints; ++i) {
    view.DragTo(start.x + 3 * i, start.y + 2 * i);
    const auto begin = std::chrono::steady_clock::now();
    QPainter painter(&image);
    conversion::PaintGraph(painter, view, image.rect());
    painter.end();
    times.push_back(Since(begin));
  }
  Report("paint into a 900x700 image:", times);

  // Through the window: each mouse move repaints the picture at once.
  conversion::TgrfForm3 window(conversion, prompt, {});
  window.ShowCategory(0);
  window.resize(900, 700);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  QWidget* picture = window.PictureBox();
  const conversion::TGraphPoint from = window.View().Graph().Vertex(1).position;
  QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(from.x, from.y));
  times.clear();
  for (int i = 0; i < kPaints; ++i) {
    QTest::mouseMove(picture, QPoint(from.x + 3 * i, from.y + 2 * i));
    const auto begin = std::chrono::steady_clock::now();
    picture->repaint();
    times.push_back(Since(begin));
  }
  QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(from.x + 3 * kPaints, from.y));
  Report("window picture repaint:", times);
  return 0;
}
