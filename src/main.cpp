// Starts the calculator's window.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Calculator");
  window.resize(300, 443);
  window.show();
  return QApplication::exec();
}
