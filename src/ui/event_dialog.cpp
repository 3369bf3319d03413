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
#include <optional>
#include <tuple>

#include "model/event_rules.h"
#include "sms/sms.h"
#include "ui/bind.h"
#include "ui/text.h"
#include "ui/widgets.h"

namespace vorsin::ui {
namespace {

// The SMS strings editor's group of SMS strings.
constexpr int kSmsStringGroup = 2;

QStringList VoiceItems() {
  QStringList items{QStringLiteral("нет")};
  for (int n = 1; n <= kVoiceMessages; ++n) items << QString::number(n);
  return items;
}

}  // namespace

EventDialog::EventDialog(Workspace& ws, QWidget* parent) : QDialog(parent), ws_(ws) {
  setObjectName("TForm2");
  setWindowTitle(QStringLiteral("Параметры события"));
  setModal(false);
  setWindowFlag(Qt::WindowStaysOnTopHint);
  buildControls();

  // Code, partition and zone: blanks count as zeros.
  const std::pair<QLineEdit*, EventField> numbers[] = {
      {code_, EventField::Code}, {partition_, EventField::Partition}, {zone_, EventField::Zone}};
  for (const auto& [edit, field] : numbers) {
    BindLineEdit(edit, {[this, field = field] {
                          const EventEntry* event = current();
                          return event != nullptr ? QString::number(FieldValue(*event, field)) : QString();
                        },
                        [this, field = field](const QString& text) {
                          storeField(field, TypedEventNumber(Cp1251(text)));
                        }});
  }
  BindCombo(restore_, {QStringLiteral("Есть"), QStringLiteral("Нет")},
            {[this]() -> std::optional<int> {
               const EventEntry* event = current();
               return event != nullptr ? std::optional<int>(RestoreItem(*event)) : std::nullopt;
             },
             [this](int item) {
               if (EditEventRestore(ws_, edited_, item)) emit eventEdited(edited_);
             }});
  const std::tuple<QComboBox*, EventField, QStringList> lists[] = {
      {voiceNew_, EventField::VoiceNew, VoiceItems()}, {voiceRestore_, EventField::VoiceRestore, VoiceItems()},
      {smsNew_, EventField::SmsNew, {}}, {smsRestore_, EventField::SmsRestore, {}}};
  for (const auto& [box, field, items] : lists) {
    BindCombo(box, items,
              {[this, field = field]() -> std::optional<int> {
                 const EventEntry* event = current();
                 return event != nullptr ? std::optional<int>(FieldValue(*event, field)) : std::nullopt;
               },
               [this, field = field](int index) { storeField(field, index); }});
  }
  connect(addressees_, &QListWidget::itemChanged, this, &EventDialog::addresseeChecked);
  connect(editSmsNew_, &QPushButton::clicked, this, [this] { openSmsEditor(EventField::SmsNew); });
  connect(editSmsRestore_, &QPushButton::clicked, this, [this] { openSmsEditor(EventField::SmsRestore); });
}

void EventDialog::buildControls() {
  restore_ = NewCombo("ComboBox1", {}, this);
  code_ = NewNumberEdit("MaskEdit4", 3, this);
  partition_ = NewNumberEdit("MaskEdit1", 2, this);
  zone_ = NewNumberEdit("MaskEdit2", 3, this);
  voiceNew_ = NewCombo("ComboBox4", {}, this);
  voiceRestore_ = NewCombo("ComboBox3", {}, this);
  smsNew_ = NewCombo("ComboBox5", {}, this);
  smsRestore_ = NewCombo("ComboBox6", {}, this);
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
  for (QWidget* control : std::initializer_list<QWidget*>{code_, partition_, zone_, restore_, voiceRestore_, voiceNew_})
    ShowBound(control);
  {
    const QSignalBlocker quiet(addressees_);
    addressees_->clear();
    for (size_t i = 0; i < ws_.config.addressees.size() && i < kMaxAddressees; ++i) {
      auto* item = new QListWidgetItem(Q(ws_.config.addressees[i].name), addressees_);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
      item->setCheckState(event->reportsTo(static_cast<int>(i)) ? Qt::Checked : Qt::Unchecked);
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
  ShowBound(smsNew_);
  ShowBound(smsRestore_);
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

void EventDialog::storeField(EventField field, int32_t value) {
  if (EditEvent(ws_, edited_, field, value)) emit eventEdited(edited_);
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
