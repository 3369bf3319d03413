#include "ui/application.h"

#include <exception>

#include "model/cp1251.h"
#include "ui/message_box_messenger.h"

namespace vorsin::ui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

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
