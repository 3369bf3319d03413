// The "Файл" menu's comparisons (with a project file, with the simulator
// after programming) and the report, printed to a PDF file and saved as HTML.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>

#include <QRegularExpression>

#include "../image/image_test_support.h"
#include "project/project_file.h"
#include "registry.h"
#include "simulator.h"
#include "ui/compare_dialog.h"
#include "ui/report_actions.h"
#include "ui_support.h"

using namespace vorsin;
using namespace vorsin::test;

namespace {

QString Shown(TestWindow& w) { return w.find<QPlainTextEdit>("CompareText")->toPlainText(); }

void SaveAs(TestWindow& w, const QString& path) {
  Workspace copy = w->workspace();
  RecordingMessenger m;
  QCOMPARE(WriteProjectFile(copy, QFile::encodeName(path).toStdString(), m), kProjectOk);
}

}  // namespace

class CompareReportTest : public QObject {
  Q_OBJECT
 private slots:
  void compareWithFileShowsTheCurrentConfigurationOnTheLeft() {
    TestWindow w;
    w->workspace().config.ownNumber = "+79001112233";
    w.chosenPath = w.dir() + "/site.dat";
    SaveAs(w, w.chosenPath);
    Trigger(w, "CompareFile");
    QCOMPARE(Shown(w), QString("Настройки совпадают"));

    w->workspace().config.ownNumber = "+79004445566";
    Trigger(w, "CompareFile");
    auto* dialog = w.find<ui::CompareDialog>("CompareDialog");
    QVERIFY(dialog->isVisible() && dialog->windowTitle().endsWith("site.dat"));
    QCOMPARE(Shown(w), QString("Общие: Собственный номер: «+79004445566» → «+79001112233»"));
    QVERIFY(w.find<QPlainTextEdit>("CompareText")->isReadOnly());

    // A file that cannot be read says so and leaves the last list alone.
    QFile broken(w.dir() + "/broken.dat");
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("not a project");
    broken.close();
    w.chosenPath = broken.fileName();
    const size_t before = w.messages.shown.size();
    Trigger(w, "CompareFile");
    QCOMPARE(w.messages.shown.size(), before + 1);
    QVERIFY(Shown(w).startsWith("Общие: Собственный номер"));
  }

  void compareWithDeviceAfterProgrammingIsEqualThenShowsTheChange() {
    Simulator sim;
    TestWindow w;
    UseSimulatorPort(w, sim);
    Configuration& c = w->workspace().config;
    // Held differently by the device: the profile index and bit 5 of the service flags.
    c.general.setProfileIndex(2);
    c.general.serviceFlags() |= 0x30;
    c.ownNumber = "+79001112233";
    QTest::mouseClick(w.find<QPushButton>("Button1"), Qt::LeftButton);
    QVERIFY(ProgrammedNote(w.messages.shown.back().text));
    const FilePath fileName = w->workspace().projectFileName;

    Trigger(w, "CompareDevice");
    QCOMPARE(Shown(w), QString("Настройки совпадают"));
    QVERIFY(ProgrammedNote(w.messages.shown.back().text));  // no "Настройки считаны"
    QVERIFY(w->workspace().projectFileName == fileName);  // the open configuration stays
    QVERIFY(w->pageControl()->isEnabled());

    c.ownNumber = "+79009998877";
    Trigger(w, "CompareDevice");
    QCOMPARE(Shown(w), QString("Общие: Собственный номер: «+79009998877» → «+79001112233»"));
  }

  void printsToPdfAndSavesTheReport() {
    TestWindow w;
    w->workspace().config.pinCode = "4321";
    w->workspace().config.ownNumber = "+79001112233";
    auto* actions = w->findChild<ui::ReportActions*>("ReportActions");
    QVERIFY(actions != nullptr);
    const QString pdf = w.dir() + "/report.pdf";
    bool asked = false;
    actions->setPrintDialog([&](QWidget*, QPrinter& printer) {
      asked = true;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    });
    Trigger(w, "PrintReport");
    QVERIFY(asked);
    const QByteArray printed = Contents(pdf);
    QVERIFY(printed.startsWith("%PDF") && printed.size() > 1000);

    // Cancelling the dialog prints nothing.
    QFile::remove(pdf);
    actions->setPrintDialog([](QWidget*, QPrinter&) { return false; });
    Trigger(w, "PrintReport");
    QVERIFY(!QFile::exists(pdf));

    // Saved as HTML, ".html" added; the PIN only when asked for.
    w.chosenPath = w.dir() + "/report";
    Trigger(w, "SaveReport");
    QString html = QString::fromUtf8(Contents(w.chosenPath + ".html"));
    QVERIFY(html.contains("<html") && html.contains("+79001112233"));
    QVERIFY(!html.contains("4321"));
    w.chosenPath += ".html";
    w.find<QAction>("ReportSecrets")->trigger();
    w.messages.answer = kAnswerCancel;  // keep the existing file
    Trigger(w, "SaveReport");
    QCOMPARE(w.messages.shown.back().text, QString("Файл report.html уже существует. Заменить?"));
    QVERIFY(!QString::fromUtf8(Contents(w.chosenPath)).contains("4321"));
    w.messages.answer = kAnswerOk;
    Trigger(w, "SaveReport");
    QVERIFY(QString::fromUtf8(Contents(w.chosenPath)).contains("4321"));
  }

  // A realistic site prints on several pages, each under the site's line;
  // VORSIN_REPORT_PDF keeps the PDF (the README's picture is made from it).
  void printsARichSiteOnPagesUnderAHeader() {
    TestWindow w;
    image_test::FillRich(w->workspace());
    w->refreshPages();
    auto* actions = w->findChild<ui::ReportActions*>("ReportActions");
    const QString kept = qEnvironmentVariable("VORSIN_REPORT_PDF");
    const QString pdf = kept.isEmpty() ? w.dir() + "/rich.pdf" : kept;
    actions->setPrintDialog([&](QWidget*, QPrinter& printer) {
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      return true;
    });
    Trigger(w, "PrintReport");
    const QByteArray printed = Contents(pdf);
    QVERIFY(printed.startsWith("%PDF"));
    const qsizetype pages = QString::fromLatin1(printed).count(QRegularExpression("/Type\\s*/Page[^s]"));
    QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
    QCOMPARE(w.messages.shown.size(), size_t{0});
  }
};

VORSIN_UI_TEST(CompareReportTest)
#include "compare_report_test.moc"
