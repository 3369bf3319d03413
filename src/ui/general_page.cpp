#include "ui/general_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "model/defaults.h"
#include "model/flag_names.h"
#include "model/numbers.h"
#include "model/time_events.h"
#include "model/vocabulary_lists.h"
#include "ui/control_events.h"
#include "ui/flag_boxes.h"
#include "ui/free_entry_combo.h"
#include "ui/general_rules.h"
#include "ui/text.h"
#include "ui/widgets.h"

namespace vorsin::ui {
namespace {

constexpr int kBox42 = 10;  // boxes_ index of CheckBox42

const QString kNumberHint = QStringLiteral(
    "Разрещённые символы 0,1,2,3,4,5\n6,7,8,9,+,*,#\nМаксимум 15 символов");

// Shows a text without running the edit's handlers.
void ShowText(QLineEdit* edit, const std::string& text) {
  const QSignalBlocker block(edit);
  edit->setText(Q(text));
}

}  // namespace

GeneralPage::GeneralPage(Workspace& ws, Vocabulary& vocabulary, FreeEntryCombos& combos, QWidget* parent)
    : QWidget(parent), ws_(ws), vocabulary_(vocabulary), combos_(combos) {
  setObjectName("TabSheet1");
  buildControls();

  // Stored at every edit too: a menu command ("Сохранить как..") does not
  // take the focus away, so leaving alone could miss what was typed. Only
  // the user's edits store: passing through a field keeps what it showed.
  connect(pin_, &QLineEdit::textEdited, this, [this] { ws_.config.pinCode = Cp1251(PinAfterLeave(pin_->text())); });
  OnLeave(pin_, [this] {
    if (!pin_->isModified()) return;
    pin_->setText(PinAfterLeave(pin_->text()));
    ws_.config.pinCode = Cp1251(pin_->text());
  });
  connect(address_, &QLineEdit::textEdited, this, [this] {
    ws_.config.deviceAddress = Cp1251(DeviceAddressText(address_->displayText()));
  });

  bindNumberField(own_, &Configuration::ownNumber);
  bindNumberField(centre_, &Configuration::smsCentre);
  bindNumberField(expressOut_, &Configuration::expressOutNumber);
  connect(expressIn_, &QLineEdit::textEdited, this, [this] {
    ws_.config.expressInNumber = Cp1251(expressIn_->text());
    applyNumberRule(true);
  });
  OnLeave(expressIn_, [this] {
    if (expressIn_->isModified()) ws_.config.expressInNumber = Cp1251(expressIn_->text());
  });

  connect(profiles_, &QComboBox::activated, this, &GeneralPage::chooseProfile);

  bindPeriod(periods_[0], GeneralSettings::kTestPeriod1);
  bindPeriod(periods_[1], GeneralSettings::kTestPeriod2);
  bindPeriod(periods_[2], GeneralSettings::kLineCheckPeriod);
  bindCount(priorityTime_, GeneralSettings::kPriorityDialTime, static_cast<int>(CountUnit::Minutes));
  bindCount(lineDelay_, GeneralSettings::kLineDialDelay, static_cast<int>(CountUnit::Seconds));

  for (size_t i = 0; i < boxes_.size(); ++i) {
    const FlagName& flag = GeneralFlagNames()[i];
    const bool dial = flag.byte == FlagName::Dial;
    BindFlag(boxes_[i], flag.bit, [this, dial](QCheckBox* box) { dial ? dialFlagsClick(box) : serviceFlagsClick(box); });
  }

  timeEvents_->setEnabled(false);
  connect(timeEvents_, &QPushButton::clicked, this, [this] {
    if (timeEventsAction_) timeEventsAction_();
  });
}

void GeneralPage::buildControls() {
  pin_ = NewEdit("Edit8", this, 4);
  pin_->setEchoMode(QLineEdit::Password);
  pin_->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));  // shown as "*"
  address_ = new QLineEdit(this);
  address_->setObjectName("MaskEdit4");
  address_->setInputMask(QStringLiteral("0000"));
  own_ = NewEdit("Edit1", this, kNumberFieldLength);
  centre_ = NewEdit("Edit2", this, kNumberFieldLength);
  expressOut_ = NewEdit("Edit3", this, kNumberFieldLength);
  expressIn_ = NewEdit("Edit4", this, 14);  // its hint stays hidden
  for (QLineEdit* e : {own_, centre_, expressOut_}) e->setToolTip(kNumberHint);
  profiles_ = NewCombo("ComboBox4", {}, this);
  for (QLineEdit* e : {pin_, address_, own_, centre_, expressOut_, expressIn_}) e->setFixedWidth(130);
  for (QLineEdit* e : {own_, centre_, expressOut_}) e->setToolTipDuration(15000);
  profiles_->setFixedWidth(130);

  const QStringList testItems = {QStringLiteral("нет"), QStringLiteral("10 минут"), QStringLiteral("30 минут"),
                                 QStringLiteral("1 час"), QStringLiteral("2 часа"), QStringLiteral("5 часов")};
  periods_[0] = NewCombo("ComboBox1", testItems, this);
  periods_[1] = NewCombo("ComboBox2", testItems, this);
  periods_[2] = NewCombo("ComboBox3",
                         {QStringLiteral("нет"), QStringLiteral("1 мин"), QStringLiteral("5 мин"),
                          QStringLiteral("10 минут"), QStringLiteral("30 минут"), QStringLiteral("1 час")},
                         this);
  priorityTime_ = NewCombo("ComboBox9",
                           {QStringLiteral("1 минута"), QStringLiteral("2 минуты"), QStringLiteral("4 минуты"),
                            QStringLiteral("8 минут"), QStringLiteral("16 минут"), QStringLiteral("30 минут"),
                            QStringLiteral("60 минут")},
                           this);
  lineDelay_ = NewCombo("ComboBox23",
                        {QStringLiteral("1 секунда"), QStringLiteral("2 секунды"), QStringLiteral("4 секунды"),
                         QStringLiteral("8 секунда"), QStringLiteral("20 секунд"), QStringLiteral("30 секунд"),
                         QStringLiteral("60 секунд")},
                        this);

  const char* const kBoxNames[] = {"CheckBox1", "CheckBox2", "CheckBox3", "CheckBox4",  "CheckBox5", "CheckBox6",
                                   "CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10", "CheckBox42"};
  for (size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i] = new QCheckBox(Q(GeneralFlagNames()[i].caption), this);
    boxes_[i]->setObjectName(kBoxNames[i]);
  }
  for (QComboBox* box : {periods_[0], periods_[1], periods_[2], priorityTime_, lineDelay_}) box->setFixedWidth(110);
  timeEvents_ = new QPushButton(QStringLiteral("Дополнительные настройки"), this);
  timeEvents_->setObjectName("Button11");

  // Left: SIM, address and numbers; right: periods and times; below: options.
  auto* numbers = new QGroupBox(this);
  auto* left = new QGridLayout(numbers);
  const std::pair<QString, QWidget*> leftRows[] = {
      {QStringLiteral("PIN-код"), pin_},
      {QStringLiteral("Адрес ПКД-РС"), address_},
      {QStringLiteral("Собственный номер"), own_},
      {QStringLiteral("Номер сервиса службы SMS"), centre_},
      {QStringLiteral("Исходящий номер \"express\" баланса"), expressOut_},
      {QStringLiteral("Входящий номер \"express\" баланса"), expressIn_},
      {QStringLiteral("Профили "), profiles_},
  };
  int row = 0;
  for (const auto& [label, control] : leftRows) {
    left->addWidget(new QLabel(label, numbers), row, 0);
    left->addWidget(control, row++, 1);
  }

  auto* times = new QGroupBox(this);
  auto* right = new QGridLayout(times);
  const std::pair<QString, QWidget*> rightRows[] = {
      {QStringLiteral("Период теста 1"), periods_[0]},
      {QStringLiteral("Период теста 2"), periods_[1]},
      {QStringLiteral("Период проверки тел. линии"), periods_[2]},
      {QStringLiteral("Время \"приоритетного\" набора:"), priorityTime_},
      {QStringLiteral("Задержка при дозвоне по тел. линии:"), lineDelay_},
  };
  row = 0;
  for (const auto& [label, control] : rightRows) {
    right->addWidget(new QLabel(label, times), row, 0);
    right->addWidget(control, row++, 1);
  }
  right->setRowStretch(row, 1);
  right->addWidget(timeEvents_, row + 1, 0, 1, 2);

  auto* options = new QGroupBox(this);
  auto* optionGrid = new QGridLayout(options);
  const int dialColumn[] = {0, 1, 2, 3, kBox42};
  for (int i = 0; i < 5; ++i) optionGrid->addWidget(boxes_[dialColumn[i]], i, 0);
  for (int i = 0; i < 6; ++i) optionGrid->addWidget(boxes_[4 + i], i, 1);

  auto* grid = new QGridLayout(this);
  grid->addWidget(numbers, 0, 0);
  grid->addWidget(times, 0, 1);
  grid->addWidget(options, 1, 0, 1, 2);
  grid->setRowStretch(2, 1);
}

