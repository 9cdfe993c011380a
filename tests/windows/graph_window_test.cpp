// The graph window driven headless as a user would: its views and dialogs, the mouse on the
// picture, the saved picture and the saved table.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include "app/status_panel.h"
#include "conversion/graph_picture.h"
#include "conversion/graph_window.h"
#include "conversion/path_number_dialog.h"
#include "conversion/unit_conversion.h"
#include "conversion/vertex_dialog.h"
#include "support/scripted_prompt.h"

namespace conversion {
namespace {

class GraphWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A(100,100) B(300,100) C(100,300) D(300,300) linked A-B, A-C, B-D, C-D.
    TCategoryList& table = conversion_.EditTable();
    table.Add("Empty");
    TRecList& list = table.At(*table.Add("Letters")).list;
    for (const auto& [name, x, y] :
         {std::tuple{"A", 100, 100}, {"B", 300, 100}, {"C", 100, 300}, {"D", 300, 300}}) {
      list.AddUnit(name, x, y);
    }
    for (const auto& [a, b] : {std::pair{"A", "B"}, {"A", "C"}, {"B", "D"}, {"C", "D"}})
      list.AddDefinition(list.FindUnit(a), list.FindUnit(b), "x", "x");
    ASSERT_TRUE(conversion_.Check());
    window_.ShowCategory(1);
    window_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }
  bool Checked(const char* item) const { return window_.Action(item)->isChecked(); }
  QString Status() const { return window_.StatusPanel()->text(); }
  // "Shortest &Path" or "Maximal &Flow" from `begin` to `end` (0-based rows of the boxes).
  void AskBetween(const char* item, int begin, int end) {
    window_.Action(item)->trigger();
    TgrfForm4* dialog = window_.VertexDialog();
    dialog->BeginBox()->setCurrentIndex(begin);
    dialog->EndBox()->setCurrentIndex(end);
    QTest::mouseClick(dialog->OkButton(), Qt::LeftButton);
  }

  app::TScriptedPrompt prompt_;
  TUnitConversion conversion_{prompt_};
  int definitionsShown_ = 0;
  TgrfForm3 window_{conversion_, prompt_,
                    TGraphLinks{[this] { ++definitionsShown_; }, nullptr, nullptr}};
  QTemporaryDir folder_;
};

TEST_F(GraphWindowTest, ShortestPathViewListsTheChainsAndPathChoosesAmongThem) {
  EXPECT_EQ(window_.windowTitle(), "Category = 2. Letters");
  EXPECT_TRUE(Status().startsWith("Total allocated memory= "));
  EXPECT_TRUE(Checked("Graph1"));
  EXPECT_FALSE(window_.Action("Path1")->isEnabled());

  window_.Action("ShortestPath1")->trigger();
  TgrfForm4* vertices = window_.VertexDialog();
  ASSERT_TRUE(vertices->isVisible());
  EXPECT_EQ(vertices->windowTitle(), "SHORTEST PATH");
  EXPECT_EQ(vertices->BeginBox()->count(), 4);
  EXPECT_FALSE(window_.isEnabled());
  QTest::mouseClick(vertices->OkButton(), Qt::LeftButton);
  EXPECT_EQ(prompt_.messages, std::vector<std::string>{"Please enter units"});
  EXPECT_TRUE(vertices->isVisible());
  vertices->BeginBox()->setCurrentIndex(0);
  vertices->EndBox()->setCurrentIndex(3);
  QTest::keyClick(vertices->EndBox(), Qt::Key_Return);
  EXPECT_FALSE(vertices->isVisible());
  EXPECT_TRUE(window_.isEnabled());
  EXPECT_TRUE(Checked("ShortestPath1"));
  EXPECT_FALSE(Checked("Graph1"));
  QAction* path = window_.Action("Path1");
  EXPECT_TRUE(path->isEnabled());
  EXPECT_EQ(path->text(), "Path 1 : 2");

  path->trigger();
  TgrfForm2* number = window_.PathDialog();
  ASSERT_TRUE(number->isVisible());
  EXPECT_EQ(number->windowTitle(), "Insert path numer");
  EXPECT_FALSE(window_.isEnabled());
  for (const char* wrong : {"3", "0", "two"}) {
    number->NumberEdit()->setText(wrong);
    QTest::mouseClick(number->OkButton(), Qt::LeftButton);
    EXPECT_EQ(prompt_.messages.back(), "THE NUMBER MUST BE BETWEEN 1 AND 2") << wrong;
    EXPECT_TRUE(number->isVisible());
  }
  number->NumberEdit()->setText("2");
  QTest::mouseClick(number->OkButton(), Qt::LeftButton);
  EXPECT_FALSE(number->isVisible());
  EXPECT_TRUE(window_.isEnabled());
  EXPECT_EQ(path->text(), "Path 2 : 2");

  // Cancelling the vertex dialog goes back to the plain graph; so does closing the window.
  window_.Action("MaximalFlow1")->trigger();
  EXPECT_EQ(window_.VertexDialog()->windowTitle(), "MAXIMAL FLOW");
  QTest::keyClick(window_.VertexDialog()->BeginBox(), Qt::Key_Escape);
  EXPECT_TRUE(Checked("Graph1"));
  EXPECT_FALSE(path->isEnabled());
  AskBetween("MaximalFlow1", 0, 3);
  EXPECT_TRUE(Checked("MaximalFlow1"));
  window_.close();
  EXPECT_TRUE(Checked("Graph1"));
}

