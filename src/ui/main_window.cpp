#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QMenuBar>
#include <QScreen>
#include <QTabWidget>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "project/project_file.h"
#include "sms/sms.h"
#include "ui/dest_menu.h"
#include "ui/free_entry_combo.h"
#include "ui/general_page.h"
#include "ui/message_box_messenger.h"
#include "ui/page.h"
#include "ui/programming_page.h"
#include "ui/replace_dialog.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

// Paths are kept in the workspace as the file system spells them.
std::string FsPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString FromFsPath(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

QString FileNamePart(const QString& path) {
  const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
  return path.mid(cut + 1);
}

}  // namespace

QString WindowCaption(const Workspace& ws) {
  QString caption = QStringLiteral("Ворсин v2.7 - ") + FileNamePart(FromFsPath(ws.projectFileName));
  if (!ws.config.lastLoadTime.empty()) {
    caption += QStringLiteral(" (Время последней загрузки ") + Q(ws.config.lastLoadTime) + u')';
  }
  return caption;
}

MainWindow::MainWindow(WindowSetup setup, QWidget* parent)
    : QMainWindow(parent),
      programDir_(std::move(setup.programDir)),
      messenger_(setup.messenger),
      files_(std::move(setup.files)),
      vocabulary_(FsPath(programDir_ + QStringLiteral("/RorEdad.ini"))) {
  setObjectName("TForm1");
  if (messenger_ == nullptr) {
    ownMessenger_ = std::make_unique<MessageBoxMessenger>(this);
    messenger_ = ownMessenger_.get();
  }
  const FileChooser dialogs = DialogFileChooser();
  if (!files_.open) files_.open = dialogs.open;
  if (!files_.save) files_.save = dialogs.save;

  destMenu_ = new DestMenu(this);
  combos_ = new FreeEntryCombos(this);
  buildMenu();
  buildPages();

  ResetToDefaults(ws_, vocabulary_);
  updateCaption();
  refreshPages();
  pageControl_->setCurrentIndex(kGeneral);

  // The pages decide the smallest size that shows them whole.
  resize(QSize(645, 476).expandedTo(minimumSizeHint()));
  if (const QScreen* screen = this->screen()) {
    move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
  }
}

MainWindow::~MainWindow() = default;

void MainWindow::buildMenu() {
  QMenuBar* bar = menuBar();
  bar->setObjectName("MainMenu1");
  const auto item = [this](QMenu* menu, const char* name, const QString& caption, void (MainWindow::*slot)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (slot != nullptr) {
      connect(action, &QAction::triggered, this, slot);
    } else {
      action->setEnabled(false);  // the feature comes with its own window
    }
    return action;
  };

  QMenu* file = bar->addMenu(QStringLiteral("Файл"));
  file->setObjectName("N1");
  QAction* fresh = item(file, "N2", QStringLiteral("Новый"), &MainWindow::newConfiguration);
  QFont bold = fresh->font();
  bold.setBold(true);  // the default item
  fresh->setFont(bold);
  item(file, "N4", QStringLiteral("Открыть"), &MainWindow::openProject);
  item(file, "N5", QStringLiteral("Сохранить как.."), &MainWindow::saveProjectAs);
  item(file, "N3", QStringLiteral("Выход"), &MainWindow::askExit);

  QMenu* settings = bar->addMenu(QStringLiteral("Настройки"));
  settings->setObjectName("N7");
  item(settings, "Sms2", QStringLiteral("Редактор Sms сообщений"), nullptr);
  item(settings, "Sms1", QStringLiteral("Загрузить Sms по умолчанию "), &MainWindow::reloadSmsTemplates);
  item(settings, "N9", QStringLiteral("Загрузить интервалы по умолчанию"), nullptr);
  settings->addSeparator()->setObjectName("N8");
  item(settings, "N6", QStringLiteral("Загрузчик"), nullptr);
}

