#include "ui/programming_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "link/com_port.h"
#include "image/device_io.h"
#include "link/device_commands.h"
#include "model/cp1251.h"
#include "ui/bar_progress.h"
#include "ui/port_choices.h"
#include "ui/text.h"
#include "ui/user_settings.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

// A typed number, or -1 for a text that is none.
int TypedNumber(const QLineEdit* edit) {
  bool ok = false;
  const int value = edit->text().trimmed().toInt(&ok);
  return ok ? value : -1;
}

// The caption names the programming time and the source of the settings
// before the closing note is shown, not after the user dismisses it.
class CaptionFirst final : public Messenger {
 public:
  explicit CaptionFirst(WindowServices& window) : window_(window) {}
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    window_.updateCaption();
    return window_.messenger().Show(text, caption, icon, buttons);
  }

 private:
  WindowServices& window_;
};

}  // namespace

ProgrammingPage::ProgrammingPage(WindowServices& window, QWidget* parent) : QWidget(parent), window_(window) {
  setObjectName("TabSheet7");
  buildControls();
  const std::vector<PortChoice> choices = PortChoices();
  fillPorts(choices, InitialPortChoice(choices));
  usePortSettings();
}

void ProgrammingPage::buildControls() {
  password_ = new QLineEdit(this);
  password_->setObjectName("Edit10");
  password_->setMaxLength(6);
  password_->setEchoMode(QLineEdit::Password);
  password_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // shown as "*"
  // The device takes digits only; anything else would be dropped unseen.
  password_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,6}")), password_));

  ports_ = new PortBox(this);
  connect(ports_, &QComboBox::currentTextChanged, this, [this] { usePortSettings(); });

  speeds_ = new QComboBox(this);
  speeds_->setObjectName("ComboBox24");
  for (const int s : kOfferedSpeeds) speeds_->addItem(QString::number(s));
  speeds_->setCurrentText(QString::number(kDefaultSpeed));
  connect(speeds_, &QComboBox::currentTextChanged, this, [this] { usePortSettings(); });

  QPushButton* program = NewButton("Button1", QStringLiteral("Загрузить"), this);
  QPushButton* read = NewButton("Button3", QStringLiteral("Считать"), this);
  QPushButton* restart = NewButton("Button9", QStringLiteral("Перезапуск"), this);
  QPushButton* leave = NewButton("Button7", QStringLiteral("Выход из программ."), this);
  QPushButton* sync = NewButton("Button13", QStringLiteral("Синхр. время"), this);
  sync->setEnabled(false);
  connect(program, &QPushButton::clicked, this, &ProgrammingPage::programDevice);
  connect(read, &QPushButton::clicked, this, &ProgrammingPage::readDevice);
  connect(restart, &QPushButton::clicked, this, &ProgrammingPage::restartDevice);
  connect(leave, &QPushButton::clicked, this, &ProgrammingPage::leaveProgramming);

  // On until the installer turns it off (and then remembered off): a worn
  // EEPROM cell is found before success is reported.
  verify_ = new QCheckBox(QStringLiteral("Проверить запись"), this);
  verify_->setObjectName("VerifyCheck");
  verify_->setChecked(UserSettings(window_.settingsPath())->value(kVerifyAfterWritingKey, true).toBool());
  connect(verify_, &QCheckBox::toggled, this,
          [this](bool on) { UserSettings(window_.settingsPath())->setValue(kVerifyAfterWritingKey, on); });

  bar_ = new QProgressBar(this);
  bar_->setObjectName("pBar");
  bar_->setRange(0, 100);
  bar_->setValue(0);
  bar_->setTextVisible(false);

  auto* settings = new QGroupBox(QStringLiteral("Настройки"), this);
  auto* grid = new QGridLayout(settings);
  grid->addWidget(new QLabel(QStringLiteral("Пароль инженера:"), settings), 0, 0);
  grid->addWidget(password_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("Номер Com порта:"), settings), 1, 0);
  grid->addWidget(ports_, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("Скорость порта:"), settings), 2, 0);
  grid->addWidget(speeds_, 2, 1);
  auto* buttons = new QGridLayout;
  buttons->addWidget(program, 0, 0);
  buttons->addWidget(read, 0, 1);
  buttons->addWidget(restart, 1, 0);
  buttons->addWidget(leave, 1, 1);
  buttons->addWidget(sync, 2, 0);
  buttons->addWidget(verify_, 2, 1);
  grid->addLayout(buttons, 0, 2, 3, 1);
  grid->addWidget(bar_, 3, 0, 1, 3);
  grid->setColumnStretch(3, 1);
  password_->setFixedWidth(120);
  speeds_->setFixedWidth(120);

  remote_ = new QGroupBox(QStringLiteral("Удалённое программирование"), this);
  auto* remote = new QHBoxLayout(remote_);
  vgr_ = NewByteEdit("Edit21", QStringLiteral("0"), remote_);
  vgt_ = NewByteEdit("Edit24", QStringLiteral("255"), remote_);
  remote->addWidget(new QLabel(QStringLiteral("VGR"), remote_));
  remote->addWidget(vgr_);
  remote->addWidget(new QLabel(QStringLiteral("VGT"), remote_));
  remote->addWidget(vgt_);
  remote->addStretch(1);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(settings);
  layout->addWidget(remote_);
}

