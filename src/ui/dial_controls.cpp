#include "ui/dial_controls.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "link/com_port.h"
#include "model/cp1251.h"
#include "tools/modem_dial.h"
#include "ui/terminal_panel.h"
#include "ui/text.h"
#include "ui/user_settings.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

// The note shown while the modem works; its "Отменить" gives up the call.
class NoteProgress final : public Progress {
 public:
  NoteProgress(QWidget* parent, const QString& label, bool cancellable)
      : note_(label, cancellable ? QStringLiteral("Отменить") : QString(), 0, 0, parent) {
    note_.setObjectName("DialNote");
    note_.setWindowTitle(QStringLiteral("Ворсин"));
    note_.setWindowModality(Qt::WindowModal);
    note_.setMinimumDuration(0);
    note_.setAutoClose(false);
    note_.setAutoReset(false);
    note_.show();
  }
  void SetMaximum(int) override {}
  void SetPosition(int) override {}
  void Advance(int) override {}
  void Breathe() override { QCoreApplication::processEvents(); }
  bool Cancelled() override { return note_.wasCanceled(); }

 private:
  QProgressDialog note_;
};

}  // namespace

DialControls::DialControls(WindowServices& window, TerminalPanel& panel, QLineEdit* phone,
                           QPushButton* connectButton, QPushButton* disconnectButton)
    : QObject(&panel), window_(window), panel_(panel), phone_(phone) {
  // The typing rule of the work phones; "?" (any number) cannot be dialled.
  phone_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9#*+]{0,15}")), phone_));
  phone_->setText(UserSettings(window_.settingsPath())->value(kDialNumberKey).toString());
  connect(phone_, &QLineEdit::textEdited, this,
          [this](const QString& text) { UserSettings(window_.settingsPath())->setValue(kDialNumberKey, text); });
  connect(connectButton, &QPushButton::clicked, this, &DialControls::connectCall);
  connect(disconnectButton, &QPushButton::clicked, this, &DialControls::disconnectCall);
}

void DialControls::connectCall() {
  if (window_.operationRunning()) return;
  const std::string number = Cp1251(phone_->text());
  if (!ValidDialNumber(number)) {
    window_.messenger().Error(Cp("Введите номер телефона устройства"));
    return;
  }
  if (!panel_.switchOn()) return;
  const OperationScope scope(window_);
  DialOptions options;
  options.number = number;
  NoteProgress note(phone_->window(), QStringLiteral("Вызов…"), true);
  PlaceCall(window_.port(), window_.messenger(), options, note,
            [this](const uint8_t* bytes, size_t n) { panel_.show(bytes, n); });
}

void DialControls::disconnectCall() {
  if (window_.operationRunning() || !window_.port().TerminalOn) return;
  const OperationScope scope(window_);
  NoteProgress note(phone_->window(), QStringLiteral("Разъединение…"), false);
  EndCall(window_.port(), note, [this](const uint8_t* bytes, size_t n) { panel_.show(bytes, n); });
}

}  // namespace vorsin::ui
