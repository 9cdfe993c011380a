// Runs the window tests headless in one QApplication, with a guard that fails a test which
// leaves a modal dialog open instead of letting it hang (unless the tests answer modal dialogs
// themselves: CALC_TESTS_ANSWER_MODAL_DIALOGS).
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

#include "app/keyboard_access.h"

int main(int argc, char** argv) {
  // Test discovery runs this program at build time, where ctest's environment does not apply.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  // The windows are tested with the keyboard handling they run with.
  app::TKeyboardAccess::Install();
  ::testing::InitGoogleTest(&argc, argv);
#ifdef CALC_TESTS_ANSWER_MODAL_DIALOGS
  return RUN_ALL_TESTS();
#else
  QTimer guard;
  QObject::connect(&guard, &QTimer::timeout, [] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      ADD_FAILURE() << "unexpected modal dialog: " << dialog->windowTitle().toStdString();
      dialog->close();
    }
  });
  guard.start(100);
  return RUN_ALL_TESTS();
#endif
}
