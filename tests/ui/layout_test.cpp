// What the installer sees without resizing anything: one window size for
// every page and state, check lists that do not move, nothing cut.
#include <QFontMetrics>
#include <QHeaderView>
#include <QListWidget>
#include <QTabWidget>
#include <QTreeWidget>

#include "model/users.h"
#include "registry.h"
#include "ui/text.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

class LayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void oneWindowSizeShowsEveryPage() {
    TestWindow w;
    const QSize opened = w->size();
    QTabWidget* tabs = w->pageControl();
    const auto check = [&](const char* where) {
      QCoreApplication::processEvents();
      QVERIFY2(w->size() == opened, where);
      QWidget* page = tabs->currentWidget();
      QVERIFY2(page->width() >= page->minimumSizeHint().width() && page->height() >= page->minimumSizeHint().height(),
               where);
    };
    for (int i = 0; i < tabs->count(); ++i) {
      tabs->setCurrentIndex(i);
      check(qPrintable(tabs->widget(i)->objectName()));
    }
    // Every loop kind (loop 3 is a fire loop, 4 a control input by default).
    w.showTab("TabSheet3");
    auto* loops = w.find<QTreeWidget>("HsTree");
    for (int L = 0; L < loops->topLevelItemCount(); ++L) {
      loops->setCurrentItem(loops->topLevelItem(L));
      check("loop");
    }
    w.showTab("TabSheet9");
    auto* remote = w.find<QTreeWidget>("RemCtrl");
    for (int r = 0; r < 2; ++r)
      for (int e = 0; e < remote->topLevelItem(r)->childCount(); ++e) {
        remote->setCurrentItem(remote->topLevelItem(r)->child(e));
        check("remote entry");
      }
  }

  // The same click binds the same phone whatever the entry's name (a long
  // name wraps the label above the list onto a second line).
  void thePhoneListStaysPutUnderTheLabel() {
    TestWindow w;
    w.showTab("TabSheet9");
    auto* remote = w.find<QTreeWidget>("RemCtrl");
    auto* phones = w.find<QListWidget>("RemFhone");
    QPoint firstRow;
    QTreeWidgetItem* commands = remote->topLevelItem(0);
    for (int e = 0; e < commands->childCount(); ++e) {
      remote->setCurrentItem(commands->child(e));
      QCoreApplication::processEvents();
      const QPoint point = phones->mapTo(w.window.get(), phones->visualItemRect(phones->item(0)).center());
      if (e == 0) firstRow = point;
      QCOMPARE(point, firstRow);
      QWidget* under = w->childAt(firstRow);
      QVERIFY(under == phones->viewport());
      QCOMPARE(phones->row(phones->itemAt(phones->viewport()->mapFrom(w.window.get(), firstRow))), 0);
    }
  }

  void listsShowTheirTextsWhole() {
    TestWindow w;
    // Users: the longest caption fits its column; a selected row is not drawn white on pale blue.
    w.showTab("TabSheet8");
    auto* users = w.find<QTreeWidget>("UserList");
    QVERIFY(users->columnWidth(0) > users->fontMetrics().horizontalAdvance(ui::Q(UserCaption(27))));
    QVERIFY(users->styleSheet().contains("item:selected"));
    // Relays: all ten loop events of "RelayHs1" in view.
    w.showTab("TabSheet4");
    auto* relays = w.find<QTreeWidget>("RelayTree");
    relays->setCurrentItem(relays->topLevelItem(0)->child(0));
    QCoreApplication::processEvents();
    auto* hs1 = w.find<QListWidget>("RelayHs1");
    QVERIFY(hs1->count() == 10);
    QVERIFY(hs1->visualItemRect(hs1->item(9)).bottom() < hs1->viewport()->height());
    // Intervals: a range's name is not elided while the values have room.
    w.showTab("TabSheet3");
    auto* loops = w.find<QTreeWidget>("HsTree");
    loops->setCurrentItem(loops->topLevelItem(0));
    QCoreApplication::processEvents();
    auto* ranges = w.find<QTreeWidget>("IntList");
    for (int r = 0; r < ranges->topLevelItemCount(); ++r)
      QVERIFY(ranges->columnWidth(0) >= ranges->fontMetrics().horizontalAdvance(ranges->topLevelItem(r)->text(0)));
  }
};

VORSIN_UI_TEST(LayoutTest)
#include "layout_test.moc"
