#include "ui/loops_page.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QStyle>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/cp1251.h"
#include "model/loops.h"
#include "model/numbers.h"
#include "ui/bind.h"
#include "ui/dest_menu.h"
#include "ui/flag_boxes.h"
#include "ui/free_entry_combo.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kControl = static_cast<int>(LoopKind::Control);
constexpr int kGuard = static_cast<int>(LoopKind::Guard);
constexpr int kFire = static_cast<int>(LoopKind::Fire);

// The option boxes' names, in the order of LoopOptions().
const char* const kOptionNames[] = {"CheckBox33", "CheckBox36", "CheckBox35", "CheckBox37", "CheckBox20",
                                    "CheckBox28", "CheckBox22", "CheckBox23", "CheckBox24", "CheckBox30",
                                    "CheckBox31", "CheckBox32", "CheckBox34"};

// The grey background of a marked table's caption.
const QColor kMarkedBackground(0xD4, 0xD0, 0xC8);

QComboBox* ValueCombo(const char* name, const QStringList& items, QWidget* parent) {
  QComboBox* box = NewCombo(name, items, parent);
  box->setFixedWidth(120);
  return box;
}

QLabel* NewLabel(const QString& text, QWidget* parent) { return new QLabel(text, parent); }

}  // namespace

LoopsPage::LoopsPage(WindowServices& window, QWidget* parent) : QWidget(parent), window_(window) {
  setObjectName("TabSheet3");
  buildControls();
  bindOptions();
  bindCombos();
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &LoopsPage::showLoop);
  window_.destMenu().attach(tree_, [this](const QPoint& point) { fillKindMenu(point); });
  window_.destMenu().attach(caption_, [this](const QPoint&) { fillIntervalMenu(); });
  window_.destMenu().attach(caption_->parentWidget(), [this](const QPoint&) { fillIntervalMenu(); });
}

