// The keyboard handling every window gets when shown (names, tab order, first field), and the
// names of the screenshot pictures that the guide refers to.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "app/keyboard_access.h"
#include "app/tool_screenshots.h"

namespace app {
namespace {

// The controls Tab visits from the first field on.
std::vector<QWidget*> TabChain(QWidget* window, std::size_t count) {
  std::vector<QWidget*> chain;
  QWidget* widget = FirstField(window);
  while (widget != nullptr && chain.size() < count) {
    chain.push_back(widget);
    do {
      widget = widget->nextInFocusChain();
    } while (widget == window || !(widget->focusPolicy() & Qt::TabFocus));
  }
  return chain;
}

// Controls made in an order unlike the layout's: the chain follows the layout, rows first.
TEST(KeyboardAccess, TheTabChainReadsTheWindowTopToBottomThenLeftToRight) {
  QDialog dialog;
  auto* cancel = new QPushButton("&Cancel", &dialog);
  auto* ok = new QPushButton("&Ok", &dialog);
  auto* right = new QLineEdit(&dialog);
  auto* left = new QLineEdit(&dialog);
  auto* memo = new QPlainTextEdit(&dialog);
  auto* layout = new QGridLayout(&dialog);
  layout->addWidget(left, 0, 0);
  layout->addWidget(right, 0, 1);
  layout->addWidget(memo, 1, 0, 1, 2);
  layout->addWidget(ok, 2, 0);
  layout->addWidget(cancel, 2, 1);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  TKeyboardAccess::Prepare(&dialog);
  EXPECT_EQ(TabChain(&dialog, 6), (std::vector<QWidget*>{left, right, memo, ok, cancel, left}));
  EXPECT_EQ(dialog.focusWidget(), left);
  // Tab leaves the memo instead of typing a tab into it.
  memo->setFocus();
  QTest::keyClick(memo, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), ok);
  EXPECT_TRUE(memo->toPlainText().isEmpty());
  // A dialog opened again starts at its first field, however it was left.
  dialog.hide();
  dialog.show();
  EXPECT_EQ(dialog.focusWidget(), left);
}

TEST(KeyboardAccess, ControlsAreNamedAfterTheirGroupOrWindowButNotByTheirValue) {
  QWidget window;
  window.setWindowTitle("Function variable");
  auto* layout = new QVBoxLayout(&window);
  // A memo deeper in a group box than Qt looks (which is one level).
  auto* group = new QGroupBox("Results", &window);
  auto* inner = new QWidget(group);
  auto* grouped = new QPlainTextEdit(inner);
  (new QVBoxLayout(inner))->addWidget(grouped);
  (new QVBoxLayout(group))->addWidget(inner);
  auto* alone = new QLineEdit(&window);
  auto* status = new QLabel(&window);
  auto* box = new QComboBox(&window);
  box->addItems({"Temperature", "Length"});
  for (QWidget* widget : {static_cast<QWidget*>(group), static_cast<QWidget*>(alone),
                          static_cast<QWidget*>(status), static_cast<QWidget*>(box)}) {
    layout->addWidget(widget);
  }
  NameControls(&window);
  EXPECT_EQ(AccessibleNameOf(grouped), "Results");
  EXPECT_EQ(AccessibleNameOf(alone), "Function variable");
  EXPECT_EQ(AccessibleNameOf(box), "Function variable") << "not by the item it shows";
  // A label's name follows its text, so none is fixed for it; an empty one says nothing yet.
  EXPECT_TRUE(status->accessibleName().isEmpty());
  EXPECT_FALSE(IsControl(status, &window));
  status->setText("TYPE: Currency");
  EXPECT_EQ(AccessibleNameOf(status), "TYPE: Currency");
}

TEST(KeyboardAccess, PicturesAreNamedAfterTheirWindowsCaptions) {
  EXPECT_EQ(PictureName("Convert Unit"), "convert-unit.png");
  EXPECT_EQ(PictureName("Conversion definition table"), "conversion-definition-table.png");
  EXPECT_EQ(PictureName("Are expressions equivalent?"), "are-expressions-equivalent.png");
  EXPECT_EQ(PictureName("Calculator", "error"), "calculator-error.png");
  EXPECT_EQ(PictureName("Graph", "Minimal &Tree"), "graph-minimal-tree.png");
  EXPECT_EQ(PictureName("SHORTEST PATH"), "shortest-path.png");
}

}  // namespace
}  // namespace app
