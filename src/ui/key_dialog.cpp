#include "ui/key_dialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "link/com_port.h"
#include "link/device_commands.h"
#include "model/users.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kPollMs = 250;
constexpr int kBarEnd = 50;

}  // namespace

KeyDialog::KeyDialog(WindowServices& window, QWidget* parent)
    : QDialog(parent), window_(window), bar_(new QProgressBar(this)),
      cancel_(new QPushButton(QStringLiteral("Отмена"), this)), timer_(new QTimer(this)) {
  setObjectName("TForm3");
  setWindowTitle(QStringLiteral("Запрос Кода"));
  setModal(false);
  bar_->setObjectName("PBar");
  bar_->setRange(0, kBarEnd);
  bar_->setTextVisible(false);
  cancel_->setObjectName("Button1");
  timer_->setObjectName("Timer1");
  timer_->setInterval(kPollMs);
  timer_->setSingleShot(true);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Поднесите таблетку"), this));
  layout->addWidget(bar_);
  layout->addWidget(cancel_, 0, Qt::AlignHCenter);
  connect(cancel_, &QPushButton::clicked, this, &KeyDialog::cancel);
  connect(timer_, &QTimer::timeout, this, &KeyDialog::poll);
}

// Only when the window itself goes away mid-poll (its close is refused while
// an operation runs): its members are gone by now, so leave them alone.
KeyDialog::~KeyDialog() {
  timer_->stop();
  (void)scope_.release();
}

bool KeyDialog::polling() const { return scope_ != nullptr; }

void KeyDialog::start(int userNumber, std::function<void()> finished) {
  if (polling() || window_.operationRunning()) return;
  // Locked before the port opens: its message must not let a click through.
  scope_ = std::make_unique<OperationScope>(window_);
  if (OpenComPort(window_.port(), window_.messenger()) != kPortOpened) {
    scope_.reset();
    return;
  }
  userNumber_ = userNumber;
  finished_ = std::move(finished);
  bar_->setValue(0);
  show();
  timer_->start();
}

void KeyDialog::poll() {
  if (!polling()) return;
  TouchKey key{};
  const int result = ReadTouchKey(window_.port(), window_.messenger(), key);
  if (!polling()) return;  // cancelled while a message was up
  switch (result) {
    case kKeyRead:
      // Found by number: the list may have been rebuilt since the start.
      AssignKey(window_.workspace().config.users, userNumber_, key);
      finish();
      return;
    case kKeyWaiting:
      bar_->setValue(bar_->value() >= kBarEnd ? 1 : bar_->value() + 1);
      timer_->start();
      return;
    default:  // the link is gone or the device refuses: its message was shown once
      finish();
      return;
  }
}

void KeyDialog::cancel() { finish(); }

void KeyDialog::finish() {
  timer_->stop();
  if (!polling()) {
    hide();
    return;
  }
  CloseComPort(window_.port());
  scope_.reset();
  hide();
  if (auto finished = std::exchange(finished_, {})) finished();
}

void KeyDialog::closeEvent(QCloseEvent* event) {
  finish();
  event->accept();
}

void KeyDialog::reject() { finish(); }

}  // namespace vorsin::ui
