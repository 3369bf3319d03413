// The page "Адресаты": the tree of addressees and their phones, the group
// that edits the selected addressee and the one that edits the selected
// phone. Every change goes to the model at once; the records are found
// again from the tree's selection at every edit.
#pragma once

#include <QTreeWidget>
#include <QWidget>
#include <array>
#include <functional>
#include <string>

#include "model/configuration.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace vorsin::ui {

class AddresseeDialog;
class WindowServices;

// The tree Dest. Drops are decided and carried out by the page: the view's
// own move would nest a node under its target.
class DestTree : public QTreeWidget {
  Q_OBJECT
 public:
  explicit DestTree(QWidget* parent = nullptr);

  std::function<bool(QTreeWidgetItem* dragged, QTreeWidgetItem* target)> canDrop;
  std::function<void(QTreeWidgetItem* dragged, QTreeWidgetItem* target)> drop;
  // What a drop of dragged on target does; false when it is refused.
  bool dropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  bool accepts(const QDropEvent* event);
};

class AddresseesPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit AddresseesPage(WindowServices& window, QWidget* parent = nullptr);

  // Rebuilds the tree from the model; closes the dialog and hides the groups.
  void refresh() override;
  // Shows the selected record anew (other pages may have changed it).
  void shown() override;
  void setDialog(AddresseeDialog* dialog) { dialog_ = dialog; }

  // The context menu's operations, on the selected node.
  void addAddressee();
  void deleteAddressee();
  void deleteAllAddressees();
  void addPhone();
  void deletePhone();

 private:
  void buildControls();
  void bindAddressee();
  void bindPhone();
  void bindNumber(QLineEdit* edit, std::string AddresseePhone::*field);
  void fillMenu(const QPoint& point);

  void rebuildTree();
  QTreeWidgetItem* addAddresseeNode(const Addressee& addressee);
  static QTreeWidgetItem* newNode(const std::string& text);
  bool isPlaceholder(const QTreeWidgetItem* item) const;
  int addresseeIndex(const QTreeWidgetItem* item) const;
  Addressee* addresseeOf(const QTreeWidgetItem* item);
  AddresseePhone* phoneOf(const QTreeWidgetItem* item);
  Addressee* selectedAddressee() { return addresseeOf(tree_->currentItem()); }
  AddresseePhone* selectedPhone() { return phoneOf(tree_->currentItem()); }
  void select(QTreeWidgetItem* item);
  void setNodeText(QTreeWidgetItem* item, const std::string& text);
  void renamed(QTreeWidgetItem* item);

  bool canDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target);
  void drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target);

  void showSelection();
  void fillAddressee(Addressee& addressee);
  void fillPhone(AddresseePhone& phone);
  void showMode(const Addressee& addressee);
  void showFormats(const AddresseePhone& phone);
  void applyUsability(AddresseePhone& phone);

  WindowServices& window_;
  AddresseeDialog* dialog_ = nullptr;

  DestTree* tree_ = nullptr;        // Dest
  QGroupBox* destGroup_ = nullptr;  // DestGroup
  QLineEdit* destName_ = nullptr;   // Edit26
  std::array<QCheckBox*, 6> destBoxes_{};  // CheckBox11..16
  QComboBox* mode_ = nullptr;       // ComboBox7
  QLabel* waitLabel_ = nullptr;     // Label31
  QComboBox* wait_ = nullptr;       // ComboBox21
  QComboBox* limit_ = nullptr;      // ComboBox31

  QGroupBox* phoneGroup_ = nullptr;    // FhoneGroup
  QLineEdit* phoneName_ = nullptr;     // Edit25
  QRadioButton* cellular_ = nullptr;   // RadioButton2
  QRadioButton* wired_ = nullptr;      // RadioButton1
  std::array<QLineEdit*, 3> numbers_{};  // Edit5, Edit6, Edit7
  QComboBox* gsmFormat_ = nullptr;     // ComboBox5
  QComboBox* lineFormat_ = nullptr;    // ComboBox6
  QCheckBox* busy_ = nullptr;          // CheckBox17
  QCheckBox* handset_ = nullptr;       // CheckBox18
  QCheckBox* switchedOff_ = nullptr;   // CheckBox19
  QComboBox* voice_ = nullptr;         // ComboBox8
};

}  // namespace vorsin::ui
