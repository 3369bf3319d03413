// vorsin: the configuration window. It takes no options; a project file
// given as its one argument (Explorer's double click on a .dat) is opened. A
// portable copy keeps its vocabulary file and Settings folder beside the
// executable; an installed one uses the user's data and documents folders.
#include <QFile>
#include <QMessageBox>

#include "model/data_location.h"
#include "model/file_path.h"
#include "ui/application.h"
#include "ui/text.h"
#include "ui/startup.h"

int main(int argc, char** argv) {
  vorsin::ui::Application app(argc, argv);
  vorsin::ui::WindowSetup setup;
  setup.programDir = QCoreApplication::applicationDirPath();
  // The data location's names are UTF-8 (on Linux, the file system's bytes).
  const vorsin::DataLocation data =
      vorsin::FindDataLocation(vorsin::PathNarrow(vorsin::ui::ToFsPath(setup.programDir)));
  std::string why;
  const bool prepared = vorsin::PrepareDataLocation(data, why);
  const auto path = [](const std::string& p) { return vorsin::ui::FromFsPath(vorsin::PathFromUtf8(p)); };
  setup.vocabularyPath = path(data.vocabularyPath);
  setup.projectDir = path(data.projectDirectory);
  setup.userDir = path(data.userDirectory);
  setup.settingsPath = path(data.settingsPath);
  auto window = vorsin::ui::CreateWindows(std::move(setup));
  QObject::connect(window.get(), &vorsin::ui::MainWindow::closed, &app, &QCoreApplication::quit);
  window->show();
  // Without its vocabulary the window still works on the built-in defaults.
  if (!prepared) QMessageBox::warning(window.get(), QStringLiteral("Внимание"), QString::fromStdString(why));
  // Qt reads the command line as Unicode on Windows.
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() == 2) window->openProjectFile(arguments.at(1));
  return app.exec();
}
