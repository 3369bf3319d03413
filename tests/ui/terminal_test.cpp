// The terminal on "Программирование": a reply split over two reads shown as
// two lines and captured whole, typing, the capture's replace/append
// question, saving the memo, a remote session over a modem's call, "Connect"
// and "Disconnect",
// switching off while data flows and closing the window with it on.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include "../link/sim_process.h"
#include "../tools/fake_line.h"
#include "registry.h"
#include "ui/dest_menu.h"
#include "ui/replace_dialog.h"
#include "ui/terminal_panel.h"
#include "ui/user_settings.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;
using vorsin::testing::LineState;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write(bytes);
}

// Answers the next T_FileDialog with the button named (Button1 "Заменить",
// Button2 "Добавить", Button3 "Отменить").
void AnswerReplaceDialog(TestWindow& w, const char* button) {
  QTimer::singleShot(50, w.window.get(), [&w, button] {
    auto* dialog = w.find<ui::ReplaceDialog>("T_FileDialog");
    QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
  });
}

// The captions the memo's context menu offers now.
QStringList MenuItems(TestWindow& w) {
  auto* memo = w.find<QPlainTextEdit>("Memo2");
  emit memo->customContextMenuRequested(QPoint(1, 1));
  QStringList items;
  for (QAction* a : w->destMenu().menu()->actions()) items << (a->isSeparator() ? "-" : a->text());
  w->destMenu().menu()->hide();
  return items;
}

}  // namespace

class TerminalTest : public QObject {
  Q_OBJECT
 private slots:
  void splitReplyIsTwoLinesAndEightCapturedBytes() {
    TestWindow w;
    auto line = std::make_shared<LineState>();
    testing::UseFakeLine(w->port(), line);
    w.showTab("TabSheet7");
    auto* panel = w.find<ui::TerminalPanel>("TerminalPanel");
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    auto* box = w.find<QCheckBox>("CheckBox48");
    QAction* loader = w->findChild<QAction*>("N6");

    // Off: typing sends nothing and shows nothing.
    QTest::keyClicks(memo, "at");
    QVERIFY(memo->toPlainText().isEmpty() && line->Written().empty());

    // An old capture file, appended to.
    const QString cap = w.dir() + "/log.cap";
    WriteBytes(cap, "old");
    w.chosenPath = w.dir() + "/log";
    QCOMPARE(MenuItems(w), QStringList({"Очистить", "-", "Сохранить как...", "Включить запись"}));
    AnswerReplaceDialog(w, "Button2");
    panel->startCapture();
    QCOMPARE(w.find<ui::ReplaceDialog>("T_FileDialog")->windowTitle(), QString("Внимание"));
    QCOMPARE(MenuItems(w).last(), QString("Остановить запись"));

    box->click();
    QVERIFY(w->port().TerminalOn && !loader->isEnabled());
    auto* cts = w.find<QWidget>("Panel7");
    const QColor idle = cts->palette().color(QPalette::Window);
    line->SetCts(true);
    QTRY_COMPARE(cts->palette().color(QPalette::Window), QColor(Qt::red));
    line->Send({'A', 'T', '\r'});
    line->Send({'\n', 'O', 'K', '\r', '\n'});
    QTRY_COMPARE(memo->toPlainText(), QString("AT\nOK\n"));

    // Typed keys go out as Windows-1251, Enter as a lone CR; the memo shows none of them.
    QTest::keyClicks(memo, "at");
    TypeText(memo, "П");
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_COMPARE(line->Written(), (std::vector<uint8_t>{'a', 't', 0xCF, '\r'}));
    QApplication::clipboard()->setText("pasted");
    memo->paste();
    QCOMPARE(memo->toPlainText(), QString("AT\nOK\n"));

    panel->stopCapture();
    const QByteArray bytes = Contents(cap);
    QVERIFY(bytes.startsWith("old\n[Capture: "));
    QCOMPARE(bytes.count("\n[Cts On: "), 1);
    QVERIFY(bytes.contains("]\nAT\r\nOK\r\n\n[End: "));
    QVERIFY(bytes.endsWith("]\n"));

    // "Отменить" leaves the file alone and the capture off.
    AnswerReplaceDialog(w, "Button3");
    panel->startCapture();
    QCOMPARE(Contents(cap), bytes);
    QCOMPARE(MenuItems(w).last(), QString("Включить запись"));

    box->click();
    QVERIFY(!w->port().TerminalOn && !w->port().IsOpen() && loader->isEnabled());
    QCOMPARE(cts->palette().color(QPalette::Window), idle);
    QCOMPARE(line->misuse, 0);
  }

