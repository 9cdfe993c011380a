// TgrfForm3.
#include "conversion/graph_window.h"

#include <QActionGroup>
#include <QBuffer>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>

#include "app/safe_save.h"
#include "app/status_panel.h"
#include "app/user_prompt.h"
#include "conversion/graph_picture.h"
#include "conversion/path_number_dialog.h"
#include "conversion/sixteen_colour_bitmap.h"
#include "conversion/unit_conversion.h"
#include "conversion/vertex_dialog.h"

namespace conversion {

namespace {

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr const char* kViewItems[] = {"Graph1", "MinimalTree1", "ShortestPath1", "MaximalFlow1"};

}  // namespace

TgrfForm3::TgrfForm3(TUnitConversion& conversion, app::TUserPrompt& prompt, TGraphLinks links,
                     QWidget* parent)
    : TToolWindow(parent),
      conversion_(conversion),
      prompt_(prompt),
      links_(std::move(links)),
      view_(conversion),
      scroll_(new QScrollArea(this)),
      picture_(new TGraphPicture(view_)),
      status_(new app::TStatusPanel(this)) {
  resize(600, 450);
  scroll_->setWidget(picture_);
  scroll_->setWidgetResizable(false);
  scroll_->setAccessibleName(tr("Graph picture"));
  scroll_->viewport()->installEventFilter(this);
  setCentralWidget(scroll_);
  menuBar()->setAccessibleName(tr("Graph menu"));
  status_->setAccessibleName(tr("Status"));
  statusBar()->addWidget(status_, 1);
  picture_->OnArcClicked = [this](std::int32_t arc) {
    status_->SetPanelText(Latin1(view_.ArcText(arc)));
  };
  picture_->OnVertexReleased = [this] { FitPicture(); };

  vertexDialog_ =
      std::make_unique<TgrfForm4>(prompt_, [this](std::int32_t begin, std::int32_t end) {
        if (askedKind_ == TGraphViewKind::MaximalFlow) {
          view_.ShowMaximalFlow(begin, end);
        } else {
          view_.ShowShortestPath(begin, end);
        }
        AfterViewChange();
      });
  connect(vertexDialog_.get(), &QDialog::rejected, this, [this] { Graph1Click(); });
  pathDialog_ =
      std::make_unique<TgrfForm2>([this](const QString& text) { return PathChosen(text); });
  BuildMenus();
  ShowCategory(-1);
}

TgrfForm3::~TgrfForm3() = default;

void TgrfForm3::BuildMenus() {
  QMenu* viewMenu = menuBar()->addMenu(tr("&View"));
  auto* views = new QActionGroup(this);
  views->setExclusive(true);
  const QString captions[] = {tr("&Graph"), tr("Minimal &Tree"), tr("Shortest &Path"),
                              tr("Maximal &Flow")};
  void (TgrfForm3::*handlers[])() = {&TgrfForm3::Graph1Click, &TgrfForm3::MinimalTree1Click,
                                     &TgrfForm3::ShortestPath1Click, &TgrfForm3::MaximalFlow1Click};
  for (int i = 0; i < 4; ++i) {
    QAction* item = app::AddMenuItem(viewMenu, captions[i], kViewItems[i], this, handlers[i]);
    item->setCheckable(true);
    views->addAction(item);
  }
  QMenu* options = menuBar()->addMenu(tr("&Options"));
  app::AddMenuItem(options, tr("&Refresh"), "Refresh1", this, &TgrfForm3::Refresh1Click);
  app::AddMenuItem(options, tr("&Path"), "Path1", this, &TgrfForm3::Path1Click);
  app::AddMenuItem(options, tr("&Save image as"), "Saveimageas1", this,
                   &TgrfForm3::Saveimageas1Click);
  QMenu* window = menuBar()->addMenu(tr("Window"));
  auto link = [](const std::function<void()>& show) {
    return [&show] {
      if (show) show();
    };
  };
  app::AddMenuItem(window, tr("&Def conversions"), "Defconversions1", this,
                   link(links_.ShowDefinitions));
  app::AddMenuItem(window, tr("&Main"), "Main1", this, link(links_.ShowMain));
  app::AddMenuItem(window, tr("&Conversion"), "Conversion1", this, link(links_.ShowConversion));
  QAction* help = menuBar()->addAction(tr("&Help"));
  help->setObjectName("Help1");
  connect(help, &QAction::triggered, this, &TgrfForm3::Help1Click);
}

QAction* TgrfForm3::Action(const QString& objectName) const {
  return findChild<QAction*>(objectName);
}

void TgrfForm3::ShowCategory(std::int32_t index) {
  view_.ShowCategory(index);
  stale_ = false;
  AfterRebuild();
}

void TgrfForm3::UpdateIfVisible() {
  if (!isVisible()) {
    stale_ = true;
    return;
  }
  view_.Rebuild();
  AfterRebuild();
}

void TgrfForm3::showEvent(QShowEvent* event) {
  if (stale_) {
    stale_ = false;
    view_.Rebuild();
    AfterRebuild();
  }
  TToolWindow::showEvent(event);
}

void TgrfForm3::closeEvent(QCloseEvent* event) {
  TToolWindow::closeEvent(event);
  // A dialog left open would keep the window disabled for its next showing.
  for (QDialog* dialog :
       {static_cast<QDialog*>(pathDialog_.get()), static_cast<QDialog*>(vertexDialog_.get())}) {
    if (dialog->isVisible()) dialog->reject();
  }
  view_.ShowPlainGraph();
  AfterViewChange();
}

bool TgrfForm3::eventFilter(QObject* watched, QEvent* event) {
  if (watched == scroll_->viewport() && event->type() == QEvent::Resize) FitPicture();
  return TToolWindow::eventFilter(watched, event);
}

void TgrfForm3::AfterRebuild() {
  // The vertex dialog lists the units of the graph before; its choice would name others now.
  if (vertexDialog_->isVisible()) vertexDialog_->reject();
  setWindowTitle(Latin1(view_.Caption()));
  const std::string& limit = view_.LimitMessage();
  status_->SetPanelText(Latin1(limit.empty() ? view_.MemoryText() : limit));
  FitPicture();
  AfterViewChange();
}

void TgrfForm3::AfterViewChange() {
  const int checked = static_cast<int>(view_.Kind());
  Action(kViewItems[checked])->setChecked(true);
  QAction* path = Action("Path1");
  const bool chains = view_.Kind() == TGraphViewKind::ShortestPath && view_.ChainCount() > 0;
  path->setEnabled(chains);
  path->setText(chains ? Latin1(view_.PathCaption()) : tr("&Path"));
  picture_->update();
}

void TgrfForm3::FitPicture() {
  if (view_.DraggedVertex() != 0) return;  // the picture keeps still under a dragged vertex
  picture_->resize(picture_->ContentSize().expandedTo(scroll_->viewport()->size()));
}

// ---- Views -----------------------------------------------------------------------------------

void TgrfForm3::Graph1Click() {
  view_.ShowPlainGraph();
  AfterViewChange();
}

void TgrfForm3::MinimalTree1Click() {
  view_.ShowMinimalTree();
  AfterViewChange();
}

void TgrfForm3::ShortestPath1Click() {
  AskVertices(TGraphViewKind::ShortestPath, "SHORTEST PATH");
}

void TgrfForm3::MaximalFlow1Click() {
  AskVertices(TGraphViewKind::MaximalFlow, "MAXIMAL FLOW");
}

void TgrfForm3::AskVertices(TGraphViewKind kind, const char* caption) {
  askedKind_ = kind;
  QStringList units;
  const TUnitGraph& graph = view_.Graph();
  for (std::int32_t v = 1; v <= graph.VertexCount(); ++v)
    units << Latin1(graph.Vertex(v).name);
  vertexDialog_->Open(caption, units);
  OpenDialog(vertexDialog_.get());
}

void TgrfForm3::Path1Click() {
  if (view_.Kind() != TGraphViewKind::ShortestPath || view_.ChainCount() == 0) return;
  pathDialog_->Open(QString::number(view_.ChosenChain()));
  OpenDialog(pathDialog_.get());
}

bool TgrfForm3::PathChosen(const QString& text) {
  bool isNumber = false;
  const qlonglong number = text.trimmed().toLongLong(&isNumber);
  if (!isNumber || number < 1 || !view_.ChooseChain(static_cast<std::size_t>(number))) {
    prompt_.Message(view_.ChainRangeMessage());
    return false;
  }
  AfterViewChange();
  return true;
}

void TgrfForm3::OpenDialog(QDialog* dialog) {
  setEnabled(false);
  connect(
      dialog, &QDialog::finished, this, [this] { setEnabled(true); }, Qt::SingleShotConnection);
  QRect frame = dialog->frameGeometry();
  frame.moveCenter(frameGeometry().center());
  dialog->move(frame.topLeft());
}

void TgrfForm3::Refresh1Click() {
  const QSize area = scroll_->viewport()->size();
  view_.Refresh(area.width(), area.height());
  FitPicture();
  picture_->update();
}

void TgrfForm3::Help1Click() {
  prompt_.Message(kGraphHelp);
}

// ---- The picture as a file -------------------------------------------------------------------

QImage TgrfForm3::Picture() const {
  QImage image(picture_->size(), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setFont(picture_->font());
  PaintGraph(painter, view_, image.rect());
  return image;
}

std::optional<std::string> TgrfForm3::SavePicture(const std::string& path) const {
  const QImage image = Picture();
  std::string bytes;
  if (QFileInfo(QString::fromStdString(path)).suffix().compare("png", Qt::CaseInsensitive) == 0) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return "Cannot write " + path;
    bytes.assign(png.constData(), static_cast<std::size_t>(png.size()));
  } else {
    bytes = EncodeSixteenColourBitmap(reinterpret_cast<const std::uint32_t*>(image.constBits()),
                                      image.width(), image.height(), image.bytesPerLine() / 4);
  }
  return app::SafeSave(path, bytes);
}

void TgrfForm3::Saveimageas1Click() {
  std::optional<std::string> chosen = prompt_.SaveFile(kPictureFilter);
  if (!chosen) return;
  // "bmp" is the default extension.
  if (QFileInfo(QString::fromStdString(*chosen)).suffix().isEmpty()) *chosen += ".bmp";
  if (const std::optional<std::string> message = SavePicture(*chosen)) prompt_.Message(*message);
}

}  // namespace conversion
