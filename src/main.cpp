// Starts the calculator: its window, or the command-line mode when given one of its options.
#include <QApplication>
#include <QMainWindow>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  if (app::IsCommandLine(arguments)) {
    return app::RunCommandLine(arguments, std::cin, std::cout, std::cerr);
  }
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Calculator");
  window.resize(300, 443);
  window.show();
  return QApplication::exec();
}
