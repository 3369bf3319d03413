#include "ui/relays_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "model/cp1251.h"
#include "model/relays.h"
#include "ui/bind.h"
#include "ui/control_events.h"
#include "ui/dest_menu.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

QStringList Priorities() {
  QStringList items;
  for (int p = 0; p < kPriorities; ++p) items << QString::number(p);
  return items;
}

// The patterns may have been reloaded since the box was last filled.
void RefillPatterns(QComboBox* box, const Configuration& config) {
  {
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(Texts(PatternBoxItems(config)));
  }
  ShowBound(box);
}

void FillCheckList(QListWidget* list, const QStringList& items) {
  const QSignalBlocker block(list);
  list->clear();
  for (const QString& text : items) {
    auto* item = new QListWidgetItem(text, list);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
}

void ClearItemSelection(QListWidget* list) {
  const QSignalBlocker block(list);
  list->setCurrentRow(-1);
  list->clearSelection();
}

}  // namespace

RelaysPage::RelaysPage(WindowServices& window, QWidget* parent)
    : QWidget(parent), window_(window), ws_(window.workspace()) {
  setObjectName("TabSheet4");
  buildControls();
  connectControls();
  hidePanels();
  relayType_->hide();
}

void RelaysPage::buildControls() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("RelayTree");
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  relayType_ = new QGroupBox(this);
  relayType_->setObjectName("GroupBox1");
  contactType_ = NewCombo("ComboBox10", {}, relayType_);
  timeLimit_ = NewCombo("ComboBox30", {}, relayType_);
  auto* typeGrid = new QGridLayout(relayType_);
  typeGrid->addWidget(contactType_, 0, 0);
  typeGrid->addWidget(new QLabel(QStringLiteral("Ограничение времени работы"), relayType_), 1, 0);
  typeGrid->addWidget(timeLimit_, 2, 0);

  relParam_ = new QGroupBox(QStringLiteral("Общие события реле:"), this);
  relParam_->setObjectName("RelParam");
  const char* listNames[] = {"RelayReact", "RelayHs1", "RelayHs2"};
  for (int t = 0; t < 3; ++t) {
    lists_[t] = new QListWidget(relParam_);
    lists_[t]->setObjectName(listNames[t]);
    lists_[t]->setProperty("Tag", t);
  }
  FillCheckList(list(RelayList::React), Texts(RelayReactItems()));
  FillCheckList(list(RelayList::Hs1), Texts(RelayHs1Items()));
  {
    // Every one of the ten loop events in view, none half cut.
    QListWidget* hs1 = list(RelayList::Hs1);
    hs1->setMinimumHeight(hs1->sizeHintForRow(0) * hs1->count() + 2 * hs1->frameWidth() + 2);
  }
  rangesLabel_ = new QLabel(QStringLiteral("события по интервалам"), relParam_);
  stopOnRestore_ = new QCheckBox(QStringLiteral("отключать при восст."), relParam_);
  stopOnRestore_->setObjectName("CheckBox41");
  once_ = new QCheckBox(QStringLiteral("однократно"), relParam_);
  once_->setObjectName("CheckBox40");
  patternLabel_ = new QLabel(QStringLiteral("Тип реакции "), relParam_);
  patternLabel_->setObjectName("Label29");
  pattern_ = NewCombo("ComboBox19", {}, relParam_);
  priorityLabel_ = new QLabel(QStringLiteral("Приоритет"), relParam_);
  priorityLabel_->setObjectName("Label30");
  priority_ = NewCombo("ComboBox20", {}, relParam_);
  reload_ = new QPushButton(QStringLiteral("Обновить"), relParam_);
  reload_->setObjectName("Button2");
  auto* paramGrid = new QGridLayout(relParam_);
  paramGrid->addWidget(list(RelayList::React), 0, 0, 3, 1);
  paramGrid->addWidget(list(RelayList::Hs1), 0, 1);
  paramGrid->addWidget(rangesLabel_, 1, 1);
  paramGrid->addWidget(list(RelayList::Hs2), 2, 1);
  auto* controls = new QGridLayout;
  controls->addWidget(stopOnRestore_, 0, 0, 1, 2);
  controls->addWidget(once_, 1, 0, 1, 2);
  controls->addWidget(patternLabel_, 2, 0);
  controls->addWidget(pattern_, 2, 1);
  controls->addWidget(priorityLabel_, 3, 0);
  controls->addWidget(priority_, 3, 1);
  controls->addWidget(reload_, 4, 1);
  controls->setRowStretch(5, 1);  // the controls stay together at the top
  paramGrid->addLayout(controls, 0, 2, 3, 1);
  paramGrid->setRowStretch(0, 3);  // ten loop events above at most eight ranges
  paramGrid->setRowStretch(2, 2);

  reactPanel_ = new QGroupBox(QStringLiteral("Настроика реакции на событие"), this);  // sic
  reactPanel_->setObjectName("ReactPanel");
  cyclic_ = new QCheckBox(QStringLiteral("циклически"), reactPanel_);
  cyclic_->setObjectName("CheckBox38");
  noStopCheck_ = new QCheckBox(QStringLiteral("не проверять на стоп"), reactPanel_);
  noStopCheck_->setObjectName("CheckBox39");
  panelPattern_ = NewCombo("ComboBox13", {}, reactPanel_);
  panelPriority_ = NewCombo("ComboBox18", {}, reactPanel_);
  auto* panelGrid = new QGridLayout(reactPanel_);
  panelGrid->addWidget(cyclic_, 0, 0, 1, 2);
  panelGrid->addWidget(noStopCheck_, 1, 0, 1, 2);
  auto* panelPatternLabel = new QLabel(QStringLiteral("Тип реакции "), reactPanel_);
  panelPatternLabel->setObjectName("Label22");
  auto* panelPriorityLabel = new QLabel(QStringLiteral("Приоритет"), reactPanel_);
  panelPriorityLabel->setObjectName("Label28");
  panelGrid->addWidget(panelPatternLabel, 2, 0);
  panelGrid->addWidget(panelPattern_, 2, 1);
  panelGrid->addWidget(panelPriorityLabel, 3, 0);
  panelGrid->addWidget(panelPriority_, 3, 1);
  panelGrid->setRowStretch(4, 1);

  timer_ = new QTimer(this);
  timer_->setObjectName("Timer1");

  auto* right = new QVBoxLayout;
  right->addWidget(relayType_);
  // The check lists take most of the height, so that all sixteen common
  // events show without scrolling.
  right->addWidget(relParam_, 3);
  right->addWidget(reactPanel_);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addLayout(right, 2);
}

