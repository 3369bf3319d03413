// The page "Реле" driven through its widgets.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "model/relay_rules.h"
#include "model/relays.h"
#include "registry.h"
#include "ui/dest_menu.h"
#include "ui/relays_page.h"
#include "ui/text.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

struct Page {
  explicit Page(TestWindow& w) : w(w) {
    w.showTab("TabSheet4");
    page = w.find<ui::RelaysPage>("TabSheet4");
    tree = w.find<QTreeWidget>("RelayTree");
  }
  Configuration& config() { return w->workspace().config; }
  QTreeWidgetItem* node(int r, int g = -1, int i = -1) {
    QTreeWidgetItem* n = tree->topLevelItem(r);
    if (g >= 0) n = n->child(g);
    if (i >= 0) n = n->child(i);
    return n;
  }
  // A right click on the node; returns the menu's captions, submenus as "title>".
  QStringList rightClick(QTreeWidgetItem* n) {
    tree->scrollToItem(n);
    page->fillContextMenu(tree->visualItemRect(n).center());
    QStringList captions;
    for (QAction* a : w->destMenu().menu()->actions())
      captions << (a->isSeparator() ? QString("-") : a->menu() ? a->text() + ">" : a->text());
    return captions;
  }
  QMenu* submenu(const QString& title) {
    for (QAction* a : w->destMenu().menu()->actions())
      if (a->menu() && a->text() == title) return a->menu();
    qFatal("no submenu");
  }
  static QStringList texts(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions()) out << (a->isSeparator() ? QString("-") : a->text());
    return out;
  }
  void trigger(const QString& caption, QMenu* menu = nullptr) {
    for (QAction* a : (menu ? menu : w->destMenu().menu())->actions())
      if (a->text() == caption) return a->trigger();
    qFatal("no menu item");
  }
  bool panel(const char* name) { return !w.find<QGroupBox>(name)->isHidden(); }
  QListWidget* list(const char* name) { return w.find<QListWidget>(name); }
  void check(const char* name, int row) {
    QListWidgetItem* item = list(name)->item(row);
    item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  }
  bool underlined() { return w.find<QLabel>("Label29")->font().underline(); }
  QTimer* timer() { return w.find<QTimer>("Timer1"); }

  TestWindow& w;
  ui::RelaysPage* page;
  QTreeWidget* tree;
};

RelayBinding Binding(int id, int flags, int priority) {
  RelayBinding b;
  b.w[1] = id;
  b.w[2] = flags;
  b.w[3] = priority;
  return b;
}

}  // namespace

class RelaysPageTest : public QObject {
  Q_OBJECT
 private slots:
  void fireRelayHasOneNodeNoPanelsAndNoMenu() {
    TestWindow w;
    w->workspace().config.general.loopFlags(2) = 0x15;  // loop 3 fire, powered by relay 2
    w->workspace().config.relayBindings[1][0] = {Binding(21, 0, 1)};
    Page p(w);
    QCOMPARE(p.node(1)->childCount(), 1);
    QCOMPARE(p.node(1, 0)->text(0), QString("питание пожарного шлейфа"));
    QCOMPARE(p.node(0)->childCount(), 5);
    QCOMPARE(p.node(0, 2)->text(0), QString("Шлейф3: Пожарный"));
    QCOMPARE(p.rightClick(p.node(0, 0)).size(), 4);  // relay 1 as ever
    QVERIFY(p.panel("GroupBox1") && p.panel("RelParam"));
    QVERIFY(p.rightClick(p.node(1, 0)).isEmpty());
    QVERIFY(!p.panel("GroupBox1") && !p.panel("RelParam") && !p.panel("ReactPanel"));
    QVERIFY(p.rightClick(p.node(1)).isEmpty());
    QCOMPARE(p.config().relayBindings[1][0].size(), 1u);  // kept for later
  }

