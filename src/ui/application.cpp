#include "ui/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>
#include <utility>

#include "model/cp1251.h"
#include "ui/message_box_messenger.h"

namespace vorsin::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { loadQtTranslations(); }

// The tool speaks Russian whatever the system's language, and so do Qt's own
// buttons and dialogs. The catalogue comes from Qt's translations folder, or
// from "translations" beside the program where Qt was shipped with it, or
// (the Windows program, Qt linked in) from the program's own resources.
void Application::loadQtTranslations() {
  auto* translator = new QTranslator(this);
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  const std::pair<QString, QString> catalogues[] = {
      {QStringLiteral("qt"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)},
      {QStringLiteral("qt"), applicationDirPath() + QStringLiteral("/translations")},
      {QStringLiteral("qtbase"), QStringLiteral(":/translations")}};
  for (const auto& [name, folder] : catalogues) {
    if (translator->load(russian, name, QStringLiteral("_"), folder)) {
      installTranslator(translator);
      return;
    }
  }
  delete translator;
}

bool Application::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report("unknown exception");
  }
  return false;
}

// Exception texts come from the standard library and our code in UTF-8.
void Application::report(const std::string& what) {
  const std::string text = Cp(what);
  if (messenger_ != nullptr) {
    messenger_->Error(text);
    return;
  }
  MessageBoxMessenger boxes(activeWindow());
  boxes.Error(text);
}

}  // namespace vorsin::ui