void RelaysPage::connectControls() {
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { treeChanged(); });
  window_.destMenu().attach(tree_, [this](const QPoint& point) { fillContextMenu(point); });

  // The relay type box shows the selected relay; items stand for themselves here.
  BindCombo(contactType_, Texts(ContactTypeItems()),
            {[this]() -> std::optional<int> {
               if (selection_.relay < 0) return std::nullopt;
               return ContactTypeItem(ws_.config.general.relayNormallyClosed(selection_.relay));
             },
             [this](int item) {
               if (selection_.relay >= 0) ws_.config.general.relayNormallyClosed(selection_.relay) = NormallyClosedOf(item);
             }});
  BindCombo(timeLimit_, Texts(RelayTimeLimitItems()),
            {[this]() -> std::optional<int> {
               if (selection_.relay < 0) return std::nullopt;
               return RelayTimeLimitItem(ws_.config.relayTimeLimit[selection_.relay]);
             },
             [this](int item) {
               const int code = RelayTimeLimitCode(item);
               if (selection_.relay < 0 || code < 0) return;
               ws_.config.relayTimeLimit[selection_.relay] = static_cast<uint8_t>(code);
             }});

  for (RelayList which : {RelayList::React, RelayList::Hs1, RelayList::Hs2}) {
    QListWidget* l = list(which);
    connect(l, &QListWidget::itemClicked, this, [this, which, l](QListWidgetItem* item) {
      listClicked(which, l->row(item));
    });
    connect(l, &QListWidget::currentRowChanged, this, [this, which](int row) {
      if (row >= 0) listClicked(which, row);
    });
    // Only the user changes items outside the fills, and only their marks.
    connect(l, &QListWidget::itemChanged, this, [this, which, l](QListWidgetItem* item) {
      listChecked(which, l->row(item));
    });
    connect(l, &QListWidget::itemDoubleClicked, this, [this, which, l](QListWidgetItem* item) {
      listDoubleClicked(which, l->row(item));
    });
  }
  const auto clearOnEnter = [](QListWidget* entered, QListWidget* other) {
    new ControlHook(entered, [other](QEvent* event) {
      if (event->type() == QEvent::FocusIn) ClearItemSelection(other);
      return false;
    });
  };
  clearOnEnter(list(RelayList::Hs1), list(RelayList::Hs2));
  clearOnEnter(list(RelayList::Hs2), list(RelayList::Hs1));

  bindReactionControls();

  connect(reload_, &QPushButton::clicked, this, [this] {
    LoadRelayPatterns(ws_.config, window_.vocabulary());
    if (listBinding() != nullptr) RefillPatterns(pattern_, ws_.config);
  });
  connect(timer_, &QTimer::timeout, this, &RelaysPage::previewTick);
}

