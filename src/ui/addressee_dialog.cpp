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

#include "model/addressee_rules.h"
#include "model/defaults.h"
#include "ui/flag_boxes.h"
#include "ui/free_entry_combo.h"
#include "ui/text.h"
#include "ui/window_services.h"

namespace vorsin::ui {

void FillItems(QComboBox* box, const std::vector<std::string>& items) {
  const QSignalBlocker block(box);
  box->clear();
  for (const auto& item : items) box->addItem(Q(item));
}

std::vector<std::string> DeliveryLimitItems() {
  std::vector<std::string> items;
  for (int row = 0; !DeliveryLimitText(row).empty(); ++row) items.push_back(DeliveryLimitText(row));
  return items;
}

void ShowItem(QComboBox* box, int index) {
  const QSignalBlocker block(box);
  box->setCurrentIndex(index);
}

AddresseeDialog::AddresseeDialog(WindowServices& window, QWidget* parent) : QDialog(parent), window_(window) {
  setObjectName("TForm5");
  setWindowTitle(QStringLiteral("Настройки адресата"));
  setModal(true);
  buildControls();

  connect(name_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_ != nullptr) record_->name = Cp1251(text);
  });
  const auto flag = [this](QCheckBox* box) {
    if (record_ != nullptr) StoreFlag(box, record_->addresseeFlags);
  };
  BindFlag(firstPhone_, AddresseeDialogFlagNames()[0].bit, flag);
  BindFlag(ems_, AddresseeDialogFlagNames()[1].bit, flag);
  connect(mode_, &QComboBox::activated, this, [this](int index) {
    if (record_ == nullptr) return;
    record_->addresseeFlags = WithDeliveryMode(record_->addresseeFlags, index);
    showMode();
  });
  window_.combos().attach(wait_, {[this](const QString& text) {
                                    if (record_ != nullptr)
                                      record_->confirmWait = ParseConfirmWait(Cp1251(text), record_->confirmWait);
                                  },
                                  [this] { return record_ ? Q(ConfirmWaitText(record_->confirmWait)) : QString(); },
                                  DigitsOnly});
  connect(limit_, &QComboBox::activated, this, [this](int row) {
    if (record_ != nullptr) record_->deliveryLimit = DeliveryLimitCode(row);
  });
  connect(add_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AddresseeDialog::buildControls() {
  name_ = new QLineEdit(this);
  name_->setObjectName("Edit1");
  firstPhone_ = new QCheckBox(Q(AddresseeDialogFlagNames()[0].caption), this);
  firstPhone_->setObjectName("CheckBox1");
  ems_ = new QCheckBox(Q(AddresseeDialogFlagNames()[1].caption), this);
  ems_->setObjectName("CheckBox2");
  mode_ = new QComboBox(this);
  mode_->setObjectName("ComboBox1");
  FillItems(mode_, DeliveryModeItems());
  waitLabel_ = new QLabel(QStringLiteral("Время ожидания  подтверждения:"), this);
  waitLabel_->setObjectName("Label5");
  wait_ = new QComboBox(this);
  wait_->setObjectName("ComboBox2");
  FillItems(wait_, ConfirmWaitItems());
  limit_ = new QComboBox(this);
  limit_->setObjectName("ComboBox31");
  FillItems(limit_, DeliveryLimitItems());
  dontShow_ = new QCheckBox(QStringLiteral("больше не показывать окно настроек адресата"), this);
  dontShow_->setObjectName("CheckBox3");
  add_ = new QPushButton(QStringLiteral("Добавить"), this);
  add_->setObjectName("Button1");
  add_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Отмена"), this);
  cancel_->setObjectName("Button2");

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
  name_->setText(Q(record_->name));
  ShowFlag(firstPhone_, record_->addresseeFlags);
  ShowFlag(ems_, record_->addresseeFlags);
  ShowItem(limit_, DeliveryLimitRow(record_->deliveryLimit));
  {
    const QSignalBlocker block(dontShow_);
    dontShow_->setChecked(false);
  }
  ShowItem(mode_, DeliveryModeIndex(record_->addresseeFlags));
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
