// The page "Адресаты" and the dialog TForm5 driven through their widgets.
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "registry.h"
#include "ui/addressees_page.h"
#include "ui/text.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;
using vorsin::ui::Q;

namespace {

template <class T>
T* In(QWidget* parent, const char* name) {
  T* w = parent->findChild<T*>(QString::fromLatin1(name));
  if (w == nullptr) qFatal("no widget %s", name);
  return w;
}

struct Page {
  explicit Page(TestWindow& w) : w(w), page(w.find<QWidget>("TabSheet2")), tree(w.find<ui::DestTree>("Dest")) {
    w.showTab("TabSheet2");
  }
  Configuration& config() { return w->workspace().config; }
  template <class T>
  T* get(const char* name) { return In<T>(page, name); }
  QTreeWidgetItem* node(int a, int phone = -1) {
    QTreeWidgetItem* top = tree->topLevelItem(a);
    return phone < 0 ? top : top->child(phone);
  }
  QStringList names() {
    QStringList out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) out << tree->topLevelItem(i)->text(0);
    return out;
  }
  // Opens the context menu on the node and returns its captions.
  QStringList menu(QTreeWidgetItem* item) {
    emit tree->customContextMenuRequested(tree->visualItemRect(item).center());
    auto* m = w.find<QMenu>("DestMenu");
    QStringList captions;
    for (QAction* a : m->actions()) captions << (a->isSeparator() ? QString("-") : a->text());
    m->hide();
    return captions;
  }
  bool choose(QTreeWidgetItem* item, const QString& caption) {
    menu(item);
    for (QAction* a : w.find<QMenu>("DestMenu")->actions()) {
      if (a->text() != caption) continue;
      a->trigger();
      return true;
    }
    return false;
  }
  // Adds an addressee with the dialog skipped.
  void add() {
    w->workspace().marks.showAddresseeDialog = false;
    QVERIFY(choose(tree->topLevelItem(0), "Добавить адресат"));
  }
  // Puts addressees into the model as a file would, and rebuilds the page.
  void load(int count, int phones = 1) {
    config().addressees.clear();
    for (int i = 0; i < count; ++i) {
      Addressee a = NewAddressee(config());
      while (static_cast<int>(a.phones.size()) < phones) a.phones.push_back(NewPhone(a));
      config().addressees.push_back(a);
    }
    w->refreshPages();
  }

  TestWindow& w;
  QWidget* page;
  ui::DestTree* tree;
};

// Acts on TForm5 once it is up (it runs its own event loop).
void OnDialog(TestWindow& w, std::function<void(QDialog*)> act) {
  QTimer::singleShot(0, [&w, act] { act(w.find<QDialog>("TForm5")); });
}

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2)); }

void Type(QComboBox* box, const QString& text) {
  Enter(box);
  TypeText(box, text);
  PressEnter(box);
}

}  // namespace