void LoopsPage::buildControls() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("HsTree");
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(false);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setFixedWidth(180);

  panel_ = new QWidget(this);
  panel_->setObjectName("HsPanel");

  const char* groupNames[] = {"ButtonStub", "GuardStub", "FireStub"};
  std::array<QGridLayout*, 3> grids{};
  for (int g = 0; g < 3; ++g) {
    groups_[g] = new QGroupBox(Q(LoopKindTitle(static_cast<LoopKind>(g))), panel_);
    groups_[g]->setObjectName(groupNames[g]);
    grids[g] = new QGridLayout(groups_[g]);
  }
  std::array<int, 3> rows{};
  for (size_t i = 0; i < std::size(kOptionNames); ++i) {
    const LoopOption& o = LoopOptions()[i];
    const int group = static_cast<int>(o.kind);
    auto* box = new QCheckBox(Q(o.caption), groups_[group]);
    box->setObjectName(kOptionNames[i]);
    box->setProperty("Tag", o.bit);
    grids[group]->addWidget(box, rows[group]++, 0, 1, 2);
    options_.push_back(box);
  }
  findChild<QCheckBox*>("CheckBox30")->hide();

  const QStringList latchItems = {
      QStringLiteral("нет"),       QStringLiteral("на 30 cек"),  // Latin "c" in both 30-second items: users know the items so
      QStringLiteral("на 60 сек"), QStringLiteral("на 2 мин"),  QStringLiteral("на 4 мин"),
      QStringLiteral("на 8 мин"),  QStringLiteral("на 15 мин"), QStringLiteral("на 30 мин"),
      QStringLiteral("на 60 мин"), QStringLiteral("до снятия")};
  const QStringList rearmItems = {
      QStringLiteral("отключено"),    QStringLiteral("через 30 cек"), QStringLiteral("через 60 сек"),
      QStringLiteral("через 2 мин"),  QStringLiteral("через 4 мин"),  QStringLiteral("через 8 мин"),
      QStringLiteral("через 15 мин"), QStringLiteral("через 30 мин"), QStringLiteral("через 60 мин")};
  const QStringList guardDelays = {QStringLiteral("1 секунда"),  QStringLiteral("30 секунд"),
                                   QStringLiteral("60 секунд"),  QStringLiteral("90 секунд"),
                                   QStringLiteral("120 секунд"), QStringLiteral("240 секунд")};
  const QStringList fireDelays = {QStringLiteral("8 секунд"), QStringLiteral("16 секунд"),
                                  QStringLiteral("30 секунд"), QStringLiteral("60 секунд")};

  // Control input: the latch time.
  QGridLayout* control = grids[kControl];
  control->addWidget(NewLabel(QStringLiteral("Защёлкнуть"), groups_[kControl]), rows[kControl], 0);
  control->addWidget(ValueCombo("ComboBox27", latchItems, groups_[kControl]), rows[kControl]++, 1);
  control->setRowStretch(rows[kControl], 1);

  // Guard loop: delays, common loops, latch and re-arm.
  QWidget* guardBox = groups_[kGuard];
  QGridLayout* guard = grids[kGuard];
  int row = rows[kGuard];
  guard->addWidget(NewLabel(QStringLiteral("Задержка на взятие"), guardBox), row, 0);
  guard->addWidget(ValueCombo("ComboBox11", guardDelays, guardBox), row++, 1);
  guard->addWidget(NewLabel(QStringLiteral("Задержка на снятие"), guardBox), row, 0);
  guard->addWidget(ValueCombo("ComboBox12", guardDelays, guardBox), row++, 1);
  disarmEnabled_ = new QCheckBox(QStringLiteral("Задержка на снятие включена"), guardBox);
  disarmEnabled_->setObjectName("CheckBox29");
  guard->addWidget(disarmEnabled_, row++, 0, 1, 2);
  auto* commonRow = new QHBoxLayout;
  commonRow->addWidget(NewLabel(QStringLiteral("Общие шлейфы"), guardBox));
  const char* commonNames[] = {"CheckBox21", "CheckBox25", "CheckBox26", "CheckBox27"};
  for (int M = 0; M < kLoops; ++M) {
    common_[M] = new QCheckBox(QString::number(M + 1), guardBox);
    common_[M]->setObjectName(commonNames[M]);
    commonRow->addWidget(common_[M]);
  }
  commonRow->addStretch(1);
  guard->addLayout(commonRow, row++, 0, 1, 2);
  guard->addWidget(NewLabel(QStringLiteral("Защёлкнуть"), guardBox), row, 0);
  guard->addWidget(ValueCombo("ComboBox29", latchItems, guardBox), row++, 1);
  guard->addWidget(NewLabel(QStringLiteral("Перевзятие"), guardBox), row, 0);
  guard->addWidget(ValueCombo("ComboBox28", rearmItems, guardBox), row++, 1);

  // Fire loop: the powering relay; reset and re-request times stay hidden.
  QWidget* fireBox = groups_[kFire];
  QGridLayout* fire = grids[kFire];
  row = rows[kFire];
  fire->addWidget(NewLabel(QStringLiteral("Номер реле:"), fireBox), row, 0);
  relay_ = ValueCombo("ComboBox17", {}, fireBox);
  fire->addWidget(relay_, row++, 1);
  const std::pair<QString, const char*> hidden[] = {{QStringLiteral("Время сброса"), "ComboBox15"},
                                                    {QStringLiteral("Время перезапроса"), "ComboBox16"}};
  for (const auto& [label, name] : hidden) {
    QLabel* text = NewLabel(label, fireBox);
    QComboBox* box = ValueCombo(name, fireDelays, fireBox);
    fire->addWidget(text, row, 0);
    fire->addWidget(box, row++, 1);
    text->hide();
    box->hide();
  }
  fire->setRowStretch(row, 1);

  auto* reactionPanel = new QFrame(panel_);
  reactionPanel->setObjectName("Panel4");
  auto* reactionRow = new QHBoxLayout(reactionPanel);
  reactionRow->addWidget(NewLabel(QStringLiteral("Время реакции:"), reactionPanel));
  reaction_ = ValueCombo("ComboBox14",
                       {QStringLiteral("50 мс."), QStringLiteral("250 мс."), QStringLiteral("500 мс."),
                        QStringLiteral("750 мс."), QStringLiteral("1000 мс."), QStringLiteral("1250 мс."),
                        QStringLiteral("1500 мс.")},
                       reactionPanel);
  reactionRow->addWidget(reaction_);
  reactionRow->addWidget(NewLabel(QStringLiteral("шлейфа"), reactionPanel));
  reactionRow->addStretch(1);

  auto* intervalPanel = new QFrame(panel_);
  intervalPanel->setObjectName("Panel3");
  auto* intervalColumn = new QVBoxLayout(intervalPanel);
  caption_ = NewLabel(QStringLiteral("Интервалы:"), intervalPanel);
  caption_->setObjectName("Label21");
  caption_->setAutoFillBackground(true);
  ranges_ = new QTreeWidget(intervalPanel);
  ranges_->setObjectName("IntList");
  ranges_->setColumnCount(2);
  ranges_->setHeaderLabels({QStringLiteral("Тип интервала"), QStringLiteral("Значение")});
  ranges_->setHeaderHidden(true);
  ranges_->setRootIsDecorated(false);
  ranges_->setSelectionBehavior(QAbstractItemView::SelectRows);
  ranges_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The names take what they need; the values, short, what is left.
  ranges_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  intervalColumn->addWidget(caption_);
  intervalColumn->addWidget(ranges_);

  // One group shows at a time; the stack keeps the room of the largest, and
  // the hidden panel its own, so that choosing a loop never grows the window.
  auto* groupStack = new QStackedWidget(panel_);
  for (QGroupBox* g : groups_) groupStack->addWidget(g);
  QSizePolicy keep = panel_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  panel_->setSizePolicy(keep);
  auto* panelColumn = new QVBoxLayout(panel_);
  panelColumn->addWidget(groupStack);
  panelColumn->addWidget(reactionPanel);
  panelColumn->addWidget(intervalPanel, 1);

  auto* page = new QHBoxLayout(this);
  page->addWidget(tree_);
  page->addWidget(panel_, 1);
  // Keeps the tree at the left edge while no loop is selected and the panel is hidden.
  page->addStretch(0);
}

