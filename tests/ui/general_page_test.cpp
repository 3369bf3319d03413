// The page "Общие" driven through its widgets.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "registry.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

void SelectAllAndErase(QLineEdit* edit) {
  Enter(edit);
  QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(edit, Qt::Key_Backspace);
}

}  // namespace

class GeneralPageTest : public QObject {
  Q_OBJECT
 private slots:
  void periodsTakeTheirValueFromTheText() {
    TestWindow w;
    auto* box = w.find<QComboBox>("ComboBox1");
    const auto period = [&] { return w->workspace().config.general.at(GeneralSettings::kTestPeriod1); };
    Enter(box);
    const struct {
      QString typed;
      int stored;
      QString shown;
    } steps[] = {
        {"2 ч", 130, "2 часа"},      // hours by the letter
        {"200", 130, "2 часа"},      // too big: the old value stays
        {"90", 90, "90 минут"},      // a new count drops the hours bit
        {"1x", 129, "1 час"},        // Latin x means hours too
        {"нет", 0, "нет"},
        {"21", 21, "21 минута"},
    };
    for (const auto& s : steps) {
      TypeText(box, s.typed);
      PressEnter(box);
      QCOMPARE(int(period()), s.stored);
      QCOMPARE(box->currentText(), s.shown);
    }
  }

  void listChoiceCommitsAndLeavingDiscardsTyping() {
    TestWindow w;
    auto* box = w.find<QComboBox>("ComboBox2");
    const auto period = [&] { return w->workspace().config.general.at(GeneralSettings::kTestPeriod2); };
    Enter(box);
    QTest::keyClick(box, Qt::Key_Down);  // "нет" -> "10 минут"
    QCOMPARE(int(period()), 10);
    TypeText(box, "45");
    QCOMPARE(box->currentText(), QString("45"));
    Leave(box);
    QCOMPARE(int(period()), 10);
    QCOMPARE(box->currentText(), QString("10 минут"));
    // While typing a pick from the list waits like typed text: Enter takes
    // it, leaving drops it.
    TypeText(box, "45");
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(box->currentText(), QString("30 минут"));
    QCOMPARE(int(period()), 10);
    Leave(box);
    QCOMPARE(box->currentText(), QString("10 минут"));
    TypeText(box, "45");
    QTest::keyClick(box, Qt::Key_Down);
    PressEnter(box);
    QCOMPARE(int(period()), 30);
    QCOMPARE(box->currentText(), QString("30 минут"));
    // The line check period keeps its own byte.
    auto* line = w.find<QComboBox>("ComboBox3");
    QCOMPARE(line->currentText(), QString("30 минут"));
    Enter(line);
    TypeText(line, "5 мин");
    PressEnter(line);
    QCOMPARE(int(w->workspace().config.general.lineCheckPeriod()), 5);
  }

  void countBoxesTakeDigitsOnly() {
    TestWindow w;
    auto* priority = w.find<QComboBox>("ComboBox9");
    QCOMPARE(priority->currentText(), QString("8 минут"));
    Enter(priority);
    TypeText(priority, "1a2");
    QCOMPARE(priority->currentText(), QString("12"));
    PressEnter(priority);
    QCOMPARE(int(w->workspace().config.general.priorityDialTime()), 12);
    QCOMPARE(priority->currentText(), QString("12 минут"));
    TypeText(priority, "255");
    PressEnter(priority);
    QCOMPARE(int(w->workspace().config.general.priorityDialTime()), 12);

    auto* delay = w.find<QComboBox>("ComboBox23");
    QVERIFY(!delay->isEnabled());  // only without the 425 Hz check
    Click(w.find<QCheckBox>("CheckBox2"));
    QVERIFY(delay->isEnabled());
    Enter(delay);
    TypeText(delay, "21");
    PressEnter(delay);
    QCOMPARE(int(w->workspace().config.general.lineDialDelay()), 21);
    QCOMPARE(delay->currentText(), QString("21 секунда"));
  }

