#include "ui/event_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPoint>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>

#include "model/event_rules.h"
#include "sms/sms.h"
#include "ui/control_events.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

// The SMS strings editor's group of SMS strings.
constexpr int kSmsStringGroup = 2;

QComboBox* NewList(const char* name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

// Code, partition and zone: digits and blanks, blanks counting as zeros.
QLineEdit* NewNumberEdit(const char* name, int digits, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  LimitTyping(edit, digits);
  FilterKeys(edit, [](QChar c) { return c.isDigit() || c == u' '; });
  edit->setMaximumWidth(60);
  return edit;
}

QStringList VoiceItems() {
  QStringList items{QStringLiteral("нет")};
  for (int n = 1; n <= kVoiceMessages; ++n) items << QString::number(n);
  return items;
}

void ShowIndex(QComboBox* box, int32_t stored) {
  const QSignalBlocker quiet(box);
  box->setCurrentIndex(ListIndexFor(stored, box->count()));
}

}  // namespace

EventDialog::EventDialog(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("TForm2");
  setWindowTitle(QStringLiteral("Параметры события"));
  setModal(false);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  buildControls();

  for (const auto& [edit, field] : numberFields()) {
    connect(edit, &QLineEdit::textEdited, this, [this, edit = edit, field = field] {
      storeField(field, TypedEventNumber(Cp1251(edit->text())));
    });
  }
  connect(restore_, &QComboBox::activated, this, &EventDialog::restoreChosen);
  const std::pair<QComboBox*, EventField> lists[] = {
      {voiceNew_, EventField::VoiceNew}, {voiceRestore_, EventField::VoiceRestore}, {smsNew_, EventField::SmsNew},
      {smsRestore_, EventField::SmsRestore}};
  for (const auto& [box, field] : lists)
    connect(box, &QComboBox::activated, this, [this, field = field](int index) { storeField(field, index); });
  connect(addressees_, &QListWidget::itemChanged, this, &EventDialog::addresseeChecked);
  connect(editSmsNew_, &QPushButton::clicked, this, [this] { openSmsEditor(EventField::SmsNew); });
  connect(editSmsRestore_, &QPushButton::clicked, this, [this] { openSmsEditor(EventField::SmsRestore); });
}

void EventDialog::buildControls() {
  restore_ = NewList("ComboBox1", {QStringLiteral("Есть"), QStringLiteral("Нет")}, this);
  code_ = NewNumberEdit("MaskEdit4", 3, this);
  partition_ = NewNumberEdit("MaskEdit1", 2, this);
  zone_ = NewNumberEdit("MaskEdit2", 3, this);
  voiceNew_ = NewList("ComboBox4", VoiceItems(), this);
  voiceRestore_ = NewList("ComboBox3", VoiceItems(), this);
  smsNew_ = NewList("ComboBox5", {}, this);
  smsRestore_ = NewList("ComboBox6", {}, this);
  for (QComboBox* sms : {smsNew_, smsRestore_}) {
    sms->setMinimumContentsLength(24);
    sms->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  }
  addressees_ = new QListWidget(this);
  addressees_->setObjectName("evDestList");
  addressees_->setMaximumWidth(150);
  editSmsNew_ = new QPushButton(QStringLiteral("Изменить Sms сообщение"), this);
  editSmsNew_->setObjectName("Button1");
  editSmsRestore_ = new QPushButton(QStringLiteral("Изменить Sms сообщения"), this);
  editSmsRestore_->setObjectName("Button2");
  editSmsNew_->setEnabled(false);
  editSmsRestore_->setEnabled(false);

  auto* numbers = new QGridLayout;
  const auto row = [numbers](int r, const QString& label, QWidget* control) {
    numbers->addWidget(new QLabel(label), r, 0);
    numbers->addWidget(control, r, 1);
  };
  row(0, QStringLiteral("Восстановление:"), restore_);
  row(1, QStringLiteral("Код события:"), code_);
  row(2, QStringLiteral("Раздел:"), partition_);
  row(3, QStringLiteral("Зона:"), zone_);

  auto* voice = new QGroupBox(QStringLiteral("Голосовые сообщения:"), this);
  auto* voiceGrid = new QGridLayout(voice);
  voiceGrid->addWidget(new QLabel(QStringLiteral("Новое событие:")), 0, 0);
  voiceGrid->addWidget(voiceNew_, 0, 1);
  voiceGrid->addWidget(new QLabel(QStringLiteral("Восстановление:")), 1, 0);
  voiceGrid->addWidget(voiceRestore_, 1, 1);

  auto* sms = new QGroupBox(QStringLiteral("SMS сообщения:"), this);
  auto* smsGrid = new QGridLayout(sms);
  smsGrid->addWidget(new QLabel(QStringLiteral("Новое событие:")), 0, 0);
  smsGrid->addWidget(smsNew_, 0, 1);
  smsGrid->addWidget(editSmsNew_, 1, 1);
  smsGrid->addWidget(new QLabel(QStringLiteral("Восстановление:")), 2, 0);
  smsGrid->addWidget(smsRestore_, 2, 1);
  smsGrid->addWidget(editSmsRestore_, 3, 1);

  auto* left = new QVBoxLayout;
  left->addLayout(numbers);
  left->addWidget(voice);
  left->addWidget(sms);
  left->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addWidget(addressees_);
}

