// TChartWindow with Qt Charts. A function's line is split into pieces at its gaps; a piece of
// one point is drawn as a marker, and only the first piece of a function shows in the legend.
#include "app/chart_window.h"

#include <QAction>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenuBar>
#include <QScatterSeries>
#include <QTimer>
#include <QValueAxis>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "app/function_table.h"
#include "app/safe_save.h"
#include "app/user_prompt.h"

namespace app {

namespace {

constexpr const char* kImageFilter = "PNG image (*.png)|*.png";
// Pieces of line per function; a function that breaks more often than this is drawn as markers
// from there on, which keeps the chart responsive.
constexpr std::size_t kMaxPieces = 200;

// A chart view that zooms around the chart's centre with the mouse wheel or with + and -, and
// moves the zoomed picture a tenth of its size with the arrow keys, so that the keyboard does
// what the mouse does.
class TZoomingChartView : public QChartView {
 public:
  using QChartView::QChartView;

 protected:
  void wheelEvent(QWheelEvent* event) override {
    const int delta = event->angleDelta().y();
    if (delta == 0) return QChartView::wheelEvent(event);
    chart()->zoom(delta > 0 ? 1.25 : 0.8);
    event->accept();
  }
  void keyPressEvent(QKeyEvent* event) override {
    const QRectF area = chart()->plotArea();
    const qreal across = area.width() / 10;
    const qreal upward = area.height() / 10;
    switch (event->key()) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:  // + without Shift
        chart()->zoom(1.25);
        break;
      case Qt::Key_Minus:
        chart()->zoom(0.8);
        break;
      case Qt::Key_Left:
        chart()->scroll(-across, 0);
        break;
      case Qt::Key_Right:
        chart()->scroll(across, 0);
        break;
      case Qt::Key_Up:
        chart()->scroll(0, upward);
        break;
      case Qt::Key_Down:
        chart()->scroll(0, -upward);
        break;
      default:
        return QChartView::keyPressEvent(event);
    }
    event->accept();
  }
};

bool AsNumber(const evaluator::TEvalValue& value, double& number) {
  if (value.IsReal()) {
    number = value.real;
  } else if (value.IsCurrency()) {
    number = static_cast<double>(value.currency) / 10000.0;
  } else {
    return false;
  }
  return std::isfinite(number);
}

// Collects one function's points into line pieces and lone markers.
class TFunctionSeries {
 public:
  TFunctionSeries(QChart& chart, const QString& name, QColor colour)
      : chart_(chart), name_(name), colour_(colour) {}

  void Add(QPointF point) { piece_.append(point); }
  void Gap() {
    if (piece_.size() == 1 || (piece_.size() > 1 && pieces_ >= kMaxPieces)) {
      markers_.append(piece_);
    } else if (piece_.size() > 1) {
      auto* line = new QLineSeries;
      line->replace(piece_);
      Attach(line);
      ++pieces_;
    }
    piece_.clear();
  }
  void Finish() {
    Gap();
    if (!markers_.isEmpty() || !named_) {
      auto* scatter = new QScatterSeries;
      scatter->setMarkerSize(5);
      scatter->setBorderColor(colour_);
      scatter->replace(markers_);
      Attach(scatter);
    }
  }

 private:
  void Attach(QXYSeries* series) {
    series->setName(name_);
    series->setColor(colour_);
    chart_.addSeries(series);
    // One legend entry per function.
    if (named_) {
      for (QLegendMarker* marker : chart_.legend()->markers(series))
        marker->setVisible(false);
    }
    named_ = true;
  }

  QChart& chart_;
  QString name_;
  QColor colour_;
  QList<QPointF> piece_;
  QList<QPointF> markers_;
  std::size_t pieces_ = 0;
  bool named_ = false;
};

const QColor kColours[] = {QColor(31, 119, 180),  QColor(214, 39, 40),   QColor(44, 160, 44),
                           QColor(148, 103, 189), QColor(255, 127, 14),  QColor(23, 190, 207),
                           QColor(140, 86, 75),   QColor(227, 119, 194), QColor(127, 127, 127),
                           QColor(188, 189, 34)};

}  // namespace

TChartWindow::TChartWindow(const TFunctionTable& table, TUserPrompt& prompt, QWidget* parent)
    : TToolWindow(parent), table_(table), prompt_(prompt), view_(new TZoomingChartView(this)) {
  setWindowTitle(tr("Functions chart"));
  view_->setRenderHint(QPainter::Antialiasing);
  view_->setRubberBand(QChartView::RectangleRubberBand);
  setCentralWidget(view_);
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* save = file->addAction(tr("&Save image as..."));
  save->setObjectName("SaveImage1");
  connect(save, &QAction::triggered, this, &TChartWindow::SaveImageAs);
  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* reset = view->addAction(tr("&Reset zoom"));
  reset->setObjectName("ResetZoom1");
  connect(reset, &QAction::triggered, this, [this] { Chart()->zoomReset(); });
  AddStayOnTopAction(view);
  resize(640, 440);
  Rebuild();
}

QChart* TChartWindow::Chart() const {
  return view_->chart();
}