  void menusOfferTheGroupsItemsAndDeleteFindsTheBindingAgain() {
    TestWindow w;
    Page p(w);
    QCOMPARE(p.rightClick(p.node(0)), QStringList{"Очистить реле"});
    QCOMPARE(p.rightClick(p.node(0, 4)), (QStringList{"по событиям>", "-", "Общие: очистить"}));
    QCOMPARE(Page::texts(p.submenu("по событиям")),
             (QStringList{"ручной запуск", "тестовое сообщение 1", "тестовое сообщение 2", "Датчик вскрытия",
                          "Touch memory (Поднесение)", "Touch memory (Отжатие)", "-", "принуждение", "снятие",
                          "взятие", "задержка на снятие", "задержка на взятие", "пожарная тревога",
                          "охранная тревога", "котрольный вход не в норме", "неисправность"}));
    const QString group = p.node(1, 1)->text(0);
    QCOMPARE(p.rightClick(p.node(1, 1)), (QStringList{"по интервалам>", "по событиям>", "-", group + ": очистить"}));
    QCOMPARE(Page::texts(p.submenu("по событиям")).first(), QString("принуждение"));
    QStringList ranges;
    for (const auto& name : RelayHs2Items(p.config(), 1)) ranges << ui::Q(name);
    QVERIFY(!ranges.isEmpty());
    QCOMPARE(Page::texts(p.submenu("по интервалам")), ranges);
    p.trigger("снятие", p.submenu("по событиям"));
    QCOMPARE(p.config().relayBindings[1][1], std::vector<RelayBinding>{Binding(21, 0, 1)});
    QCOMPARE(p.node(1, 1, 0)->text(0), QString("снятие"));
    QVERIFY(w->workspace().marks.loopRelayEdited[1]);
    p.rightClick(p.node(1, 1));
    QVERIFY(!Page::texts(p.submenu("по событиям")).contains("снятие"));

    // The binding panel edits its binding until the binding is gone.
    p.config().relayBindings[1][1].insert(p.config().relayBindings[1][1].begin(), Binding(20, 0, 1));
    w->refreshPages();
    QVERIFY(!p.panel("RelParam") && !p.panel("ReactPanel"));
    QCOMPARE(p.rightClick(p.node(1, 1, 1)).last(), QString("снятие: удалить"));
    QVERIFY(p.panel("ReactPanel"));
    p.config().relayBindings[1][1].erase(p.config().relayBindings[1][1].begin());  // the list moved under it
    w.find<QCheckBox>("CheckBox38")->click();
    QCOMPARE(p.config().relayBindings[1][1][0].w[2], 0x80);  // found by identifier, not position
    p.trigger("снятие: удалить");
    QVERIFY(p.config().relayBindings[1][1].empty());
    QVERIFY(!p.panel("ReactPanel") && p.panel("RelParam"));
    QCOMPARE(p.tree->currentItem(), p.node(1, 1));
  }

  void checksToggleWithinTheRelayBlock() {
    TestWindow w;
    Page p(w);
    p.tree->setCurrentItem(p.node(0, 0));
    QVERIFY(p.list("RelayHs1")->isVisible() && !p.list("RelayReact")->isVisible());
    p.check("RelayHs1", 1);  // "снятие"
    QCOMPARE(p.config().relayBindings[0][0], std::vector<RelayBinding>{Binding(21, 0, 1)});
    QCOMPARE(p.node(0, 0, 0)->text(0), QString("снятие"));
    QVERIFY(w.find<QComboBox>("ComboBox19")->isEnabled());
    // A click on the mark of another item binds it once.
    QListWidget* hs1 = p.list("RelayHs1");
    const QRect rect = hs1->visualItemRect(hs1->item(2));
    QStyleOptionViewItem option;
    option.initFrom(hs1);
    option.rect = rect;
    option.features = QStyleOptionViewItem::HasCheckIndicator;
    const QRect mark = hs1->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, hs1);
    QTest::mouseClick(hs1->viewport(), Qt::LeftButton, {}, mark.center());
    QCOMPARE(p.config().relayBindings[0][0].size(), 2u);
    QCOMPARE(hs1->item(2)->checkState(), Qt::Checked);
    QVERIFY(w.find<QComboBox>("ComboBox19")->isEnabled());
    emit hs1->itemDoubleClicked(hs1->item(2));
    QCOMPARE(p.tree->currentItem(), p.node(0, 0, 1));
    QVERIFY(p.panel("ReactPanel") && !p.panel("RelParam"));
    p.tree->setCurrentItem(p.node(0, 0));
    p.check("RelayHs1", 2);
    p.check("RelayHs1", 1);
    QVERIFY(p.config().relayBindings[0][0].empty());
    QCOMPARE(p.node(0, 0)->childCount(), 0);
    QVERIFY(!w.find<QComboBox>("ComboBox19")->isEnabled());

