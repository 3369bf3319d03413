// The page "Шлейфы" driven through its widgets and the shared context menu.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

#include "model/cp1251.h"
#include "model/loops.h"
#include "registry.h"
#include "ui/dest_menu.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

// Beside the shipped tables (positions 1..8): a six-range fire table in
// place of the shipped one, and kind-0 control tables of five ("Пять",
// position 9) and two ranges ("Два", position 10).
void MoreTables(Vocabulary& v) {
  v.Write("IntervalDef3", "Val5", "1,2");
  v.Write("IntervalDef3", "Val6", "3,4");
  v.Write("IntervalDef3", "Val5_CodeFire", "64, 373,00,000, 16,16, 0,0, 0");
  v.Write("IntervalDef3", "Val6_CodeFire", "64, 373,00,000, 16,16, 0,0, 0");
  v.Write("IntervalCustom4", "Name", Cp("Пять"));
  for (int r = 1; r <= 5; ++r) {
    const std::string key = "Val" + std::to_string(r);
    v.Write("IntervalCustom4", key, std::to_string(r * 10) + "," + std::to_string(r * 10 + 9));
    v.Write("IntervalCustom4", key + "_NameCont", Cp("Уровень ") + std::to_string(r));
    v.Write("IntervalCustom4", key + "_CodeCont", "64, 150,00,000, 16,16, 0,0, 0");
  }
  v.Write("IntervalCustom5", "Name", Cp("Два"));
  v.Write("IntervalCustom5", "Val1", "0,100");
  v.Write("IntervalCustom5", "Val2", "101,255");
  v.Write("IntervalCustom5", "Val2_NameCont", Cp("Сработка"));
}

class LoopsWindow : public TestWindow {
 public:
  LoopsWindow() : TestWindow(MoreTables) { showTab("TabSheet3"); }
  Workspace& ws() { return window->workspace(); }
  GeneralSettings& g() { return ws().config.general; }
  QTreeWidget* tree() { return find<QTreeWidget>("HsTree"); }
  void select(int loop) { tree()->setCurrentItem(tree()->topLevelItem(loop)); }

  // Opens the context menu of the loop's node, or of the interval caption.
  QStringList kindMenu(int loop) {
    emit tree()->customContextMenuRequested(tree()->visualItemRect(tree()->topLevelItem(loop)).center());
    return captions();
  }
  QStringList intervalMenu() {
    emit find<QLabel>("Label21")->customContextMenuRequested(QPoint(2, 2));
    return captions();
  }
  QStringList captions() {
    QStringList out;
    for (QAction* a : window->destMenu().menu()->actions()) out << a->text();
    return out;
  }
  // Runs the item of the open menu and closes it.
  void choose(const QString& caption) {
    QMenu* menu = window->destMenu().menu();
    for (QAction* a : menu->actions()) {
      if (a->text() == caption) {
        menu->hide();
        a->trigger();
        // The popup took the activation; focus changes need it back.
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window.get())) qWarning("the window did not become active");
        return;
      }
    }
    QFAIL(qPrintable("no menu item " + caption));
  }
  void setKind(int loop, const QString& kind) {
    kindMenu(loop);
    choose(kind);
  }
  std::vector<EventEntry> events(int from, int to) {
    return {ws().config.events.begin() + from, ws().config.events.begin() + to};
  }
  void type(const char* box, const QString& text) {
    auto* combo = find<QComboBox>(box);
    Enter(combo);
    combo->lineEdit()->clear();
    TypeText(combo, text);
    PressEnter(combo);
  }
};

void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

}  // namespace

