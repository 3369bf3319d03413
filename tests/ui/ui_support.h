// Shared pieces of the window tests: a messenger that records instead of
// showing boxes, a window on a private program folder, typing and leaving.
#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "model/messenger.h"
#include "model/vocabulary.h"
#include "ui/main_window.h"

namespace vorsin::test {

struct ShownMessage {
  QString text;
  QString caption;
  Icon icon;
  Buttons buttons;
  QString windowTitle;  // the caption while the message was up
};

class RecordingMessenger final : public Messenger {
 public:
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
  std::vector<ShownMessage> shown;
  int answer = kAnswerOk;  // the answer to questions
  QWidget* window = nullptr;
};

// A main window whose program folder is a fresh copy of the shipped one:
// the vocabulary file (changed by prepare, when given) and Settings/.
class TestWindow {
 public:
  // settingsPath: the window's own settings file; empty, the run's user scope.
  explicit TestWindow(const std::function<void(Vocabulary&)>& prepare = {}, const QString& settingsPath = {});
  ~TestWindow();

  ui::MainWindow& operator*() { return *window; }
  ui::MainWindow* operator->() { return window.get(); }
  template <class T>
  T* find(const char* name) {
    T* w = window->findChild<T*>(QString::fromLatin1(name));
    if (w == nullptr) qFatal("no widget %s", name);
    return w;
  }
  QString dir() const { return folder.path(); }
  void showTab(const char* name);

  QTemporaryDir folder;
  RecordingMessenger messages;
  QString chosenPath;  // what the open and save dialogs answer
  QString askedIn;     // the folder the last dialog started in
  std::unique_ptr<ui::MainWindow> window;
};

// The note of a good "Загрузить": alone, or with the read-back check's line
// when "Проверить запись" is on.
inline bool ProgrammedNote(const QString& text) {
  const QString done("Устройство запрограммированно");
  return text == done || text.startsWith(done + "\nЗапись проверена");
}

// Shows every page in turn and, on each, selects every node of its trees
// and passes the focus through the fields, as an installer looking through
// a configuration would.
void WalkAllPages(TestWindow& w);

// Types text into the widget key by key (Cyrillic letters included).
void TypeText(QWidget* widget, const QString& text);
void PressEnter(QWidget* widget);
// Moves the focus into the widget, then away from it.
void Enter(QWidget* widget);
void Leave(QWidget* widget);
// Triggers the window's action of that name, as its menu item does.
void Trigger(TestWindow& w, const char* action);
// A file's bytes; empty when it cannot be read.
QByteArray Contents(const QString& path);

}  // namespace vorsin::test
