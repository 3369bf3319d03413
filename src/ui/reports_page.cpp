#include "ui/reports_page.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "model/event_rules.h"
#include "ui/control_events.h"
#include "ui/grid_lines.h"
#include "ui/text.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kEventRole = Qt::UserRole;
constexpr int kFirstAddresseeColumn = 2;

int EventOf(const QTreeWidgetItem* item) { return item->data(0, kEventRole).toInt(); }

}  // namespace

ReportsPage::ReportsPage(WindowServices& window, QWidget* parent) : QWidget(parent), window_(window) {
  setObjectName("TabSheet6");
  grid_ = new QTreeWidget(this);
  grid_->setObjectName("EventAddres");
  grid_->setRootIsDecorated(false);
  ShowGridLines(grid_);
  grid_->setUniformRowHeights(true);
  grid_->setAllColumnsShowFocus(true);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->header()->setSectionsClickable(true);
  grid_->header()->setSectionsMovable(false);
  grid_->header()->setStretchLastSection(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(grid_);

  connect(grid_->header(), &QHeaderView::sectionClicked, this, &ReportsPage::headerClicked);
  new ControlHook(grid_->viewport(), [this](QEvent* event) {
    if (event->type() != QEvent::MouseButtonDblClick) return false;
    doubleClickAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    return true;
  });
}

void ReportsPage::shown() {
  if (window_.workspace().marks.reportsStale) fillGrid();
}

int ReportsPage::addresseeColumns() const {
  return std::min<int>(static_cast<int>(window_.workspace().config.addressees.size()), kMaxAddressees);
}

void ReportsPage::fillGrid() {
  Workspace& ws = window_.workspace();
  ws.marks.reportsStale = false;
  grid_->clear();
  QStringList captions{QStringLiteral("N"), QStringLiteral("Событие")};
  const int addressees = addresseeColumns();
  for (int i = 1; i <= addressees; ++i) captions << QString::number(i);
  grid_->setColumnCount(captions.size());
  grid_->setHeaderLabels(captions);
  grid_->setColumnWidth(0, 21);
  grid_->setColumnWidth(1, 220);
  for (int c = kFirstAddresseeColumn; c < captions.size(); ++c) grid_->setColumnWidth(c, 21);
  QList<QTreeWidgetItem*> rows;
  for (const int e : ListedEvents(ws)) {
    auto* item = new QTreeWidgetItem;
    item->setData(0, kEventRole, e);
    fillRow(item);
    rows.append(item);
  }
  grid_->addTopLevelItems(rows);
}

void ReportsPage::fillRow(QTreeWidgetItem* item) {
  const auto& events = window_.workspace().config.events;
  const int e = EventOf(item);
  if (e < 0 || static_cast<size_t>(e) >= events.size()) return;
  const auto texts = ReportRowTexts(events[static_cast<size_t>(e)], e, addresseeColumns());
  for (size_t c = 0; c < texts.size(); ++c) item->setText(static_cast<int>(c), Q(texts[c]));
}

void ReportsPage::headerClicked(int column) {
  if (column < kFirstAddresseeColumn) return;
  std::vector<int> listed;
  for (int r = 0; r < grid_->topLevelItemCount(); ++r) listed.push_back(EventOf(grid_->topLevelItem(r)));
  ToggleAddresseeColumn(window_.workspace(), listed, column - kFirstAddresseeColumn);
  for (int r = 0; r < grid_->topLevelItemCount(); ++r) fillRow(grid_->topLevelItem(r));
}

void ReportsPage::doubleClickAt(const QPoint& point) {
  QTreeWidgetItem* row = grid_->itemAt(point);
  const int column = grid_->header()->logicalIndexAt(point.x());
  if (row == nullptr || column < 0) return;
  grid_->setCurrentItem(row);
  DoubleClickMask(window_.workspace(), EventOf(row), column, addresseeColumns());
  fillRow(row);
}

}  // namespace vorsin::ui
