// vorsin: the configuration window. It takes no command-line options.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setObjectName("TForm1");
  window.show();
  return app.exec();
}
