// The programming page against the device simulator: programming, reading
// back, what the window does meanwhile, and the refusals before the port.
#include <QCheckBox>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "link/com_port.h"
#include "link/serial_port.h"
#include "registry.h"
#include "simulator.h"
#include "ui/port_choices.h"
#include "ui/programming_page.h"
#include "ui/user_settings.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

void ChoosePort(TestWindow& w, const QString& path) {
  auto* ports = w.find<QComboBox>("ComboBox22");
  ports->setFocus();
  ports->lineEdit()->selectAll();
  QTest::keyClicks(ports, path);
}

void TypeInto(TestWindow& w, const char* name, const QString& text) {
  auto* edit = w.find<QLineEdit>(name);
  Enter(edit);
  edit->selectAll();
  TypeText(edit, text);
  Leave(edit);
}

void Click(TestWindow& w, const char* name) { QTest::mouseClick(w.find<QPushButton>(name), Qt::LeftButton); }

bool Showed(const TestWindow& w, const QString& text, const QString& caption) {
  for (const auto& m : w.messages.shown) {
    if (m.text == text && m.caption == caption) return true;
  }
  return false;
}

bool ShowedProgrammed(const TestWindow& w) {
  for (const auto& m : w.messages.shown) {
    if (ProgrammedNote(m.text) && m.caption.isEmpty()) return true;
  }
  return false;
}

}  // namespace

class ProgrammingTest : public QObject {
  Q_OBJECT
 private slots:
  void portBoxItemsAndTypedPaths() {
    TestWindow w;
    auto* ports = w.find<QComboBox>("ComboBox22");
    for (int i = 0; i < 5; ++i) QCOMPARE(ports->itemText(i), QString("Com%1").arg(i + 1));
    // An item opens its device; a typed path is opened as it stands.
    ports->setCurrentIndex(1);
    QCOMPARE(w->port().portName, PortNameForIndex(1));
    ChoosePort(w, "/dev/pts/77");
    QCOMPARE(w->port().portName, std::string("/dev/pts/77"));
    // The speed box offers the speeds the command line accepts, 115200 first chosen.
    auto* speeds = w.find<QComboBox>("ComboBox24");
    QCOMPARE(speeds->count(), 7);
    QCOMPARE(speeds->itemText(0), QString("2400"));
    QCOMPARE(speeds->itemText(6), QString("115200"));
    QCOMPARE(speeds->currentIndex(), 6);
    speeds->setCurrentIndex(2);
    QCOMPARE(w->port().speed, 9600);

    // Opening the list finds what was plugged in since, and keeps the typed path.
    auto* box = w.find<ui::PortBox>("ComboBox22");
    const QString late = "/tmp/a/rather/long/folder/for/a/bench/setup/pkd-sim-plugged-in-later";
    box->setSource([&] {
      std::vector<PortChoice> choices = ListPorts();
      choices.push_back({late.toStdString(), late.toStdString()});
      return choices;
    });
    box->showPopup();
    QCOMPARE(box->itemText(box->count() - 1), late);
    QCOMPARE(box->itemData(box->count() - 1, Qt::ToolTipRole).toString(), late);
    QVERIFY(box->view()->textElideMode() == Qt::ElideMiddle);
    QCOMPARE(box->currentText(), QString("/dev/pts/77"));
    box->hidePopup();
    QCOMPARE(w->port().portName, std::string("/dev/pts/77"));
    QVERIFY(box->toolTip().contains("/dev/pts/77") && box->toolTip().contains("путь к устройству"));

    // No port at all is refused, saying so.
    w.showTab("TabSheet7");
    ChoosePort(w, "");
    QTest::keyClick(box, Qt::Key_Backspace);
    Click(w, "Button3");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.messages.shown[0].text.startsWith("Не указан COM порт"));