// The reaction controls of the check lists and of the binding panel.
void RelaysPage::bindReactionControls() {
  // The check lists' controls read "однократно" and "отключать при
  // восст.": a checked box clears its bit. Without a binding they show
  // what a new one would have.
  const auto listPreview = [this] {
    if (const RelayBinding* binding = listBinding()) startPreview(binding->reactionFlags());
  };
  for (const auto& [box, bit] : {std::pair{once_, kCyclicBit}, std::pair{stopOnRestore_, kNoStopCheckBit}}) {
    BindCheck(box,
              {[this, bit = bit]() -> std::optional<bool> {
                 const RelayBinding* binding = listBinding();
                 return binding == nullptr || !ReactionBit(*binding, bit);
               },
               [this, bit = bit](bool checked) {
                 if (RelayBinding* binding = listBinding()) SetReactionBit(*binding, bit, !checked);
               }},
              listPreview);
  }
  bindPattern(pattern_, priority_, [this] { return listBinding(); }, listPreview);

  for (const auto& [box, bit] : {std::pair{cyclic_, kCyclicBit}, std::pair{noStopCheck_, kNoStopCheckBit}}) {
    BindCheck(box, {[this, bit = bit]() -> std::optional<bool> {
                      const RelayBinding* binding = panelBinding();
                      return binding != nullptr ? std::optional<bool>(ReactionBit(*binding, bit)) : std::nullopt;
                    },
                    [this, bit = bit](bool checked) {
                      if (RelayBinding* binding = panelBinding()) SetReactionBit(*binding, bit, checked);
                    }});
  }
  bindPattern(panelPattern_, panelPriority_, [this] { return panelBinding(); }, {});
}

// A pattern box and the priority box beside it edit the binding find()
// gives; without one they show the first item.
void RelaysPage::bindPattern(QComboBox* pattern, QComboBox* priority, std::function<RelayBinding*()> find,
                             std::function<void()> stored) {
  BindCombo(pattern, {},
            {[find] {
               const RelayBinding* binding = find();
               return binding != nullptr ? PatternIndex(*binding) : 0;
             },
             [find](int index) {
               if (RelayBinding* binding = find()) SetPatternIndex(*binding, index);
             }},
            {}, stored);
  BindCombo(priority, Priorities(),
            {[find] {
               const RelayBinding* binding = find();
               return binding != nullptr ? binding->priority() : 0;
             },
             [find](int index) {
               if (RelayBinding* binding = find()) binding->setPriority(index);
             }});
}

void RelaysPage::refresh() {
  stopPreview();
  buildTree();
}

void RelaysPage::left() { stopPreview(); }

// --- the tree -------------------------------------------------------------

void RelaysPage::buildTree() {
  {
    const QSignalBlocker block(tree_);
    tree_->clear();
    for (int r = 0; r < kRelays; ++r) {
      auto* relay = new QTreeWidgetItem(tree_, {QStringLiteral("Реле %1").arg(r + 1)});
      if (isFireRelay(r)) {
        new QTreeWidgetItem(relay, {QStringLiteral("питание пожарного шлейфа")});
      } else {
        for (int g = 0; g < kRelayLists; ++g) {
          auto* group = new QTreeWidgetItem(relay, {Q(RelayGroupCaption(ws_.config, g))});
          for (const RelayBinding& b : ws_.config.relayBindings[r][g])
            new QTreeWidgetItem(group, {Q(RelayEventName(ws_.config, b.source(), g))});
        }
      }
      relay->setExpanded(true);
    }
    tree_->setCurrentItem(nullptr);
  }
  hidePanels();
  currentId_ = -1;
  panelId_ = -1;
  // The relay type box keeps showing its relay; the values may be new.
  if (!relayType_->isHidden() && selection_.relay >= 0 && !isFireRelay(selection_.relay)) {
    showRelayType(selection_.relay);
  } else {
    relayType_->hide();
  }
  selection_.group = -1;
  selection_.item = -1;
}