void GeneralPage::setTimeEventsAction(std::function<void()> action) {
  timeEventsAction_ = std::move(action);
  timeEvents_->setEnabled(static_cast<bool>(timeEventsAction_));
}

void GeneralPage::bindNumberField(QLineEdit* edit, std::string Configuration::*field) {
  FilterKeys(edit, IsNumberKey);
  connect(edit, &QLineEdit::textEdited, this, [this, edit, field] {
    storeNumber(edit, field);
    applyNumberRule(true);
  });
  OnLeave(edit, [this, edit, field] {
    if (edit->isModified()) {
      storeNumber(edit, field);
      applyNumberRule(true);
    }
    writeProfile();
  });
}

// The model field is emptied first; a valid text is stored, any other text
// (a paste of letters) clears the field too, so what is seen is what is kept.
void GeneralPage::storeNumber(QLineEdit* edit, std::string Configuration::*field) {
  std::string& number = ws_.config.*field;
  number.clear();
  if (IsValidNumber(edit->text())) {
    number = Cp1251(edit->text());
  } else if (!edit->text().isEmpty()) {
    const QSignalBlocker block(edit);
    edit->clear();
  }
}

// Time is taken from the own number through the SMS centre, or from the
// "express" balance numbers: a source whose numbers are missing is off.
// Showing the page only enables the boxes; an edit also unchecks (and so
// clears) a source that lost its numbers.
void GeneralPage::applyNumberRule(bool edited) {
  const Configuration& c = ws_.config;
  const bool byOwn = !c.smsCentre.empty() && !c.ownNumber.empty();
  const bool byExpress = !c.smsCentre.empty() && !c.expressOutNumber.empty() && !c.expressInNumber.empty();
  if (edited && !byOwn) boxes_[6]->setChecked(false);
  boxes_[6]->setEnabled(byOwn);
  if (edited && !byExpress) boxes_[7]->setChecked(false);
  boxes_[7]->setEnabled(byExpress);
}

