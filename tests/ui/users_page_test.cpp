// The page "Пользователи" and the key dialog, against pkd-sim where the
// device takes part.
#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include "../link/cut_line.h"
#include "link/serial_port.h"
#include "model/users.h"
#include "registry.h"
#include "simulator.h"
#include "ui/dest_menu.h"
#include "ui/key_dialog.h"
#include "ui/users_page.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

// Users of these numbers; the user of keyHolder has the key 01..06.
void SetUsers(TestWindow& w, std::initializer_list<int> numbers, int keyHolder = 0) {
  auto& users = w->workspace().config.users;
  users.clear();
  for (int n : numbers) {
    users.push_back(NewUser(n));
    users.back().text = std::to_string(n * 11);
  }
  users[0].w[2] = 128;
  if (keyHolder != 0) AssignKey(users, keyHolder, {1, 2, 3, 4, 5, 6});
  w->refreshPages();
  w.showTab("TabSheet8");
}

QTreeWidget* List(TestWindow& w) { return w.find<QTreeWidget>("UserList"); }
QString Cell(TestWindow& w, int row, int column) { return List(w)->topLevelItem(row)->text(column); }
void Select(TestWindow& w, int row) { List(w)->setCurrentItem(List(w)->topLevelItem(row)); }

// Opens the list's context menu and returns it.
QMenu* ContextMenu(TestWindow& w) {
  emit List(w)->customContextMenuRequested(QPoint(5, 5));
  QMenu* menu = w->destMenu().menu();
  menu->hide();
  return menu;
}

QAction* Item(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text() == text) return a;
  return nullptr;
}

bool Unlocked(TestWindow& w) { return w->pageControl()->isEnabled() && w->menuBar()->isEnabled(); }

}  // namespace

class UsersPageTest : public QObject {
  Q_OBJECT
 private slots:
  void captionsAddMenuAndDeletion() {
    TestWindow w;
    SetUsers(w, {32, 5, 12, 27, 29});
    QCOMPARE(Cell(w, 0, 0), QString("Инженер"));
    QCOMPARE(Cell(w, 1, 0), QString("Пользователь 05"));
    QCOMPARE(Cell(w, 2, 0), QString("Пользователь 12"));
    QCOMPARE(Cell(w, 3, 0), QString("Польз. 27 (\"Ручной запуск\" реле)"));
    QCOMPARE(Cell(w, 4, 0), QString("Польз. 29 (Периметр)"));
    QVERIFY(!w.find<QLineEdit>("Edit9")->isEnabled());

    // The first row is never offered for deletion; used numbers never for adding.
    Select(w, 0);
    QMenu* menu = ContextMenu(w);
    QCOMPARE(menu->actions().size(), 1);
    QMenu* add = menu->actions()[0]->menu();
    QCOMPARE(menu->actions()[0]->text(), QString("Добавить пользователя"));
    QCOMPARE(add->actions().size(), 26);  // 1..30 without 5, 12, 27 and 29
    QVERIFY(Item(add, "Пользователь 05") == nullptr && Item(add, "Польз. 29 (Периметр)") == nullptr);
    QVERIFY(Item(add, "Польз. 31 (Периметр)") == nullptr);
    Item(add, "Пользователь 03")->trigger();
    QCOMPARE(List(w)->topLevelItemCount(), 6);
    QCOMPARE(List(w)->currentItem(), List(w)->topLevelItem(5));
    QCOMPARE(w->workspace().config.users[5].w[1], 3);
    QVERIFY(w.find<QLineEdit>("Edit9")->isEnabled());
    QCOMPARE(w.find<QLineEdit>("Edit11")->text(), QString("00000000000000"));

    // Deleting the third row selects the second, with its own password.
    Select(w, 2);
    Item(ContextMenu(w), "Удалить: Пользователь 12")->trigger();
    QCOMPARE(List(w)->topLevelItemCount(), 5);
    QCOMPARE(List(w)->currentItem(), List(w)->topLevelItem(1));
    QCOMPARE(w.find<QLineEdit>("Edit9")->text(), QString("55"));
    QCOMPARE(Cell(w, 2, 0), QString("Польз. 27 (\"Ручной запуск\" реле)"));

    // The engineer stays wherever it stands.
    SetUsers(w, {5, 32});
    Select(w, 1);
    QVERIFY(Item(ContextMenu(w), "Удалить: Инженер") == nullptr);
  }

