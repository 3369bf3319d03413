// TForm5 "Настройки адресата": shown when an addressee is added, it edits
// the new record directly before the record joins the list.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "model/configuration.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorsin::ui {

class WindowServices;

// List-only boxes of the addressee controls, shared with the page.
void FillItems(QComboBox* box, const std::vector<std::string>& items);
std::vector<std::string> DeliveryLimitItems();
// The delivery mode and limit boxes edit the addressee find() gives;
// modeStored runs after a mode is chosen.
void BindDeliveryBoxes(QComboBox* mode, QComboBox* limit, std::function<Addressee*()> find,
                       std::function<void()> modeStored);

class AddresseeDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AddresseeDialog(WindowServices& window, QWidget* parent = nullptr);

  // Fills the dialog from the record and shows it modally; the record is
  // edited while it is open. Returns Accepted for "Добавить". "больше не
  // показывать" takes effect as it stands when the dialog closes.
  int edit(Addressee& record);

 private:
  void buildControls();
  void fill();
  void showMode();

  WindowServices& window_;
  Addressee* record_ = nullptr;  // only while edit() runs

  QLineEdit* name_ = nullptr;        // Edit1
  QCheckBox* firstPhone_ = nullptr;  // CheckBox1
  QCheckBox* ems_ = nullptr;         // CheckBox2
  QComboBox* mode_ = nullptr;        // ComboBox1
  QLabel* waitLabel_ = nullptr;      // Label5
  QComboBox* wait_ = nullptr;        // ComboBox2
  QComboBox* limit_ = nullptr;       // ComboBox31
  QCheckBox* dontShow_ = nullptr;    // CheckBox3
  QPushButton* add_ = nullptr;       // Button1
  QPushButton* cancel_ = nullptr;    // Button2
};

}  // namespace vorsin::ui
