// The page "Отчёты" driven through its grid.
#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

#include "model/event_rules.h"
#include "registry.h"
#include "ui/dest_menu.h"
#include "ui/event_dialog.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

QStringList Column(QTreeWidget* grid, int column) {
  QStringList texts;
  for (int r = 0; r < grid->topLevelItemCount(); ++r) texts << grid->topLevelItem(r)->text(column);
  return texts;
}

void ClickHeader(QTreeWidget* grid, int column) {
  QHeaderView* header = grid->header();
  const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Double click on the cell of row r, column c (c past the last column: to
// the right of it; r past the last row: below it).
void DoubleClickCell(QTreeWidget* grid, int r, int c) {
  QHeaderView* header = grid->header();
  const int x = c < header->count() ? header->sectionViewportPosition(c) + header->sectionSize(c) / 2
                                    : header->length() + 10;
  const QRect last = grid->visualItemRect(grid->topLevelItem(grid->topLevelItemCount() - 1));
  const int y = r < grid->topLevelItemCount() ? grid->visualItemRect(grid->topLevelItem(r)).center().y()
                                              : last.bottom() + 10;
  QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, QPoint(x, y));
}

struct ReportsWindow {
  ReportsWindow() {
    ws().config.addressees.resize(3);
    ws().marks.reportsStale = true;
    w->resize(900, 1400);  // every row and column on show, room below and beside
    w.showTab("TabSheet6");
    grid = w.find<QTreeWidget>("EventAddres");
    QApplication::processEvents();
  }
  Workspace& ws() { return w->workspace(); }
  int32_t& mask(int e) { return ws().config.events[e].w[EventEntry::kAddresseeMask]; }
  TestWindow w;
  QTreeWidget* grid = nullptr;
};

}  // namespace

class ReportsPageTest : public QObject {
  Q_OBJECT
 private slots:
  void headerClickBindsOneAddresseeForTheListedRows() {
    ReportsWindow r;
    QCOMPARE(r.grid->headerItem()->text(4), QString("3"));
    QCOMPARE(r.grid->columnCount(), 5);
    r.mask(9) = 0x40;   // hidden by the filter
    r.mask(0) = 0x180;  // addressee 1 and a carried high bit
    const Configuration before = r.ws().config;
    const int loopEvent = r.ws().config.general.loopEventBase(2);
    r.ws().marks.eventsStale = false;
    ClickHeader(r.grid, 3);  // addressee 2
    QCOMPARE(Column(r.grid, 3), QStringList(r.grid->topLevelItemCount(), "+"));
    QCOMPARE(Column(r.grid, 2).count("+"), 1);
    QVERIFY(r.ws().marks.eventsStale);
    QVERIFY(r.ws().marks.loopEventsEdited[2]);
    QCOMPARE(r.mask(loopEvent), 0x40);
    QCOMPARE(r.mask(0), 0x1C0);
    ClickHeader(r.grid, 3);
    QVERIFY(r.ws().config == before);
    ClickHeader(r.grid, 1);  // "Событие": nothing
    QVERIFY(r.ws().config == before);
  }

  void doubleClickTakesTheCellUnderThePointer() {
    ReportsWindow r;
    QTreeWidget* grid = r.grid;
    const int e = grid->topLevelItem(2)->text(0).toInt();
    const Configuration before = r.ws().config;
    DoubleClickCell(grid, 2, 1);
    QCOMPARE(r.mask(e), 0xE0);
    QCOMPARE(grid->topLevelItem(2)->text(2) + grid->topLevelItem(2)->text(3) + grid->topLevelItem(2)->text(4),
             QString("+++"));
    DoubleClickCell(grid, 2, 3);
    QCOMPARE(r.mask(e), 0xA0);
    QCOMPARE(grid->topLevelItem(2)->text(3), QString());
    DoubleClickCell(grid, 2, 0);
    QCOMPARE(r.mask(e), 0);
    // The row under the pointer counts, not the one selected before.
    grid->setCurrentItem(grid->topLevelItem(0));
    DoubleClickCell(grid, 4, 2);
    QCOMPARE(r.mask(grid->topLevelItem(4)->text(0).toInt()), 0x80);
    QCOMPARE(r.mask(grid->topLevelItem(0)->text(0).toInt()), before.events[0].w[EventEntry::kAddresseeMask]);
    r.mask(grid->topLevelItem(4)->text(0).toInt()) = 0;
    DoubleClickCell(grid, 3, 7);  // right of the last column
    DoubleClickCell(grid, grid->topLevelItemCount(), 1);  // below the last row
    QVERIFY(r.ws().config == before);
  }

  void bothListsShowTheSameRowsAndEachOthersEdits() {
    ReportsWindow r;
    r.ws().config.general.loopFlags(0) |= 0x20;
    r.mask(1) = 0;
    r.w.showTab("TabSheet5");
    auto* list = r.w.find<QTreeWidget>("Event");
    for (const QString caption : {"Показывать все события", "Показывать отфильтрованные события"}) {
      emit list->customContextMenuRequested(QPoint(5, 5));
      QMenu* menu = r.w->destMenu().menu();
      menu->hide();
      for (QAction* action : menu->actions())
        if (action->text() == caption) action->trigger();
      r.w.showTab("TabSheet6");
      QCOMPARE(Column(r.grid, 0), Column(list, 0));
      QCOMPARE(Column(r.grid, 1), Column(list, 1));
      r.w.showTab("TabSheet5");
    }
    // The dialog binds addressee 3; the grid shows it when next shown, and
    // a grid edit reaches the events list the same way.
    list->setCurrentItem(list->topLevelItem(1));
    emit list->itemDoubleClicked(list->topLevelItem(1), 0);
    auto* dialog = r.w.find<ui::EventDialog>("TForm2");
    dialog->findChild<QListWidget*>("evDestList")->item(2)->setCheckState(Qt::Checked);
    r.w.showTab("TabSheet6");
    QCOMPARE(r.grid->topLevelItem(1)->text(4), QString("+"));
    DoubleClickCell(r.grid, 1, 4);
    r.w.showTab("TabSheet5");
    QCOMPARE(list->topLevelItem(1)->text(8), QString("Нет"));
  }
};

VORSIN_UI_TEST(ReportsPageTest)
#include "reports_page_test.moc"