void ProgrammingPage::fillPorts(const std::vector<PortChoice>& choices, int selected) {
  ports_->fill(choices, selected);
}

std::string ProgrammingPage::portName() const { return ports_->portName(); }

int ProgrammingPage::speed() const { return speeds_->currentText().toInt(); }

std::string ProgrammingPage::password() const { return Cp1251(password_->text()); }

int ProgrammingPage::vgr() const { return TypedNumber(vgr_); }
int ProgrammingPage::vgt() const { return TypedNumber(vgt_); }
void ProgrammingPage::setVgr(uint8_t value) { vgr_->setText(QString::number(value)); }
void ProgrammingPage::setVgt(uint8_t value) { vgt_->setText(QString::number(value)); }

void ProgrammingPage::usePortSettings() {
  ComPort& port = window_.port();
  port.portName = portName();
  port.speed = speed();
}

void ProgrammingPage::restartDevice() {
  if (window_.operationRunning()) return;
  const OperationScope scope(window_);
  usePortSettings();
  if (RestartDevice(window_.port(), window_.messenger(), password()) == 0)
    window_.messenger().Note(Cp("Устройство перезапущено"));
}

void ProgrammingPage::leaveProgramming() {
  if (window_.operationRunning()) return;
  const OperationScope scope(window_);
  usePortSettings();
  if (LeaveProgramming(window_.port(), window_.messenger()) == 0)
    window_.messenger().Note(Cp("Устройство вышло из режима программирования"));
}

void ProgrammingPage::programDevice() {
  if (window_.operationRunning()) return;
  const OperationScope scope(window_);
  usePortSettings();
  ProgramOptions options;
  options.password = password();
  options.vgr = vgr();
  options.vgt = vgt();
  options.verify = verify_->isChecked();
  BarProgress progress(bar_);
  CaptionFirst messenger(window_);
  ProgramDevice(window_.workspace(), window_.port(), options, messenger, progress);
  window_.updateCaption();
}

void ProgrammingPage::readDevice() {
  if (window_.operationRunning()) return;
  const OperationScope scope(window_);
  usePortSettings();
  ReadOptions options;
  options.password = password();
  BarProgress progress(bar_);
  ReadResult result;
  CaptionFirst messenger(window_);
  const int status =
      ReadDevice(window_.workspace(), window_.vocabulary(), window_.port(), options, messenger, progress, result);
  // A failed read has left the configuration, the pages and the caption as
  // they were.
  if (status != 0) return;
  if (result.haveVg) {
    setVgr(static_cast<uint8_t>(result.vgr));
    setVgt(static_cast<uint8_t>(result.vgt));
  }
  window_.refreshPages();
  window_.updateCaption();
}

}  // namespace vorsin::ui