    // Loops 1 and 2 full of events: the block holds 61 bytes.
    for (int g : {0, 1})
      for (int id = 20; id <= 29; ++id) p.config().relayBindings[0][g].push_back(Binding(id, 0, 1));
    w->refreshPages();
    p.tree->setCurrentItem(p.node(0, 2));
    p.check("RelayHs1", 0);  // takes the empty list's filler place
    p.check("RelayHs1", 1);
    QCOMPARE(RelayBodySize(p.config(), 0), 63u);
    QVERIFY(w.messages.shown.empty());
    p.check("RelayHs1", 2);
    QCOMPARE(w.messages.shown.size(), 1u);
    QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
    QCOMPARE(p.list("RelayHs1")->item(2)->checkState(), Qt::Unchecked);
    QCOMPARE(p.config().relayBindings[0][2].size(), 2u);
    QCOMPARE(p.node(0, 2)->childCount(), 2);
    p.rightClick(p.node(0, 2));
    p.trigger("взятие", p.submenu("по событиям"));
    QCOMPARE(w.messages.shown.size(), 2u);
    QCOMPARE(p.config().relayBindings[0][2].size(), 2u);
  }

  void filledControlsShowStoredValuesAndKeepThem() {
    TestWindow w;
    Page p(w);
    p.config().relayTimeLimit[0] = 7;
    p.config().relayBindings[0][4] = {Binding(40, 0x47, 12)};  // pattern 7, priority 12: from a file
    w->refreshPages();
    p.tree->setCurrentItem(p.node(0));
    auto* limit = w.find<QComboBox>("ComboBox30");
    QCOMPARE(limit->currentIndex(), -1);
    QCOMPARE(int(p.config().relayTimeLimit[0]), 7);
    limit->setCurrentIndex(4);
    emit limit->activated(4);
    QCOMPARE(limit->currentText(), QString("9 минут"));
    QCOMPARE(int(p.config().relayTimeLimit[0]), 6);
    p.tree->setCurrentItem(p.node(0, 4));
    p.tree->setCurrentItem(p.node(0));
    QCOMPARE(limit->currentIndex(), 4);

    p.tree->setCurrentItem(p.node(0, 4, 0));
    QCOMPARE(w.find<QComboBox>("ComboBox13")->currentIndex(), -1);
    QCOMPARE(w.find<QComboBox>("ComboBox18")->currentIndex(), -1);
    QVERIFY(!w.find<QCheckBox>("CheckBox38")->isChecked());
    QVERIFY(w.find<QCheckBox>("CheckBox39")->isChecked());
    p.tree->setCurrentItem(p.node(0, 4));
    p.list("RelayReact")->setCurrentRow(0);
    QVERIFY(w.find<QCheckBox>("CheckBox40")->isChecked());   // once = not cyclic
    QVERIFY(!w.find<QCheckBox>("CheckBox41")->isChecked());  // stop on restore = checked stop
    QCOMPARE(w.find<QComboBox>("ComboBox19")->currentIndex(), -1);
    QCOMPARE(p.config().relayBindings[0][4][0], Binding(40, 0x47, 12));
    w.find<QCheckBox>("CheckBox40")->click();
    QCOMPARE(p.config().relayBindings[0][4][0], Binding(40, 0xC7, 12));
    // The remembered item comes back with the group.
    p.tree->setCurrentItem(p.node(0));
    p.tree->setCurrentItem(p.node(0, 4));
    QCOMPARE(p.list("RelayReact")->currentRow(), 0);
    QVERIFY(w.find<QComboBox>("ComboBox19")->isEnabled());
  }

  void previewPlaysThePatternAndStopsSafely() {
    TestWindow w;
    Page p(w);
    p.config().relayBindings[0][4] = {Binding(40, 4, 1), Binding(41, 0x85, 1)};  // "Меандр 4"; index 5
    w->refreshPages();
    p.tree->setCurrentItem(p.node(0, 4));
    p.list("RelayReact")->setCurrentRow(0);
    QList<QPair<bool, int>> seen;
    while (p.timer()->isActive() && seen.size() < 10) {
      seen.append({p.underlined(), p.timer()->interval()});
      p.page->previewTick();
    }
    QCOMPARE(seen, (QList<QPair<bool, int>>{{true, 500}, {false, 500}, {true, 500}, {false, 2000}}));

    // Three patterns and index 5, then a step of no length: no tick, no spin.
    p.config().relayPatterns.resize(3);
    p.list("RelayReact")->setCurrentRow(1);
    QVERIFY(!p.timer()->isActive() && !p.underlined());
    p.config().relayPatterns[0].w[1] = 2;
    p.config().relayPatterns[0].w[3] = 0x80;
    p.config().relayBindings[0][4][0].w[2] = 0x80;  // cyclic "Вкл. непрерывно"
    p.list("RelayReact")->setCurrentRow(0);
    QVERIFY(p.underlined() && p.timer()->isActive());
    p.page->previewTick();
    QVERIFY(!p.timer()->isActive());

    p.list("RelayReact")->setCurrentRow(1);
    p.list("RelayReact")->setCurrentRow(0);
    QVERIFY(p.timer()->isActive());
    w.find<QPushButton>("Button2")->click();  // "Обновить" reads the seven patterns again
    QCOMPARE(p.config().relayPatterns.size(), 7u);
    QCOMPARE(w.find<QComboBox>("ComboBox19")->count(), 7);
    w->newConfiguration();
    QVERIFY(!p.timer()->isActive() && !p.underlined());
    QVERIFY(!p.panel("RelParam"));
  }
};

VORSIN_UI_TEST(RelaysPageTest)
#include "relays_page_test.moc"
