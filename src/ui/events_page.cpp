#include "ui/events_page.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/event_rules.h"
#include "ui/dest_menu.h"
#include "ui/event_dialog.h"
#include "ui/grid_lines.h"
#include "ui/text.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kEventRole = Qt::UserRole;

void FillRow(QTreeWidgetItem* item, const EventEntry& e, int position) {
  const auto texts = EventRowTexts(e, position);
  for (int c = 0; c < kEventColumns; ++c) item->setText(c, Q(texts[static_cast<size_t>(c)]));
  item->setData(0, kEventRole, position);
}

}  // namespace

EventsPage::EventsPage(WindowServices& window, QWidget* parent) : QWidget(parent), window_(window) {
  setObjectName("TabSheet5");
  list_ = new QTreeWidget(this);
  list_->setObjectName("Event");
  list_->setRootIsDecorated(false);
  ShowGridLines(list_);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setHeaderLabels({QStringLiteral("N"), QStringLiteral("Событие"), QStringLiteral("Код"),
                          QStringLiteral("Раздел"), QStringLiteral("Зона"), QStringLiteral("Восст"),
                          QStringLiteral("Речь"), QStringLiteral("Sms"), QStringLiteral("Привязка")});
  const int widths[kEventColumns] = {21, 220, 35, 50, 40, 42, 40, 34, 156};
  // The yes/no columns take "Есть" whole in whatever font the system uses.
  const int yes = list_->fontMetrics().horizontalAdvance(QStringLiteral("Есть")) + 12;
  for (int c = 0; c < kEventColumns; ++c)
    list_->setColumnWidth(c, c >= kColRestore ? std::max(widths[c], yes) : widths[c]);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);

  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this] { openSelected(); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this, &EventsPage::selectionChanged);
  window_.destMenu().attach(list_, [this](const QPoint&) { fillMenu(); });
}

void EventsPage::setDialog(EventDialog* dialog) {
  dialog_ = dialog;
  if (dialog_ != nullptr) connect(dialog_, &EventDialog::eventEdited, this, &EventsPage::showRow);
}

void EventsPage::refresh() {
  if (dialog_ != nullptr) dialog_->closeDialog();
  fillList();
}

void EventsPage::shown() {
  if (window_.workspace().marks.eventsStale) fillList();
}

void EventsPage::left() {
  if (dialog_ != nullptr) dialog_->closeDialog();
}

void EventsPage::fillList() {
  Workspace& ws = window_.workspace();
  ws.marks.eventsStale = false;
  const int open = dialog_ != nullptr ? dialog_->editedEvent() : -1;
  const QSignalBlocker quiet(list_);
  list_->clear();
  QList<QTreeWidgetItem*> rows;
  for (const int e : ListedEvents(ws)) {
    auto* item = new QTreeWidgetItem;
    FillRow(item, ws.config.events[static_cast<size_t>(e)], e);
    rows.append(item);
  }
  list_->addTopLevelItems(rows);
  // An open dialog stays on its event, which keeps its position; it shows
  // the event again in case the rebuild followed a change behind it.
  if (open >= 0) {
    dialog_->showEventParams(open);
    if (QTreeWidgetItem* row = rowOf(open)) list_->setCurrentItem(row);
  }
}

void EventsPage::fillMenu() {
  DestMenu& menu = window_.destMenu();
  menu.add(QStringLiteral("Изменить параметры события"), [this] { openSelected(); });
  menu.add(QStringLiteral("-"), {});
  menu.add(window_.workspace().eventFilterOn ? QStringLiteral("Показывать все события")
                                             : QStringLiteral("Показывать отфильтрованные события"),
           [this] { flipFilter(); });
}

void EventsPage::flipFilter() {
  Workspace& ws = window_.workspace();
  ws.eventFilterOn = !ws.eventFilterOn;
  ws.marks.reportsStale = true;  // the reports grid lists the same rows
  fillList();
}

int EventsPage::selectedEvent() const {
  const QList<QTreeWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : selected.first()->data(0, kEventRole).toInt();
}

void EventsPage::openSelected() {
  const int e = selectedEvent();
  if (e < 0 || dialog_ == nullptr) return;
  dialog_->openOn(e);
}

void EventsPage::selectionChanged() {
  const int e = selectedEvent();
  if (dialog_ == nullptr || dialog_->editedEvent() < 0 || e < 0) return;
  dialog_->showEventParams(e);
}

QTreeWidgetItem* EventsPage::rowOf(int e) const {
  for (int r = 0; r < list_->topLevelItemCount(); ++r) {
    QTreeWidgetItem* item = list_->topLevelItem(r);
    if (item->data(0, kEventRole).toInt() == e) return item;
  }
  return nullptr;
}

void EventsPage::showRow(int e) {
  const auto& events = window_.workspace().config.events;
  QTreeWidgetItem* row = rowOf(e);
  if (row != nullptr && e >= 0 && static_cast<size_t>(e) < events.size())
    FillRow(row, events[static_cast<size_t>(e)], e);
}

}  // namespace vorsin::ui
