#include "ui/addressee_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <optional>

#include "model/addressee_rules.h"
#include "model/defaults.h"
#include "ui/bind.h"
#include "ui/flag_boxes.h"
#include "ui/free_entry_combo.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {

void FillItems(QComboBox* box, const std::vector<std::string>& items) {
  const QSignalBlocker block(box);
  box->clear();
  box->addItems(Texts(items));
}

std::vector<std::string> DeliveryLimitItems() {
  std::vector<std::string> items;
  for (int row = 0; !DeliveryLimitText(row).empty(); ++row) items.push_back(DeliveryLimitText(row));
  return items;
}

void BindDeliveryBoxes(QComboBox* mode, QComboBox* limit, std::function<Addressee*()> find,
                       std::function<void()> modeStored) {
  BindCombo(mode, Texts(DeliveryModeItems()),
            {[find]() -> std::optional<int> {
               const Addressee* a = find();
               return a != nullptr ? std::optional<int>(DeliveryModeIndex(a->addresseeFlags)) : std::nullopt;
             },
             [find](int index) {
               if (Addressee* a = find()) a->addresseeFlags = WithDeliveryMode(a->addresseeFlags, index);
             }},
            {}, std::move(modeStored));
  BindCombo(limit, Texts(DeliveryLimitItems()),
            {[find]() -> std::optional<int> {
               const Addressee* a = find();
               return a != nullptr ? std::optional<int>(DeliveryLimitRow(a->deliveryLimit)) : std::nullopt;
             },
             [find](int row) {
               if (Addressee* a = find()) a->deliveryLimit = DeliveryLimitCode(row);
             }});
}

AddresseeDialog::AddresseeDialog(WindowServices& window, QWidget* parent) : QDialog(parent), window_(window) {
  setObjectName("TForm5");
  setWindowTitle(QStringLiteral("Настройки адресата"));
  setModal(true);
  buildControls();

  BindLineEdit(name_, StringField([this] { return record_ != nullptr ? &record_->name : nullptr; }));
  const auto flags = [this] { return record_ != nullptr ? &record_->addresseeFlags : nullptr; };
  BindFlag(firstPhone_, flags, AddresseeDialogFlagNames()[0].bit);
  BindFlag(ems_, flags, AddresseeDialogFlagNames()[1].bit);
  BindDeliveryBoxes(mode_, limit_, [this] { return record_; }, [this] { showMode(); });
  window_.combos().attach(wait_, {[this](const QString& text) {
                                    if (record_ != nullptr)
                                      record_->confirmWait = ParseConfirmWait(Cp1251(text), record_->confirmWait);
                                  },
                                  [this] { return record_ ? Q(ConfirmWaitText(record_->confirmWait)) : QString(); },
                                  DigitsOnly});
  connect(add_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AddresseeDialog::buildControls() {
  name_ = NewEdit("Edit1", this);
  firstPhone_ = NewBox("CheckBox1", Q(AddresseeDialogFlagNames()[0].caption), this);
  ems_ = NewBox("CheckBox2", Q(AddresseeDialogFlagNames()[1].caption), this);
  mode_ = NewCombo("ComboBox1", {}, this);
  waitLabel_ = new QLabel(QStringLiteral("Время ожидания  подтверждения:"), this);
  waitLabel_->setObjectName("Label5");
  wait_ = NewCombo("ComboBox2", Texts(ConfirmWaitItems()), this);
  limit_ = NewCombo("ComboBox31", {}, this);
  dontShow_ = NewBox("CheckBox3", QStringLiteral("больше не показывать окно настроек адресата"), this);
  add_ = NewButton("Button1", QStringLiteral("Добавить"), this);
  add_->setDefault(true);
  cancel_ = NewButton("Button2", QStringLiteral("Отмена"), this);

  auto* common = new QGroupBox(QStringLiteral("Общие параметры адресата:"), this);
  auto* grid = new QGridLayout(common);
  grid->addWidget(firstPhone_, 0, 0, 1, 2);
  grid->addWidget(ems_, 1, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("Режим доставки SMS"), common), 2, 0);
  grid->addWidget(mode_, 2, 1);
  grid->addWidget(waitLabel_, 3, 0);
  grid->addWidget(wait_, 3, 1);
  grid->addWidget(new QLabel(QStringLiteral("Ограничение времени доставки сообщений:"), common), 4, 0);
  grid->addWidget(limit_, 4, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(dontShow_);
  buttons->addStretch(1);
  buttons->addWidget(add_);
  buttons->addWidget(cancel_);

  auto* column = new QVBoxLayout(this);
  column->addWidget(new QLabel(QStringLiteral("Название адресата:"), this));
  column->addWidget(name_);
  column->addWidget(common);
  column->addLayout(buttons);
}

void AddresseeDialog::fill() {
  for (QWidget* control : std::initializer_list<QWidget*>{name_, firstPhone_, ems_, limit_, mode_})
    ShowBound(control);
  FillCheck(dontShow_, false);
  window_.combos().show(wait_);
  showMode();
}

void AddresseeDialog::showMode() {
  const bool confirmed = record_ != nullptr && ConfirmWaitShown(record_->addresseeFlags);
  waitLabel_->setVisible(confirmed);
  wait_->setVisible(confirmed);
}

int AddresseeDialog::edit(Addressee& record) {
  record_ = &record;
  fill();
  const int result = exec();
  if (dontShow_->isChecked()) window_.workspace().marks.showAddresseeDialog = false;
  record_ = nullptr;
  return result;
}

}  // namespace vorsin::ui