    // The engineer password takes six digits and nothing else.
    TypeInto(w, "Edit10", "12ab345678");
    QCOMPARE(w->programmingPage()->password(), std::string("123456"));
  }

  void simulatorLinksAreOffered() {
#ifdef _WIN32
    QSKIP("the port box offers the simulator's links on Linux only");
#endif
    QTemporaryDir dir;
    Simulator sim({"--link", dir.path() + "/pkd-sim-bench"});
    QFile::link("/nonexistent/pty", dir.path() + "/pkd-sim-gone");  // a simulator that ended
    QFile::link(sim.path(), dir.path() + "/other-link");
    const auto links = ui::SimulatorLinks(dir.path().toStdString());
    QCOMPARE(links.size(), size_t(1));
    QCOMPARE(QString::fromStdString(links[0].name), dir.path() + "/pkd-sim-bench");
    std::vector<PortChoice> choices = ListPorts();
    QCOMPARE(ui::InitialPortChoice(choices), 0);
    choices.push_back(links[0]);
    QCOMPARE(ui::InitialPortChoice(choices), int(choices.size()) - 1);
  }

  void missingSimCodesAreRefusedBeforeThePortOpens() {
    TestWindow w;
    int opened = 0;
    w->port().makePort = [&] {
      ++opened;
      return MakeSerialPort();
    };
    w->workspace().config.pukCode.clear();
    w.showTab("TabSheet7");
    Click(w, "Button1");
    QCOMPARE(opened, 0);
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Незаполнены обезательные поля Pin/Puk кодов (Вкладка \"Общие\")"));
    QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
    QVERIFY(w.messages.shown[0].icon == Icon::Error);
    // VGR and VGT are bytes: a larger number is refused by name, not wrapped.
    w->workspace().config.pukCode = "1234";
    TypeInto(w, "Edit24", "999");
    Click(w, "Button1");
    QCOMPARE(opened, 0);
    QCOMPARE(w.messages.shown.back().text, QString("Значение поля VGT должно быть числом от 0 до 255"));
  }

  void missingPortIsReportedAndTheWindowUnlocked() {
    TestWindow w;
    w.showTab("TabSheet7");
    ChoosePort(w, "/nonexistent/ttyS9");
    Click(w, "Button3");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.messages.shown[0].text.startsWith("Не удаётся обнаружить /nonexistent/ttyS9"));
    QVERIFY(w->pageControl()->isEnabled() && w->menuBar()->isEnabled());
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - default"));
  }

  void programsTheSimulatorAndReadsItBack() {
    Simulator sim;
    TestWindow w;
    // Settings to find again after the round trip.
    TypeInto(w, "Edit1", "+79001234567");
    auto* period = w.find<QComboBox>("ComboBox1");
    Enter(period);
    TypeText(period, "2 ч");
    PressEnter(period);
    w.showTab("TabSheet7");
    ChoosePort(w, sim.path());
    TypeInto(w, "Edit21", "7");

    // Watch the window while the frames go out.
    QProgressBar* bar = w.find<QProgressBar>("pBar");
    int samples = 0, pagesEnabled = 0, menusEnabled = 0, maxBar = 0;
    bool closedMidway = false;
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
      if (!w->operationRunning()) return;
      ++samples;
      pagesEnabled += w->pageControl()->isEnabled();
      menusEnabled += w->menuBar()->isEnabled();
      maxBar = std::max(maxBar, bar->value());
      closedMidway = closedMidway || w->close();
      QTest::mouseClick(w.find<QPushButton>("Button3"), Qt::LeftButton);  // must not start a read
    });
    watch.start(0);
    w.messages.answer = kAnswerCancel;
    Click(w, "Button1");
    watch.stop();

    QVERIFY(ShowedProgrammed(w));
    QVERIFY(!Showed(w, "Настройки считаны", ""));
    QVERIFY(w.messages.shown.back().windowTitle.contains("Время последней загрузки"));
    QVERIFY(samples > 0);
    QCOMPARE(pagesEnabled, 0);
    QCOMPARE(menusEnabled, 0);
    QVERIFY(!closedMidway && w->isVisible());
    // The close box used meanwhile is asked about once the device is done.
    QCoreApplication::processEvents();
    QCOMPARE(w.messages.shown.back().text, QString("Закрыть приложение ?"));
    QVERIFY(w->isVisible());
    w.messages.shown.pop_back();
    QVERIFY(maxBar > 0);
    QCOMPARE(bar->value(), 0);
    QVERIFY(w->pageControl()->isEnabled());
    const QString loaded = QString::fromStdString(w->workspace().config.lastLoadTime);
    QVERIFY(!loaded.isEmpty());
    QCOMPARE(w->windowTitle(), "Ворсин v2.7 - default (Время последней загрузки " + loaded + ")");

    w->findChild<QAction*>("N2")->trigger();  // "Новый"
    QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - default"));
    TypeInto(w, "Edit21", "0");

    w.messages.shown.clear();
    Click(w, "Button3");
    QVERIFY(Showed(w, "Настройки считаны", ""));
    QVERIFY(w.messages.shown.back().windowTitle.startsWith("Ворсин v2.7 - Read"));
    QCOMPARE(bar->value(), 0);
    QCOMPARE(w->windowTitle(), "Ворсин v2.7 - Read (Время последней загрузки " + loaded + ")");
    QCOMPARE(w.find<QLineEdit>("Edit21")->text(), QString("7"));
    w.showTab("TabSheet1");
    QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString("+79001234567"));
    QCOMPARE(w.find<QComboBox>("ComboBox1")->currentText(), QString("2 часа"));
  }

  void failedReadKeepsTheWindowAsItWas() {
    // A device that wants 1234 and holds an image format this tool does not know.
    Simulator sim({"--password", "1234", "--format", "3"});
    TestWindow w;
    TypeInto(w, "Edit1", "+7901");
    w->workspace().projectFileName = "site.dat";
    w->updateCaption();
    w.showTab("TabSheet7");
    ChoosePort(w, sim.path());
    const auto unchanged = [&] {
      QCOMPARE(w->workspace().config.ownNumber, std::string("+7901"));
      QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString("+7901"));
      QCOMPARE(w->windowTitle(), QString("Ворсин v2.7 - site.dat"));
      QCOMPARE(w.find<QProgressBar>("pBar")->value(), 0);
      QVERIFY(w->pageControl()->isEnabled() && w->menuBar()->isEnabled());
    };

    // Refused access, and a failure after access: the same.
    TypeInto(w, "Edit10", "9999");
    Click(w, "Button3");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
    unchanged();
    TypeInto(w, "Edit10", "1234");
    Click(w, "Button3");
    QVERIFY(Showed(w, "Необходимо обновить версию Ворсина.\nCвяжитесь с производителем.", "Ошибка"));
    unchanged();
  }

  void lineLostMidReadKeepsTheProject() {
    auto sim = std::make_unique<Simulator>(QStringList{"--baud", "19200"});
    TestWindow w;
    w.showTab("TabSheet7");
    ChoosePort(w, sim->path());
    w.find<QComboBox>("ComboBox24")->setCurrentText("19200");
    Click(w, "Button1");
    QVERIFY(ShowedProgrammed(w));
    TypeInto(w, "Edit1", "+7901");
    w->workspace().projectFileName = "site.dat";
    w->updateCaption();
    const QString caption = w->windowTitle();

    // The simulator dies once the first frames of the read have come.
    QTimer cut;
    connect(&cut, &QTimer::timeout, [&] {
      if (w.find<QProgressBar>("pBar")->value() > 0) sim.reset();
    });
    cut.start(5);
    w.messages.shown.clear();
    Click(w, "Button3");
    cut.stop();
    QVERIFY(!sim);
    QVERIFY(Showed(w, "Отсутствие связи с устройством", "Ошибка"));
    QCOMPARE(w->workspace().config.ownNumber, std::string("+7901"));
    QCOMPARE(w->workspace().projectFileName.string(), std::string("site.dat"));
    QCOMPARE(w.find<QLineEdit>("Edit1")->text(), QString("+7901"));
    QCOMPARE(w->windowTitle(), caption);
  }

  void verifyAfterWritingIsOnByDefaultRememberedAndNamesAFaultyCell() {
    // The run's own settings folder, never the user's; nothing remembered yet.
    QVERIFY(ui::UserSettings()->fileName().startsWith(QDir::tempPath()));
    ui::UserSettings()->remove(ui::kVerifyAfterWritingKey);
    Simulator sim({"--stuck-byte", "0x0101"});  // a worn cell in the PIN code
    {
      TestWindow w;
      w.showTab("TabSheet7");
      ChoosePort(w, sim.path());
      auto* verify = w.find<QCheckBox>("VerifyCheck");
      QVERIFY(verify->isChecked());
      QVERIFY(!ui::UserSettings()->contains(ui::kVerifyAfterWritingKey));  // showing it stores nothing
      Click(w, "Button1");
      QCOMPARE(w.messages.shown.size(), size_t(1));
      QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
      QVERIFY(w.messages.shown[0].text.contains("по адресу 0x0101"));
      QVERIFY(!w.messages.shown[0].text.contains("Устройство запрограммированно"));
      QVERIFY(!w->windowTitle().contains("Время последней загрузки"));
      QCOMPARE(w.find<QProgressBar>("pBar")->value(), 0);

      // Unticked, the faulty cell goes unnoticed, as it always did.
      QTest::mouseClick(verify, Qt::LeftButton, {}, QPoint(4, verify->height() / 2));
      QVERIFY(!verify->isChecked());
      w.messages.shown.clear();
      Click(w, "Button1");
      QCOMPARE(w.messages.shown.size(), size_t(1));
      QCOMPARE(w.messages.shown[0].text, QString("Устройство запрограммированно"));
    }
    {
      TestWindow w;  // a new run of the window remembers the box
      QVERIFY(!w.find<QCheckBox>("VerifyCheck")->isChecked());
      w.find<QCheckBox>("VerifyCheck")->setChecked(true);
    }
    Simulator good;
    TestWindow w;
    QVERIFY(w.find<QCheckBox>("VerifyCheck")->isChecked());
    w.showTab("TabSheet7");
    ChoosePort(w, good.path());
    Click(w, "Button1");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QVERIFY(w.messages.shown[0].text.startsWith("Устройство запрограммированно\nЗапись проверена"));
    QCOMPARE(w.messages.shown[0].caption, QString());
  }

  void programmingCutOffSaysTheDeviceMustBeProgrammedAgain() {
    Simulator sim({"--cut-after", "8"});  // access, table, versions, general block, three writes
    TestWindow w;
    w.showTab("TabSheet7");
    ChoosePort(w, sim.path());
    Click(w, "Button1");
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Отсутствие связи с устройством\n"
                                               "Устройство запрограммировано не полностью, запрограммируйте его заново."));
    QCOMPARE(w.messages.shown[0].caption, QString("Ошибка"));
    QVERIFY(!w->windowTitle().contains("Время последней загрузки"));
    QCOMPARE(w.find<QProgressBar>("pBar")->value(), 0);
    QVERIFY(w->pageControl()->isEnabled());
  }

  void aPortableCopyKeepsItsSettingBesideItself() {
    const bool before = ui::UserSettings()->value(ui::kVerifyAfterWritingKey, true).toBool();
    QTemporaryDir program;
    const QString file = program.path() + "/vorsin.ini";
    {
      TestWindow w({}, file);
      auto* verify = w.find<QCheckBox>("VerifyCheck");
      QVERIFY(verify->isChecked());  // on until turned off
      verify->setChecked(false);
    }
    QVERIFY(!QSettings(file, QSettings::IniFormat).value(ui::kVerifyAfterWritingKey).toBool());
    QCOMPARE(ui::UserSettings()->value(ui::kVerifyAfterWritingKey, true).toBool(), before);  // untouched
    TestWindow again({}, file);
    QVERIFY(!again.find<QCheckBox>("VerifyCheck")->isChecked());
  }

  void restartAndLeaveProgrammingTalkToTheDevice() {
    Simulator sim;
    TestWindow w;
    w.showTab("TabSheet7");
    ChoosePort(w, sim.path());
    Click(w, "Button9");
    Click(w, "Button7");
    // Each success says so, with an empty caption as the other success notes.
    QCOMPARE(w.messages.shown.size(), size_t(2));
    QCOMPARE(w.messages.shown[0].text, QString("Устройство перезапущено"));
    QCOMPARE(w.messages.shown[1].text, QString("Устройство вышло из режима программирования"));
    QCOMPARE(w.messages.shown[0].caption, QString());
    QCOMPARE(w.messages.shown[1].caption, QString());
    QVERIFY(!w->port().IsOpen());
    // No device: the error alone, no note.
    ChoosePort(w, w.dir() + "/no-such-port");
    const size_t before = w.messages.shown.size();
    Click(w, "Button9");
    QCOMPARE(w.messages.shown.size(), before + 1);
    QCOMPARE(w.messages.shown.back().caption, QString("Ошибка"));
  }
};

VORSIN_UI_TEST(ProgrammingTest)
#include "programming_test.moc"