TEST_F(GraphWindowTest, SavedPictureIsASixteenColourBitmapOfThePicture) {
  AskBetween("ShortestPath1", 0, 3);
  const QString base = folder_.filePath("graph");
  prompt_.file = base.toStdString();  // no extension: the bitmap's is added
  window_.Action("Saveimageas1")->trigger();
  EXPECT_EQ(prompt_.filters.back(), "Bitmap File|*.bmp|PNG File|*.png");
  ASSERT_TRUE(prompt_.messages.empty()) << prompt_.messages.front();

  QFile file(base + ".bmp");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(static_cast<int>(file.readAll().at(28)), 4);  // bits per pixel
  const QImage image(base + ".bmp");
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), window_.PictureBox()->size());
  EXPECT_GE(image.width(), 500);
  EXPECT_GE(image.height(), 300);
  QSet<QRgb> colours;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      colours.insert(image.pixel(x, y));
  }
  EXPECT_LE(colours.size(), 16);
  // The background, the plain drawing and the highlighted chain all survive.
  EXPECT_TRUE(colours.contains(kPictureBackground.rgb()));
  EXPECT_TRUE(colours.contains(kPictureNormal.rgb()));
  EXPECT_TRUE(colours.contains(kPictureHighlight.rgb()));

  prompt_.file = folder_.filePath("graph.png").toStdString();
  window_.Action("Saveimageas1")->trigger();
  const QImage png(folder_.filePath("graph.png"), "PNG");
  EXPECT_EQ(png.size(), image.size());

  // A folder that is not there: the message says so and nothing is claimed saved.
  prompt_.file = folder_.filePath("missing/graph.bmp").toStdString();
  window_.Action("Saveimageas1")->trigger();
  ASSERT_EQ(prompt_.messages.size(), 1u);
  EXPECT_EQ(prompt_.messages[0].rfind("Cannot write ", 0), 0u);
}

TEST_F(GraphWindowTest, DraggedVertexIsWrittenIntoTheSavedTable) {
  QWidget* picture = window_.PictureBox();
  QTest::mousePress(picture, Qt::LeftButton, {}, QPoint(306, 294));  // D
  QTest::mouseMove(picture, QPoint(380, 200));
  QTest::mouseMove(picture, QPoint(420, 180));
  QTest::mouseRelease(picture, Qt::LeftButton, {}, QPoint(420, 180));
  EXPECT_EQ(window_.View().Graph().Vertex(4).position, (TGraphPoint{420, 180}));
  EXPECT_FALSE(conversion_.Locked());

  const QString path = folder_.filePath("moved.cnv");
  ASSERT_TRUE(conversion_.WriteToConvFile(path.toStdString()));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.contains("B : D : x : x : 300 : 100 : 420 : 180\r\n")) << text.constData();
  EXPECT_TRUE(text.contains("C : D : x : x : 100 : 300 : 420 : 180\r\n"));
}

