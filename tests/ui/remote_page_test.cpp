// The page "Управление" driven through its widgets.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTreeWidget>

#include "registry.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

void SelectEntry(TestWindow& w, int root, int entry) {
  auto* tree = w.find<QTreeWidget>("RemCtrl");
  tree->setCurrentItem(entry < 0 ? tree->topLevelItem(root) : tree->topLevelItem(root)->child(entry));
}

QListWidgetItem* Phone(TestWindow& w, int i) { return w.find<QListWidget>("RemFhone")->item(i); }

void Check(QListWidgetItem* item, bool on) { item->setCheckState(on ? Qt::Checked : Qt::Unchecked); }

}  // namespace

class RemotePageTest : public QObject {
  Q_OBJECT
 private slots:
  void workPhoneTakesAnyNumberThenStartsAgain() {
    TestWindow w;
    w.showTab("TabSheet9");
    auto* phone3 = w.find<QLineEdit>("Edit14");
    Enter(phone3);
    TypeText(phone3, "12?");
    QCOMPARE(phone3->text(), QString("???"));
    QCOMPARE(w->workspace().config.workPhones[2], std::string("???"));
    TypeText(phone3, "5a#");
    QCOMPARE(phone3->text(), QString("5#"));
    QCOMPARE(w->workspace().config.workPhones[2], std::string("5#"));
    auto* cusd = w.find<QLineEdit>("Edit27");
    Enter(cusd);
    TypeText(cusd, "*100#");
    Leave(cusd);
    QCOMPARE(w->workspace().config.cusdForwardNumber, std::string("*100#"));
    w.find<QCheckBox>("CheckBox44")->click();
    QCOMPARE(int(w->workspace().config.general.serviceFlags()), 0x08);
  }

  void phoneModeWalk() {
    TestWindow w;
    w.showTab("TabSheet9");
    auto* panel = w.find<QWidget>("Panel5");
    QVERIFY(!panel->isVisible());
    SelectEntry(w, 1, 3);
    QVERIFY(panel->isVisible());
    auto* mode = w.find<QComboBox>("ComboBox25");
    auto* user = w.find<QComboBox>("ComboBox26");
    Check(Phone(w, 1), true);
    QCOMPARE(w->workspace().config.remoteControls[3].w[1], 0x40);
    QCOMPARE(Phone(w, 1)->text(), QString("Тел 2 у.з."));
    w.find<QListWidget>("RemFhone")->setCurrentRow(1);
    QCOMPARE(w.find<QLabel>("Label40")->text(), QString("Тел. 2"));
    QVERIFY(mode->isEnabled() && mode->currentIndex() == 0);
    QVERIFY(!user->isVisible());

    mode->setCurrentIndex(1);
    emit mode->activated(1);
    QCOMPARE(Phone(w, 1)->text(), QString("Тел 2 в\\с."));
    QCOMPARE(int(w->workspace().config.workPhoneControl[1]), 0);  // bit 7 only
    QVERIFY(user->isVisible() && user->isEnabled());
    user->setCurrentIndex(4);
    emit user->activated(4);
    QCOMPARE(int(w->workspace().config.workPhoneControl[1]), 4);

    // An unbound phone's modes cannot be changed; other entries show no modes.
    w.find<QListWidget>("RemFhone")->setCurrentRow(0);
    QVERIFY(!mode->isEnabled());
    SelectEntry(w, 1, 0);
    QCOMPARE(Phone(w, 1)->text(), QString("Тел 2"));
    QVERIFY(!mode->isVisible());
  }

  void commandPasswordsAndTheStalePanel() {
    TestWindow w;
    w.showTab("TabSheet9");
    auto* password = w.find<QLineEdit>("Edit20");
    SelectEntry(w, 0, 0);
    QCOMPARE(w.find<QLabel>("Label47")->text(), QString("Пароль для Взять под охрану"));
    Enter(password);
    TypeText(password, "я12");
    QCOMPARE(password->text(), QString("12"));
    password->setText("3я4");  // pasted
    emit password->textEdited(password->text());
    QCOMPARE(password->text(), QString("34"));
    QCOMPARE(w->workspace().config.remoteCommands[0].text, std::string("34"));
    SelectEntry(w, 0, 1);
    QCOMPARE(password->text(), QString());
    SelectEntry(w, 1, 0);
    QVERIFY(!password->isVisible());
    QCOMPARE(w->workspace().config.remoteCommands[1].text, std::string());

    // Showing the page shows the selected entry as the model has it now.
    SelectEntry(w, 0, 0);
    Check(Phone(w, 0), true);
    QCOMPARE(w->workspace().config.remoteCommands[0].w[1], 0x80);
    w->workspace().config.remoteCommands[0].w[1] = 0x01;
    w.showTab("TabSheet1");
    w.showTab("TabSheet9");
    QCOMPARE(Phone(w, 0)->checkState(), Qt::Unchecked);
    QCOMPARE(Phone(w, 7)->checkState(), Qt::Checked);
    Check(Phone(w, 0), false);
    QCOMPARE(w->workspace().config.remoteCommands[0].w[1], 0x01);

    // After "Новый" nothing is selected: the panel hides and clicks write nowhere.
    w->findChild<QAction*>("N2")->trigger();
    QVERIFY(!w.find<QWidget>("Panel5")->isVisible());
    Check(Phone(w, 2), true);
    for (const auto& entry : w->workspace().config.remoteCommands) QCOMPARE(entry.w[1], 0);
  }
};

VORSIN_UI_TEST(RemotePageTest)
#include "remote_page_test.moc"
