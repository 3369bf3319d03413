#include "ui/time_events_dialog.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QSignalBlocker>
#include <QTimeEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/time_events.h"
#include "ui/control_events.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

constexpr int kCarriedRole = Qt::UserRole;  // event + 1, 0 for the error root

}  // namespace

TimeEventsDialog::TimeEventsDialog(Workspace& ws, std::function<void()> testOptionsChanged, QWidget* parent)
    : QDialog(parent), ws_(ws), testOptionsChanged_(std::move(testOptionsChanged)), tree_(new QTreeWidget(this)),
      date_(new QComboBox(this)), time_(new QTimeEdit(this)), menu_(new QMenu(this)) {
  setObjectName("TForm4");
  setWindowTitle(QStringLiteral("Настройка событий по времени"));
  tree_->setObjectName("EvSelect");
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setContextMenuPolicy(Qt::CustomContextMenu);
  date_->setObjectName("Date");
  time_->setObjectName("Time");
  time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  time_->setEnabled(false);
  date_->setEnabled(false);
  menu_->setObjectName("TimeMenu");

  auto* group = new QGroupBox(QStringLiteral("Настроика времени"), this);  // sic
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(date_);
  groupLayout->addWidget(time_);
  groupLayout->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addWidget(group);
  resize(460, 300);

  connect(tree_, &QTreeWidget::currentItemChanged, this, &TimeEventsDialog::selectionChanged);
  connect(tree_, &QWidget::customContextMenuRequested, this, [this](const QPoint& point) {
    if (QTreeWidgetItem* under = tree_->itemAt(point)) tree_->setCurrentItem(under);  // a right click selects
    fillMenu();
    if (!menu_->isEmpty()) menu_->popup(tree_->viewport()->mapToGlobal(point));
  });
  connect(date_, &QComboBox::currentIndexChanged, this, &TimeEventsDialog::dayChosen);
  connect(time_, &QTimeEdit::timeChanged, this, &TimeEventsDialog::timeChanged);
  // A key typed into the picker writes to the node selected now.
  new ControlHook(time_, [this](QEvent* event) {
    if (event->type() == QEvent::KeyPress && tree_->currentItem() != nullptr &&
        tree_->currentItem()->parent() != nullptr)
      remembered_ = tree_->currentItem();
    return false;
  });
}

int TimeEventsDialog::run() {
  fill();
  return exec();
}

void TimeEventsDialog::fill() {
  {
    const QSignalBlocker block(tree_);
    tree_->clear();
    remembered_ = nullptr;
    for (const int event : TimeEventRoots(ws_.config)) addRoot(event);
    tree_->setCurrentItem(nullptr);
  }
  {
    const QSignalBlocker block(date_);
    date_->clear();
    for (const std::string& item : TimeEventDayItems()) date_->addItem(Q(item));
  }
  date_->setEnabled(false);
  time_->setEnabled(false);
  if (testOptionsChanged_) testOptionsChanged_();
}

void TimeEventsDialog::addRoot(int event) {
  auto* root = new QTreeWidgetItem(tree_, {Q(TimeRootText(ws_.config, event))});
  if (!IsDefinedEvent(ws_.config, event)) {
    root->setData(0, kCarriedRole, 0);
    return;
  }
  root->setData(0, kCarriedRole, event + 1);
  for (const std::string& text : TimeNodeTexts(ws_.config, event)) {
    auto* child = new QTreeWidgetItem(root, {Q(text)});
    child->setData(0, kCarriedRole, event + 1);
  }
  root->setExpanded(true);
}

int TimeEventsDialog::eventOf(const QTreeWidgetItem* node) const {
  return node == nullptr ? -1 : node->data(0, kCarriedRole).toInt() - 1;
}

// The k-th child stands for the k-th time of its event, found anew each time.
TimeEvent* TimeEventsDialog::timeOf(const QTreeWidgetItem* node) {
  if (node == nullptr || node->parent() == nullptr) return nullptr;
  const int index = TimeEventIndex(ws_.config, eventOf(node), node->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(node)));
  return index < 0 ? nullptr : &ws_.config.timeEvents[index];
}