TEST_F(GraphWindowTest, TheKeyboardMovesVerticesAndChoosesArcLabels) {
  window_.show();
  QWidget* picture = window_.PictureBox();
  picture->setFocus();
  const TGraphPoint d = window_.View().Graph().Vertex(4).position;
  for (int i = 0; i < 4; ++i) QTest::keyClick(picture, Qt::Key_PageDown);
  EXPECT_EQ(window_.View().DraggedVertex(), 4);
  for (int i = 0; i < 3; ++i) QTest::keyClick(picture, Qt::Key_Right);
  QTest::keyClick(picture, Qt::Key_Up, Qt::ShiftModifier);
  QTest::keyClick(picture, Qt::Key_Return);
  EXPECT_EQ(window_.View().DraggedVertex(), 0);
  EXPECT_EQ(window_.View().Graph().Vertex(4).position, (TGraphPoint{d.x + 30, d.y - 1}));
  EXPECT_EQ(conversion_.Table().At(1).list.Unit(3).point.x, d.x + 30) << "D keeps its place";
  EXPECT_FALSE(conversion_.Locked());

  // Round the end to A; Escape puts it back and leaves the window open.
  const TGraphPoint a = window_.View().Graph().Vertex(1).position;
  QTest::keyClick(picture, Qt::Key_PageDown);
  QTest::keyClick(picture, Qt::Key_Down);
  QTest::keyClick(picture, Qt::Key_Escape);
  EXPECT_EQ(window_.View().Graph().Vertex(1).position, a);
  EXPECT_TRUE(window_.isVisible());

  QTest::keyClick(picture, Qt::Key_PageDown, Qt::ShiftModifier);
  EXPECT_EQ(Status(), "E1 : A ---> B");
  QTest::keyClick(picture, Qt::Key_PageUp, Qt::ShiftModifier);
  QTest::keyClick(picture, Qt::Key_PageUp, Qt::ShiftModifier);
  const std::int32_t arcs = window_.View().Graph().ArcCount();
  EXPECT_EQ(Status().toStdString(), window_.View().ArcText(arcs - 1)) << "round the start";
}

TEST_F(GraphWindowTest, ArcLabelsHelpLinksAndTheRingLayoutAnswerTheMenuAndMouse) {
  // E1 runs from A (100,100) to B (300,100): its label sits at (166,100).
  QTest::mouseClick(window_.PictureBox(), Qt::LeftButton, {}, QPoint(170, 103));
  EXPECT_EQ(Status(), "E1 : A ---> B");

  window_.Action("Help1")->trigger();
  EXPECT_EQ(prompt_.messages,
            std::vector<std::string>{
                "Click on vertex for moving it. Click on E1,E2,... for Units links"});
  window_.Action("Defconversions1")->trigger();
  window_.Action("Main1")->trigger();  // not wired: nothing happens
  EXPECT_EQ(definitionsShown_, 1);

  window_.Action("Refresh1")->trigger();
  const QSize area = window_.PictureBox()->parentWidget()->size();
  EXPECT_EQ(window_.View().Graph().Vertex(1).position,
            (TGraphPoint{area.width() / 2, area.height() / 2}));
  const TUnit& b = conversion_.Table().At(1).list.Unit(1);
  EXPECT_EQ(b.point.x, area.width() / 2 + 50);

  // A change of the table while hidden shows when the window comes back.
  window_.close();
  conversion_.EditTable().Remove(1);
  window_.UpdateIfVisible();
  window_.show();
  EXPECT_EQ(window_.windowTitle(), "Category = NIL");
}

}  // namespace
}  // namespace conversion
