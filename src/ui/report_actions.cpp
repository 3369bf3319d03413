#include "ui/report_actions.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QSaveFile>
#include <QTextDocument>

#include "image/device_compare.h"
#include "model/config_diff.h"
#include "model/cp1251.h"
#include "project/project_file.h"
#include "project/report.h"
#include "ui/bar_progress.h"
#include "ui/compare_dialog.h"
#include "ui/window_services.h"
#include "ui/programming_page.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

bool QtPrintDialog(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

// Prints the document page by page under a header line: the site on the
// left, "стр. N из M" on the right.
bool PrintWithHeader(QTextDocument& document, QPrinter& printer, const QString& site) {
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const QRectF area(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
  document.documentLayout()->setPaintDevice(&printer);
  QFont font = document.defaultFont();
  font.setPointSizeF(8);
  painter.setFont(font);
  const qreal line = QFontMetricsF(font, &printer).height();
  const qreal header = line * 2.2;
  const qreal bodyHeight = area.height() - header;
  document.setPageSize(QSizeF(area.width(), bodyHeight));
  const int pages = document.pageCount();
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !printer.newPage()) return false;
    const QRectF top(0, 0, area.width(), line);
    painter.setPen(QColor(0x44, 0x44, 0x44));
    painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, site);
    painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("стр. %1 из %2").arg(page + 1).arg(pages));
    painter.drawLine(QPointF(0, line * 1.3), QPointF(area.width(), line * 1.3));
    painter.save();
    painter.translate(0, header - page * bodyHeight);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = QRectF(0, page * bodyHeight, area.width(), bodyHeight);
    painter.setClipRect(context.clip);
    document.documentLayout()->draw(&painter, context);
    painter.restore();
  }
  return painter.end();
}

}  // namespace

ReportActions::ReportActions(WindowServices& window, QMenu* menu)
    : QObject(window.widget()), window_(window), printDialog_(QtPrintDialog) {
  setObjectName("ReportActions");
  const auto item = [this, menu](const char* name, const QString& caption, void (ReportActions::*slot)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  item("CompareFile", QStringLiteral("Сравнить с файлом..."), &ReportActions::compareWithFile);
  item("CompareDevice", QStringLiteral("Сравнить с устройством"), &ReportActions::compareWithDevice);
  menu->addSeparator();
  item("PrintReport", QStringLiteral("Печать..."), &ReportActions::print);
  item("SaveReport", QStringLiteral("Сохранить отчёт..."), &ReportActions::saveReport);
  // Off by default: a report is for the customer's files, the codes are not.
  secrets_ = menu->addAction(QStringLiteral("Пароли и PIN-код в отчёте"));
  secrets_->setObjectName("ReportSecrets");
  secrets_->setCheckable(true);
}

CompareDialog* ReportActions::compareDialog() {
  if (dialog_ == nullptr) dialog_ = new CompareDialog(window_.widget());
  return dialog_;
}

void ReportActions::compareWithFile() {
  if (window_.operationRunning()) return;
  const QString path = window_.files().open(window_.widget(), window_.projectDirectory(), DatFilter());
  if (path.isEmpty()) return;
  Workspace other;
  if (ReadProjectFile(other, window_.vocabulary(), ToFsPath(path), window_.messenger()) != kProjectOk) return;
  const QString name = QFileInfo(path).fileName();
  compareDialog()->showDifferences(
      QStringLiteral("Сравнение с файлом ") + name,
      QStringLiteral("Слева от «→» текущие настройки, справа файл ") + name + u'.',
      DiffConfigurations(window_.workspace().config, other.config));
}

void ReportActions::compareWithDevice() {
  if (window_.operationRunning()) return;
  ProgrammingPage* page = window_.programmingPage();
  const OperationScope scope(window_);
  ComPort& port = window_.port();
  port.portName = page->portName();
  port.speed = page->speed();
  ReadOptions options;
  options.password = page->password();
  BarProgress progress(window_.progressBar());
  DeviceComparison sides;
  if (ReadForComparison(window_.workspace(), window_.vocabulary(), port, options, window_.messenger(), progress,
                        sides) != 0)
    return;
  compareDialog()->showDifferences(
      QStringLiteral("Сравнение с устройством"),
      QStringLiteral("Слева от «→» текущие настройки в том виде, в каком их вернёт устройство после "
                     "программирования, справа настройки устройства. Время последней загрузки не сравнивается."),
      DiffConfigurations(sides.own, sides.device));
}

ReportOptions ReportActions::reportOptions() const {
  const Workspace& ws = window_.workspace();
  ReportOptions options;
  options.withSecrets = secrets_->isChecked();
  options.title = QFileInfo(FromFsPath(ws.projectFileName)).fileName().toStdString();
  options.made = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")).toStdString();
  return options;
}

std::string ReportActions::reportHtml() const { return BuildReport(window_.workspace(), reportOptions()); }

void ReportActions::print() {
  if (window_.operationRunning()) return;
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("Ворсин"));
  if (!printDialog_(window_.widget(), printer)) return;
  const ReportOptions options = reportOptions();
  QTextDocument document;
  document.setHtml(QString::fromStdString(BuildReport(window_.workspace(), options)));
  const QString site = QString::fromStdString(ReportSiteLine(window_.workspace(), options));
  if (!PrintWithHeader(document, printer, site) || printer.printerState() == QPrinter::Error)
    window_.messenger().Error(Cp("Не удалось напечатать отчёт"));
}

void ReportActions::saveReport() {
  if (window_.operationRunning()) return;
  QString path = window_.files().pick(window_.widget(), window_.projectDirectory(), QStringLiteral("*.html (*.html *.htm)"));
  if (path.isEmpty()) return;
  if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".html");
  Messenger& messenger = window_.messenger();
  if (QFileInfo::exists(path) &&
      messenger.Show(Cp("Файл ") + Cp1251(QFileInfo(path).fileName()) + Cp(" уже существует. Заменить?"),
                     CaptionWarning(), Icon::Question, Buttons::YesNo) != kAnswerOk)
    return;
  // Written aside and renamed over the target: a failed save leaves an older report whole.
  const std::string html = reportHtml();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(html.data(), static_cast<qint64>(html.size())) !=
                                              static_cast<qint64>(html.size()) ||
      !file.commit())
    messenger.Error(Cp("Не удалось сохранить отчёт в ") + Cp1251(path));
}

}  // namespace vorsin::ui
