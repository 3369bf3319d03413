// The page "События" and the dialog TForm2 driven through their widgets.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "model/cp1251.h"
#include "model/event_rules.h"
#include "model/events.h"
#include "registry.h"
#include "ui/dest_menu.h"
#include "ui/event_dialog.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

template <class T>
T* In(QWidget* parent, const char* name) {
  T* w = parent->findChild<T*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("no widget %s", name);
  return w;
}

QStringList Column(QTreeWidget* list, int column) {
  QStringList texts;
  for (int r = 0; r < list->topLevelItemCount(); ++r) texts << list->topLevelItem(r)->text(column);
  return texts;
}

QTreeWidgetItem* Row(QTreeWidget* list, int e) {
  for (int r = 0; r < list->topLevelItemCount(); ++r)
    if (list->topLevelItem(r)->text(0) == QString::number(e)) return list->topLevelItem(r);
  return nullptr;
}

// Runs an item of the list's context menu, as the user would pick it.
void PickMenuItem(TestWindow& w, QTreeWidget* list, const QString& caption) {
  emit list->customContextMenuRequested(QPoint(5, 5));
  for (QAction* action : w->destMenu().menu()->actions()) {
    if (action->text() == caption) {
      w->destMenu().menu()->hide();
      action->trigger();
      return;
    }
  }
  QFAIL(qPrintable("no menu item " + caption));
}

void Open(QTreeWidget* list, int e) {
  QTreeWidgetItem* row = Row(list, e);
  QVERIFY(row != nullptr);
  list->setCurrentItem(row);
  emit list->itemDoubleClicked(row, 1);
}

}  // namespace

class EventsPageTest : public QObject {
  Q_OBJECT
 private slots:
  void rowsAndFilterFollowTheLoopsAndTheGeneralCount() {
    // The shipped vocabulary defines 24 general events.
    TestWindow w;
    w.showTab("TabSheet5");
    auto* list = w.find<QTreeWidget>("Event");
    Workspace& ws = w->workspace();
    QCOMPARE(GeneralEventCount(ws.config), 24);
    QStringList numbers = Column(list, 0);
    for (int e : {0, 8, 13, 23}) QVERIFY(numbers.contains(QString::number(e)));
    for (int e : {9, 10, 11, 12}) QVERIFY(!numbers.contains(QString::number(e)));
    QCOMPARE(numbers.size(), int(ListedEvents(ws).size()));

    ws.config.general.loopFlags(1) |= 0x20;  // control input with its own "Норма"
    PickMenuItem(w, list, "Показывать все события");
    QCOMPARE(list->topLevelItemCount(), int(ws.config.events.size()));
    PickMenuItem(w, list, "Показывать отфильтрованные события");
    numbers = Column(list, 0);
    QVERIFY(numbers.contains("10"));
    QVERIFY(!numbers.contains("9"));

    // Padding and the yes/no columns.
    EventEntry& e = ws.config.events[4];
    e.w[EventEntry::kCode] = 5;
    e.w[EventEntry::kPartition] = 7;
    e.w[EventEntry::kZone] = 42;
    e.w[EventEntry::kAddresseeMask] = 0x10;
    ws.marks.eventsStale = true;
    w.showTab("TabSheet1");
    w.showTab("TabSheet5");
    QTreeWidgetItem* row = Row(list, 4);
    QCOMPARE(row->text(2) + row->text(3) + row->text(4) + row->text(8), QString("00507042Есть"));

    // Five general events, loops 3 and 4 on a table of two ranges: loop 3's
    // block (9..11) holds placeholders, which no loop's flags may list.
    TestWindow few([](Vocabulary& v) {
      v.Write("defEvent", "Name6", "0");
      v.Write("IntervalDef5", "Val3", "0");
    });
    few.showTab("TabSheet5");
    QCOMPARE(GeneralEventCount(few->workspace().config), 5);
    list = few.find<QTreeWidget>("Event");
    for (int i = 0; i < kLoops; ++i) few->workspace().config.general.loopFlags(i) |= 0x20;
    PickMenuItem(few, list, "Показывать все события");
    PickMenuItem(few, list, "Показывать отфильтрованные события");
    QCOMPARE(Column(list, 0), (QStringList{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "12"}));
  }