void LoopsPage::bindOptions() {
  // The fields of the selected loop: none while no loop is selected.
  const auto get = [this](auto of) {
    return [this, of]() -> std::optional<decltype(of(0))> {
      const int L = currentLoop();
      if (L < 0) return std::nullopt;
      return of(L);
    };
  };
  const auto set = [this](auto to) {
    return [this, to](auto value) {
      if (const int L = currentLoop(); L >= 0) to(L, value);
    };
  };
  for (size_t i = 0; i < options_.size(); ++i) {
    BindCheck(options_[i], {get([this, i](int L) { return LoopOptionSet(general(), L, i); }),
                            set([this, i](int L, bool on) { SetLoopOption(window_.workspace(), L, i, on); })});
  }
  for (int M = 0; M < kLoops; ++M) {
    BindFlag(common_[M], [this] { return currentLoop() < 0 ? nullptr : &general().commonLoops(currentLoop()); }, 3 - M);
  }
  BindCheck(disarmEnabled_,
            {get([this](int L) { return DisarmDelayOn(general(), L); }),
             set([this](int L, bool on) { SetDisarmDelay(general(), L, on); })},
            [this] {
              if (currentLoop() >= 0) showGroupControls(currentLoop());
            });
  BindCombo(relay_, {QStringLiteral("1"), QStringLiteral("2")},
            {get([this](int L) { return LoopRelay(general(), L); }),
             set([this](int L, int relay) { SetLoopRelay(general(), L, relay); })});
}