RelaysPage::Selection RelaysPage::selectionOf(const QTreeWidgetItem* node) const {
  Selection s;
  if (node == nullptr) return s;
  const QTreeWidgetItem* parent = node->parent();
  if (parent == nullptr) {
    s.relay = tree_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(node));
  } else if (parent->parent() == nullptr) {
    s.relay = tree_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(parent));
    s.group = parent->indexOfChild(const_cast<QTreeWidgetItem*>(node));
  } else {
    s.relay = tree_->indexOfTopLevelItem(parent->parent());
    s.group = parent->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(parent));
    s.item = parent->indexOfChild(const_cast<QTreeWidgetItem*>(node));
  }
  return s;
}

QTreeWidgetItem* RelaysPage::groupNode(int relay, int group) const {
  QTreeWidgetItem* node = tree_->topLevelItem(relay);
  if (node == nullptr || isFireRelay(relay)) return nullptr;
  return node->child(group);
}

bool RelaysPage::isFireRelay(int relay) const { return FireLoopRelay(ws_.config, relay) >= 0; }

void RelaysPage::hidePanels() {
  relParam_->hide();
  reactPanel_->hide();
}

void RelaysPage::treeChanged() {
  stopPreview();
  currentId_ = -1;
  panelId_ = -1;
  const QTreeWidgetItem* node = tree_->currentItem();
  selection_ = selectionOf(node);
  // Nothing selected (a deleted node): no panel may go on editing.
  if (node == nullptr || selection_.relay < 0) {
    hidePanels();
    return;
  }
  const int r = selection_.relay;
  if (isFireRelay(r)) {
    hidePanels();
    relayType_->hide();
    return;
  }
  if (selection_.item < 0) {
    showRelayType(r);
    if (selection_.group >= 0 && selection_.group < kRelayLists) {
      showGroupLists(r, selection_.group);
    } else {
      hidePanels();
    }
    return;
  }
  showBindingPanel(r, selection_.group, selection_.item);
}

void RelaysPage::showRelayType(int relay) {
  relayType_->setTitle(QStringLiteral("Тип реле %1").arg(relay + 1));
  relayType_->show();
  ShowBound(contactType_);
  ShowBound(timeLimit_);
}

void RelaysPage::showGroupLists(int relay, int group) {
  const bool common = group == kCommonGroup;
  if (!common) FillCheckList(list(RelayList::Hs2), Texts(RelayHs2Items(ws_.config, group)));
  showCheckMarks(relay, group);
  list(RelayList::React)->setVisible(common);
  list(RelayList::Hs1)->setVisible(!common);
  list(RelayList::Hs2)->setVisible(!common);
  rangesLabel_->setVisible(!common);
  reactPanel_->hide();
  relParam_->show();
  for (QListWidget* l : lists_) ClearItemSelection(l);

  const auto remembered = ListSelectionItem(ws_.config, listSelection_[kRelayLists * relay + group], group);
  if (remembered) {
    QListWidget* l = list(remembered->list);
    {
      const QSignalBlocker block(l);
      l->setCurrentRow(remembered->item);
    }
    listClicked(remembered->list, remembered->item);
  } else {
    disableBindingControls();
  }
}

void RelaysPage::showBindingPanel(int relay, int group, int position) {
  const auto& bindings = ws_.config.relayBindings[relay][group];
  if (group < 0 || group >= kRelayLists || position >= static_cast<int>(bindings.size())) {
    hidePanels();
    return;
  }
  panelId_ = bindings[position].source();
  relParam_->hide();
  relayType_->hide();
  reactPanel_->show();  // before the fill: panelBinding() finds nothing on a hidden panel
  ShowBound(cyclic_);
  ShowBound(noStopCheck_);
  RefillPatterns(panelPattern_, ws_.config);
  ShowBound(panelPriority_);
}

// --- the context menu -----------------------------------------------------