  void pinAndDeviceAddress() {
    TestWindow w;
    auto* pin = w.find<QLineEdit>("Edit8");
    QCOMPARE(pin->echoMode(), QLineEdit::Password);
    SelectAllAndErase(pin);
    TypeText(pin, "123");
    Leave(pin);
    QCOMPARE(pin->text(), QString());
    QCOMPARE(w->workspace().config.pinCode, std::string());
    Enter(pin);
    TypeText(pin, "432");  // stored as leaving would store it, before leaving
    QCOMPARE(w->workspace().config.pinCode, std::string());
    TypeText(pin, "10");   // the fifth digit does not fit
    QCOMPARE(w->workspace().config.pinCode, std::string("4321"));
    Leave(pin);
    QCOMPARE(w->workspace().config.pinCode, std::string("4321"));

    auto* address = w.find<QLineEdit>("MaskEdit4");
    QCOMPARE(w->workspace().config.deviceAddress, std::string("0000"));
    Enter(address);
    address->clear();
    QTest::keyClick(address, Qt::Key_Home);
    TypeText(address, "12  ");
    QCOMPARE(w->workspace().config.deviceAddress, std::string("1200"));
  }

  void refreshKeepsLongTextsWhole() {
    // A file or a device may hold longer texts than can be typed (the 8-byte
    // number field holds 16 characters); showing them stores nothing.
    TestWindow w;
    Configuration& c = w->workspace().config;
    c.expressInNumber = Cp("Запрос баланса 100");
    c.pinCode = "12345";
    c.ownNumber = "1234567890123456";
    c.smsCentre = "+79020000111222";
    c.general.serviceFlags() = 0x30;  // both time sources, as a file may have them
    w->refreshPages();
    auto* in = w.find<QLineEdit>("Edit4");
    auto* own = w.find<QLineEdit>("Edit1");
    QCOMPARE(in->text(), QString("Запрос баланса 100"));
    QCOMPARE(own->text(), QString("1234567890123456"));
    QCOMPARE(w.find<QLineEdit>("Edit2")->text(), QString("+79020000111222"));
    for (const char* name : {"Edit8", "Edit1", "Edit2", "Edit4"}) Leave(w.find<QLineEdit>(name));
    QCOMPARE(c.expressInNumber, Cp("Запрос баланса 100"));
    QCOMPARE(c.pinCode, std::string("12345"));
    QCOMPARE(c.ownNumber, std::string("1234567890123456"));
    QCOMPARE(c.smsCentre, std::string("+79020000111222"));
    QCOMPARE(int(c.general.serviceFlags()), 0x30);
    // Only the user's edit changes it: one character less is still a number.
    Enter(own);
    QTest::keyClick(own, Qt::Key_End);
    QTest::keyClick(own, Qt::Key_Backspace);
    QCOMPARE(c.ownNumber, std::string("123456789012345"));
    // Typing still stops at the limit.
    SelectAllAndErase(in);
    TypeText(in, "123456789012345678");
    QCOMPARE(in->text(), QString("12345678901234"));
  }