void TChartWindow::Rebuild() {
  auto* chart = new QChart;
  chart->legend()->setAlignment(Qt::AlignBottom);
  xAxis_ = new QValueAxis;
  yAxis_ = new QValueAxis;
  xAxis_->setTitleText(QString::fromStdString(table_.VariableName()));
  yAxis_->setTitleText(tr("value"));
  chart->addAxis(xAxis_, Qt::AlignBottom);
  chart->addAxis(yAxis_, Qt::AlignLeft);

  const std::size_t rows = table_.DataRowCount();
  double minY = std::numeric_limits<double>::infinity();
  double maxY = -minY;
  AddSeries(*chart, 0, rows, minY, maxY);
  if (rows > 0 && table_.X(rows - 1) > table_.X(0)) {
    xAxis_->setRange(table_.X(0), table_.X(rows - 1));
  }
  if (std::isfinite(minY) && std::isfinite(maxY)) {
    const double margin = maxY > minY ? (maxY - minY) * 0.05 : std::max(1.0, std::fabs(minY) * 0.1);
    yAxis_->setRange(minY - margin, maxY + margin);
  }
  QChart* old = view_->chart();
  view_->setChart(chart);
  delete old;
  // A thinned table is thinned again for the rows in view whenever the zoom changes.
  if (rows > kMaxChartPoints) {
    connect(xAxis_, &QValueAxis::rangeChanged, this, [this] {
      if (refillPending_) return;
      refillPending_ = true;
      QTimer::singleShot(0, this, &TChartWindow::ShowVisibleRows);
    });
  }
}

void TChartWindow::ShowVisibleRows() {
  refillPending_ = false;
  const std::size_t rows = table_.DataRowCount();
  if (rows <= kMaxChartPoints || xAxis_ == nullptr) return;
  // x grows with the row, so the rows in view are found by halving.
  const auto firstAtLeast = [this, rows](double x) {
    std::size_t low = 0;
    std::size_t high = rows;
    while (low < high) {
      const std::size_t middle = low + (high - low) / 2;
      if (table_.X(middle) < x) {
        low = middle + 1;
      } else {
        high = middle;
      }
    }
    return low;
  };
  // One row more on each side, so that the lines run to the edges.
  const std::size_t begin = std::max<std::size_t>(firstAtLeast(xAxis_->min()), 1) - 1;
  const std::size_t end = std::min(rows, firstAtLeast(xAxis_->max()) + 1);
  QChart* chart = Chart();
  chart->removeAllSeries();
  double minY = 0;
  double maxY = 0;
  AddSeries(*chart, begin, std::max(begin, end), minY, maxY);
}

void TChartWindow::AddSeries(QChart& chart, std::size_t begin, std::size_t end, double& minY,
                             double& maxY) {
  const std::size_t rows = end - begin;
  // Stretches of rows each drawn as their first, least and greatest value, in row order.
  const std::size_t stretch =
      rows <= kMaxChartPoints ? 1 : (3 * rows + kMaxChartPoints - 1) / kMaxChartPoints;
  for (std::size_t f = 0; f < table_.FunctionCount(); ++f) {
    TFunctionSeries series(chart, QString::fromStdString(table_.FunctionHead(f)),
                           kColours[f % std::size(kColours)]);
    for (std::size_t first = begin; first < end; first += stretch) {
      const std::size_t last = std::min(end, first + stretch);
      std::size_t kept[3] = {end, end, end};  // first, least, greatest
      double keptY[3] = {0, 0, 0};
      bool gap = false;
      for (std::size_t row = first; row < last; ++row) {
        double y = 0;
        if (!AsNumber(table_.Value(row, f), y)) {
          gap = true;
          continue;
        }
        if (kept[0] == end) kept[0] = row, keptY[0] = y;
        if (kept[1] == end || y < keptY[1]) kept[1] = row, keptY[1] = y;
        if (kept[2] == end || y > keptY[2]) kept[2] = row, keptY[2] = y;
      }
      if (kept[0] != end) {
        std::size_t order[3] = {0, 1, 2};
        std::sort(std::begin(order), std::end(order),
                  [&kept](std::size_t a, std::size_t b) { return kept[a] < kept[b]; });
        std::size_t previous = end;
        for (const std::size_t k : order) {
          if (kept[k] == previous) continue;
          previous = kept[k];
          series.Add({table_.X(kept[k]), keptY[k]});
        }
        minY = std::min(minY, keptY[1]);
        maxY = std::max(maxY, keptY[2]);
      }
      if (gap) series.Gap();
    }
    series.Finish();
  }
  for (QAbstractSeries* series : chart.series()) {
    series->attachAxis(xAxis_);
    series->attachAxis(yAxis_);
  }
}

QByteArray TChartWindow::PngBytes() const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  view_->grab().save(&buffer, "PNG");
  return bytes;
}

void TChartWindow::SaveImageAs() {
  std::optional<std::string> path = prompt_.SaveFile(kImageFilter);
  if (!path) return;
  if (path->find('.', path->find_last_of('/') + 1) == std::string::npos) *path += ".png";
  const QByteArray bytes = PngBytes();
  if (const auto failure = SafeSave(*path, std::string_view(bytes.constData(), bytes.size()))) {
    prompt_.Message(*failure);
  }
}

}  // namespace app