void RelaysPage::fillContextMenu(const QPoint& point) {
  DestMenu& menu = window_.destMenu();
  menu.clear();
  if (QTreeWidgetItem* under = tree_->itemAt(point)) tree_->setCurrentItem(under);
  const QTreeWidgetItem* node = tree_->currentItem();
  if (node == nullptr) return;
  const Selection s = selectionOf(node);
  if (s.relay < 0 || isFireRelay(s.relay)) return;
  const int r = s.relay;
  if (s.group < 0) {
    menu.add(QStringLiteral("Очистить реле"), [this, r] { clearRelay(r); });
    return;
  }
  const int g = s.group;
  const auto addItems = [this, r, g](QMenu* sub, const std::vector<int>& ids) {
    for (int id : ids) {
      if (id == kMenuSeparator) {
        sub->addSeparator();
        continue;
      }
      QAction* action = sub->addAction(Q(RelayEventName(ws_.config, id, g)));
      action->setProperty("Tag", id);
      connect(action, &QAction::triggered, this, [this, r, g, id] { addItem(r, g, id); });
    }
  };
  if (g < kLoops) addItems(menu.addSubmenu(QStringLiteral("по интервалам")), IntervalMenuIds(ws_.config, r, g));
  addItems(menu.addSubmenu(QStringLiteral("по событиям")), EventMenuIds(ws_.config, r, g));
  menu.add(QStringLiteral("-"), {});
  if (s.item < 0) {
    menu.add(node->text(0) + QStringLiteral(": очистить"), [this, r, g] { clearGroup(r, g); });
  } else if (s.item < static_cast<int>(ws_.config.relayBindings[r][g].size())) {
    const int id = ws_.config.relayBindings[r][g][s.item].source();
    menu.add(node->text(0) + QStringLiteral(": удалить"), [this, r, g, id] { deleteBinding(r, g, id); });
  }
}

void RelaysPage::addItem(int relay, int group, int id) {
  QTreeWidgetItem* parent = groupNode(relay, group);
  if (parent == nullptr) return;
  switch (AddBinding(ws_, relay, group, id)) {
    case BindingChange::Added:
      new QTreeWidgetItem(parent, {Q(RelayEventName(ws_.config, id, group))});
      treeChanged();
      break;
    case BindingChange::TooLarge:
      refusedTooLarge(relay);
      break;
    default:
      break;
  }
}

void RelaysPage::clearRelay(int relay) {
  if (relay < 0 || relay >= kRelays) return;
  ClearRelay(ws_.config, relay);
  buildTree();
}

void RelaysPage::clearGroup(int relay, int group) {
  QTreeWidgetItem* parent = groupNode(relay, group);
  if (parent == nullptr || !ClearGroup(ws_.config, relay, group)) return;
  {
    const QSignalBlocker block(tree_);
    if (tree_->currentItem() != nullptr && tree_->currentItem()->parent() == parent) tree_->setCurrentItem(parent);
    qDeleteAll(parent->takeChildren());
  }
  treeChanged();
}

void RelaysPage::deleteBinding(int relay, int group, int id) {
  QTreeWidgetItem* parent = groupNode(relay, group);
  if (parent == nullptr) return;
  const int at = DeleteBinding(ws_.config, relay, group, id);
  if (at < 0) return;
  {
    // The group stays selected: its lists show what is left.
    const QSignalBlocker block(tree_);
    tree_->setCurrentItem(parent);
    delete parent->child(at);
  }
  treeChanged();
}

// --- the check lists ------------------------------------------------------

int RelaysPage::listGroup() const {
  return selection_.group >= 0 && selection_.group < kRelayLists ? selection_.group : kCommonGroup;
}

void RelaysPage::listClicked(RelayList which, int item) {
  if (selection_.relay < 0 || relParam_->isHidden()) return;
  const int r = selection_.relay;
  const int g = listGroup();
  stopPreview();
  const int id = RelayListIdentifier(ws_.config, which, item, g);
  if (id < 0) {
    disableBindingControls();
    return;
  }
  listSelection_[kRelayLists * r + g] = ListSelectionCode(which, item);
  currentId_ = id;
  const RelayBinding* binding = listBinding();
  if (binding == nullptr) {
    disableBindingControls();
    return;
  }
  showBindingControls();
  startPreview(binding->reactionFlags());
}

