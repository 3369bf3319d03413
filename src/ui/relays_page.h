// The page "Реле": the tree of both relays' bindings, each relay's contact
// type and run-time limit, the check lists that bind events and ranges of a
// group, one binding's reaction, and the live preview of a pattern.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "model/configuration.h"
#include "model/relay_rules.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPoint;
class QPushButton;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorsin::ui {

class WindowServices;

class RelaysPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit RelaysPage(WindowServices& window, QWidget* parent = nullptr);

  // Rebuilds the tree with nothing selected and stops the preview.
  void refresh() override;
  void left() override;

  // RelayTreeContextPopup: fills the window's menu for the node under point
  // (selecting it first) or for the selected node.
  void fillContextMenu(const QPoint& point);
  // Timer1Timer: shows the preview's next step.
  void previewTick();

 private:
  // Relay, group and binding position of a tree node; -1 where the node's
  // level has none.
  struct Selection {
    int relay = -1;
    int group = -1;
    int item = -1;
  };

  void buildControls();
  void connectControls();
  void bindReactionControls();
  void bindPattern(QComboBox* pattern, QComboBox* priority, std::function<RelayBinding*()> find,
                   std::function<void()> stored);
  void buildTree();
  Selection selectionOf(const QTreeWidgetItem* node) const;
  QTreeWidgetItem* groupNode(int relay, int group) const;
  bool isFireRelay(int relay) const;
  void hidePanels();

  void treeChanged();
  void showRelayType(int relay);
  void showGroupLists(int relay, int group);
  void showBindingPanel(int relay, int group, int position);

  void addItem(int relay, int group, int id);
  void clearRelay(int relay);
  void clearGroup(int relay, int group);
  void deleteBinding(int relay, int group, int id);

  QListWidget* list(RelayList which) const { return lists_[static_cast<int>(which)]; }
  int listGroup() const;
  void listClicked(RelayList which, int item);
  void listChecked(RelayList which, int item);
  void listDoubleClicked(RelayList which, int item);
  void showCheckMarks(int relay, int group);
  // The check lists' controls show the binding listBinding() finds, or
  // are shown as for a new binding and disabled when there is none.
  void showBindingControls();
  void disableBindingControls();
  void enableBindingControls(bool enabled);
  // The binding the check lists' controls edit, or the binding panel's;
  // found anew at each edit.
  RelayBinding* listBinding();
  RelayBinding* panelBinding();
  void refusedTooLarge(int relay);

  void startPreview(int flags);
  void stopPreview();
  void setUnderline(bool underline);

  WindowServices& window_;
  Workspace& ws_;
  Selection selection_;
  int currentId_ = -1;  // identifier shown by the check lists' controls
  int panelId_ = -1;    // identifier of the binding on the binding panel
  std::array<int, kRelays * kRelayLists> listSelection_{};
  RelayPreview preview_;

  QTreeWidget* tree_ = nullptr;          // RelayTree
  QGroupBox* relayType_ = nullptr;       // GroupBox1
  QComboBox* contactType_ = nullptr;     // ComboBox10
  QComboBox* timeLimit_ = nullptr;       // ComboBox30
  QGroupBox* relParam_ = nullptr;        // RelParam
  std::array<QListWidget*, 3> lists_{};  // RelayReact, RelayHs1, RelayHs2
  QLabel* rangesLabel_ = nullptr;
  QCheckBox* once_ = nullptr;            // CheckBox40
  QCheckBox* stopOnRestore_ = nullptr;   // CheckBox41
  QLabel* patternLabel_ = nullptr;       // Label29, the preview
  QComboBox* pattern_ = nullptr;         // ComboBox19
  QLabel* priorityLabel_ = nullptr;      // Label30
  QComboBox* priority_ = nullptr;        // ComboBox20
  QPushButton* reload_ = nullptr;        // Button2
  QGroupBox* reactPanel_ = nullptr;      // ReactPanel
  QCheckBox* cyclic_ = nullptr;          // CheckBox38
  QCheckBox* noStopCheck_ = nullptr;     // CheckBox39
  QComboBox* panelPattern_ = nullptr;    // ComboBox13
  QComboBox* panelPriority_ = nullptr;   // ComboBox18
  QTimer* timer_ = nullptr;              // Timer1
};

}  // namespace vorsin::ui
