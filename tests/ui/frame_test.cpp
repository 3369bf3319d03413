// The main window frame: start-up, caption, pages, menus, files, closing.
#include <QAction>
#include <QDialog>
#include <QFile>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <stdexcept>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "project/project_file.h"
#include "registry.h"
#include "ui/application.h"
#include "ui/dest_menu.h"
#include "ui/message_box_messenger.h"
#include "ui/replace_dialog.h"
#include "ui/terminal_panel.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

QAction* MenuItem(ui::MainWindow& w, const char* name) {
  auto* item = w.findChild<QAction*>(name);
  if (item == nullptr) qFatal("no menu item %s", name);
  return item;
}

// Writes a project file with a recognisable own number and load time.
QString WriteSite(const QString& folder, const std::string& ownNumber, const std::string& loadTime) {
  RecordingMessenger quiet;
  Workspace ws;
  Vocabulary vocabulary(VORSIN_BIN_DIR "/RorEdad.ini");
  ResetToDefaults(ws, vocabulary);
  ws.config.ownNumber = ownNumber;
  ws.config.lastLoadTime = loadTime;
  const QString path = folder + "/site.dat";
  if (WriteProjectFile(ws, QFile::encodeName(path).toStdString(), quiet) != kProjectOk) qFatal("cannot write");
  return path;
}

class Thrower : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("сломалось");
    ++handled;
    return QObject::event(e);
  }
  int handled = 0;
};

}  // namespace

class FrameTest : public QObject {
  Q_OBJECT
 private slots:
  void startsWithDefaultsPagesAndForms() {
    TestWindow w;
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - default"));
    QTabWidget* pages = w->pageControl();
    QCOMPARE(pages->objectName(), QString("PageControl1"));
    const char* names[] = {"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5",
                           "TabSheet6", "TabSheet8", "TabSheet9", "TabSheet7"};
    const QStringList captions = {"Общие", "Адресаты", "Шлейфы", "Реле", "События",
                                  "Отчёты", "Пользователи", "Управление", "Программирование"};
    QCOMPARE(pages->count(), 9);
    for (int i = 0; i < 9; ++i) {
      QCOMPARE(pages->widget(i)->objectName(), QString(names[i]));
      QCOMPARE(pages->tabText(i), captions[i]);
    }
    QCOMPARE(pages->currentIndex(), 0);

    // The other windows exist, hidden, in their creation order.
    QStringList created;
    for (QObject* child : w->children()) {
      if (auto* d = qobject_cast<QDialog*>(child)) {
        created << d->objectName();
        QVERIFY(!d->isVisible());
      }
    }
    QCOMPARE(created, QStringList({"TForm2", "TForm3", "TForm4", "TForm5", "T_FileDialog", "TForm6",
                                   "TForm7"}));

    // Every menu item is there and enabled.
    for (const char* name : {"N2", "N4", "N5", "N3", "Sms2", "Sms1", "N9", "N6"})
      QVERIFY(MenuItem(*w, name)->isEnabled());
    QCOMPARE(MenuItem(*w, "Sms1")->text(), QString("Загрузить Sms по умолчанию "));
    QVERIFY(MenuItem(*w, "N2")->font().bold());
  }

  void captionFollowsOpenAndNew() {
    TestWindow w;
    QTemporaryDir elsewhere;
    w.chosenPath = WriteSite(elsewhere.path(), "+7901", "05.03.2024 10:07");
    MenuItem(*w, "N4")->trigger();
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - site.dat (Время последней загрузки 05.03.2024 10:07)"));
    QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString("+7901"));  // the pages show the file