class LoopsPageTest : public QObject {
  Q_OBJECT
 private slots:
  void guardToFireResetsLoop3AndOnlyMovesLoop4() {
    LoopsWindow w;
    QCOMPARE(w.kindMenu(0).size(), 2);
    QCOMPARE(w.kindMenu(2), QStringList({"Контрольный вход", "Охранный шлейф", "Пожарный шлейф"}));
    w.choose("Охранный шлейф");
    QCOMPARE(int(w.g().intervalIndex(2)), 4);
    QVERIFY(w.find<QGroupBox>("GuardStub")->isVisible());
    Configuration& c = w.ws().config;
    for (int M = 0; M < kLoops; ++M) w.g().commonLoops(M) = 0x0F;
    c.loopLatch[4] = 93;
    c.loopLatch[5] = 123;
    for (int R = 0; R < kRelays; ++R) {
      c.relayBindings[R][2].push_back(RelayBinding{{0, 21, 0, 1}});
      c.relayBindings[R][3].push_back(RelayBinding{{0, 22, 0, 1}});
    }
    const int loop4 = w.g().loopEventBase(3);
    const auto loop4Events = w.events(loop4, loop4 + 4);

    w.setKind(2, "Пожарный шлейф");  // six ranges: two entries more
    QVERIFY(w.messages.shown.empty());
    QCOMPARE(int(w.g().loopFlags(2)), 5);
    QCOMPARE(int(w.g().armDelay(2)), 8);
    QCOMPARE(int(w.g().disarmDelay(2)), 8);
    QCOMPARE(int(w.g().intervalIndex(2)), 3);
    QCOMPARE(int(c.loopLatch[4]) + c.loopLatch[5], 0);
    QCOMPARE((std::vector<int>{w.g().commonLoops(0), w.g().commonLoops(1), w.g().commonLoops(2),
                                w.g().commonLoops(3)}),
             (std::vector<int>{0x0D, 0x0D, 0, 0x0D}));
    QVERIFY(c.relayBindings[0][2].empty() && c.relayBindings[1][2].empty());
    QCOMPARE(c.relayBindings[0][3].size() + c.relayBindings[1][3].size(), size_t(2));
    QCOMPARE(w.tree()->topLevelItem(2)->text(0), QString("Шлейф 3: Пожарный"));
    QVERIFY(w.find<QGroupBox>("FireStub")->isVisible() && !w.find<QGroupBox>("GuardStub")->isVisible());
    QCOMPARE(int(w.g().loopEventBase(3)), loop4 + 2);
    QCOMPARE(w.events(loop4 + 2, loop4 + 6), loop4Events);
    QCOMPARE(ToUtf8(c.events[w.g().loopEventBase(2) + 1].text), std::string("Шлейф3: Пожар"));
    QCOMPARE(w.find<QTreeWidget>("IntList")->topLevelItemCount(), 6);

    // The relay that powers the fire loop.
    auto* relay = w.find<QComboBox>("ComboBox17");
    Enter(relay);
    QTest::keyClick(relay, Qt::Key_Down);
    QCOMPARE(int(w.g().loopFlags(2)), 0x15);
  }

