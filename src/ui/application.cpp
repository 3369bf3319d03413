#include "ui/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <exception>

#include "model/cp1251.h"
#include "ui/message_box_messenger.h"

namespace vorsin::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) { loadQtTranslations(); }

// The tool speaks Russian whatever the system's language, and so do Qt's own
// buttons and dialogs. The catalogue comes from Qt's translations folder, or
// from "translations" beside the program where Qt was shipped with it.
void Application::loadQtTranslations() {
  auto* translator = new QTranslator(this);
  const QLocale russian(QLocale::Russian, QLocale::Russia);
  for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                applicationDirPath() + QStringLiteral("/translations")}) {
    if (translator->load(russian, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
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
