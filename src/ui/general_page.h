// The page "Общие": SIM codes, device address, service numbers, operator
// profile, test and line-check periods, dialing options, line emulation.
// Every change goes to the model at once.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace vorsin::ui {

class FreeEntryCombos;

class GeneralPage : public QWidget, public Page {
  Q_OBJECT
 public:
  GeneralPage(Workspace& ws, Vocabulary& vocabulary, FreeEntryCombos& combos, QWidget* parent = nullptr);

  void refresh() override;

  // Writes the chosen profile's name and numbers into the vocabulary file.
  // Leaving a service number field does it; so do the work-phone fields.
  void writeProfile();
  // CheckBox9/10 follow the test periods and the time events.
  void applyPeriodRule() { showOptions(); }
  // "Дополнительные настройки" opens the time-events dialog once it exists.
  void setTimeEventsAction(std::function<void()> action);

 private:
  void buildControls();
  void bindFields();
  void bindNumber(QLineEdit* edit, std::string Configuration::*field);
  void bindPeriod(QComboBox* box, size_t offset);
  void bindCount(QComboBox* box, size_t offset, int unit);
  void numbersEdited();
  void chooseProfile(int index);
  // The option boxes as the model has them, open as its rules allow.
  void showOptions();
  void refreshProfiles();

  Workspace& ws_;
  Vocabulary& vocabulary_;
  FreeEntryCombos& combos_;
  std::function<void()> timeEventsAction_;

  QLineEdit* pin_ = nullptr;        // Edit8
  QLineEdit* address_ = nullptr;    // MaskEdit4
  QLineEdit* own_ = nullptr;        // Edit1
  QLineEdit* centre_ = nullptr;     // Edit2
  QLineEdit* expressOut_ = nullptr; // Edit3
  QLineEdit* expressIn_ = nullptr;  // Edit4
  QComboBox* profiles_ = nullptr;   // ComboBox4
  std::array<QComboBox*, 3> periods_{};  // ComboBox1, 2, 3
  QComboBox* priorityTime_ = nullptr;    // ComboBox9
  QComboBox* lineDelay_ = nullptr;       // ComboBox23
  std::array<QCheckBox*, 11> boxes_{};   // CheckBox1..10, then CheckBox42
  QPushButton* timeEvents_ = nullptr;    // Button11
};

}  // namespace vorsin::ui
