// File names as installers give them, Cyrillic letters and spaces, through
// every dialog that names a file: saving and opening a project, comparing
// with one, saving the report, the terminal's capture and memo, and the
// firmware loader. Under wine this is where the dialogs' names meet the
// wide file API.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "../tools/hwr_files.h"
#include "registry.h"
#include "simulator.h"
#include "ui/loader_dialog.h"
#include "ui/terminal_panel.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

class FileNamesTest : public QObject {
  Q_OBJECT
 private slots:
  void cyrillicNamesWithSpacesInEveryDialog() {
    TestWindow w;
    const QString folder = w.dir() + QStringLiteral("/Объекты заказчика");
    QVERIFY(QDir().mkpath(folder));
    w->workspace().config.ownNumber = "+79161234567";

    w.chosenPath = folder + QStringLiteral("/Склад №7");
    Trigger(w, "N5");
    const QString project = folder + QStringLiteral("/Склад №7.dat");
    QVERIFY(QFile::exists(project));
    QCOMPARE(w->windowTitle(), QStringLiteral("Ворсин v2.7 - Склад №7.dat"));
    Trigger(w, "N2");
    w.chosenPath = project;
    Trigger(w, "N4");
    QCOMPARE(w->workspace().config.ownNumber, std::string("+79161234567"));
    Trigger(w, "CompareFile");
    QCOMPARE(w.find<QPlainTextEdit>("CompareText")->toPlainText(), QStringLiteral("Настройки совпадают"));

    w.chosenPath = folder + QStringLiteral("/Отчёт для заказчика");
    Trigger(w, "SaveReport");
    QVERIFY(Contents(w.chosenPath + ".html").contains("+79161234567"));

    auto* panel = w.find<ui::TerminalPanel>("TerminalPanel");
    w.chosenPath = folder + QStringLiteral("/Журнал обмена");
    panel->startCapture();
    panel->stopCapture();
    QVERIFY(Contents(w.chosenPath + ".cap").startsWith("\n[Capture: "));
    w.chosenPath = folder + QStringLiteral("/Текст терминала");
    panel->saveMemo();
    QVERIFY(QFile::exists(w.chosenPath + ".cap"));

    // The loader finds the chosen firmware and uploads it.
    Simulator sim;
    w->port().portName = sim.path().toStdString();
    const std::vector<uint8_t> hwr = testing::MakeHwr(testing::kHexText);
    QFile firmware(folder + QStringLiteral("/Прошивка для ПКД.hwr"));
    QVERIFY(firmware.open(QIODevice::WriteOnly));
    firmware.write(reinterpret_cast<const char*>(hwr.data()), static_cast<qint64>(hwr.size()));
    firmware.close();
    auto* loader = w.find<ui::LoaderDialog>("TForm6");
    loader->show();
    w.chosenPath = folder + QStringLiteral("/Прошивка для ПКД");
    QTest::mouseClick(loader->findChild<QPushButton*>("Button1"), Qt::LeftButton);
    QCOMPARE(loader->findChild<QLineEdit*>("Edit1")->text(), QDir::toNativeSeparators(firmware.fileName()));
    QTest::mouseClick(loader->findChild<QPushButton*>("Button2"), Qt::LeftButton);
    QCOMPARE(w.messages.shown.size(), size_t(1));
    QCOMPARE(w.messages.shown[0].text, QStringLiteral("Устройство запрограммированно"));  // sic
    loader->hide();
  }
};

VORSIN_UI_TEST(FileNamesTest)
#include "file_names_test.moc"