void LoopsPage::bindCombos() {
  FreeEntryCombos::Rule reaction;
  reaction.commit = [this](const QString& text) {
    const int L = currentLoop();
    if (L < 0) return;
    uint8_t& units = window_.workspace().config.general.reactionTime(L);
    units = ParseReactionTime(Cp1251(text), units);
  };
  reaction.shown = [this] {
    const int L = currentLoop();
    return L < 0 ? QString() : Q(FormatReactionTime(window_.workspace().config.general.reactionTime(L)));
  };
  reaction.acceptKey = DigitsOnly;
  reaction.enterNeedsTyping = true;
  window_.combos().attach(reaction_, std::move(reaction));

  bindDelay(findChild<QComboBox*>("ComboBox11"), lb::kArmDelay);
  bindDelay(findChild<QComboBox*>("ComboBox12"), lb::kDisarmDelay);
  bindDelay(findChild<QComboBox*>("ComboBox15"), lb::kArmDelay);
  bindDelay(findChild<QComboBox*>("ComboBox16"), lb::kDisarmDelay);
  bindLatch(findChild<QComboBox*>("ComboBox27"), 0);
  bindLatch(findChild<QComboBox*>("ComboBox29"), 0);
  bindLatch(findChild<QComboBox*>("ComboBox28"), 1);
}

void LoopsPage::bindDelay(QComboBox* box, size_t blockOffset) {
  FreeEntryCombos::Rule rule;
  rule.commit = [this, blockOffset](const QString& text) {
    const int L = currentLoop();
    if (L < 0) return;
    uint8_t& seconds = window_.workspace().config.general.block(blockOffset + L);
    seconds = ParseDelay(Cp1251(text), seconds);
  };
  rule.shown = [this, blockOffset] {
    const int L = currentLoop();
    if (L < 0) return QString();
    return Q(FormatCount(window_.workspace().config.general.block(blockOffset + L), CountUnit::Seconds));
  };
  window_.combos().attach(box, std::move(rule));
  valueBoxes_.push_back(box);
}

// Latch (tag 0) and re-arm (tag 1) texts are read as typed: typing does not
// clear the box, and a picked item stays shown as it is written.
void LoopsPage::bindLatch(QComboBox* box, int tag) {
  const LatchWhich which = tag == 0 ? LatchWhich::Latch : LatchWhich::Rearm;
  box->setProperty("Tag", tag);
  FreeEntryCombos::Rule rule;
  rule.commit = [this, tag, which](const QString& text) {
    const int L = currentLoop();
    if (L < 0) return;
    ParseLatch(Cp1251(text), which, window_.workspace().config.loopLatch[2 * L + tag]);
  };
  rule.shown = [this, tag, which] {
    const int L = currentLoop();
    return L < 0 ? QString() : Q(FormatLatch(window_.workspace().config.loopLatch[2 * L + tag], which));
  };
  rule.clearOnType = false;
  rule.keepPickedText = true;
  window_.combos().attach(box, std::move(rule));
  valueBoxes_.push_back(box);
}

GeneralSettings& LoopsPage::general() { return window_.workspace().config.general; }

int LoopsPage::currentLoop() const {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return -1;
  const int L = tree_->indexOfTopLevelItem(selected.first());
  return L >= 0 && L < kLoops ? L : -1;
}

void LoopsPage::refresh() {
  {
    const FillLock fill;
    const QSignalBlocker block(tree_);
    tree_->clear();
    for (int L = 0; L < kLoops; ++L) {
      auto* node = new QTreeWidgetItem(tree_);
      node->setText(0, Q(LoopNodeText(window_.workspace().config, L)));
    }
    tree_->clearSelection();
  }
  panel_->hide();
}

void LoopsPage::shown() {
  for (int L = 0; L < tree_->topLevelItemCount(); ++L)
    tree_->topLevelItem(L)->setText(0, Q(LoopNodeText(window_.workspace().config, L)));
  showLoop();
}