void RelaysPage::listChecked(RelayList which, int item) {
  if (selection_.relay < 0 || relParam_->isHidden()) return;
  const int r = selection_.relay;
  const int g = listGroup();
  const int id = RelayListIdentifier(ws_.config, which, item, g);
  QTreeWidgetItem* parent = groupNode(r, g);
  if (id >= 0 && parent != nullptr) {
    const int at = FindBinding(ws_.config, r, g, id);
    switch (ToggleBinding(ws_, r, g, id)) {
      case BindingChange::Removed:
        delete parent->child(at);
        disableBindingControls();
        break;
      case BindingChange::Added:
        currentId_ = id;
        new QTreeWidgetItem(parent, {Q(RelayEventName(ws_.config, id, g))});
        showBindingControls();
        break;
      case BindingChange::TooLarge:
        refusedTooLarge(r);
        break;
      case BindingChange::Refused:
        break;
    }
  }
  // The mark shows whether the item is bound, whatever the click left.
  showCheckMarks(r, g);
}

void RelaysPage::listDoubleClicked(RelayList which, int item) {
  if (selection_.relay < 0) return;
  const int r = selection_.relay;
  const int g = listGroup();
  const int id = RelayListIdentifier(ws_.config, which, item, g);
  const int at = id < 0 ? -1 : FindBinding(ws_.config, r, g, id);
  QTreeWidgetItem* parent = groupNode(r, g);
  if (at < 0 || parent == nullptr || parent->child(at) == nullptr) return;
  tree_->setCurrentItem(parent->child(at));
}

void RelaysPage::showCheckMarks(int relay, int group) {
  std::array<std::vector<bool>, 3> bound;
  for (int t = 0; t < 3; ++t) bound[t].assign(lists_[t]->count(), false);
  for (const RelayBinding& b : ws_.config.relayBindings[relay][group]) {
    const auto item = RelayItemOf(ws_.config, b.source(), group);
    if (item && item->item < lists_[static_cast<int>(item->list)]->count())
      bound[static_cast<int>(item->list)][item->item] = true;
  }
  for (int t = 0; t < 3; ++t) {
    const QSignalBlocker block(lists_[t]);
    for (int i = 0; i < lists_[t]->count(); ++i)
      lists_[t]->item(i)->setCheckState(bound[t][i] ? Qt::Checked : Qt::Unchecked);
  }
}

void RelaysPage::showBindingControls() {
  ShowBound(once_);
  ShowBound(stopOnRestore_);
  RefillPatterns(pattern_, ws_.config);
  ShowBound(priority_);
  enableBindingControls(listBinding() != nullptr);
}

void RelaysPage::disableBindingControls() {
  currentId_ = -1;
  showBindingControls();
}

void RelaysPage::enableBindingControls(bool enabled) {
  for (QWidget* w : std::initializer_list<QWidget*>{once_, stopOnRestore_, patternLabel_, pattern_, priorityLabel_,
                                                    priority_})
    w->setEnabled(enabled);
}

RelayBinding* RelaysPage::listBinding() {
  if (currentId_ < 0 || selection_.relay < 0 || relParam_->isHidden()) return nullptr;
  const int g = listGroup();
  const int at = FindBinding(ws_.config, selection_.relay, g, currentId_);
  return at < 0 ? nullptr : &ws_.config.relayBindings[selection_.relay][g][at];
}

RelayBinding* RelaysPage::panelBinding() {
  if (panelId_ < 0 || selection_.relay < 0 || reactPanel_->isHidden()) return nullptr;
  const int at = FindBinding(ws_.config, selection_.relay, selection_.group, panelId_);
  return at < 0 ? nullptr : &ws_.config.relayBindings[selection_.relay][selection_.group][at];
}

void RelaysPage::refusedTooLarge(int relay) {
  window_.messenger().Error(TooManyBindingsText(relay));
}

// --- the pattern preview --------------------------------------------------

void RelaysPage::startPreview(int flags) {
  preview_.start(flags);
  previewTick();
}

void RelaysPage::stopPreview() {
  preview_.stop();
  timer_->stop();
  setUnderline(false);
}

void RelaysPage::previewTick() {
  timer_->stop();
  const auto step = preview_.tick(ws_.config.relayPatterns);
  if (!step) {
    if (!preview_.running()) setUnderline(false);
    return;
  }
  setUnderline(step->energised);
  timer_->start(step->intervalMs);
}

void RelaysPage::setUnderline(bool underline) {
  QFont font = patternLabel_->font();
  if (font.underline() == underline) return;
  font.setUnderline(underline);
  patternLabel_->setFont(font);
}

}  // namespace vorsin::ui