void GeneralPage::bindPeriod(QComboBox* box, size_t offset) {
  combos_.attach(box, {[this, offset](const QString& text) {
                         uint8_t& period = ws_.config.general.at(offset);
                         period = ParsePeriod(text, period);
                         applyPeriodRule();
                       },
                       [this, offset] { return FormatPeriod(ws_.config.general.at(offset)); },
                       {}});
}

void GeneralPage::bindCount(QComboBox* box, size_t offset, int unit) {
  combos_.attach(box, {[this, offset](const QString& text) {
                         uint8_t& count = ws_.config.general.at(offset);
                         count = ParseCount(text, count);
                       },
                       [this, offset, unit] {
                         return Q(FormatCount(ws_.config.general.at(offset), static_cast<CountUnit>(unit)));
                       },
                       DigitsOnly});
}

void GeneralPage::applyPeriodRule() {
  const Configuration& c = ws_.config;
  boxes_[8]->setEnabled(TestDeliveryOptionOpen(c, 0));
  boxes_[9]->setEnabled(TestDeliveryOptionOpen(c, 1));
}

void GeneralPage::chooseProfile(int index) {
  if (index < 0) return;
  const int section = profiles_->itemData(index).toInt();
  ws_.config.general.setProfileIndex(section);
  const ProfileNumbers numbers = ReadProfileNumbers(vocabulary_, section);
  // The profile's numbers go in as if typed.
  ShowText(centre_, numbers.smsCentre);
  storeNumber(centre_, &Configuration::smsCentre);
  ShowText(expressOut_, numbers.expressOut);
  storeNumber(expressOut_, &Configuration::expressOutNumber);
  ShowText(expressIn_, numbers.expressIn);
  ws_.config.expressInNumber = numbers.expressIn;
  applyNumberRule(true);
}

