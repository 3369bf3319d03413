// vorsin: the configuration window. It takes no command-line options; the
// vocabulary file and the Settings folder lie beside the executable.
#include "ui/application.h"
#include "ui/windows.h"

int main(int argc, char** argv) {
  vorsin::ui::Application app(argc, argv);
  vorsin::ui::WindowSetup setup;
  setup.programDir = QCoreApplication::applicationDirPath();
  auto window = vorsin::ui::CreateWindows(std::move(setup));
  QObject::connect(window.get(), &vorsin::ui::MainWindow::closed, &app, &QCoreApplication::quit);
  window->show();
  return app.exec();
}