EventEntry* EventDialog::current() {
  if (edited_ < 0 || static_cast<size_t>(edited_) >= ws_.config.events.size()) return nullptr;
  return &ws_.config.events[static_cast<size_t>(edited_)];
}

void EventDialog::showEventParams(int e) {
  edited_ = e;
  const EventEntry* event = current();
  if (event == nullptr) {
    closeDialog();
    return;
  }
  setWindowTitle(QStringLiteral("Параметры события: ") + Q(event->text));
  for (const auto& [edit, field] : numberFields()) {
    const QSignalBlocker quiet(edit);
    edit->setText(QString::number(FieldValue(*event, field)));
  }
  {
    const QSignalBlocker quiet(restore_);
    restore_->setCurrentIndex(RestoreItem(*event));
  }
  ShowIndex(voiceRestore_, FieldValue(*event, EventField::VoiceRestore));
  ShowIndex(voiceNew_, FieldValue(*event, EventField::VoiceNew));
  {
    const QSignalBlocker quiet(addressees_);
    addressees_->clear();
    for (size_t i = 0; i < ws_.config.addressees.size() && i < kMaxAddressees; ++i) {
      auto* item = new QListWidgetItem(Q(ws_.config.addressees[i].name), addressees_);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      item->setCheckState(HasAddressee(*event, static_cast<int>(i)) ? Qt::Checked : Qt::Unchecked);
    }
  }
  fillSmsLists();
}

void EventDialog::fillSmsLists() {
  const SmsContext context = MakeSmsContext(ws_);
  const std::pair<QComboBox*, int> lists[] = {{smsNew_, 0}, {smsRestore_, 1}};
  for (const auto& [box, offset] : lists) {
    const QSignalBlocker quiet(box);
    box->clear();
    box->addItem(QStringLiteral("Нет"));
    for (const auto& sms : ws_.config.smsStrings) box->addItem(Q(DisplaySms(sms.text, offset, context)));
  }
  if (const EventEntry* event = current()) {
    ShowIndex(smsNew_, FieldValue(*event, EventField::SmsNew));
    ShowIndex(smsRestore_, FieldValue(*event, EventField::SmsRestore));
  }
}

void EventDialog::refillSmsLists() { fillSmsLists(); }

void EventDialog::openOn(int e) {
  showEventParams(e);
  if (current() == nullptr) return;
  if (!isVisible()) {
    adjustSize();
    if (const QScreen* screen = this->screen()) {
      move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
  }
  show();
  raise();
  activateWindow();
}

void EventDialog::closeDialog() {
  hide();
  edited_ = -1;
}

void EventDialog::hideEvent(QHideEvent* event) {
  // Minimising hides the dialog too (a spontaneous hide); it comes back on
  // the same event and must go on editing it.
  if (!event->spontaneous()) edited_ = -1;
  QDialog::hideEvent(event);
}

void EventDialog::setOpenSmsEditor(std::function<void(int group, int index)> open) {
  openSmsEditor_ = std::move(open);
  editSmsNew_->setEnabled(static_cast<bool>(openSmsEditor_));
  editSmsRestore_->setEnabled(static_cast<bool>(openSmsEditor_));
}

std::array<std::pair<QLineEdit*, EventField>, 3> EventDialog::numberFields() const {
  return {{{code_, EventField::Code}, {partition_, EventField::Partition}, {zone_, EventField::Zone}}};
}

void EventDialog::storeField(EventField field, int32_t value) {
  if (EditEvent(ws_, edited_, field, value)) emit eventEdited(edited_);
}

void EventDialog::restoreChosen(int index) {
  if (EditEventRestore(ws_, edited_, index)) emit eventEdited(edited_);
}

void EventDialog::addresseeChecked(QListWidgetItem* item) {
  if (EditEventAddressee(ws_, edited_, addressees_->row(item), item->checkState() == Qt::Checked))
    emit eventEdited(edited_);
}

void EventDialog::openSmsEditor(EventField field) {
  const EventEntry* event = current();
  if (event == nullptr || !openSmsEditor_) return;
  openSmsEditor_(kSmsStringGroup, FieldValue(*event, field));
}

}  // namespace vorsin::ui