// With no profile chosen (an index this installation does not know) there is
// no name to write, and writing would add a nameless profile to the file.
void GeneralPage::writeProfile() {
  if (profiles_->currentIndex() < 0) return;
  WriteProfile(vocabulary_, ws_.config.general.profileIndex(), Cp1251(profiles_->currentText()), ws_.config);
}

void GeneralPage::dialFlagsClick(QCheckBox* box) {
  StoreFlag(box, ws_.config.general.dialFlags());
  lineDelay_->setEnabled(ws_.config.general.dialFlags() & dial_flag::kNo425Check);
  if (box != boxes_[3]) return;
  const bool disconnected = box->isChecked();
  showLineDisconnected(disconnected);
  if (disconnected) {
    ApplyPhoneUsabilityToAll(ws_.config);
    return;
  }
  // Without a line there is nothing to emulate.
  ws_.config.general.serviceFlags() &= 0x3F;
  ShowFlag(boxes_[4], ws_.config.general.serviceFlags());
  ShowFlag(boxes_[5], ws_.config.general.serviceFlags());
}

void GeneralPage::showLineDisconnected(bool disconnected) {
  for (QWidget* w : {static_cast<QWidget*>(boxes_[0]), static_cast<QWidget*>(boxes_[1]),
                     static_cast<QWidget*>(boxes_[2]), static_cast<QWidget*>(periods_[2])}) {
    w->setEnabled(!disconnected);
  }
  boxes_[4]->setEnabled(disconnected);
  boxes_[5]->setEnabled(disconnected);
}

void GeneralPage::serviceFlagsClick(QCheckBox* box) {
  StoreFlag(box, ws_.config.general.serviceFlags());
  // Time comes from one number only.
  if (box == boxes_[6] && box->isChecked()) boxes_[7]->setChecked(false);
  if (box == boxes_[7] && box->isChecked()) boxes_[6]->setChecked(false);
}

void GeneralPage::refreshProfiles() {
  const QSignalBlocker block(profiles_);
  profiles_->clear();
  for (const auto& p : ws_.profiles) profiles_->addItem(Q(p.name), p.section);
  // The profile is found by its section number, not by its place in the list.
  profiles_->setCurrentIndex(profiles_->findData(ws_.config.general.profileIndex()));
}

void GeneralPage::refresh() {
  const Configuration& c = ws_.config;
  // Filling stores nothing: a stored value is shown as it is, whole, even
  // one longer than can be typed (a number of 16 characters from a file or
  // a device), and only the user's edit replaces it.
  ShowText(pin_, c.pinCode);
  ShowText(address_, c.deviceAddress);
  ShowText(own_, c.ownNumber);
  ShowText(centre_, c.smsCentre);
  ShowText(expressOut_, c.expressOutNumber);
  ShowText(expressIn_, c.expressInNumber);
  for (QComboBox* box : periods_) combos_.show(box);
  combos_.show(priorityTime_);
  combos_.show(lineDelay_);

  const uint8_t dial = c.general.dialFlags();
  for (int i = 0; i < 4; ++i) ShowFlag(boxes_[i], dial);
  ShowFlag(boxes_[kBox42], dial);
  showLineDisconnected(dial & dial_flag::kLineDisconnected);
  for (int i = 6; i < 10; ++i) boxes_[i]->setEnabled(false);
  lineDelay_->setEnabled(dial & dial_flag::kNo425Check);
  applyPeriodRule();
  for (int i = 4; i < 10; ++i) ShowFlag(boxes_[i], c.general.serviceFlags());

  refreshProfiles();
  applyNumberRule(false);
}

}  // namespace vorsin::ui
