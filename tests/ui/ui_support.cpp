#include "ui_support.h"

#include <QDir>
#include <QFile>
#include <QTabBar>
#include <QTabWidget>

#include "ui/text.h"
#include "ui/windows.h"

namespace vorsin::test {

int RecordingMessenger::Show(const std::string& text, const std::string& caption, Icon icon,
                             Buttons buttons) {
  shown.push_back({ui::Q(text), ui::Q(caption), icon, buttons, window ? window->windowTitle() : QString()});
  return buttons == Buttons::Ok ? kAnswerOk : answer;
}

TestWindow::TestWindow(const std::function<void(Vocabulary&)>& prepare) {
  const QString vocabulary = folder.path() + "/RorEdad.ini";
  QFile::copy(VORSIN_BIN_DIR "/RorEdad.ini", vocabulary);
  QFile::setPermissions(vocabulary, QFile::ReadOwner | QFile::WriteOwner);
  QDir(folder.path()).mkdir("Settings");
  if (prepare) {
    Vocabulary v(QFile::encodeName(vocabulary).toStdString());
    prepare(v);
  }
  ui::WindowSetup setup;
  setup.programDir = folder.path();
  setup.messenger = &messages;
  setup.files.open = [this](QWidget*, const QString&, const QString&) { return chosenPath; };
  setup.files.save = setup.files.open;
  setup.files.pick = setup.files.open;
  window = ui::CreateWindows(std::move(setup));
  messages.window = window.get();
  window->show();
  window->activateWindow();
  if (!QTest::qWaitForWindowActive(window.get())) qWarning("window not active");
}

TestWindow::~TestWindow() {
  window->hide();
  window.reset();
}

void TestWindow::showTab(const char* name) {
  QTabWidget* pages = window->pageControl();
  pages->setCurrentWidget(find<QWidget>(name));
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    if (c.unicode() < 128) {
      QTest::keyClick(widget, static_cast<char>(c.unicode()));
    } else {
      QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
      QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

void PressEnter(QWidget* widget) { QTest::keyClick(widget, Qt::Key_Return); }

void Enter(QWidget* widget) {
  widget->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}

void Leave(QWidget* widget) {
  if (!widget->hasFocus()) Enter(widget);
  auto* window = qobject_cast<ui::MainWindow*>(widget->window());
  window->pageControl()->tabBar()->setFocus(Qt::TabFocusReason);
  QApplication::processEvents();
}

}  // namespace vorsin::test