  void savingTheMemoAsksAboutTheFileWritten() {
    TestWindow w;
    auto line = std::make_shared<LineState>();
    testing::UseFakeLine(w->port(), line);
    w.showTab("TabSheet7");
    w.find<QCheckBox>("CheckBox48")->click();
    line->Send({'A', 'T', '\r', '\n', 'O', 'K'});
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    QTRY_COMPARE(memo->toPlainText(), QString("AT\nOK"));

    const QString saved = w.dir() + "/log.cap";
    WriteBytes(saved, "keep");
    w.chosenPath = w.dir() + "/log";
    w.messages.answer = kAnswerCancel;
    w.find<ui::TerminalPanel>("TerminalPanel")->saveMemo();
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.messages.shown[0].text.contains("log.cap уже существует"));
    QCOMPARE(Contents(saved), QByteArray("keep"));
    w.messages.answer = kAnswerOk;
    w.find<ui::TerminalPanel>("TerminalPanel")->saveMemo();
    QCOMPARE(Contents(saved), QByteArray("AT\r\nOK\r\n"));
  }

  // The installer's remote session: the dial typed into the memo, then
  // "Загрузить" and "Считать" borrow the terminal's port over the call.
  void remoteSessionTypedInTheMemo() {
    testing::SimProcess sim({"--modem", "--modem-dial-ms", "200", "--modem-latency", "20", "--modem-jitter", "10"});
    QVERIFY(sim.ok());
    TestWindow w;
    w.showTab("TabSheet7");
    w.find<QComboBox>("ComboBox22")->setEditText(QString::fromStdString(sim.path()));
    w.find<QCheckBox>("CheckBox48")->click();
    QVERIFY(w->port().TerminalOn);
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    QTest::keyClicks(memo, "AT");
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_COMPARE(memo->toPlainText(), QString("AT\n\nOK\n"));
    QTest::keyClicks(memo, "ATD89031112233");
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_VERIFY(memo->toPlainText().endsWith("ATD89031112233\n\nCONNECT 9600\n"));

    Configuration& config = w->workspace().config;
    config.ownNumber = "+79161234567";
    config.smsStrings.clear();  // fewer frames over the call
    QTest::mouseClick(w.find<QPushButton>("Button1"), Qt::LeftButton);
    config.ownNumber.clear();
    QTest::mouseClick(w.find<QPushButton>("Button3"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QVERIFY(ProgrammedNote(w.messages.shown[0].text));
    QCOMPARE(w.messages.shown[1].text, QString("Настройки считаны"));
    QCOMPARE(config.ownNumber, std::string("+79161234567"));
    QVERIFY(w->port().IsOpen() && w->port().TerminalOn && !w->port().PortLent);
  }

  // "Connect" dials the number typed into "Телефон" (and remembers it); a
  // call lost while programming ends in the link's failure, the memo shows
  // NO CARRIER and the terminal goes on; BUSY and NO ANSWER are said plainly.
  void connectButtonLostCallAndRefusedCalls() {
    testing::SimProcess sim({"--modem", "--modem-dial-ms", "200", "--modem-latency", "20", "--modem-jitter", "10",
                             "--modem-drop-after", "1500"});
    QVERIFY(sim.ok());
    TestWindow w;
    w.showTab("TabSheet7");
    auto* ports = w.find<QComboBox>("ComboBox22");
    ports->setEditText(QString::fromStdString(sim.path()));
    auto* phone = w.find<QLineEdit>("Edit23");
    QVERIFY(phone->isEnabled() && !w.find<QPushButton>("Button14")->isEnabled());
    phone->setFocus();
    QTest::keyClicks(phone, "8903?x1112233");  // only what a work phone takes
    QCOMPARE(phone->text(), QString("89031112233"));
    QCOMPARE(ui::UserSettings(w->settingsPath())->value(ui::kDialNumberKey).toString(), QString("89031112233"));
    QTest::mouseClick(w.find<QPushButton>("ConnectButton"), Qt::LeftButton);
    QVERIFY(w.find<QCheckBox>("CheckBox48")->isChecked());
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    QVERIFY(memo->toPlainText().contains("ATD89031112233\n\nCONNECT 9600\n"));
    QVERIFY(w.messages.shown.empty());

    QTest::mouseClick(w.find<QPushButton>("Button1"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.messages.shown[0].text.startsWith("Отсутствие связи с устройством"));
    QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
    // The modem's word, then its echo of what was still being sent.
    QTRY_VERIFY(memo->toPlainText().contains("CONNECT 9600\n\nNO CARRIER\n"));
    QTest::keyClicks(memo, "ATI");
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_VERIFY(memo->toPlainText().endsWith("ATI\n\nOK\n"));

    // A second call comes up and "Disconnect" ends it.
    QTest::mouseClick(w.find<QPushButton>("ConnectButton"), Qt::LeftButton);
    QVERIFY(memo->toPlainText().endsWith("CONNECT 9600\n"));
    QTest::mouseClick(w.find<QPushButton>("DisconnectButton"), Qt::LeftButton);
    QVERIFY(memo->toPlainText().endsWith("ATH\n\nNO CARRIER\n"));
    QCOMPARE(w.messages.shown.size(), size_t(1));
    w.find<QCheckBox>("CheckBox48")->click();

    for (const auto& [answer, said] : {std::pair{"busy", "номер занят (BUSY)"}, std::pair{"no-answer", "устройство не отвечает (NO ANSWER)"}}) {
      testing::SimProcess refusing({"--modem", "--modem-dial-ms", "200", "--modem-answer", answer});
      ports->setEditText(QString::fromStdString(refusing.path()));
      w.messages.shown.clear();
      QTest::mouseClick(w.find<QPushButton>("ConnectButton"), Qt::LeftButton);
      QCOMPARE(w.messages.shown.size(), size_t(1));
      QCOMPARE(w.messages.shown[0].text, QString("Вызов не состоялся: ") + QString::fromUtf8(said));
      QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
      w.find<QCheckBox>("CheckBox48")->click();
      QVERIFY(!w->port().IsOpen());
    }
  }

  void switchingOffWhileDataFlowsAndClosingWithTheTerminalOn() {
    TestWindow w;
    auto line = std::make_shared<LineState>();
    line->watch = &w->port();
    line->endless = true;
    testing::UseFakeLine(w->port(), line);
    w.showTab("TabSheet7");
    auto* box = w.find<QCheckBox>("CheckBox48");
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    box->click();
    QTRY_VERIFY(!memo->toPlainText().isEmpty());
    box->click();
    QVERIFY(!w->port().IsOpen() && !w->port().TerminalOn);

    box->click();
    const QString cap = w.dir() + "/close.cap";
    w.chosenPath = cap;
    w.find<ui::TerminalPanel>("TerminalPanel")->startCapture();
    const size_t reads = line->Reads();
    QTRY_VERIFY(line->Reads() > reads + 10);
    QVERIFY(w->close());
    QVERIFY(!w->port().IsOpen() && !w->port().TerminalOn);
    const size_t after = line->Reads();
    QTest::qWait(30);
    QCOMPARE(line->Reads(), after);
    QVERIFY(Contents(cap).endsWith("]\n"));
    QVERIFY(Contents(cap).contains("\n[End: "));
    QCOMPARE(line->misuse, 0);
  }
};

VORSIN_UI_TEST(TerminalTest)
#include "terminal_test.moc"