  void numberFieldsAndTimeSources() {
    TestWindow w;
    const Configuration& c = w->workspace().config;
    auto* own = w.find<QLineEdit>("Edit1");
    auto* centre = w.find<QLineEdit>("Edit2");
    auto* byOwn = w.find<QCheckBox>("CheckBox7");
    auto* byExpress = w.find<QCheckBox>("CheckBox8");
    QVERIFY(!byOwn->isEnabled() && !byExpress->isEnabled());

    Enter(own);
    TypeText(own, "+7(912)a55");
    QCOMPARE(own->text(), QString("+791255"));
    QCOMPARE(c.ownNumber, std::string("+791255"));
    Enter(centre);
    TypeText(centre, "+79020000111");
    Enter(w.find<QLineEdit>("Edit3"));
    TypeText(w.find<QLineEdit>("Edit3"), "*100#");
    Enter(w.find<QLineEdit>("Edit4"));
    TypeText(w.find<QLineEdit>("Edit4"), "Balance");
    QCOMPARE(c.expressInNumber, std::string("Balance"));
    QVERIFY(byOwn->isEnabled() && byExpress->isEnabled());

    Click(byOwn);
    QCOMPARE(c.general.serviceFlags() & 0x30, 0x20);
    Click(byExpress);  // one time source only
    QVERIFY(!byOwn->isChecked());
    QCOMPARE(c.general.serviceFlags() & 0x30, 0x10);

    SelectAllAndErase(centre);
    QCOMPARE(c.smsCentre, std::string());
    QVERIFY(!byOwn->isEnabled() && !byExpress->isEnabled());
    QVERIFY(!byOwn->isChecked() && !byExpress->isChecked());
    QCOMPARE(c.general.serviceFlags() & 0x30, 0);

    // Fourteen characters at most; a text the field would not store is cleared.
    SelectAllAndErase(own);
    TypeText(own, "1234567890123456");
    QCOMPARE(own->text().size(), 14);
    // A pasted text the field would not store clears the field as well.
    for (const auto& [pasted, kept] : {std::pair{"12ab34", ""}, std::pair{"12p4?", "12p4?"}}) {
      QApplication::clipboard()->setText(pasted);
      QTest::keyClick(own, Qt::Key_A, Qt::ControlModifier);
      QTest::keyClick(own, Qt::Key_V, Qt::ControlModifier);
      QCOMPARE(own->text(), QString(kept));
      QCOMPARE(c.ownNumber, std::string(kept));
    }
  }

  void lineDisconnectedSwitchesPhonesAndOptions() {
    TestWindow w;
    Configuration& c = w->workspace().config;
    Addressee a = NewAddressee(c);
    a.phones[0].formats = 0x01;  // Contact-ID over the line only
    a.phones[0].phoneNumber = "123";
    a.phones[0].phoneFlags = 0x80;
    AddresseePhone cellular = a.phones[0];
    cellular.formats = 0x41;  // SMS text over GSM as well
    a.phones.push_back(cellular);
    c.addressees.push_back(a);

    auto* disconnected = w.find<QCheckBox>("CheckBox4");
    auto* emulate = w.find<QCheckBox>("CheckBox5");
    auto* priority = w.find<QCheckBox>("CheckBox6");
    QVERIFY(!emulate->isEnabled());
    Click(disconnected);
    QCOMPARE(c.general.dialFlags() & 0x08, 0x08);
    QVERIFY(c.addressees[0].phones[0].phoneFlags & 0x20);
    QVERIFY(!(c.addressees[0].phones[1].phoneFlags & 0x20));
    for (const char* name : {"CheckBox1", "CheckBox2", "CheckBox3"}) QVERIFY(!w.find<QCheckBox>(name)->isEnabled());
    QVERIFY(!w.find<QComboBox>("ComboBox3")->isEnabled());
    QVERIFY(emulate->isEnabled() && priority->isEnabled());

    Click(emulate);
    Click(priority);
    QCOMPARE(c.general.serviceFlags() & 0xC0, 0xC0);
    Click(disconnected);
    QCOMPARE(c.general.serviceFlags() & 0xC0, 0);
    QVERIFY(!emulate->isChecked() && !emulate->isEnabled());
    QVERIFY(!priority->isChecked() && !priority->isEnabled());
    QVERIFY(w.find<QCheckBox>("CheckBox1")->isEnabled());
    QVERIFY(w.find<QComboBox>("ComboBox3")->isEnabled());

    // A refresh shows the emulation boxes of a model read elsewhere.
    c.general.dialFlags() = 0x08;
    c.general.serviceFlags() = 0x80;
    w->refreshPages();
    QVERIFY(disconnected->isChecked() && emulate->isChecked() && emulate->isEnabled());
    QVERIFY(!w.find<QCheckBox>("CheckBox1")->isEnabled());
  }