void LoopsPage::showLoop() {
  const int L = currentLoop();
  if (L < 0) {
    panel_->hide();
    return;
  }
  window_.combos().show(reaction_);
  showIntervals(L);
  const int kind = static_cast<int>(KindOfLoop(window_.workspace().config.general.loopFlags(L)));
  static_cast<QStackedWidget*>(groups_[kind]->parentWidget())->setCurrentWidget(groups_[kind]);
  panel_->show();
  showGroupControls(L);
}

void LoopsPage::showIntervals(int loop) {
  const Configuration& c = window_.workspace().config;
  const size_t index = c.general.intervalIndex(loop);
  ranges_->clear();
  QPalette palette = caption_->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  if (index >= c.intervals.size() || index >= c.intervalDescriptions.size()) {
    // No table to show: the rows of another table would mislead.
    caption_->setText(QStringLiteral("Ощибка: интервал не определён"));  // sic
    caption_->setPalette(palette);
    return;
  }
  const IntervalDescription& d = c.intervalDescriptions[index];
  caption_->setText(QStringLiteral("Интервалы: ") + Q(d.name));
  if (d.flags & 0x40) palette.setColor(QPalette::Window, kMarkedBackground);
  caption_->setPalette(palette);
  const Interval& table = c.intervals[index];
  for (int k = 0; k < LoopRangeCount(c, loop); ++k) {
    const int32_t low = table.rangeLow(k);
    auto* row = new QTreeWidgetItem(ranges_);
    row->setText(0, Q(RangeText(c, loop, k, RangeWhat::Name)));
    row->setText(1, QString::number(low) + u',' + QString::number(int64_t(low) + table.rangeWidth(k)));
  }
}

void LoopsPage::showGroupControls(int loop) {
  for (QCheckBox* box : options_) ShowBound(box);
  for (QComboBox* box : valueBoxes_) window_.combos().show(box);
  ShowBound(disarmEnabled_);
  for (int M = 0; M < kLoops; ++M) {
    ShowBound(common_[M]);
    common_[M]->setEnabled(M != loop);
  }
  ShowBound(relay_);
}

void LoopsPage::fillKindMenu(const QPoint& point) {
  if (QTreeWidgetItem* node = tree_->itemAt(point)) tree_->setCurrentItem(node);
  const int L = currentLoop();
  if (L < 0) return;
  DestMenu& menu = window_.destMenu();
  menu.add(QStringLiteral("Контрольный вход"), [this] { changeKind(LoopKind::Control); });
  menu.add(QStringLiteral("Охранный шлейф"), [this] { changeKind(LoopKind::Guard); });
  if (KindAllowed(L, LoopKind::Fire))
    menu.add(QStringLiteral("Пожарный шлейф"), [this] { changeKind(LoopKind::Fire); });
}

void LoopsPage::fillIntervalMenu() {
  const int L = currentLoop();
  if (L < 0) return;
  const Configuration& c = window_.workspace().config;
  DestMenu& menu = window_.destMenu();
  for (int i : OfferedIntervals(c, L)) {
    QAction* item = menu.add(Q(c.intervalDescriptions[i].name), [this, i] { changeInterval(i); });
    item->setData(i);  // the item's Tag
    if (c.intervalDescriptions[i].flags & 0x40) item->setIcon(style()->standardIcon(QStyle::SP_DialogApplyButton));
  }
}

void LoopsPage::changeKind(LoopKind kind) {
  const int L = currentLoop();
  if (L < 0) return;
  Workspace& ws = window_.workspace();
  if (ConfirmLoopDefaults(ws, window_.messenger(), L) != kAnswerOk) return;
  if (!ChangeLoopKind(ws, L, kind)) return;
  tree_->topLevelItem(L)->setText(0, Q(LoopNodeText(ws.config, L)));
  showLoop();
}

void LoopsPage::changeInterval(int index) {
  const int L = currentLoop();
  if (L < 0) return;
  Workspace& ws = window_.workspace();
  if (ConfirmLoopDefaults(ws, window_.messenger(), L) != kAnswerOk) return;
  if (!ChangeLoopInterval(ws, L, index)) return;
  showIntervals(L);
}

}  // namespace vorsin::ui