  void browsingOddStoredValuesChangesNoByte() {
    TestWindow w;
    w.showTab("TabSheet5");
    Workspace& ws = w->workspace();
    ws.config.addressees.resize(2);
    const int loopEvent = ws.config.general.loopEventBase(0);
    for (int e : {3, loopEvent}) {
      EventEntry& odd = ws.config.events[e];
      odd.w[EventEntry::kFlags] = 0x1C1;
      odd.w[EventEntry::kCode] = 1599;
      odd.w[EventEntry::kPartition] = 255;
      odd.w[EventEntry::kZone] = 4095;
      odd.w[EventEntry::kSmsNew] = int(ws.config.smsStrings.size()) + 5;
      odd.w[EventEntry::kSmsRestore] = -2;
      odd.w[EventEntry::kVoiceNew] = 16;
      odd.w[EventEntry::kVoiceRestore] = 99;
      odd.w[EventEntry::kAddresseeMask] = 0x1A0;
    }
    const Workspace before = ws;
    auto* list = w.find<QTreeWidget>("Event");
    auto* dialog = w.find<ui::EventDialog>("TForm2");
    Open(list, 3);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), "Параметры события: " + Row(list, 3)->text(1));
    auto* voiceNew = In<QComboBox>(dialog, "ComboBox4");
    QCOMPARE(voiceNew->count(), 16);  // "нет", "1".."15"
    QCOMPARE(voiceNew->itemText(15), QString("15"));
    QCOMPARE(voiceNew->currentIndex(), -1);
    QCOMPARE(In<QComboBox>(dialog, "ComboBox5")->currentIndex(), -1);
    QCOMPARE(In<QLineEdit>(dialog, "MaskEdit4")->text(), QString("1599"));
    QCOMPARE(In<QListWidget>(dialog, "evDestList")->item(0)->checkState(), Qt::Checked);
    // The open dialog follows the selection, over odd and ordinary events.
    for (int e : {loopEvent, 0, 3, loopEvent}) {
      list->setCurrentItem(Row(list, e));
      QCOMPARE(dialog->editedEvent(), e);
    }
    In<QPushButton>(dialog, "Button1")->click();  // no editor yet: disabled
    QVERIFY(ws.config == before.config);
    QCOMPARE(ws.marks.loopEventsEdited, before.marks.loopEventsEdited);

    // The SMS buttons call the editor's hook with the event's own number.
    std::vector<int> opened;
    dialog->setOpenSmsEditor([&](int group, int index) { opened = {group, index}; });
    list->setCurrentItem(Row(list, 3));
    In<QPushButton>(dialog, "Button1")->click();
    QCOMPARE(opened, (std::vector<int>{2, int(ws.config.smsStrings.size()) + 5}));
    dialog->refillSmsLists();
    QVERIFY(ws.config == before.config);

    // A user choice does store, and marks the loop of a loop event.
    list->setCurrentItem(Row(list, loopEvent));
    auto* restore = In<QComboBox>(dialog, "ComboBox1");
    restore->setCurrentIndex(1);
    emit restore->activated(1);
    QCOMPARE(ws.config.events[loopEvent].w[EventEntry::kFlags], 0x181);
    QCOMPARE(Row(list, loopEvent)->text(5), QString("Нет"));
    QVERIFY(ws.marks.loopEventsEdited[0]);
    // Minimising and restoring the dialog keeps it on its event.
    dialog->setWindowState(Qt::WindowMinimized);
    dialog->setWindowState(Qt::WindowNoState);
    QCOMPARE(dialog->editedEvent(), loopEvent);
    w.showTab("TabSheet1");  // leaving the page closes the dialog
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->editedEvent(), -1);
  }

  void editsFollowTheEventThroughRebuilds() {
    TestWindow w;
    w.showTab("TabSheet5");
    Workspace& ws = w->workspace();
    ws.config.addressees.resize(4);
    auto* list = w.find<QTreeWidget>("Event");
    auto* dialog = w.find<ui::EventDialog>("TForm2");
    auto* code = In<QLineEdit>(dialog, "MaskEdit4");
    Open(list, 20);
    // Showing all events moves event 20 to another row; edits stay on it.
    ws.marks.reportsStale = false;
    PickMenuItem(w, list, "Показывать все события");
    QVERIFY(ws.marks.reportsStale);
    QCOMPARE(dialog->editedEvent(), 20);
    Workspace before = ws;
    code->selectAll();
    TypeText(code, "1 3");
    QCOMPARE(ws.config.events[20].w[EventEntry::kCode], 103);
    QCOMPARE(Row(list, 20)->text(2), QString("103"));
    auto* destinations = In<QListWidget>(dialog, "evDestList");
    destinations->item(3)->setCheckState(Qt::Checked);
    QCOMPARE(ws.config.events[20].w[EventEntry::kAddresseeMask], 0x10);
    QCOMPARE(Row(list, 20)->text(8), QString("Есть"));
    before.config.events[20] = ws.config.events[20];
    QVERIFY(ws.config == before.config);

    // "Новый" and "Открыть" replace the table: the dialog closes and its
    // controls no longer write anywhere.
    const QString path = w.dir() + "/Settings/site.dat";
    w.chosenPath = path;
    w->saveProjectAs();
    for (int step = 0; step < 2; ++step) {
      ws.config.addressees.resize(4);
      list->setCurrentItem(Row(list, 20));
      Open(list, 20);
      QVERIFY(dialog->isVisible());
      if (step == 0) {
        w->newConfiguration();
      } else {
        w->openProject();
      }
      QVERIFY(!dialog->isVisible());
      QCOMPARE(dialog->editedEvent(), -1);
      const Configuration replaced = ws.config;
      code->clear();
      TypeText(code, "7");
      destinations->item(0)->setCheckState(Qt::Checked);
      QVERIFY(ws.config == replaced);
    }
    QCOMPARE(ws.config.events[20].w[EventEntry::kCode], 103);  // the file kept the edit
  }
};

VORSIN_UI_TEST(EventsPageTest)
#include "events_page_test.moc"
