// The terminal on "Программирование": a reply split over two reads shown as
// two lines and captured whole, typing, the capture's replace/append
// question, saving the memo, reading the device through the terminal's port,
// switching off while data flows and closing the window with it on.
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
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
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;
using vorsin::testing::LineState;

namespace {

QByteArray FileBytes(const QString& path) {
  QFile f(path);
  f.open(QIODevice::ReadOnly);
  return f.readAll();
}

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
    const QByteArray bytes = FileBytes(cap);
    QVERIFY(bytes.startsWith("old\n[Capture: "));
    QCOMPARE(bytes.count("\n[Cts On: "), 1);
    QVERIFY(bytes.contains("]\nAT\r\nOK\r\n\n[End: "));
    QVERIFY(bytes.endsWith("]\n"));

    // "Отменить" leaves the file alone and the capture off.
    AnswerReplaceDialog(w, "Button3");
    panel->startCapture();
    QCOMPARE(FileBytes(cap), bytes);
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
    QCOMPARE(FileBytes(saved), QByteArray("keep"));
    w.messages.answer = kAnswerOk;
    w.find<ui::TerminalPanel>("TerminalPanel")->saveMemo();
    QCOMPARE(FileBytes(saved), QByteArray("AT\r\nOK\r\n"));
  }

  void readingTheDeviceBorrowsTheTerminalsPort() {
    testing::SimProcess sim({"--modem"});
    QVERIFY(sim.ok());
    TestWindow w;
    w.showTab("TabSheet7");
    auto* ports = w.find<QComboBox>("ComboBox22");
    ports->setEditText(QString::fromStdString(sim.path()));
    w.find<QCheckBox>("CheckBox48")->click();
    QVERIFY(w->port().TerminalOn);
    // The factory image is not readable: program the device first.
    QTest::mouseClick(w.find<QPushButton>("Button1"), Qt::LeftButton);
    QTest::mouseClick(w.find<QPushButton>("Button3"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QVERIFY(ProgrammedNote(w.messages.shown[0].text));
    QCOMPARE(w.messages.shown[1].text, QString("Настройки считаны"));
    QVERIFY(w->port().IsOpen() && w->port().TerminalOn && !w->port().PortLent);

    // The terminal goes on: the modem echoes and answers.
    auto* memo = w.find<QPlainTextEdit>("Memo2");
    QTest::keyClicks(memo, "AT");
    QTest::keyClick(memo, Qt::Key_Return);
    QTRY_COMPARE(memo->toPlainText(), QString("AT\nOK\n"));
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
    QVERIFY(FileBytes(cap).endsWith("]\n"));
    QVERIFY(FileBytes(cap).contains("\n[End: "));
    QCOMPARE(line->misuse, 0);
  }
};

VORSIN_UI_TEST(TerminalTest)
#include "terminal_test.moc"