  void cancelChangesNothingAndOkClearsTheMarks() {
    LoopsWindow w;
    Configuration& c = w.ws().config;
    w.setKind(1, "Охранный шлейф");
    for (int M = 0; M < kLoops; ++M) w.g().commonLoops(M) = static_cast<uint8_t>(M + 5);
    c.loopLatch.fill(93);
    c.relayBindings[0][1].push_back(RelayBinding{{0, 21, 0, 1}});
    c.events[w.g().loopEventBase(1)].w[9] = 0x80;
    w.ws().marks.loopRelayEdited[1] = w.ws().marks.loopEventsEdited[1] = true;
    const Configuration before = c;

    w.messages.answer = kAnswerCancel;
    w.setKind(1, "Контрольный вход");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Следующие параметры будут установленны по умолчанию:\n"
                                               "   Шлейф2: параметры реле\n   Шлейф2: параметры событий"));
    w.intervalMenu();
    w.choose("Шлейф отключен");
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QVERIFY(c == before);
    QVERIFY(w.ws().marks.loopRelayEdited[1] && w.ws().marks.loopEventsEdited[1]);
    QCOMPARE(w.tree()->topLevelItem(1)->text(0), QString("Шлейф 2: Охранный"));

    w.messages.answer = kAnswerOk;
    w.setKind(1, "Контрольный вход");
    QVERIFY(!w.ws().marks.loopRelayEdited[1] && !w.ws().marks.loopEventsEdited[1]);
    QCOMPARE(int(w.g().loopFlags(1)), 24);
    QVERIFY(c.relayBindings[0][1].empty());
    w.setKind(1, "Охранный шлейф");  // no marks now: no question
    QCOMPARE(w.messages.shown.size(), size_t(3));
  }

  void openingAProjectMarksTheLoopsAsEdited() {
    LoopsWindow w;
    w.chosenPath = w.dir() + "/Settings/site.dat";
    w->saveProjectAs();
    w->newConfiguration();
    w->openProject();
    w.messages.answer = kAnswerCancel;
    w.setKind(0, "Охранный шлейф");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(int(w.g().loopFlags(0)), 24);
  }

  void tableSwitchesLeaveOtherLoopsByteIdentical() {
    LoopsWindow w;
    const QStringList offered = w.intervalMenu();
    QVERIFY(offered.isEmpty());  // no loop selected
    w.select(0);
    QCOMPARE(w.intervalMenu(), QStringList({"Шлейф отключен", "Контрольный вход (шл. 1-2)",
                                            "Двухпороговый (шл. 1-2)", "Пять", "Два"}));
    const int G = w.g().loopEventBase(0);
    const auto general = w.events(0, G);
    const int size = int(w.ws().config.events.size());
    const auto others = w.events(G + 2, size);
    auto* list = w.find<QTreeWidget>("IntList");
    const struct {
      const char* table;
      int ranges;
      int block;
    } steps[] = {{"Пять", 5, 4}, {"Два", 2, 2}, {"Пять", 5, 4}};
    for (const auto& [table, ranges, block] : steps) {
      w.intervalMenu();
      w.choose(table);
      QCOMPARE(w.find<QLabel>("Label21")->text(), QString("Интервалы: ") + table);
      QCOMPARE(list->topLevelItemCount(), ranges);
      QCOMPARE(int(w.g().loopEventBase(1)), G + block);
      QCOMPARE(w.events(0, G), general);
      QCOMPARE(w.events(G + block, size - 2 + block), others);
      if (ranges == 2) {
        QCOMPARE(ToUtf8(w.ws().config.events[G].text), std::string("Шлейф1: Сработка"));
        QCOMPARE(ToUtf8(w.ws().config.events[G + 1].text), std::string("Событие неопределено"));
      }
    }
    QCOMPARE(list->topLevelItem(4)->text(1), QString("50,59"));

    // A table that does not exist shows no rows of another table.
    w.g().intervalIndex(0) = 200;
    w.select(1);
    w.select(0);
    QCOMPARE(w.find<QLabel>("Label21")->text(), QString("Ощибка: интервал не определён"));
    QCOMPARE(list->topLevelItemCount(), 0);
  }

  void defaultTablesKeepGuardAndFireAlarms() {
    LoopsWindow w;
    w.setKind(0, "Охранный шлейф");
    w.setKind(3, "Пожарный шлейф");
    w.ws().marks.loopEventsEdited[3] = true;
    const Configuration before = w.ws().config;
    w.messages.answer = kAnswerCancel;
    w.find<QAction>("N9")->trigger();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.ws().config == before);
    QVERIFY(w.find<QWidget>("HsPanel")->isVisible());

    w.messages.answer = kAnswerOk;
    w.find<QAction>("N9")->trigger();
    QVERIFY(!w.ws().marks.loopEventsEdited[3]);
    QVERIFY(!w.find<QWidget>("HsPanel")->isVisible());  // every page rebuilt
    w.tree()->parentWidget()->layout()->activate();
    QVERIFY(w.tree()->x() < 20);  // the tree stays at the left edge without the panel
    QCOMPARE(w.tree()->topLevelItem(3)->text(0), QString("Шлейф 4: Пожарный"));
    for (int L : {0, 3}) {
      const int first = w.g().loopEventBase(L);
      for (const auto& e : w.events(first, first + LoopRangeCount(w.ws().config, L) - 1))
        QVERIFY2(e.w[2] != 0, ToUtf8(e.text).c_str());
    }
  }

  void typedTimesFollowTheirRules() {
    LoopsWindow w;
    w.select(0);
    auto* reaction = w.find<QComboBox>("ComboBox14");
    QCOMPARE(reaction->currentText(), QString("50 мс."));
    const struct {
      QString typed;
      int stored;
      QString shown;
    } reactions[] = {{"0", 1, "50 мс."}, {"30", 0, "0 мс."}, {"15a49", 30, "1500 мс."}, {"1550", 30, "1500 мс."}};
    for (const auto& r : reactions) {
      w.type("ComboBox14", r.typed);
      QCOMPARE(int(w.g().reactionTime(0)), r.stored);
      QCOMPARE(reaction->currentText(), r.shown);
    }

    w.setKind(1, "Охранный шлейф");
    auto* arm = w.find<QComboBox>("ComboBox11");
    for (const char* refused : {"0", "300", "сек"}) {
      w.type("ComboBox11", refused);
      QCOMPARE(int(w.g().armDelay(1)), 15);
      QCOMPARE(arm->currentText(), QString("15 секунд"));
    }
    w.type("ComboBox11", "22");
    QCOMPARE(arm->currentText(), QString("22 секунды"));
    w.type("ComboBox12", "1");
    QCOMPARE(int(w.g().disarmDelay(1)), 1);
    QCOMPARE(w.find<QComboBox>("ComboBox12")->currentText(), QString("1 секунда"));

    w.type("ComboBox29", "на 100 мин");
    QCOMPARE(int(w.ws().config.loopLatch[2]), 253);
    QCOMPARE(w.find<QComboBox>("ComboBox29")->currentText(), QString(" на 62 мин"));
    w.type("ComboBox29", "НЕТ");  // no digits, no keyword: kept
    QCOMPARE(int(w.ws().config.loopLatch[2]), 253);
    auto* rearm = w.find<QComboBox>("ComboBox28");
    Enter(rearm);
    QTest::keyClick(rearm, Qt::Key_Down);  // "отключено"
    QTest::keyClick(rearm, Qt::Key_Down);  // "через 30 cек"
    QCOMPARE(int(w.ws().config.loopLatch[3]), 93);
    QCOMPARE(rearm->currentText(), QString("через 30 cек"));
    Leave(rearm);
    QCOMPARE(rearm->currentText(), QString("30 сек"));
  }

  void optionBoxesAndCommonLoops() {
    LoopsWindow w;
    Workspace& ws = w.ws();
    w.setKind(1, "Охранный шлейф");
    Click(w.find<QCheckBox>("CheckBox21"));
    Click(w.find<QCheckBox>("CheckBox26"));
    QCOMPARE(int(w.g().commonLoops(1)), 10);
    Click(w.find<QCheckBox>("CheckBox29"));
    QCOMPARE(int(w.g().commonLoops(1)), 14);
    auto* own = w.find<QCheckBox>("CheckBox25");
    QVERIFY(!own->isEnabled() && own->isChecked());

    // Bit 5 decides whether the loop's own event is listed, on either kind.
    const std::pair<const char*, const char*> bit5[] = {{"Охранный шлейф", "CheckBox22"},
                                                        {"Контрольный вход", "CheckBox36"}};
    for (const auto& [kind, name] : bit5) {
      w.setKind(1, kind);
      ws.marks.eventsStale = ws.marks.reportsStale = false;
      Click(w.find<QCheckBox>(name));
      QCOMPARE(w.g().loopFlags(1) & 0x20, 0x20);
      QVERIFY(ws.marks.eventsStale && ws.marks.reportsStale);
    }
    ws.marks.eventsStale = false;
    Click(w.find<QCheckBox>("CheckBox33"));
    QCOMPARE(int(w.g().loopFlags(1)), 24 | 0x20 | 0x80);
    QVERIFY(!ws.marks.eventsStale);

    // Showing values the boxes do not list stores nothing.
    for (int L = 0; L < kLoops; ++L) {
      w.g().reactionTime(L) = 200;
      w.g().armDelay(L) = 0;
      w.g().loopFlags(L) |= 0x02;
      ws.config.loopLatch[2 * L] = 77;
      ws.config.loopLatch[2 * L + 1] = 255;
    }
    w.g().loopFlags(0) = 0x03;  // a fire loop 1 from a damaged file
    const Configuration before = ws.config;
    for (int L : {0, 1, 2, 3, 0}) w.select(L);
    w.showTab("TabSheet1");
    w.showTab("TabSheet3");
    QVERIFY(ws.config == before);
    QCOMPARE(w.find<QComboBox>("ComboBox14")->currentText(), QString("10000 мс."));
  }
};

VORSIN_UI_TEST(LoopsPageTest)
#include "loops_page_test.moc"