void MainWindow::buildPages() {
  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName("PageControl1");
  setCentralWidget(pageControl_);

  general_ = new GeneralPage(ws_, vocabulary_, *combos_);
  programming_ = new ProgrammingPage(*this);
  const struct {
    const char* name;
    QString caption;
    QWidget* content;
  } kTabs[kTabCount] = {
      {"TabSheet1", QStringLiteral("Общие"), general_},
      {"TabSheet2", QStringLiteral("Адресаты"), nullptr},
      {"TabSheet3", QStringLiteral("Шлейфы"), nullptr},
      {"TabSheet4", QStringLiteral("Реле"), nullptr},
      {"TabSheet5", QStringLiteral("События"), nullptr},
      {"TabSheet6", QStringLiteral("Отчёты"), nullptr},
      {"TabSheet8", QStringLiteral("Пользователи"), nullptr},
      {"TabSheet9", QStringLiteral("Управление"), nullptr},
      {"TabSheet7", QStringLiteral("Программирование"), programming_},
  };
  for (const auto& t : kTabs) {
    QWidget* page = t.content != nullptr ? t.content : new QWidget;
    page->setObjectName(t.name);
    pageControl_->addTab(page, t.caption);
  }
  pages_[kGeneral] = general_;
  connect(pageControl_, &QTabWidget::currentChanged, this, &MainWindow::pageChanged);
}

QWidget* MainWindow::tab(Tab t) const { return pageControl_->widget(t); }

void MainWindow::setPage(Tab t, Page* page) { pages_[t] = page; }

void MainWindow::pageChanged(int index) {
  if (shownTab_ >= 0 && shownTab_ < kTabCount && pages_[shownTab_] != nullptr) pages_[shownTab_]->left();
  shownTab_ = index;
  if (index >= 0 && index < kTabCount && pages_[index] != nullptr) pages_[index]->shown();
}

void MainWindow::createForms() {
  const auto form = [this](const char* name) {
    auto* dialog = new QDialog(this);
    dialog->setObjectName(name);
    return dialog;
  };
  forms_.form2 = form("TForm2");
  forms_.form3 = form("TForm3");
  forms_.form4 = form("TForm4");
  forms_.form5 = form("TForm5");
  forms_.fileDialog = new ReplaceDialog(this);
  forms_.form6 = form("TForm6");
  forms_.form7 = form("TForm7");
  forms_.form8 = form("TForm8");
}

void MainWindow::refreshPages() {
  for (Page* page : pages_) {
    if (page != nullptr) page->refresh();
  }
}

void MainWindow::updateCaption() { setWindowTitle(WindowCaption(ws_)); }

void MainWindow::beginOperation() {
  if (operations_++ > 0) return;
  pageControl_->setEnabled(false);
  menuBar()->setEnabled(false);
}

void MainWindow::endOperation() {
  if (--operations_ > 0) return;
  pageControl_->setEnabled(true);
  menuBar()->setEnabled(true);
  if (closeRequested_) {
    // Asked for while the device was busy: ask now, once the operation's
    // own handler has returned.
    closeRequested_ = false;
    QMetaObject::invokeMethod(this, &MainWindow::askExit, Qt::QueuedConnection);
  }
}

void MainWindow::newConfiguration() {
  if (operationRunning()) return;
  ResetToDefaults(ws_, vocabulary_);
  updateCaption();
  refreshPages();
}

// The project folder, made on first use so that the file dialogs start in it.
QString MainWindow::projectDirectory() {
  const QString directory = FromFsPath(SettingsDirectory(FsPath(programDir_)));
  QDir().mkpath(directory);
  return directory;
}

void MainWindow::openProject() {
  if (operationRunning()) return;
  const QString directory = projectDirectory();
  const QString path = files_.open(this, directory, DatFilter());
  if (path.isEmpty()) return;
  const int status = ReadProjectFile(ws_, vocabulary_, FsPath(path), *messenger_);
  if (status == kProjectCannotOpen) return;
  // A refused file has reset the configuration to its defaults, but the
  // caption goes on naming the file that was open before.
  refreshPages();
  if (status == kProjectOk) updateCaption();
}

void MainWindow::saveProjectAs() {
  if (operationRunning()) return;
  const QString directory = projectDirectory();
  const QString path = files_.save(this, directory, DatFilter());
  if (path.isEmpty()) return;
  WriteProjectFile(ws_, WithDatExtension(FsPath(path)), *messenger_);
  updateCaption();
}

void MainWindow::askExit() {
  if (operationRunning()) return;
  const int answer =
      messenger_->Show(Cp("Закрыть приложение ?"), CaptionWarning(), Icon::Question, Buttons::YesNo);
  if (answer == kAnswerOk) close();
}

void MainWindow::reloadSmsTemplates() {
  if (operationRunning()) return;
  LoadSmsTemplates(ws_, vocabulary_);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A device operation in progress finishes first (its frames run inside
  // this window's event loop); the request is taken up when it ends.
  if (operationRunning()) {
    closeRequested_ = true;
    event->ignore();
    return;
  }
  if (port_.IsOpen()) CloseComPort(port_);
  event->accept();
  emit closed();
}

}  // namespace vorsin::ui
