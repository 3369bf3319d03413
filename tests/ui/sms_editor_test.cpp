// The SMS strings editor driven through its widgets, on the shipped
// templates (substring 1 «Тревога», 2 «Норма», 13 substrings, 24 SMS strings).
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include "model/cp1251.h"
#include "registry.h"
#include "ui/sms_editor.h"
#include "ui/text.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

struct Editor {
  TestWindow w;
  ui::SmsEditor* form = w->forms().smsEditor;
  QTreeWidget* list = find<QTreeWidget>("Sms");
  QLineEdit* edit = find<QLineEdit>("Edit1");
  Configuration& config = w->workspace().config;

  Editor() { w.find<QAction>("Sms2")->trigger(); }
  // The pages have their own Edit1, Button1...: look inside the editor.
  template <class T>
  T* find(const char* name) {
    T* widget = form->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no widget %s", name);
    return widget;
  }
  QString shown(const char* name) {
    if (auto* label = form->findChild<QLabel*>(name)) return label->text();
    return find<QLineEdit>(name)->text();
  }
  void select(int row) { list->setCurrentItem(list->topLevelItem(row)); }
  int smsRow(int k) { return 1 + int(config.smsSubStrings.size()) + 2 + k; }
  void retype(const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Backspace);
    TypeText(edit, text);
  }
  // The whole text at once, as pasted: no key-by-key intermediate is stored.
  void paste(const QString& text) {
    edit->selectAll();
    edit->insert(text);
  }
  void click(const char* button) { find<QPushButton>(button)->click(); }
};

}  // namespace

class SmsEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void listAndPreviewsFollowTyping() {
    Editor e;
    QVERIFY(e.form->isVisible());
    QCOMPARE(e.list->topLevelItemCount(), 1 + 13 + 2 + 24 + 1);
    for (int r : {0, 14, 15, 16}) QCOMPARE(e.list->topLevelItem(r)->font(0).bold(), r != 15);
    QCOMPARE(e.list->topLevelItem(2)->text(0), QString("2: Норма"));

    e.select(e.smsRow(3));
    QCOMPARE(e.edit->text(), ui::Q(e.config.smsStrings[2].text));
    e.retype("Шлейф %r[1]");
    QCOMPARE(e.config.smsStrings[2].text, Cp("Шлейф %r[1]"));
    QCOMPARE(e.shown("Edit2"), QString("Шлейф Тревога"));
    QCOMPARE(e.shown("Edit3"), QString("Шлейф Норма"));
    QCOMPARE(e.shown("Label1"), QString("13:70"));
    QCOMPARE(e.shown("Label2"), QString("11:70"));
    QCOMPARE(e.list->topLevelItem(e.smsRow(3))->text(2), QString("Шлейф Норма"));