class AddresseesPageTest : public QObject {
  Q_OBJECT
 private slots:
  void addingThroughTheDialogAndDeleting() {
    TestWindow w;
    Page p(w);
    QCOMPARE(p.names(), QStringList{"Правый клик"});
    QCOMPARE(p.menu(p.node(0)), QStringList{"Добавить адресат"});

    // The dialog edits the new record; "Добавить" keeps it.
    OnDialog(w, [](QDialog* d) {
      QVERIFY(d->isVisible());
      QVERIFY(!In<QLabel>(d, "Label5")->isVisible());
      In<QComboBox>(d, "ComboBox1")->setCurrentIndex(1);
      emit In<QComboBox>(d, "ComboBox1")->activated(1);
      QVERIFY(In<QLabel>(d, "Label5")->isVisible());
      QTest::keyClicks(In<QLineEdit>(d, "Edit1"), "X");
      Click(In<QPushButton>(d, "Button1"));
    });
    QVERIFY(p.choose(p.node(0), "Добавить адресат"));
    QCOMPARE(p.names(), QStringList{"Адресат1X"});
    QCOMPARE(p.node(0)->childCount(), 1);
    QCOMPARE(p.node(0, 0)->text(0), QString("Телефон 1"));
    QCOMPARE(int(p.config().addressees[0].addresseeFlags), 0xC8);
    QVERIFY(p.get<QGroupBox>("DestGroup")->isVisible());
    QVERIFY(!p.get<QGroupBox>("FhoneGroup")->isVisible());
    QCOMPARE(p.menu(p.node(0)), (QStringList{"Добавить адресат", "Удалить адресат", "Удалить все адресаты",
                                            "Переименовать адресат", "-", "Адресат1X : добавить телефон."}));
    QCOMPARE(p.menu(p.node(0, 0)), (QStringList{"Телефон 1 : удалить телефон.", "Переименовать телефон", "-",
                                               "Адресат1X : добавить телефон."}));

    // "больше не показывать" counts as it stands when the dialog closes,
    // and cancelling leaves the list and the tree as they were.
    OnDialog(w, [](QDialog* d) {
      Click(In<QCheckBox>(d, "CheckBox3"));
      Click(In<QCheckBox>(d, "CheckBox3"));
      Click(In<QPushButton>(d, "Button2"));
    });
    QVERIFY(p.choose(p.node(0), "Добавить адресат"));
    QVERIFY(w->workspace().marks.showAddresseeDialog);
    OnDialog(w, [](QDialog* d) {
      Click(In<QCheckBox>(d, "CheckBox3"));
      d->reject();
    });
    QVERIFY(p.choose(p.node(0), "Добавить адресат"));
    QVERIFY(!w->workspace().marks.showAddresseeDialog);
    QCOMPARE(p.config().addressees.size(), size_t(1));
    QCOMPARE(p.names(), QStringList{"Адресат1X"});

    // Without the dialog; then deleting the middle one of three.
    p.add();
    p.add();
    QCOMPARE(p.names(), (QStringList{"Адресат1X", "Адресат2", "Адресат3"}));
    p.config().events[0].w[9] = 0xE0;
    w->workspace().marks.eventsStale = w->workspace().marks.reportsStale = false;
    QVERIFY(p.choose(p.node(1), "Удалить адресат"));
    QCOMPARE(p.config().events[0].w[9], 0xC0);
    QVERIFY(w->workspace().marks.eventsStale && w->workspace().marks.reportsStale);
    QCOMPARE(p.names(), (QStringList{"Адресат1X", "Адресат3"}));
    p.add();
    QCOMPARE(p.names().last(), QString("Адресат4"));

    QVERIFY(p.choose(p.node(0), "Удалить все адресаты"));
    QCOMPARE(p.names(), QStringList{"Правый клик"});
    QCOMPARE(p.config().events[0].w[9], 0);
    QVERIFY(!p.get<QGroupBox>("DestGroup")->isVisible());
  }

  void limitsOfAddresseesAndPhones() {
    TestWindow w;
    Page p(w);
    p.load(9);  // a file may bring more than the page lets one add
    p.add();
    QCOMPARE(p.config().addressees.size(), size_t(9));
    QCOMPARE(w.messages.shown.back().text, QString("Адресатов может быть не больше 8"));
    QCOMPARE(w.messages.shown.back().caption, QString("Ошибка"));
    QVERIFY(w.messages.shown.back().icon == Icon::Error);

    p.load(1, 14);
    QVERIFY(p.choose(p.node(0), "Адресат1 : добавить телефон."));
    QCOMPARE(p.node(0)->childCount(), 15);
    QCOMPARE(p.tree->currentItem(), p.node(0, 14));
    const size_t messages = w.messages.shown.size();
    QVERIFY(p.choose(p.node(0, 3), "Адресат1 : добавить телефон."));
    QCOMPARE(p.config().addressees[0].phones.size(), size_t(15));
    QCOMPARE(p.node(0)->childCount(), 15);
    QCOMPARE(w.messages.shown.size(), messages + 1);
    QVERIFY(w.messages.shown.back().icon == Icon::Error);
  }