    MenuItem(*w, "N2")->trigger();
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - default"));
    QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString());

    // A cancelled dialog changes nothing.
    w.chosenPath.clear();
    MenuItem(*w, "N4")->trigger();
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - default"));
    QVERIFY(w.messages.shown.empty());
  }

  void refusedFileKeepsTheCaption() {
    TestWindow w;
    QTemporaryDir elsewhere;
    w.chosenPath = WriteSite(elsewhere.path(), "+7901", "05.03.2024 10:07");
    MenuItem(*w, "N4")->trigger();
    const QString caption = w->windowTitle();
    // The same file from a newer tool: version byte 2 behind "Ver 2.1".
    QFile newer(w.chosenPath);
    QVERIFY(newer.open(QIODevice::ReadWrite));
    newer.seek(8);
    newer.write("\x02", 1);
    newer.close();
    MenuItem(*w, "N4")->trigger();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Обновите программное обеспечение"));
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString());  // the pages show the defaults
  }

  void saveAsAppendsTheExtension() {
    TestWindow w;
    w->workspace().config.ownNumber = "555";
    w.chosenPath = w.dir() + "/Settings/plant";
    MenuItem(*w, "N5")->trigger();
    QVERIFY(QFile::exists(w.dir() + "/Settings/plant.dat"));
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - plant.dat"));

    w.chosenPath = w.dir() + "/Settings/plant.bak";
    MenuItem(*w, "N5")->trigger();
    QVERIFY(QFile::exists(w.dir() + "/Settings/plant.bak"));

    MenuItem(*w, "N2")->trigger();
    w.chosenPath = w.dir() + "/Settings/plant.dat";
    MenuItem(*w, "N4")->trigger();
    QCOMPARE(w->workspace().config.ownNumber, std::string("555"));
  }

  void exitAsksButTheCloseBoxDoesNot() {
    TestWindow w;
    QSignalSpy closed(w.window.get(), &ui::MainWindow::closed);
    w.messages.answer = kAnswerCancel;
    MenuItem(*w, "N3")->trigger();
    QCOMPARE(closed.count(), 0);
    QVERIFY(w->isVisible());
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Закрыть приложение ?"));
    QCOMPARE(w.messages.shown[0].caption, QString("Внимание"));
    QVERIFY(w.messages.shown[0].buttons == Buttons::YesNo);

    w.messages.answer = kAnswerOk;
    MenuItem(*w, "N3")->trigger();
    QCOMPARE(closed.count(), 1);

    TestWindow other;
    QSignalSpy otherClosed(other.window.get(), &ui::MainWindow::closed);
    other->show();
    other->close();
    QCOMPARE(otherClosed.count(), 1);
    QVERIFY(other.messages.shown.empty());
  }

  void operationLocksTheWindow() {
    TestWindow w;
    QSignalSpy closed(w.window.get(), &ui::MainWindow::closed);
    w->beginOperation();
    QVERIFY(!w->pageControl()->isEnabled());
    QVERIFY(!w->menuBar()->isEnabled());
    QVERIFY(!w->close());
    QCOMPARE(closed.count(), 0);
    w->workspace().config.ownNumber = "555";
    for (const char* name : {"N2", "N4", "N5", "N3", "Sms1"}) MenuItem(*w, name)->trigger();
    QCOMPARE(w->workspace().config.ownNumber, std::string("555"));  // "Новый" did not run
    QVERIFY(w.messages.shown.empty());  // nor did "Выход" ask
    QCOMPARE(closed.count(), 0);
    // The close box used meanwhile is remembered and asked about at the end.
    w.messages.answer = kAnswerCancel;
    w->endOperation();
    QVERIFY(w->pageControl()->isEnabled() && w->menuBar()->isEnabled());
    QCoreApplication::processEvents();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Закрыть приложение ?"));
    QCOMPARE(closed.count(), 0);
    w->beginOperation();
    QVERIFY(!w->close());
    w.messages.answer = kAnswerOk;
    w->endOperation();
    QCoreApplication::processEvents();
    QCOMPARE(closed.count(), 1);
  }

  void escapedExceptionIsShownAndTheLoopGoesOn() {
    auto* app = static_cast<ui::Application*>(QCoreApplication::instance());
    RecordingMessenger messages;
    app->setMessenger(&messages);
    Thrower thrower;
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::User));
    QCoreApplication::postEvent(&thrower, new QEvent(QEvent::Type(QEvent::User + 1)));
    QCoreApplication::processEvents();
    app->setMessenger(nullptr);
    QCOMPARE(messages.shown.size(), size_t(1));
    QCOMPARE(messages.shown[0].text, QString("сломалось"));
    QCOMPARE(messages.shown[0].caption, QString("Ошибка"));
    QCOMPARE(thrower.handled, 1);
  }

  void destMenuIsRebuiltForEachControl() {
    TestWindow w;
    ui::DestMenu& menu = w->destMenu();
    QCOMPARE(menu.menu()->objectName(), QString("DestMenu"));
    QWidget* first = w.find<QWidget>("Edit1");
    QWidget* second = w.find<QWidget>("Edit2");
    int ran = 0;
    menu.attach(first, [&](const QPoint&) {
      menu.add("Один", [&] { ++ran; });
      menu.add("-", {});
      menu.add("Два", {});
    });
    menu.attach(second, [&](const QPoint&) { menu.add("Три", {}); });
    emit first->customContextMenuRequested(QPoint(2, 2));
    QCOMPARE(menu.menu()->actions().size(), 3);
    QVERIFY(menu.menu()->actions()[1]->isSeparator());
    menu.menu()->actions()[0]->trigger();
    QCOMPARE(ran, 1);
    menu.menu()->hide();
    emit second->customContextMenuRequested(QPoint(2, 2));
    QCOMPARE(menu.menu()->actions().size(), 1);
    QCOMPARE(menu.menu()->actions()[0]->text(), QString("Три"));
    menu.menu()->hide();
  }

  void replaceDialogReturnsTheChosenButton() {
    TestWindow w;
    ui::ReplaceDialog* dialog = w->forms().fileDialog;
    dialog->setWindowTitle("Capture");
    // A long question: the dialog grows to the label plus its margin.
    dialog->setQuestion(QString("Файл существует. ").repeated(6));
    QTimer::singleShot(0, dialog, [dialog] {
      QTest::mouseClick(dialog->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    });
    QCOMPARE(dialog->ask(), int(ui::ReplaceDialog::kAppend));
    QCOMPARE(dialog->width(), dialog->findChild<QLabel*>("Label1")->sizeHint().width() + 80);
    QTimer::singleShot(0, dialog, [dialog] { dialog->reject(); });
    QCOMPARE(dialog->ask(), int(ui::ReplaceDialog::kNone));
    // Enter keeps the old file: "Добавить" is the default, "Заменить" needs a click.
    QTimer::singleShot(0, dialog, [dialog] { QTest::keyClick(dialog->focusWidget(), Qt::Key_Return); });
    QCOMPARE(dialog->ask(), int(ui::ReplaceDialog::kAppend));
    QVERIFY(dialog->findChild<QPushButton*>("Button2")->isDefault());
    QVERIFY(!dialog->findChild<QPushButton*>("Button1")->isDefault());
  }

  void messageBoxAnswersYesAsGoOn() {
    ui::MessageBoxMessenger boxes(nullptr);
    const auto answerWith = [](QMessageBox::StandardButton button) {
      QTimer::singleShot(0, [button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr) box->button(button)->click();
      });
    };
    answerWith(QMessageBox::Yes);
    QCOMPARE(boxes.Show(Cp("Закрыть приложение ?"), CaptionWarning(), Icon::Question, Buttons::YesNo),
             kAnswerOk);
    answerWith(QMessageBox::No);
    QCOMPARE(boxes.Show(Cp("Закрыть приложение ?"), CaptionWarning(), Icon::Question, Buttons::YesNo),
             kAnswerCancel);
    answerWith(QMessageBox::Cancel);
    QCOMPARE(boxes.Show("?", CaptionWarning(), Icon::Warning, Buttons::OkCancel), kAnswerCancel);

    // A note without a caption names the tool; Qt's own texts speak Russian.
    QString title;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      title = box->windowTitle();
      box->button(QMessageBox::Ok)->click();
    });
    boxes.Note(Cp("Настройки считаны"));
    QCOMPARE(title, QString("Ворсин"));
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm"))
      QSKIP("Qt's Russian translations are not installed (scripts/setup.sh installs them)");
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Отмена"));
  }

  void userFoldersAreMadeOnFirstUse() {
    TestWindow w;
    QDir(w.dir() + "/Settings").removeRecursively();
    MenuItem(*w, "N4")->trigger();  // the dialog is cancelled
    QVERIFY(QFileInfo(w.dir() + "/Settings").isDir());
    // The capture, memo and loader dialogs start inside their folders, so
    // that a bare Enter does not make a file named after the folder.
    auto* terminal = w->terminal();
    for (const auto& ask : {std::function<void()>([&] { terminal->startCapture(); }),
                            std::function<void()>([&] { terminal->saveMemo(); })}) {
      QDir(w.dir() + "/Capture").removeRecursively();
      w.askedIn.clear();
      ask();
      QCOMPARE(w.askedIn, w.dir() + "/Capture");
      QVERIFY(QFileInfo(w.askedIn).isDir());
    }
    auto* loader = w->findChild<QDialog*>("TForm6");
    loader->show();
    QTest::mouseClick(loader->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    loader->hide();
    QCOMPARE(w.askedIn, w.dir() + "/Firmware");
    QVERIFY(QFileInfo(w.askedIn).isDir());
    QVERIFY(w.messages.shown.empty());
  }
};

VORSIN_UI_TEST(FrameTest)
#include "frame_test.moc"
