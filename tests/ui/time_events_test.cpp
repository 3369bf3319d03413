// The time-events dialog and its effect on the general page.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTimeEdit>
#include <QTimer>
#include <QTreeWidget>

#include "model/cp1251.h"
#include "model/time_events.h"
#include "registry.h"
#include "ui/time_events_dialog.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

struct Dialog {
  explicit Dialog(TestWindow& w) : w(w), dialog(w.find<ui::TimeEventsDialog>("TForm4")) {
    dialog->fill();
    dialog->show();
  }
  ~Dialog() { dialog->hide(); }
  QTreeWidget* tree() { return dialog->findChild<QTreeWidget*>("EvSelect"); }
  QTreeWidgetItem* node(int root, int child = -1) {
    QTreeWidgetItem* r = tree()->topLevelItem(root);
    return child < 0 ? r : r->child(child);
  }
  void select(QTreeWidgetItem* n) { tree()->setCurrentItem(n); }
  // Selects the node and runs the item of its menu with this text.
  QAction* item(QTreeWidgetItem* n, const QString& text) {
    select(n);
    dialog->fillMenu();
    for (QAction* a : dialog->menu()->actions())
      if (a->text() == text) return a;
    return nullptr;
  }
  void run(QTreeWidgetItem* n, const QString& text) {
    QAction* a = item(n, text);
    QVERIFY(a != nullptr && a->isEnabled());
    a->trigger();
  }
  void chooseDay(int index) {
    auto* date = dialog->findChild<QComboBox*>("Date");
    date->setCurrentIndex(index);
  }
  void chooseTime(int h, int m) { dialog->findChild<QTimeEdit*>("Time")->setTime(QTime(h, m, 0)); }

  TestWindow& w;
  ui::TimeEventsDialog* dialog;
};

}  // namespace

class TimeEventsTest : public QObject {
  Q_OBJECT
 private slots:
  void nodesFollowTheDayAndTime() {
    TestWindow w;
    Dialog d(w);
    const QString add = "Добавить время срабатывания";
    d.run(d.node(0), add);
    QCOMPARE(d.node(0, 0)->text(0), QString("00:00:00"));
    d.select(d.node(0, 0));
    d.chooseDay(5);
    QCOMPARE(d.node(0, 0)->text(0), QString("05 00:00:00"));
    d.chooseTime(8, 30);
    QCOMPARE(d.node(0, 0)->text(0), QString("05 08:30:00"));
    d.chooseDay(0);
    QCOMPARE(d.node(0, 0)->text(0), QString("08:30:00"));

    // Editing A, then selecting B, leaves A's time as it was edited.
    d.run(d.node(0, 0), add);  // added under the same root
    d.select(d.node(0, 1));
    QCOMPARE(d.dialog->findChild<QTimeEdit*>("Time")->time(), QTime(0, 0));
    QCOMPARE(d.node(0, 0)->text(0), QString("08:30:00"));
    d.chooseTime(9, 15);
    const auto& times = w->workspace().config.timeEvents;
    QCOMPARE(times[0].w[2] * 100 + times[0].w[3], 830);
    QCOMPARE(times[1].w[2] * 100 + times[1].w[3], 915);

    // Deleting the first leaves the second as child 0, showing its own time.
    d.run(d.node(0, 0), "08:30:00: Удалить");
    QCOMPARE(d.node(0)->childCount(), 1);
    d.select(d.node(0));
    d.select(d.node(0, 0));
    QCOMPARE(d.dialog->findChild<QTimeEdit*>("Time")->time(), QTime(9, 15));
    QCOMPARE(w->workspace().config.timeEvents.size(), size_t(1));
  }

  void timesOpenTheTestOptionsAndClearingRebuilds() {
    TestWindow w;
    auto* box9 = w.find<QCheckBox>("CheckBox9");
    QVERIFY(!box9->isEnabled());
    Dialog d(w);
    const QString root0 = d.node(0)->text(0);
    QVERIFY(!d.item(d.node(0), root0 + ": Очистить")->isEnabled());  // nothing to clear
    QVERIFY(!d.item(d.node(0), "Добавить событие")->isEnabled());
    d.run(d.node(0), "Добавить время срабатывания");
    QVERIFY(box9->isEnabled());
    QVERIFY(!w.find<QCheckBox>("CheckBox10")->isEnabled());
    d.run(d.node(0, 0), "00:00:00: Удалить");
    QVERIFY(!box9->isEnabled());

    d.run(d.node(0), "Добавить время срабатывания");
    d.run(d.node(1), "Добавить время срабатывания");
    d.run(d.node(0), root0 + ": Очистить");
    QCOMPARE(d.node(0)->childCount(), 0);
    QCOMPARE(d.node(1)->childCount(), 1);
    QVERIFY(!box9->isEnabled());
  }

  void readTimesOfOtherEventsAndUnknownPositions() {
    TestWindow w;
    auto& c = w->workspace().config;
    AddTimeEvent(c, 5);
    c.timeEvents.back().w[1] = 3;
    AddTimeEvent(c, 250);  // beyond the event table
    Dialog d(w);
    QCOMPARE(d.tree()->topLevelItemCount(), 4);
    QCOMPARE(d.node(2)->text(0).toStdString(), ToUtf8(c.events[5].text));
    QCOMPARE(d.node(2, 0)->text(0), QString("03 00:00:00"));
    QCOMPARE(d.node(3)->text(0), QString("Ошибка: событие не определено"));
    QCOMPARE(d.node(3)->childCount(), 0);
    QVERIFY(!d.item(d.node(3), "Добавить время срабатывания")->isEnabled());
    QCOMPARE(c.timeEvents.size(), size_t(2));
  }

  void button11OpensTheDialogModally() {
    TestWindow w;
    auto* button = w.find<QPushButton>("Button11");
    QVERIFY(button->isEnabled());
    auto* dialog = w.find<ui::TimeEventsDialog>("TForm4");
    bool wasModal = false;
    QTimer::singleShot(0, dialog, [&] {
      wasModal = dialog->isVisible() && dialog->isModal();
      dialog->reject();
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(wasModal);
    QCOMPARE(dialog->windowTitle(), QString("Настройка событий по времени"));
  }
};

VORSIN_UI_TEST(TimeEventsTest)
#include "time_events_test.moc"