void TimeEventsDialog::showNodeText(QTreeWidgetItem* node) {
  if (const TimeEvent* t = timeOf(node)) node->setText(0, Q(TimeNodeText(*t)));
}

void TimeEventsDialog::selectionChanged() {
  QTreeWidgetItem* node = tree_->currentItem();
  if (node == nullptr) return;
  const TimeEvent* t = timeOf(node);
  if (t == nullptr) {
    date_->setEnabled(false);
    time_->setEnabled(false);
    return;
  }
  // Remembered before the controls change, and the changes store nothing:
  // otherwise this node's time would land in the node selected before.
  remembered_ = node;
  date_->setEnabled(true);
  time_->setEnabled(true);
  const QSignalBlocker blockDate(date_);
  const QSignalBlocker blockTime(time_);
  date_->setCurrentIndex(TimeEventDayItem(*t));
  time_->setTime(QTime(t->hours(), t->minutes(), 0));
}

void TimeEventsDialog::dayChosen(int index) {
  QTreeWidgetItem* node = tree_->currentItem();
  TimeEvent* t = timeOf(node);
  if (t == nullptr || index < 0) return;
  t->setDay(index);
  showNodeText(node);
}

void TimeEventsDialog::timeChanged() {
  TimeEvent* t = timeOf(remembered_);
  if (t == nullptr) return;
  const QTime time = time_->time();
  t->setHours(time.hour());
  t->setMinutes(time.minute());
  showNodeText(remembered_);
}

void TimeEventsDialog::fillMenu() {
  menu_->clear();
  QTreeWidgetItem* node = tree_->currentItem();
  if (node == nullptr) return;
  const int event = eventOf(node);
  // The device keeps 7 bits of the event position: no new times beyond.
  QAction* add = menu_->addAction(QStringLiteral("Добавить время срабатывания"), this, &TimeEventsDialog::addTime);
  add->setEnabled(CanAddTimeEvent(event));
  const QString text = node->text(0);
  if (node->parent() == nullptr) {
    menu_->addAction(QStringLiteral("Добавить событие"))->setEnabled(false);
    menu_->addSeparator();
    QAction* clear = menu_->addAction(text + QStringLiteral(": Очистить"), this, &TimeEventsDialog::clearEvent);
    clear->setEnabled(event >= 0 && HasTimeEvent(ws_.config, event));
    menu_->addAction(text + QStringLiteral(": Удалить событие"))->setEnabled(false);
  } else {
    menu_->addSeparator();
    menu_->addAction(text + QStringLiteral(": Удалить"), this, &TimeEventsDialog::deleteTime);
  }
}

void TimeEventsDialog::addTime() {
  QTreeWidgetItem* node = tree_->currentItem();
  const int event = eventOf(node);
  if (!CanAddTimeEvent(event)) return;
  QTreeWidgetItem* root = node->parent() != nullptr ? node->parent() : node;
  AddTimeEvent(ws_.config, event);
  auto* child = new QTreeWidgetItem(root, {Q(TimeNodeText(ws_.config.timeEvents.back()))});
  child->setData(0, kCarriedRole, event + 1);
  root->setExpanded(true);
  if (testOptionsChanged_) testOptionsChanged_();
}

void TimeEventsDialog::clearEvent() {
  const int event = eventOf(tree_->currentItem());
  if (event < 0) return;
  ClearTimeEvents(ws_.config, event);
  fill();
}

void TimeEventsDialog::deleteTime() {
  QTreeWidgetItem* node = tree_->currentItem();
  if (node == nullptr || node->parent() == nullptr) return;
  const int event = eventOf(node);
  const int k = node->parent()->indexOfChild(node);
  if (node == remembered_) remembered_ = nullptr;
  RemoveTimeEvent(ws_.config, event, k);
  {
    const QSignalBlocker block(tree_);
    delete node;
  }
  selectionChanged();
  if (testOptionsChanged_) testOptionsChanged_();
}

}  // namespace vorsin::ui