  void dropsMoveRecordsAndMasks() {
    TestWindow w;
    Page p(w);
    p.load(3, 2);
    p.config().events[0].w[9] = 0x80;
    p.config().events[1].w[9] = 0x40;
    QVERIFY(p.tree->dropOn(p.node(0), p.node(2)));
    QCOMPARE(p.names(), (QStringList{"Адресат2", "Адресат1", "Адресат3"}));
    QCOMPARE(Q(p.config().addressees[1].name), QString("Адресат1"));
    QCOMPARE(p.config().events[0].w[9], 0x40);
    QCOMPARE(p.config().events[1].w[9], 0x80);
    QCOMPARE(p.node(1)->childCount(), 2);  // not nested under its target

    // A phone stays with its addressee; onto another addressee's phone or an
    // addressee it is refused.
    const Configuration before = p.config();
    QVERIFY(!p.tree->dropOn(p.node(0, 0), p.node(1, 1)));
    QVERIFY(!p.tree->dropOn(p.node(0, 0), p.node(1)));
    QVERIFY(!p.tree->dropOn(p.node(0), p.node(1, 0)));
    QVERIFY(p.config() == before);
    QVERIFY(p.tree->dropOn(p.node(0, 1), p.node(0, 0)));
    QCOMPARE(p.config().addressees[0].phones[0].autoNumber, 2);
    QCOMPARE(p.node(0, 0)->text(0), QString("Телефон 2"));

    // Past the eight mask bits nothing moves.
    p.load(9);
    QVERIFY(!p.tree->dropOn(p.node(8), p.node(0)));
    QVERIFY(p.tree->dropOn(p.node(0), p.node(8)));  // ends at 7, the last bit
    QCOMPARE(p.config().addressees[7].autoNumber, 1);
  }

  void showingAPhoneStoresNothing() {
    TestWindow w;
    Page p(w);
    p.load(1, 2);
    AddresseePhone& phone = p.config().addressees[0].phones[0];
    phone.phoneNumber = "+7900123456";  // 11 characters
    phone.cellPrefix = Cp("8г1");
    phone.formats = 0x94;                // GSM 9, line 4
    phone.phoneFlags = 0xE9;             // voice item 9: none
    p.config().general.block(lb::kClearedMark) = 1;
    p.tree->setCurrentItem(p.node(0, 0));
    QVERIFY(p.get<QGroupBox>("FhoneGroup")->isVisible());
    QCOMPARE(p.get<QLineEdit>("Edit5")->text(), QString("+7900123456"));
    QCOMPARE(phone.phoneNumber, std::string("+7900123456"));
    QCOMPARE(phone.cellPrefix, Cp("8г1"));
    QCOMPARE(p.get<QComboBox>("ComboBox5")->currentIndex(), -1);
    QCOMPARE(p.get<QComboBox>("ComboBox5")->placeholderText(), QString("неподдерживаемый тип"));
    QCOMPARE(p.get<QComboBox>("ComboBox6")->placeholderText(), QString("неподдерживаемый тип"));
    QCOMPARE(phone.formats, 0x94);

    // Voice repeats: typing with no item chosen goes nowhere; with one, it
    // rewrites that shared entry.
    auto* voice = p.get<QComboBox>("ComboBox8");
    QCOMPARE(voice->currentIndex(), -1);
    Type(voice, "77");
    QCOMPARE(int(p.config().general.block(lb::kClearedMark)), 1);
    QCOMPARE(int(p.config().general.voiceRepeat(1)), 10);
    QCOMPARE(int(phone.phoneFlags), 0xE9);
    voice->setCurrentIndex(2);
    emit voice->activated(2);
    QCOMPARE(phone.phoneFlags & 0x0F, 2);
    Type(voice, "77");
    QCOMPARE(int(p.config().general.voiceRepeat(3)), 77);
    QCOMPARE(voice->currentText(), QString("2: 77"));

    // Typed numbers: letters other than p/t/п/т/г are dropped ("г" waits for
    // the dial tone, as the hint says), invalid text clears.
    auto* number = p.get<QLineEdit>("Edit5");
    number->clear();
    Enter(number);
    TypeText(number, "8гдп1Г");
    QCOMPARE(number->text(), QString("8гп1Г"));
    QCOMPARE(phone.phoneNumber, Cp("8гп1Г"));
    number->setText("8п1?a");
    emit number->textEdited(number->text());
    QCOMPARE(number->text(), QString());
    QCOMPARE(phone.phoneNumber, std::string());

    // Code 2 on the GSM channel has its own text; an item picked stores its code.
    phone.formats = 0x20;
    p.tree->setCurrentItem(p.node(0, 1));
    p.tree->setCurrentItem(p.node(0, 0));
    QCOMPARE(p.get<QComboBox>("ComboBox5")->placeholderText(), QString("Аргус-Т (?\?\?)"));
    emit p.get<QComboBox>("ComboBox5")->activated(2);
    QCOMPARE(phone.formats, 0x30);
  }