  void flagBoxesEditTheirBit() {
    TestWindow w;
    const GeneralSettings& g = w->workspace().config.general;
    const struct {
      const char* name;
      uint8_t mask;
    } dial[] = {{"CheckBox1", 0x80}, {"CheckBox2", 0x40}, {"CheckBox3", 0x20}, {"CheckBox42", 0x02}};
    for (const auto& d : dial) {
      auto* box = w.find<QCheckBox>(d.name);
      QCOMPARE(1 << box->property("Tag").toInt(), int(d.mask));
      Click(box);
      QCOMPARE(int(g.dialFlags()), int(d.mask));
      Click(box);
      QCOMPARE(int(g.dialFlags()), 0);
    }
  }

  void testDeliveryFollowsPeriodsAndTimeEvents() {
    TestWindow w;
    Configuration& c = w->workspace().config;
    auto* first = w.find<QCheckBox>("CheckBox9");
    auto* second = w.find<QCheckBox>("CheckBox10");
    QVERIFY(!first->isEnabled() && !second->isEnabled());
    auto* period = w.find<QComboBox>("ComboBox1");
    Enter(period);
    TypeText(period, "10");
    PressEnter(period);
    QVERIFY(first->isEnabled());
    Click(first);
    QCOMPARE(c.general.serviceFlags() & 0x02, 0x02);
    TypeText(period, "нет");
    PressEnter(period);
    QVERIFY(!first->isEnabled());
    QVERIFY(first->isChecked());  // a disabled box keeps its state

    TimeEvent t;
    t.w[4] = 1;  // the second test report
    c.timeEvents.push_back(t);
    w->refreshPages();
    QVERIFY(second->isEnabled());
    QVERIFY(!first->isEnabled());
  }

  void profilesAreFoundBySectionAndWrittenOnLeave() {
    // Sections 1, 3 and 5 carry profiles; section 2 none.
    TestWindow w([](Vocabulary& v) { v.Write("2", "Name", "null"); });
    Workspace& ws = w->workspace();
    auto* profiles = w.find<QComboBox>("ComboBox4");
    QCOMPARE(profiles->count(), 4);
    QCOMPARE(profiles->currentIndex(), 0);  // "Другой"
    ws.config.general.setProfileIndex(3);
    w->refreshPages();
    QCOMPARE(profiles->currentText(), QString("Регион Телеком"));

    Enter(profiles);
    QTest::keyClick(profiles, Qt::Key_Up);
    QCOMPARE(ws.config.general.profileIndex(), 1);
    QCOMPARE(w.find<QLineEdit>("Edit2")->text(), QString("+79020000111"));
    QCOMPARE(ws.config.smsCentre, std::string("+79020000111"));
    QCOMPARE(ws.config.expressOutNumber, std::string("*100#"));
    QCOMPARE(ws.config.expressInNumber, std::string("000100"));

    auto* centre = w.find<QLineEdit>("Edit2");
    Enter(centre);
    QTest::keyClick(centre, Qt::Key_End);
    TypeText(centre, "5");
    Leave(centre);
    Vocabulary file(w->vocabulary().path());
    QCOMPARE(file.Read("1", "ServNum", ""), std::string("+790200001115"));
    QCOMPARE(file.Read("1", "Name", ""), Cp("Сигнал-GSM"));
  }

  void unknownProfileSelectsNothingAndWritesNothing() {
    TestWindow w;
    Workspace& ws = w->workspace();
    ws.config.general.setProfileIndex(42);
    w->refreshPages();
    QCOMPARE(w.find<QComboBox>("ComboBox4")->currentIndex(), -1);
    auto* own = w.find<QLineEdit>("Edit1");
    Enter(own);
    TypeText(own, "7");
    Leave(own);
    QCOMPARE(ws.config.general.profileIndex(), 42);
    Vocabulary file(w->vocabulary().path());
    QVERIFY(!file.Has("42", "Name"));
  }
};

VORSIN_UI_TEST(GeneralPageTest)
#include "general_page_test.moc"
