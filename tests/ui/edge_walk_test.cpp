// Showing and refreshing the pages over a configuration at either edge of
// what the device holds: looking changes nothing, so a save right after is
// the same file.
#include <QAction>
#include <QFile>
#include <QTabWidget>
#include <QTreeWidget>

#include "model/config_diff.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/event_rules.h"
#include "model/users.h"
#include "project/project_file.h"
#include "registry.h"
#include "ui/page.h"
#include "ui/sms_editor.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

// Longest numbers and texts, largest counts and periods, every flag set.
void FillEdges(Workspace& ws) {
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  g.testPeriod1() = 0xFF;  // 127 hours
  g.testPeriod2() = 0x7F;  // 127 minutes
  g.lineCheckPeriod() = 0xFF;
  g.priorityDialTime() = 254;
  g.lineDialDelay() = 254;
  g.dialFlags() = 0xFF;
  g.serviceFlags() = 0xFF;
  for (int k = 1; k <= 16; ++k) g.voiceRepeat(k) = 255;
  for (int L = 0; L < kLoops; ++L) {
    g.armDelay(L) = 255;
    g.disarmDelay(L) = 255;
    g.reactionTime(L) = 255;
    g.loopFlags(L) = 0xFF;
    g.commonLoops(L) = 0xFF;
  }
  c.ownNumber = "1234567890123456";  // the 8-byte field holds 16
  c.smsCentre = "+79020000111#*+1";
  c.expressOutNumber = "*100#*100#*100#1";
  c.expressInNumber = Cp("Баланс 1234567");  // 14, the text form's limit
  for (int i = 0; i < kWorkPhones; ++i) c.workPhones[i] = "+7901234567890" + std::to_string(10 + i);
  c.workPhones[7] = "???";
  c.cusdForwardNumber = "*102#*102#*102#1";
  c.pinCode = "9999";
  c.deviceAddress = "9999";
  c.addressees.clear();
  const std::string phones[] = {"p89161234t", Cp("П8916123Тг"), "?", Cp("гп+*#01234"), "PT12345678"};
  for (int a = 0; a < kMaxAddressees; ++a) {
    Addressee ad = NewAddressee(c);
    ad.name = Cp("Адресат с очень длинным именем ") + std::to_string(a);
    ad.addresseeFlags = a % 2 ? 0xFF : 0xC8;  // both delivery modes with confirmation
    ad.confirmWait = 127;
    ad.deliveryLimit = a;
    ad.phones.clear();
    for (int p = 0; p < 5; ++p) {
      AddresseePhone ph;
      ph.autoNumber = p + 1;
      ph.name = Cp("Телефон ") + std::to_string(p + 1);
      ph.formats = 0x77;
      ph.phoneFlags = static_cast<uint8_t>(0xF0 | (p + 3));
      ph.phoneNumber = phones[p];
      ph.cellPrefix = phones[(p + 1) % 5];
      ph.linePrefix = phones[(p + 2) % 5];
      ad.phones.push_back(ph);
    }
    c.addressees.push_back(ad);
  }
  c.users.clear();
  for (int n = 1; n <= kMaxUsers; ++n) {
    User u = NewUser(n);
    u.w[2] = 0xFF;
    u.text = std::to_string(100000 + n * 27000 % 900000);  // six digits
    c.users.push_back(u);
    AssignKey(c.users, n, {0xFF, 0xFE, 0xFD, 0xFC, 0xFB, static_cast<uint8_t>(n)});
  }
  for (auto& r : c.remoteCommands) {
    r.w[1] = 0xFF;
    r.text = Cp("пароль команды длинный 255");
  }
  for (auto& r : c.remoteControls) r.w[1] = 0xFF;
  c.workPhoneControl.fill(0xFF);
  c.relayTimeLimit = {255, 255};
  for (auto& e : c.events) {
    e.w[2] = 999;
    e.w[3] = 99;
    e.w[4] = 999;
    e.w[9] = 0xFF;
  }
  c.timeEvents.clear();
  for (int d = 0; d < 8; ++d) {
    TimeEvent t;
    t.w[1] = d;
    t.w[2] = 23;
    t.w[3] = 59;
    t.w[4] = d % 2;
    c.timeEvents.push_back(t);
  }
  c.lastLoadTime = "31.12.2099 23:59:59";
}

