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

#include "model/flag_names.h"
#include "model/general_rules.h"
#include "model/numbers.h"
#include "model/vocabulary_lists.h"
#include "ui/bind.h"
#include "ui/free_entry_combo.h"
#include "ui/text.h"
#include "ui/widgets.h"

namespace vorsin::ui {
namespace {

constexpr int kBox42 = 10;  // boxes_ index of CheckBox42

const QString kNumberHint = QStringLiteral(
    "Разрещённые символы 0,1,2,3,4,5\n6,7,8,9,+,*,#\nМаксимум 15 символов");  // sic

}  // namespace

GeneralPage::GeneralPage(Workspace& ws, Vocabulary& vocabulary, FreeEntryCombos& combos, QWidget* parent)
    : QWidget(parent), ws_(ws), vocabulary_(vocabulary), combos_(combos) {
  setObjectName("TabSheet1");
  buildControls();

  bindFields();
  connect(profiles_, &QComboBox::activated, this, &GeneralPage::chooseProfile);

  bindPeriod(periods_[0], GeneralSettings::kTestPeriod1);
  bindPeriod(periods_[1], GeneralSettings::kTestPeriod2);
  bindPeriod(periods_[2], GeneralSettings::kLineCheckPeriod);
  bindCount(priorityTime_, GeneralSettings::kPriorityDialTime, static_cast<int>(CountUnit::Minutes));
  bindCount(lineDelay_, GeneralSettings::kLineDialDelay, static_cast<int>(CountUnit::Seconds));

  for (size_t i = 0; i < boxes_.size(); ++i) {
    boxes_[i]->setProperty("Tag", GeneralFlagNames()[i].bit);
    BindCheck(boxes_[i],
              {[this, i] { return std::optional<bool>(GeneralOptionSet(ws_.config, i)); },
               [this, i](bool on) { SetGeneralOption(ws_.config, i, on); }},
              [this] { showOptions(); });
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

// Only the user's edits store: passing through a field keeps what it showed,
// and a stored value is shown whole, even one longer than can be typed (a
// number of 16 characters from a file or a device).
void GeneralPage::bindFields() {
  BindLineEdit(pin_, StringField([this] { return &ws_.config.pinCode; }),
               {.kept = [](const QString& text) { return Q(PinAfterLeave(Cp1251(text))); }});
  BindLineEdit(address_, {[this] { return Q(ws_.config.deviceAddress); },
                          [this](const QString&) {
                            ws_.config.deviceAddress = DeviceAddressText(Cp1251(address_->displayText()));
                          }});
  bindNumber(own_, &Configuration::ownNumber);
  bindNumber(centre_, &Configuration::smsCentre);
  bindNumber(expressOut_, &Configuration::expressOutNumber);
  BindLineEdit(expressIn_, StringField([this] { return &ws_.config.expressInNumber; }),
               {.stored = [this] { numbersEdited(); }});
}

// Leaving a service number field writes the profile, edited or not.
void GeneralPage::bindNumber(QLineEdit* edit, std::string Configuration::*field) {
  BindLineEdit(edit, StringField([this, field] { return &(ws_.config.*field); }),
               {.accept = [](QChar c) { return c.unicode() < 128 && IsNumberKey(static_cast<char>(c.unicode())); },
                .kept = KeptNumberText,
                .showKeptAtEdit = true,
                .stored = [this] { numbersEdited(); },
                .left = [this] { writeProfile(); }});
}

void GeneralPage::numbersEdited() {
  DropClosedTimeSources(ws_.config);
  showOptions();
}

void GeneralPage::bindPeriod(QComboBox* box, size_t offset) {
  combos_.attach(box, {[this, offset](const QString& text) {
                         uint8_t& period = ws_.config.general.at(offset);
                         period = ParsePeriod(Cp1251(text), period);
                         showOptions();
                       },
                       [this, offset] { return Q(FormatPeriod(ws_.config.general.at(offset))); },
                       {}});
}

void GeneralPage::bindCount(QComboBox* box, size_t offset, int unit) {
  combos_.attach(box, {[this, offset](const QString& text) {
                         uint8_t& count = ws_.config.general.at(offset);
                         count = ParseCount(Cp1251(text), count);
                       },
                       [this, offset, unit] {
                         return Q(FormatCount(ws_.config.general.at(offset), static_cast<CountUnit>(unit)));
                       },
                       DigitsOnly});
}

void GeneralPage::showOptions() {
  const Configuration& c = ws_.config;
  for (size_t i = 0; i < boxes_.size(); ++i) {
    ShowBound(boxes_[i]);
    boxes_[i]->setEnabled(GeneralOptionOpen(c, i));
  }
  periods_[2]->setEnabled(!(c.general.dialFlags() & dial_flag::kLineDisconnected));
  lineDelay_->setEnabled(c.general.dialFlags() & dial_flag::kNo425Check);
}

void GeneralPage::chooseProfile(int index) {
  if (index < 0) return;
  if (FillLock::held()) return;
  const int section = profiles_->itemData(index).toInt();
  ApplyProfile(ws_.config, section, ReadProfileNumbers(vocabulary_, section));
  for (QLineEdit* e : {centre_, expressOut_, expressIn_}) ShowBound(e);
  showOptions();
}

// With no profile chosen (an index this installation does not know) there is
// no name to write, and writing would add a nameless profile to the file.
void GeneralPage::writeProfile() {
  if (profiles_->currentIndex() < 0) return;
  WriteProfile(vocabulary_, ws_.config.general.profileIndex(), Cp1251(profiles_->currentText()), ws_.config);
}

void GeneralPage::refreshProfiles() {
  const FillLock fill;
  const QSignalBlocker block(profiles_);
  profiles_->clear();
  for (const auto& p : ws_.profiles) profiles_->addItem(Q(p.name), p.section);
  // The profile is found by its section number, not by its place in the list.
  profiles_->setCurrentIndex(profiles_->findData(ws_.config.general.profileIndex()));
}

void GeneralPage::refresh() {
  ShowAllBound(this);
  for (QComboBox* box : periods_) combos_.show(box);
  combos_.show(priorityTime_);
  combos_.show(lineDelay_);
  showOptions();
  refreshProfiles();
}

}  // namespace vorsin::ui