  void switchedOffPhones() {
    TestWindow w;
    Page p(w);
    p.load(1);
    AddresseePhone& phone = p.config().addressees[0].phones[0];
    phone.phoneFlags = 0xC0;
    p.tree->setCurrentItem(p.node(0, 0));
    auto* off = p.get<QCheckBox>("CheckBox19");
    const QColor grey(160, 160, 164);
    // What the box paints at its right end, beside its caption.
    const auto painted = [off] { return off->grab().toImage().pixelColor(off->width() - 3, off->height() / 2); };
    QVERIFY(off->isChecked() && !off->isEnabled());
    QVERIFY(painted() != grey);
    QVERIFY(phone.phoneFlags & 0x20);

    auto* linePrefix = p.get<QLineEdit>("Edit7");
    Enter(linePrefix);
    TypeText(linePrefix, "9");
    emit p.get<QComboBox>("ComboBox6")->activated(1);  // Contact-ID
    QVERIFY(off->isEnabled() && off->isChecked());
    QCOMPARE(painted(), grey);
    Click(off);
    QVERIFY(!(phone.phoneFlags & 0x20));
    QVERIFY(painted() != grey);

    // The line switched off on the general page leaves the phone no channel.
    w.showTab("TabSheet1");
    Click(w.find<QCheckBox>("CheckBox4"));
    QVERIFY(phone.phoneFlags & 0x20);
    w.showTab("TabSheet2");
    QVERIFY(off->isChecked() && !off->isEnabled());
    QVERIFY(!p.get<QRadioButton>("RadioButton1")->isEnabled());
  }

  void addresseeGroupAndPanels() {
    TestWindow w;
    Page p(w);
    p.load(2, 2);
    p.tree->setCurrentItem(p.node(0));
    Addressee& a = p.config().addressees[0];
    auto* mode = p.get<QComboBox>("ComboBox7");
    auto* wait = p.get<QComboBox>("ComboBox21");
    QVERIFY(!wait->isVisible() && !p.get<QCheckBox>("CheckBox15")->isEnabled());
    emit mode->activated(1);
    QCOMPARE(a.addresseeFlags & 0x41, 0x40);
    QVERIFY(wait->isVisible() && p.get<QLabel>("Label31")->isVisible());
    QVERIFY(p.get<QCheckBox>("CheckBox15")->isEnabled());
    QCOMPARE(wait->currentText(), QString("60 сек."));
    Type(wait, "0");
    QCOMPARE(a.confirmWait, 1);
    QCOMPARE(wait->currentText(), QString("2 сек."));
    Type(wait, "1");
    QCOMPARE(a.confirmWait, 1);
    Type(wait, "45");
    QCOMPARE(a.confirmWait, 22);
    QCOMPARE(wait->currentText(), QString("44 сек."));
    emit mode->activated(2);
    QCOMPARE(a.addresseeFlags & 0x41, 0x01);
    QVERIFY(!wait->isVisible());

    // The name box renames the node; renaming in place drops the number.
    auto* name = p.get<QLineEdit>("Edit26");
    Enter(name);
    name->end(false);
    TypeText(name, "Z");
    QCOMPARE(p.node(0)->text(0), QString("Адресат1Z"));
    QCOMPARE(a.autoNumber, 1);
    p.node(1, 0)->setText(0, "Дача");
    QCOMPARE(Q(p.config().addressees[1].phones[0].name), QString("Дача"));
    QCOMPARE(p.config().addressees[1].phones[0].autoNumber, 0);

    // The phone on show deleted: nothing is edited through stale panels.
    p.tree->setCurrentItem(p.node(1, 1));
    QVERIFY(p.choose(p.node(1, 1), "Телефон 2 : удалить телефон."));
    QCOMPARE(p.config().addressees[1].phones.size(), size_t(1));
    const QTreeWidgetItem* now = p.tree->currentItem();
    const bool phoneShown = now != nullptr && now->parent() != nullptr;
    QCOMPARE(p.get<QGroupBox>("FhoneGroup")->isVisible(), phoneShown);
    if (phoneShown) QCOMPARE(p.get<QLineEdit>("Edit25")->text(), now->text(0));
    // "Новый" rebuilds the tree and hides both groups.
    w->newConfiguration();
    QCOMPARE(p.names(), QStringList{"Правый клик"});
    QVERIFY(!p.get<QGroupBox>("DestGroup")->isVisible());
    QVERIFY(!p.get<QGroupBox>("FhoneGroup")->isVisible());
  }
};

VORSIN_UI_TEST(AddresseesPageTest)
#include "addressees_page_test.moc"
