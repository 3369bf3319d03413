#include "ui_support.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QComboBox>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

#include "ui/text.h"
#include "ui/startup.h"

namespace vorsin::test {

int RecordingMessenger::Show(const std::string& text, const std::string& caption, Icon icon,
                             Buttons buttons) {
  shown.push_back({ui::Q(text), ui::Q(caption), icon, buttons, window ? window->windowTitle() : QString()});
  return buttons == Buttons::Ok ? kAnswerOk : answer;
}

TestWindow::TestWindow(const std::function<void(Vocabulary&)>& prepare, const QString& settingsPath) {
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
  setup.settingsPath = settingsPath;
  setup.messenger = &messages;
  setup.files.open = [this](QWidget*, const QString& directory, const QString&) {
    askedIn = directory;
    return chosenPath;
  };
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

namespace {

void SelectAll(QTreeWidget* tree, QTreeWidgetItem* item) {
  tree->setCurrentItem(item);
  QApplication::processEvents();
  for (int i = 0; i < item->childCount(); ++i) SelectAll(tree, item->child(i));
}

}  // namespace

void WalkAllPages(TestWindow& w) {
  QTabWidget* pages = w->pageControl();
  for (int t = 0; t < pages->count(); ++t) {
    pages->setCurrentIndex(t);
    QApplication::processEvents();
    QWidget* page = pages->widget(t);
    for (QTreeWidget* tree : page->findChildren<QTreeWidget*>()) {
      if (!tree->isVisible()) continue;
      for (int i = 0; i < tree->topLevelItemCount(); ++i) SelectAll(tree, tree->topLevelItem(i));
    }
    // Passing through the fields of what is shown last.
    for (QWidget* field : page->findChildren<QWidget*>()) {
      if (field->isVisible() && field->isEnabled() && (qobject_cast<QLineEdit*>(field) || qobject_cast<QComboBox*>(field)))
        Leave(field);
    }
  }
  pages->setCurrentIndex(0);
  QApplication::processEvents();
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

void Trigger(TestWindow& w, const char* action) { w.find<QAction>(action)->trigger(); }

QByteArray Contents(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace vorsin::test
