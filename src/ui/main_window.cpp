#include "ui/main_window.h"

#include <QCloseEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QScreen>
#include <QTabWidget>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/loop_rules.h"
#include "project/project_file.h"
#include "sms/sms.h"
#include "ui/addressee_dialog.h"
#include "ui/addressees_page.h"
#include "ui/dest_menu.h"
#include "ui/event_dialog.h"
#include "ui/events_page.h"
#include "ui/free_entry_combo.h"
#include "ui/general_page.h"
#include "ui/loops_page.h"
#include "ui/loader_dialog.h"
#include "ui/message_box_messenger.h"
#include "ui/page.h"
#include "ui/programming_page.h"
#include "ui/relays_page.h"
#include "ui/key_dialog.h"
#include "ui/remote_page.h"
#include "ui/replace_dialog.h"
#include "ui/report_actions.h"
#include "ui/sms_editor.h"
#include "ui/reports_page.h"
#include "ui/terminal_panel.h"
#include "ui/text.h"
#include "ui/time_events_dialog.h"
#include "ui/users_page.h"

namespace vorsin::ui {
namespace {

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
      projectDir_(setup.projectDir.isEmpty() ? QString::fromStdString(SettingsDirectory(programDir_.toStdString()))
                                             : setup.projectDir),
      userDir_(setup.userDir.isEmpty() ? programDir_ : setup.userDir),
      settingsPath_(std::move(setup.settingsPath)),
      messenger_(setup.messenger),
      files_(std::move(setup.files)),
      vocabulary_(ToFsPath(setup.vocabularyPath.isEmpty() ? programDir_ + QStringLiteral("/RorEdad.ini")
                                                        : setup.vocabularyPath)) {
  setObjectName("TForm1");
  if (messenger_ == nullptr) {
    ownMessenger_ = std::make_unique<MessageBoxMessenger>(this);
    messenger_ = ownMessenger_.get();
  }
  const FileChooser dialogs = DialogFileChooser();
  if (!files_.open) files_.open = dialogs.open;
  if (!files_.save) files_.save = dialogs.save;
  if (!files_.pick) files_.pick = dialogs.pick;

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

// The terminal's reader stops before the port it reads goes.
MainWindow::~MainWindow() { terminal_->shutDown(); }

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
  file->addSeparator();
  new ReportActions(*this, file);  // comparisons and the printed report
  file->addSeparator();
  item(file, "N3", QStringLiteral("Выход"), &MainWindow::askExit);

  QMenu* settings = bar->addMenu(QStringLiteral("Настройки"));
  settings->setObjectName("N7");
  item(settings, "Sms2", QStringLiteral("Редактор Sms сообщений"), &MainWindow::showSmsEditor);
  item(settings, "Sms1", QStringLiteral("Загрузить Sms по умолчанию "), &MainWindow::reloadSmsTemplates);
  item(settings, "N9", QStringLiteral("Загрузить интервалы по умолчанию"), &MainWindow::loadDefaultIntervals);
  settings->addSeparator()->setObjectName("N8");
  item(settings, "N6", QStringLiteral("Загрузчик"), &MainWindow::showLoader);
}

void MainWindow::buildPages() {
  pageControl_ = new QTabWidget(this);
  pageControl_->setObjectName("PageControl1");
  setCentralWidget(pageControl_);

  general_ = new GeneralPage(ws_, vocabulary_, *combos_);
  programming_ = new ProgrammingPage(*this);
  auto* loops = new LoopsPage(*this);
  addressees_ = new AddresseesPage(*this);
  auto* relays = new RelaysPage(*this);
  users_ = new UsersPage(*this, [this] { return programming_->password(); });
  remote_ = new RemotePage(*this, [this] { general_->writeProfile(); });
  auto* events = new EventsPage(*this);
  auto* reports = new ReportsPage(*this);
  terminal_ = new TerminalPanel(*this, findChild<QAction*>("N6"));
  programming_->layout()->addWidget(terminal_);
  const struct {
    const char* name;
    QString caption;
    QWidget* content;
  } kTabs[kTabCount] = {
      {"TabSheet1", QStringLiteral("Общие"), general_},
      {"TabSheet2", QStringLiteral("Адресаты"), addressees_},
      {"TabSheet3", QStringLiteral("Шлейфы"), loops},
      {"TabSheet4", QStringLiteral("Реле"), relays},
      {"TabSheet5", QStringLiteral("События"), events},
      {"TabSheet6", QStringLiteral("Отчёты"), reports},
      {"TabSheet8", QStringLiteral("Пользователи"), users_},
      {"TabSheet9", QStringLiteral("Управление"), remote_},
      {"TabSheet7", QStringLiteral("Программирование"), programming_},
  };
  for (const auto& t : kTabs) {
    QWidget* page = t.content != nullptr ? t.content : new QWidget;
    page->setObjectName(t.name);
    pageControl_->addTab(page, t.caption);
  }
  pages_[kGeneral] = general_;
  pages_[kAddressees] = addressees_;
  pages_[kLoops] = loops;
  pages_[kRelays] = relays;
  pages_[kUsers] = users_;
  pages_[kRemote] = remote_;
  pages_[kEvents] = events;
  pages_[kReports] = reports;
  connect(pageControl_, &QTabWidget::currentChanged, this, &MainWindow::pageChanged);
}

QProgressBar* MainWindow::progressBar() { return findChild<QProgressBar*>("pBar"); }

void MainWindow::pageChanged(int index) {
  if (shownTab_ >= 0 && shownTab_ < kTabCount && pages_[shownTab_] != nullptr) pages_[shownTab_]->left();
  shownTab_ = index;
  if (index >= 0 && index < kTabCount && pages_[index] != nullptr) pages_[index]->shown();
}

void MainWindow::createForms() {
  auto* eventDialog = new EventDialog(ws_, this);
  if (auto* events = dynamic_cast<EventsPage*>(pages_[kEvents])) events->setDialog(eventDialog);
  forms_.eventDialog = eventDialog;
  auto* keys = new KeyDialog(*this, this);
  users_->setKeyDialog(keys);
  forms_.keyDialog = keys;
  auto* times = new TimeEventsDialog(ws_, [this] { general_->applyPeriodRule(); }, this);
  general_->setTimeEventsAction([times] { times->run(); });
  forms_.timeEventsDialog = times;
  auto* addresseeDialog = new AddresseeDialog(*this, this);
  addressees_->setDialog(addresseeDialog);
  forms_.addresseeDialog = addresseeDialog;
  forms_.fileDialog = new ReplaceDialog(this);
  forms_.loaderDialog = new LoaderDialog(*this);
  auto* editor = new SmsEditor(*this, this);
  forms_.smsEditor = editor;
  // The event dialog opens the editor on an event's SMS string and follows its changes.
  eventDialog->setOpenSmsEditor([editor](int group, int index) { editor->openOn(group, index); });
  connect(editor, &SmsEditor::templatesChanged, eventDialog, &EventDialog::refillSmsLists);
}

void MainWindow::refreshPages() {
  for (Page* page : pages_) {
    if (page != nullptr) page->refresh();
  }
  if (forms_.smsEditor != nullptr) forms_.smsEditor->refresh();
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
  const QString directory = projectDir_;
  QDir().mkpath(directory);
  return directory;
}

QString MainWindow::userFolder(const char* name) {
  const QString directory = userDir_ + u'/' + QString::fromLatin1(name);
  QDir().mkpath(directory);
  return directory;
}

void MainWindow::openProject() {
  if (operationRunning()) return;
  const QString directory = projectDirectory();
  const QString path = files_.open(this, directory, DatFilter());
  if (path.isEmpty()) return;
  openProjectFile(path);
}

void MainWindow::openProjectFile(const QString& path) {
  if (operationRunning()) return;
  const int status = ReadProjectFile(ws_, vocabulary_, ToFsPath(path), *messenger_);
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
  WriteProjectFile(ws_, ToFsPath(QString::fromStdString(WithDatExtension(path.toStdString()))), *messenger_);
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
  refreshPages();
}

void MainWindow::showSmsEditor() {
  if (operationRunning()) return;
  forms_.smsEditor->showEditor();
}

void MainWindow::loadDefaultIntervals() {
  if (operationRunning()) return;
  if (LoadDefaultIntervals(ws_, vocabulary_, *messenger_) != kAnswerOk) return;
  refreshPages();
}

void MainWindow::showLoader() {
  if (operationRunning() || port_.TerminalOn) return;
  forms_.loaderDialog->exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // A device operation in progress finishes first (its frames run inside
  // this window's event loop); the request is taken up when it ends.
  if (operationRunning()) {
    closeRequested_ = true;
    event->ignore();
    return;
  }
  terminal_->shutDown();
  if (port_.IsOpen()) CloseComPort(port_);
  event->accept();
  emit closed();
}

}  // namespace vorsin::ui