  void headerAndDoubleClicksKeepTheOtherBits() {
    TestWindow w;
    SetUsers(w, {32, 1});
    w->workspace().config.users[1].w[2] = 0x20 | 0x08 | 0x02;  // loops 1 and 3, relay reset
    w->refreshPages();
    QHeaderView* header = List(w)->header();
    const auto clickHeader = [&](int column) {
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(column) + 5, header->height() / 2));
    };
    clickHeader(2);
    QCOMPARE(w->workspace().config.users[0].w[2], 0x84);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2E);
    QCOMPARE(Cell(w, 0, 2), QString("+"));
    clickHeader(2);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2A);
    QCOMPARE(Cell(w, 0, 2), QString());
    clickHeader(5);  // "Dalas"
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2A);

    QTreeWidget* list = List(w);
    const auto doubleClick = [&](int row, int column) {
      const QRect cell = list->visualRect(list->model()->index(row, column));
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
      QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    };
    doubleClick(1, 0);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x20);
    QCOMPARE(Cell(w, 1, 1) + Cell(w, 1, 3), QString());
    doubleClick(1, 0);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2F);
    doubleClick(1, 4);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2E);
    QCOMPARE(Cell(w, 1, 4), QString());
    doubleClick(1, 5);
    QCOMPARE(w->workspace().config.users[1].w[2], 0x2E);
  }

  void passwordIsStoredAsTypedAndNeverBeyondTheField() {
    TestWindow w;
    SetUsers(w, {32, 1});
    w->workspace().config.users[1].text = "???";
    w->refreshPages();
    Select(w, 1);
    auto* edit = w.find<QLineEdit>("Edit9");
    QCOMPARE(edit->text(), QString("???"));
    Enter(edit);
    edit->end(false);
    TypeText(edit, "a5");  // a letter does nothing; a digit replaces "???"
    QCOMPARE(edit->text(), QString("5"));
    TypeText(edit, "1234567");
    QCOMPARE(edit->text(), QString("512345"));
    // Stored while typing: a menu command does not leave the field.
    QCOMPARE(w->workspace().config.users[1].text, std::string("512345"));
    // Text the field cannot hold (pasted) is not stored, and leaving shows the stored one.
    edit->setText("12ab");
    emit edit->textEdited(edit->text());
    QCOMPARE(w->workspace().config.users[1].text, std::string("512345"));
    Leave(edit);
    QCOMPARE(edit->text(), QString("512345"));

    auto* relay = w.find<QCheckBox>("CheckBox46");
    relay->click();
    QCOMPARE(w->workspace().config.users[1].w[2], 0x20);
    w.find<QCheckBox>("CheckBox43")->click();
    QCOMPARE(int(w->workspace().config.general.dialFlags()), 0x04);
  }

  void presentedKeyIsReadAfterAFewPollsAndMovesFromItsHolder() {
    Simulator sim({"--key", "010203040506", "--key-after", "12"});
    TestWindow w;
    UseSimulatorPort(w, sim);
    SetUsers(w, {32, 4, 7}, 4);
    QCOMPARE(Cell(w, 1, 5), QString("+"));
    Select(w, 2);
    auto* dialog = w.find<ui::KeyDialog>("TForm3");
    auto* cancel = dialog->findChild<QPushButton*>("Button1");
    bool lockedWhilePolling = true, cancelReachable = true;
    int samples = 0;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (!dialog->isVisible()) return;
      ++samples;
      lockedWhilePolling = lockedWhilePolling && !w->pageControl()->isEnabled() && !w->menuBar()->isEnabled();
      cancelReachable = cancelReachable && cancel->isEnabled() && cancel->isVisible() && dialog->isEnabled();
    });
    watch.start(20);
    QTest::mouseClick(w.find<QPushButton>("Button6"), Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 15000);
    watch.stop();

    QVERIFY(samples > 0);
    QVERIFY(lockedWhilePolling);
    QVERIFY(cancelReachable);
    QVERIFY(w.messages.shown.empty());
    QCOMPARE(w.find<QLineEdit>("Edit11")->text(), QString("00060504030201"));
    QCOMPARE(Cell(w, 2, 5), QString("+"));
    QCOMPARE(Cell(w, 1, 5), QString());
    QCOMPARE(w->workspace().config.users[1].w[3], 0);
    QVERIFY(!w->port().IsOpen());
    QVERIFY(Unlocked(w));
  }

  void refusedPollOrLostLinkCloseAfterOneMessageAndCancelStoresNothing() {
    const struct {
      QStringList args;
      QString message;
    } cases[] = {
        {{"--error-on", "0x26:0"}, "??? : неизвестная комманда"},  // firmware without the command
        {{"--drop-every", "1"}, "Отсутствие связи с устройством"},
    };
    for (const auto& c : cases) {
      Simulator sim(c.args);
      TestWindow w;
      UseSimulatorPort(w, sim);
      SetUsers(w, {32, 4});
      Select(w, 1);
      auto* dialog = w.find<ui::KeyDialog>("TForm3");
      QTest::mouseClick(w.find<QPushButton>("Button6"), Qt::LeftButton);
      QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), 10000);
      QCOMPARE(w.messages.shown.size(), size_t(1));
      QCOMPARE(w.messages.shown[0].text, c.message);
      QCOMPARE(w->workspace().config.users[1].w[3], 0);
      QVERIFY(!w->port().IsOpen());
      QVERIFY(Unlocked(w));
    }

    Simulator sim({"--key", "010203040506", "--key-after", "1000000"});
    TestWindow w;
    UseSimulatorPort(w, sim);
    SetUsers(w, {32, 4});
    Select(w, 1);
    auto* dialog = w.find<ui::KeyDialog>("TForm3");
    QTest::mouseClick(w.find<QPushButton>("Button6"), Qt::LeftButton);
    auto* bar = w.find<QProgressBar>("PBar");
    QTRY_VERIFY_WITH_TIMEOUT(bar->value() >= 2, 10000);
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QVERIFY(w.messages.shown.empty());
    QCOMPARE(w->workspace().config.users[1].w[3], 0);
    QVERIFY(!w->port().IsOpen());
    QVERIFY(Unlocked(w));
  }

  void userTablesAreReadBackAllOrNothing() {
    Simulator sim;
    TestWindow w;
    UseSimulatorPort(w, sim);
    SetUsers(w, {32, 3, 17}, 17);
    w->workspace().config.users[1].w[2] = 0x09;
    QTest::mouseClick(w.find<QPushButton>("Button1"), Qt::LeftButton);  // "Загрузить"
    QVERIFY(ProgrammedNote(w.messages.shown.back().text));

    w->findChild<QAction*>("N2")->trigger();  // "Новый": the engineer alone
    QCOMPARE(List(w)->topLevelItemCount(), 1);
    // The third block is lost: nothing changes.
    // The fourth ReadEEPROM request gets no answer.
    w->port().makePort = [] { return std::make_unique<vorsin::testing::CutLine>(MakeSerialPort(), 0x22, 3); };
    w.messages.shown.clear();
    QTest::mouseClick(w.find<QPushButton>("Button4"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w->workspace().config.users.size(), size_t(1));
    QVERIFY(!w->port().IsOpen() && Unlocked(w));

    w->port().makePort = {};
    w.messages.shown.clear();
    QTest::mouseClick(w.find<QPushButton>("Button4"), Qt::LeftButton);
    QVERIFY(w.messages.shown.empty());
    QCOMPARE(List(w)->topLevelItemCount(), 3);
    QCOMPARE(Cell(w, 1, 0), QString("Пользователь 03"));
    QCOMPARE(Cell(w, 1, 1) + Cell(w, 1, 4), QString("++"));
    QCOMPARE(Cell(w, 2, 5), QString("+"));
    QCOMPARE(w->workspace().config.users[2].text, std::string("187"));
  }
};

VORSIN_UI_TEST(UsersPageTest)
#include "users_page_test.moc"
