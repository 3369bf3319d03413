#include "ui/terminal_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/cp1251.h"
#include "model/data_location.h"
#include "ui/dest_menu.h"
#include "ui/dial_controls.h"
#include "ui/window_services.h"
#include "ui/replace_dialog.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

QString CapFilter() { return QStringLiteral("*.cap (*.cap)"); }

}  // namespace

TerminalMemo::TerminalMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("Memo2");
  setReadOnly(true);  // no paste, drop, cut or undo; the caret still moves
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setAcceptDrops(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::Monospace);
  setFont(font);
}

// Every key that types a character is swallowed and sent; Enter is a lone
// carriage return. Keys without text (arrows, page keys) move as usual.
void TerminalMemo::keyPressEvent(QKeyEvent* event) {
  QString text = event->text();
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) text = QStringLiteral("\r");
  if (text.isEmpty()) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  if (onKey) onKey(text);
  event->accept();
}

TerminalPanel::TerminalPanel(WindowServices& window, QAction* loaderItem, QWidget* parent)
    : QWidget(parent), window_(window), loaderItem_(loaderItem), terminal_(window.port()) {
  setObjectName("TerminalPanel");
  open_ = new QCheckBox(QStringLiteral("Открыть Com порт"), this);
  open_->setObjectName("CheckBox48");
  connect(open_, &QCheckBox::toggled, this, &TerminalPanel::switchTerminal);

  cts_ = new QFrame(this);
  cts_->setObjectName("Panel7");
  cts_->setFrameShape(QFrame::Panel);
  cts_->setFrameShadow(QFrame::Sunken);
  cts_->setFixedSize(16, 16);
  cts_->setAutoFillBackground(true);
  setCtsColour(false);

  // The call to a distant device; "Управление" has no behaviour.
  auto* phone = new QLineEdit(this);
  phone->setObjectName("Edit23");
  auto* connectButton = new QPushButton(QStringLiteral("Connect"), this);
  connectButton->setObjectName("ConnectButton");
  auto* disconnectButton = new QPushButton(QStringLiteral("Disconnect"), this);
  disconnectButton->setObjectName("DisconnectButton");
  auto* control = new QPushButton(QStringLiteral("Управление"), this);
  control->setObjectName("Button14");
  auto* phoneLabel = new QLabel(QStringLiteral("Телефон"), this);
  control->setEnabled(false);
  phoneLabel->setBuddy(phone);
  phone->setMaximumWidth(160);
  new DialControls(window_, *this, phone, connectButton, disconnectButton);

  memo_ = new TerminalMemo(this);
  memo_->onKey = [this](const QString& text) { keyTyped(text); };
  window_.destMenu().attach(memo_, [this](const QPoint&) { fillMenu(); });

  // The reader never waits for this thread: it hands over copies.
  connect(this, &TerminalPanel::bytesArrived, this, &TerminalPanel::showBytes, Qt::QueuedConnection);
  connect(this, &TerminalPanel::ctsArrived, this, &TerminalPanel::showCts, Qt::QueuedConnection);

  auto* row = new QHBoxLayout;
  row->addWidget(open_);
  row->addWidget(cts_);
  row->addSpacing(12);
  row->addWidget(phoneLabel);
  row->addWidget(phone);
  row->addWidget(connectButton);
  row->addWidget(disconnectButton);
  row->addWidget(control);
  row->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(row);
  layout->addWidget(memo_, 1);
}

TerminalPanel::~TerminalPanel() { shutDown(); }

void TerminalPanel::shutDown() {
  if (terminal_.on()) {
    const QSignalBlocker blocker(open_);
    open_->setChecked(false);
    switchTerminal(false);
  }
  terminal_.Shutdown();
}

void TerminalPanel::switchTerminal(bool on) {
  if (on) {
    TerminalHooks hooks;
    hooks.received = [this](std::vector<uint8_t> bytes) {
      emit bytesArrived(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())));
    };
    hooks.ctsChanged = [this](bool cts) { emit ctsArrived(cts); };
    if (!terminal_.SwitchOn(window_.messenger(), std::move(hooks))) {
      const QSignalBlocker blocker(open_);
      open_->setChecked(false);
      return;
    }
    if (loaderItem_ != nullptr) loaderItem_->setEnabled(false);
    return;
  }
  if (loaderItem_ != nullptr) loaderItem_->setEnabled(true);
  terminal_.SwitchOff();
  setCtsColour(false);
}

