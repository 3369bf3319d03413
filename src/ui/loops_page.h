// The page "Шлейфы": the four loops in a tree and, for the selected one, its
// kind with the kind's options, reaction time, delays, latch and re-arm
// times, and its interval table. Every change goes to the model at once;
// kind and table changes reset the loop's events and relay bindings.
#pragma once

#include <QWidget>
#include <array>
#include <cstddef>
#include <vector>

#include "model/loop_rules.h"
#include "ui/page.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPoint;
class QTreeWidget;

namespace vorsin::ui {

class WindowServices;

class LoopsPage : public QWidget, public Page {
  Q_OBJECT
 public:
  explicit LoopsPage(WindowServices& window, QWidget* parent = nullptr);

  // Rebuilds the loop tree; no loop is selected afterwards.
  void refresh() override;
  // Coming back to the page keeps the selected loop and shows it anew.
  void shown() override;
  // The selected loop (0..3), or -1.
  int currentLoop() const;

 private:
  void buildControls();
  void bindOptions();
  void bindCombos();
  void showLoop();
  void showIntervals(int loop);
  void showGroupControls(int loop);
  void fillKindMenu(const QPoint& point);
  void fillIntervalMenu();
  void changeKind(LoopKind kind);
  void changeInterval(int index);
  void bindDelay(QComboBox* box, size_t blockOffset);
  GeneralSettings& general();  // found anew at each use
  void bindLatch(QComboBox* box, int tag);

  WindowServices& window_;
  QTreeWidget* tree_ = nullptr;    // HsTree
  QWidget* panel_ = nullptr;       // HsPanel
  std::array<QGroupBox*, 3> groups_{};  // ButtonStub, GuardStub, FireStub, in LoopKind order
  std::vector<QCheckBox*> options_;     // option boxes of the three groups
  QComboBox* reaction_ = nullptr;  // ComboBox14
  QLabel* caption_ = nullptr;      // Label21
  QTreeWidget* ranges_ = nullptr;  // IntList
  std::array<QCheckBox*, 4> common_{};  // CheckBox21, 25, 26, 27: loops 1..4
  QCheckBox* disarmEnabled_ = nullptr;  // CheckBox29
  QComboBox* relay_ = nullptr;          // ComboBox17
  std::vector<QComboBox*> valueBoxes_;  // delays, latch and re-arm boxes
};

}  // namespace vorsin::ui
