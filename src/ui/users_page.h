// The page "Пользователи": the users with their loop rights and keys, the
// selected user's password, key and relay-reset option, the loops' AND
// logic, and reading the user tables back from the device.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "model/configuration.h"
#include "ui/page.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorsin::ui {

class KeyDialog;
class WindowServices;

class UsersPage : public QWidget, public Page {
  Q_OBJECT
 public:
  // password gives the engineer password of the programming page.
  UsersPage(WindowServices& window, std::function<std::string()> password, QWidget* parent = nullptr);

  void refresh() override;  // FillUserList; also stops a key request
  void setKeyDialog(KeyDialog* dialog) { keyDialog_ = dialog; }

  void showUser(int row);
  void addUser(int number);
  void deleteSelectedUser();
  void readKey();         // Button6 "Считать"
  void readUserTables();  // Button4 "Считать описания"

 private:
  void buildControls();
  void fillRow(int row);
  void fillMenu(const QPoint& point);
  void columnClicked(int column);
  void rowDoubleClicked(QTreeWidgetItem* item, int column);
  bool currentValid() const;
  User* currentUser();  // the user shown, found anew; nullptr for none

  WindowServices& window_;
  std::function<std::string()> password_;
  KeyDialog* keyDialog_ = nullptr;
  int current_ = -1;  // position in users of the user shown

  QTreeWidget* list_ = nullptr;     // UserList
  QLabel* passwordLabel_ = nullptr; // Label1
  QLineEdit* passwordEdit_ = nullptr;  // Edit9
  QLabel* keyLabel_ = nullptr;      // Label35
  QLineEdit* keyEdit_ = nullptr;    // Edit11
  QPushButton* readKey_ = nullptr;  // Button6
  QCheckBox* relayReset_ = nullptr; // CheckBox46
  QCheckBox* loopsAnd_ = nullptr;   // CheckBox43
};

}  // namespace vorsin::ui
