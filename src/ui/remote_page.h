// The page "Управление": which work phones may use each remote command and
// control entry, the commands' passwords, the work phones' modes, the work
// phone numbers, the CUSD forward number and two SMS forwarding options.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "model/configuration.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTreeWidget;

namespace vorsin::ui {

class WindowServices;

class RemotePage : public QWidget, public Page {
  Q_OBJECT
 public:
  // writeProfile: leaving a work-phone field writes the operator profile,
  // as leaving the general page's number fields does.
  RemotePage(WindowServices& window, std::function<void()> writeProfile, QWidget* parent = nullptr);

  // Rebuilds the tree from the vocabulary names; nothing is selected then.
  void refresh() override;
  // Shows the numbers and options anew and the selected entry with them.
  void shown() override;

 private:
  struct Selection {
    int root = -1;   // 0 commands, 1 controls
    int entry = -1;  // -1 on a root
  };
  void buildControls();
  void showNumbers();
  Selection selection() const;
  RemoteCommand* selectedEntry();
  void showRemoteEntry();
  void showPhoneMode();
  void phoneChecked(QListWidgetItem* item);
  void modeChosen(int index);
  void userChosen(int index);
  // field 0..7 a work phone, 8 the CUSD forward number.
  std::string& phoneField(int field);
  void bindWorkPhone(QLineEdit* edit, int field);
  bool onPhoneModeEntry() const;

  WindowServices& window_;
  std::function<void()> writeProfile_;

  QTreeWidget* tree_ = nullptr;      // RemCtrl
  QWidget* panel_ = nullptr;         // Panel5
  QLabel* bindLabel_ = nullptr;      // Label48
  QListWidget* phones_ = nullptr;    // RemFhone
  QLabel* passwordLabel_ = nullptr;  // Label47
  QLineEdit* password_ = nullptr;    // Edit20
  QLabel* modeLabel_ = nullptr;      // Label40
  QComboBox* mode_ = nullptr;        // ComboBox25
  QLabel* userLabel_ = nullptr;      // Label38
  QComboBox* user_ = nullptr;        // ComboBox26
  std::array<QLineEdit*, kWorkPhones> workPhones_{};  // Edit12..Edit19
  QLineEdit* cusd_ = nullptr;        // Edit27
  QCheckBox* forwardUnknown_ = nullptr;  // CheckBox44
  QCheckBox* forwardExpress_ = nullptr;  // CheckBox45
};

}  // namespace vorsin::ui