    // The header row: editable, never deleted; it changes profile string 6 only.
    Configuration expected = e.config;
    expected.smsProfileTexts[6].text = "<h>";
    e.select(15);
    e.paste("<h>");
    QCOMPARE(e.config, expected);
  }

  // From 200 characters the device stores "Error": a warning beside the counters says so.
  void aTooLongStringIsWarnedOf() {
    Editor e;
    e.select(e.smsRow(1));
    auto* warning = e.find<QLabel>("SmsLengthWarning");
    QVERIFY(!warning->isVisible());
    e.paste(QString(199, u'a'));
    QVERIFY(!warning->isVisible());
    e.retype(QString(199, u'a') + "b");
    QVERIFY(warning->isVisible());
    QCOMPARE(warning->text(), QString("Строка длиннее 199 символов: устройство получит \"Error\""));
    QVERIFY(e.shown("Label1").startsWith("5:"));  // the preview reads "Error"
    e.select(e.smsRow(2));
    QVERIFY(!warning->isVisible());
    e.select(e.smsRow(1));
    QVERIFY(warning->isVisible());
  }

  void selectingEveryRowChangesNothing() {
    Editor e;
    const Configuration before = e.config;
    auto* remove = e.find<QPushButton>("Button2");
    for (int r = 0; r < e.list->topLevelItemCount(); ++r) {
      e.select(r);
      const bool caption = r == 0 || r == 14 || r == 16;
      QCOMPARE(e.edit->text().isEmpty(), caption);
      QCOMPARE(remove->isEnabled(), !caption && r != 15);
    }
    QCOMPARE(e.config, before);
  }

  void replacedListsLeaveNoStaleSelection() {
    // After a reload or "Новый" a template added beyond the shipped lists
    // is gone: typing and deleting must touch nothing.
    for (const char* action : {"Sms1", "N2"}) {
      Editor e;
      e.retype("extra");
      e.click("Button1");
      e.click("Button3");
      QCOMPARE(e.form->selection(), (SmsSelection{kSmsSubstrings, 14}));
      e.w.find<QAction>(action)->trigger();
      const Configuration reloaded = e.config;
      QCOMPARE(e.config.smsSubStrings.size(), size_t(13));
      QCOMPARE(e.list->topLevelItemCount(), 41);
      QVERIFY(e.list->selectedItems().isEmpty());
      QVERIFY(e.edit->text().isEmpty());
      e.retype("typed");
      e.click("Button2");
      QCOMPARE(e.config, reloaded);
    }
    // A template still in range is shown as it now reads.
    Editor e;
    e.select(e.smsRow(1));
    e.retype("changed");
    e.w.find<QAction>("Sms1")->trigger();
    QCOMPARE(e.edit->text(), QString("%s[5]: тест 1, %s[10]"));
  }

  void substringCyclesAreRefused() {
    Editor e;
    e.select(2);
    e.paste("%s[2]");
    QCOMPARE(e.shown("Edit2"), QString("Error"));
    QCOMPARE(e.shown("Edit3"), QString("Error"));
    QCOMPARE(e.edit->text(), QString("%s[2]"));
    QCOMPARE(e.config.smsSubStrings[1].text, Cp("Норма"));
    e.paste("%s[1]");
    QCOMPARE(e.config.smsSubStrings[1].text, std::string("%s[1]"));
    e.select(1);
    e.paste("x%s[2]");  // 1 -> 2 -> 1
    QCOMPARE(e.shown("Edit2"), QString("Error"));
    QCOMPARE(e.config.smsSubStrings[0].text, Cp("Тревога"));
    // Adding «%s[14]» as substring 14.
    e.select(0);
    e.paste("%s[14]");
    e.click("Button3");
    QCOMPARE(e.config.smsSubStrings.size(), size_t(13));
    QCOMPARE(e.shown("Edit2"), QString("Error"));
  }

  void addingAndDeletingRefreshTheirListeners() {
    Editor e;
    QSignalSpy changed(e.form, &ui::SmsEditor::templatesChanged);
    e.config.events.resize(2);
    e.config.events[0].w[5] = 3, e.config.events[0].w[6] = 15;
    e.config.events[1].w[5] = 2, e.config.events[1].w[6] = 24;

    e.form->openOn(kSmsStrings, 3);
    QVERIFY(e.list->topLevelItem(e.smsRow(3))->isSelected());
    QCOMPARE(e.list->visualItemRect(e.list->topLevelItem(e.smsRow(3))).top(), 140);  // scrolled into view
    e.click("Button2");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(e.config.events[0].w[5], 0);
    QCOMPARE(e.config.events[0].w[6], 14);
    QCOMPARE(e.config.events[1].w[6], 23);
    QCOMPARE(e.edit->text(), QString("%s[5]: %s[4], польз. %(insEvZone), %s[10]"));  // the next one

    // A middle substring: references to it vanish, later ones move down.
    e.select(3);
    e.click("Button2");
    QCOMPARE(changed.count(), 2);
    QCOMPARE(e.config.smsStrings[2].text, Cp("%s[4]: %s[3], польз. %(insEvZone), %s[9]"));
    QCOMPARE(e.list->topLevelItem(e.smsRow(3))->text(0), QString("%s[4]: %s[3], польз. %(insEvZone), %s[9]"));

    // An SMS number beyond the list selects nothing and changes nothing.
    const Configuration before = e.config;
    e.form->openOn(kSmsStrings, 24);
    QVERIFY(e.list->selectedItems().isEmpty());
    e.paste("x");
    e.click("Button2");
    QCOMPARE(e.config, before);

    e.click("Button1");
    QCOMPARE(changed.count(), 3);
    e.config.smsStrings.resize(60);
    e.click("Button1");
    QCOMPARE(e.config.smsStrings.size(), size_t(60));
    QCOMPARE(e.w.messages.shown.back().text, QString("Sms сообщений не может быть больше 60"));
    QCOMPARE(changed.count(), 3);
    e.form->close();
    QCOMPARE(changed.count(), 4);
  }
};

VORSIN_UI_TEST(SmsEditorTest)
#include "sms_editor_test.moc"