// Zeros and empty texts, and codes no list shows: an unknown profile, a
// table beyond the tables, voice and SMS numbers beyond their lists.
void FillLowEdges(Workspace& ws) {
  Configuration& c = ws.config;
  GeneralSettings& g = c.general;
  for (size_t offset : {GeneralSettings::kTestPeriod1, GeneralSettings::kTestPeriod2, GeneralSettings::kLineCheckPeriod,
                        GeneralSettings::kPriorityDialTime, GeneralSettings::kLineDialDelay})
    g.at(offset) = 0;
  g.dialFlags() = 0;
  g.serviceFlags() = 0;
  g.setProfileIndex(12345);
  for (int L = 0; L < kLoops; ++L) {
    g.armDelay(L) = g.disarmDelay(L) = g.reactionTime(L) = g.loopFlags(L) = g.commonLoops(L) = 0;
    g.intervalIndex(L) = 200;
  }
  c.loopLatch.fill(0);
  c.ownNumber.clear();
  c.smsCentre.clear();
  c.expressOutNumber = "12ab";  // no number a field would keep
  c.expressInNumber.clear();
  c.workPhones.fill({});
  c.pinCode = "12";  // shorter than a PIN
  c.deviceAddress.clear();
  c.workPhoneControl.fill(0);
  c.relayTimeLimit = {0, 0};
  c.users.clear();
  for (auto& e : c.events) {
    e.w[EventEntry::kVoiceNew] = e.w[EventEntry::kVoiceRestore] = 99;
    e.w[EventEntry::kSmsNew] = e.w[EventEntry::kSmsRestore] = 9999;
  }
}

// Every page and the SMS editor fill themselves anew, twice, the editor on
// each of its rows: filling never stores.
void RefreshEverything(TestWindow& w) {
  QTabWidget* pages = w->pageControl();
  for (int t = 0; t < pages->count(); ++t) {
    pages->setCurrentIndex(t);
    auto* page = dynamic_cast<ui::Page*>(pages->widget(t));
    QVERIFY(page != nullptr);
    page->refresh();
    page->shown();
  }
  ui::SmsEditor* sms = w->forms().smsEditor;
  sms->showEditor();
  auto* list = sms->findChild<QTreeWidget*>("Sms");
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    list->setCurrentItem(list->topLevelItem(i));
    sms->refresh();
  }
  sms->hide();
  pages->setCurrentIndex(0);
  QApplication::processEvents();
}

std::vector<std::string> Differences(TestWindow& w, const QString& a, const QString& b) {
  const auto load = [&](const QString& path) {
    Workspace ws;
    ReadProjectFile(ws, w->vocabulary(), QFile::encodeName(path).toStdString(), w.messages);
    return ws.config;
  };
  return DiffConfigurations(load(a), load(b));
}

}  // namespace

class EdgeWalkTest : public QObject {
  Q_OBJECT
 private slots:
  // Looking changes nothing, so a save right after is the same file.
  void showingEveryPageStoresNothing() {
    lookingStoresNothing(FillEdges, [](TestWindow& w) { WalkAllPages(w); });
  }
  void refreshingStoresNothingAtEitherEdge() {
    lookingStoresNothing(FillEdges, RefreshEverything);
    lookingStoresNothing(FillLowEdges, [](TestWindow& w) {
      RefreshEverything(w);
      WalkAllPages(w);
    });
  }

 private:
  void lookingStoresNothing(void (*fill)(Workspace&), const std::function<void(TestWindow&)>& look) {
    TestWindow w;
    Workspace ws = w->workspace();
    fill(ws);
    const QString first = w.dir() + "/Settings/edge.dat";
    QCOMPARE(WriteProjectFile(ws, QFile::encodeName(first).toStdString(), w.messages), kProjectOk);

    w.chosenPath = first;
    w->findChild<QAction*>("N4")->trigger();
    QVERIFY(w.messages.shown.empty());
    look(w);
    const QString second = w.dir() + "/Settings/again.dat";
    w.chosenPath = second;
    w->findChild<QAction*>("N5")->trigger();

    QFile a(first), b(second);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    const QByteArray before = a.readAll(), after = b.readAll();
    if (before != after) {
      for (const auto& line : Differences(w, first, second)) qWarning("%s", line.c_str());
    }
    QCOMPARE(after.toHex(), before.toHex());
  }
};

VORSIN_UI_TEST(EdgeWalkTest)
#include "edge_walk_test.moc"
