// The binding kit: the user's edits store, fills never do, and a stored
// value no control can show is kept.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "registry.h"
#include "ui/bind.h"
#include "ui/flag_boxes.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::ui;

class BindTest : public QObject {
  Q_OBJECT
 private slots:
  void editsStoreAndFillsDoNot() {
    QWidget page;
    std::string text = "ab";
    int stores = 0;
    auto* edit = new QLineEdit(&page);
    auto* other = new QLineEdit(&page);
    BindLineEdit(edit, StringField([&] { return &text; }),
                 {.accept = [](QChar c) { return c.isDigit(); },
                  .typedLength = 3,
                  .kept = [](const QString& t) { return t.size() < 2 ? QString() : t; },
                  .stored = [&] { ++stores; }});
    page.show();
    ShowAllBound(&page);
    QCOMPARE(edit->text(), QString("ab"));
    QCOMPARE(stores, 0);

    edit->clear();
    test::TypeText(edit, "1x2345");  // the letter dropped, typing stops at 3
    QCOMPARE(edit->text(), QString("123"));
    QCOMPARE(text, std::string("123"));
    edit->setText("7");
    edit->setModified(true);
    test::Enter(edit);
    other->setFocus();  // leaving shows and stores what is kept
    QCOMPARE(edit->text(), QString());
    QCOMPARE(text, std::string());
    const int before = stores;
    text = "9";
    test::Enter(edit);
    other->setFocus();  // passing through stores nothing
    QCOMPARE(text, std::string("9"));
    QCOMPARE(stores, before);
  }

  void listsAndFlagsKeepWhatTheyCannotShow() {
    QWidget page;
    int code = 7;
    uint8_t flags = 0x04;
    auto* box = new QComboBox(&page);
    BindCombo(box, {"a", "b", "c"}, {[&] { return std::optional<int>(code); }, [&](int c) { code = c; }}, {5, 7, 9});
    auto* bit = new QCheckBox(&page);
    auto* inverted = new QCheckBox(&page);
    BindFlag(bit, [&] { return &flags; }, 2);
    BindInvertedFlag(inverted, [&] { return &flags; }, 0);
    ShowAllBound(&page);
    QCOMPARE(box->currentIndex(), 1);
    QVERIFY(bit->isChecked() && inverted->isChecked());

    code = 8;  // no item stands for 8
    ShowAllBound(&page);
    QCOMPARE(box->currentIndex(), -1);
    QCOMPARE(code, 8);
    emit box->activated(2);
    QCOMPARE(code, 9);

    inverted->click();
    QCOMPARE(flags, uint8_t{0x05});
    {
      const FillLock fill;  // a fill that changes a box through its signals stores nothing
      bit->setChecked(false);
      emit box->activated(0);
    }
    QCOMPARE(flags, uint8_t{0x05});
    QCOMPARE(code, 9);
  }
};

VORSIN_UI_TEST(BindTest)
#include "bind_test.moc"
