// The application object: Qt's own texts in Russian, and an exception that
// escapes an event handler is shown as a message while the event loop goes on.
#pragma once

#include <QApplication>

#include "model/messenger.h"

namespace vorsin::ui {

class Application : public QApplication {
 public:
  Application(int& argc, char** argv);
  // Where escaped exceptions are reported; nullptr shows a message box.
  void setMessenger(Messenger* messenger) { messenger_ = messenger; }
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void loadQtTranslations();
  void report(const std::string& what);
  Messenger* messenger_ = nullptr;
};

}  // namespace vorsin::ui
