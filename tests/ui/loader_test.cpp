// The firmware loader window against the simulator: choosing the file, an
// upload the simulator verifies line by line with the address shown, and the
// menu item while the terminal holds the port. Broken files and failed
// lines are covered by the core's tests.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "../link/sim_process.h"
#include "../tools/fake_line.h"
#include "../tools/hwr_files.h"
#include "registry.h"
#include "ui/loader_dialog.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;
using vorsin::testing::LogLines;
using vorsin::testing::SimProcess;

namespace {

// The dialog shown (not modally, so the test goes on) with file name chosen.
ui::LoaderDialog* ShowLoader(TestWindow& w, const std::string& simPath, const QString& name) {
  w->port().portName = simPath;
  auto* dialog = w.find<ui::LoaderDialog>("TForm6");
  dialog->show();
  w.chosenPath = w.dir() + "/" + name;
  QTest::mouseClick(dialog->findChild<QPushButton*>("Button1"), Qt::LeftButton);
  return dialog;
}

}  // namespace

class LoaderTest : public QObject {
  Q_OBJECT
 private slots:
  void uploadsWhatTheSimulatorVerifies() {
    TestWindow w;
    const std::string log = (w.dir() + "/sim.log").toStdString();
    SimProcess sim({"--log", log});
    QVERIFY(sim.ok());
    testing::WriteFile((w.dir() + "/fw.hwr").toStdString(), testing::MakeHwr(testing::kHexText));
    auto* dialog = ShowLoader(w, sim.path(), "fw");  // ".hwr" is added
    QVERIFY(w->port().LoaderShown);
    QCOMPARE(dialog->findChild<QLineEdit*>("Edit1")->text(), w.dir() + "/fw.hwr");
    QTest::mouseClick(dialog->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QString("Устройство запрограммированно"));
    QCOMPARE(w.messages.shown[0].caption, QString());
    QCOMPARE(dialog->findChild<QLabel*>("Label1")->text(), QString("0x567800"));
    auto* bar = dialog->findChild<QProgressBar*>("ProgressBar1");
    QCOMPARE(bar->value(), bar->maximum());
    QVERIFY(dialog->findChild<QPushButton*>("Button2")->isEnabled() && !w->port().IsOpen());
    dialog->hide();
    QVERIFY(!w->port().LoaderShown);
    sim.Stop();
    QCOMPARE(LogLines(log, "# loader finished").size(), size_t(1));
  }

  void menuItemIsOffWhileTheTerminalHoldsThePort() {
    TestWindow w;
    auto line = std::make_shared<testing::LineState>();
    testing::UseFakeLine(w->port(), line);
    QAction* loader = w->findChild<QAction*>("N6");
    QVERIFY(loader->isEnabled());
    w.showTab("TabSheet7");
    w.find<QCheckBox>("CheckBox48")->click();
    QVERIFY(!loader->isEnabled());
    w->showLoader();  // refused: nothing opens
    QVERIFY(!w.find<ui::LoaderDialog>("TForm6")->isVisible());
    w.find<QCheckBox>("CheckBox48")->click();
    QVERIFY(loader->isEnabled());
  }
};

VORSIN_UI_TEST(LoaderTest)
#include "loader_test.moc"