bool TerminalPanel::switchOn() {
  if (!open_->isChecked()) open_->setChecked(true);
  return terminal_.on();
}

void TerminalPanel::show(const uint8_t* bytes, size_t n) {
  showBytes(QByteArray(reinterpret_cast<const char*>(bytes), qsizetype(n)));
}

void TerminalPanel::keyTyped(const QString& text) {
  for (const char c : Cp1251(text)) terminal_.Type(static_cast<uint8_t>(c));
}

void TerminalPanel::showBytes(const QByteArray& bytes) {
  const std::vector<uint8_t> batch(bytes.begin(), bytes.end());
  const std::string text = terminal_.Received(batch);
  if (text.empty()) return;
  memo_->moveCursor(QTextCursor::End);
  memo_->insertPlainText(Q(text));
}

void TerminalPanel::showCts(bool on) {
  setCtsColour(on);
  terminal_.CtsChanged(on);
}

void TerminalPanel::setCtsColour(bool on) {
  QPalette palette = cts_->palette();
  palette.setColor(QPalette::Window, on ? QColor(Qt::red) : this->palette().color(QPalette::Mid));
  cts_->setPalette(palette);
}

void TerminalPanel::fillMenu() {
  DestMenu& menu = window_.destMenu();
  menu.add(QStringLiteral("Очистить"), [this] { clearTerminal(); });
  menu.add(QStringLiteral("-"), {});
  menu.add(QStringLiteral("Сохранить как..."), [this] { saveMemo(); });
  if (terminal_.capture().on()) {
    menu.add(QStringLiteral("Остановить запись"), [this] { stopCapture(); });
  } else {
    menu.add(QStringLiteral("Включить запись"), [this] { startCapture(); });
  }
}

void TerminalPanel::clearTerminal() { memo_->clear(); }

QString TerminalPanel::captureDir() const { return window_.userFolder(kCaptureFolder); }

// The name gets its ".cap" first, so that the question is about the file
// that will really be written.
void TerminalPanel::saveMemo() {
  const QString chosen = window_.files().pick(this, captureDir(), CapFilter());
  if (chosen.isEmpty()) return;
  const FilePath path = WithExtension(ToFsPath(chosen), ".cap");
  const QString shown = QDir::toNativeSeparators(FromFsPath(path));
  if (QFileInfo::exists(FromFsPath(path))) {
    const int answer = window_.messenger().Show(Cp1251(shown) + Cp(" уже существует.\nЗаменить?"), CaptionWarning(),
                                                Icon::Question, Buttons::OkCancel);
    if (answer != kAnswerOk) return;
  }
  if (!SaveMemoText(path, Cp1251(memo_->toPlainText())))
    window_.messenger().Error(Cp("Не удаётся записать файл ") + Cp1251(shown));
}

void TerminalPanel::startCapture() {
  if (terminal_.capture().on()) return;
  const QString chosen = window_.files().pick(this, captureDir(), CapFilter());
  if (chosen.isEmpty()) return;
  const FilePath path = WithExtension(ToFsPath(chosen), ".cap");
  CaptureLog::Mode mode = CaptureLog::Mode::kReplace;
  if (QFileInfo::exists(FromFsPath(path))) {
    ReplaceDialog* ask = window_.replaceDialog();
    if (ask == nullptr) return;
    ask->setWindowTitle(QStringLiteral("Внимание"));
    ask->setQuestion(QDir::toNativeSeparators(FromFsPath(path)) + QStringLiteral("\nуже существует: "));
    const int choice = ask->ask();
    if (choice == ReplaceDialog::kAppend) {
      mode = CaptureLog::Mode::kAppend;
    } else if (choice != ReplaceDialog::kReplace) {
      return;
    }
  }
  terminal_.capture().Start(path, mode);  // a file that does not open leaves the capture off
}

void TerminalPanel::stopCapture() { terminal_.capture().Stop(); }

}  // namespace vorsin::ui
