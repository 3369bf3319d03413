#include "ui/sms_editor.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/cp1251.h"
#include "ui/bind.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kSelectedRowOffset = 140;  // pixels

QLabel* NewCounter(const char* name, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("0:160"), parent);
  label->setObjectName(name);
  label->setMinimumWidth(50);
  return label;
}

}  // namespace

SmsEditor::SmsEditor(WindowServices& window, QWidget* parent) : QDialog(parent), window_(window) {
  setObjectName("TForm7");
  setWindowTitle(QStringLiteral("Sms"));
  setModal(false);
  buildControls();
  resize(720, 420);
}

void SmsEditor::buildControls() {
  list_ = new QTreeWidget(this);
  list_->setObjectName("Sms");
  list_->setColumnCount(3);
  list_->setHeaderLabels({QStringLiteral("Строки"), QStringLiteral("Новое событие"), QStringLiteral("Восстановление")});
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  list_->header()->setStretchLastSection(true);
  list_->setColumnWidth(0, 220);
  list_->setColumnWidth(1, 220);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { rowSelected(); });

  text_ = NewEdit("Edit1", this);
  newEvent_ = NewEdit("Edit2", this);
  restore_ = NewEdit("Edit3", this);
  newEvent_->setEnabled(false);
  restore_->setEnabled(false);
  newCounter_ = NewCounter("Label1", this);
  restoreCounter_ = NewCounter("Label2", this);
  lengthWarning_ = new QLabel(this);
  lengthWarning_->setObjectName("SmsLengthWarning");
  lengthWarning_->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold"));
  lengthWarning_->setWordWrap(true);
  lengthWarning_->hide();
  // Only the user's typing stores; filling the edit on selection does not.
  connect(text_, &QLineEdit::textEdited, this, &SmsEditor::textEdited);

  QPushButton* addSms = NewButton("Button1", QStringLiteral("Добавить Sms"), this);
  delete_ = NewButton("Button2", QStringLiteral("Удалить строку"), this);
  QPushButton* addSubstring = NewButton("Button3", QStringLiteral("Добавить подстроку"), this);
  QPushButton* rebuild = NewButton("Button4", QStringLiteral("Обновить"), this);
  delete_->setEnabled(false);
  for (QPushButton* b : {addSms, delete_, addSubstring, rebuild}) b->setAutoDefault(false);
  connect(addSms, &QPushButton::clicked, this, [this] { addTemplate(kSmsStrings); });
  connect(addSubstring, &QPushButton::clicked, this, [this] { addTemplate(kSmsSubstrings); });
  connect(delete_, &QPushButton::clicked, this, &SmsEditor::deleteTemplate);
  connect(rebuild, &QPushButton::clicked, this, &SmsEditor::refresh);

  auto* edits = new QGridLayout;
  edits->addWidget(text_, 0, 0, 1, 2);
  edits->addWidget(newEvent_, 1, 0);
  edits->addWidget(newCounter_, 1, 1);
  edits->addWidget(restore_, 2, 0);
  edits->addWidget(restoreCounter_, 2, 1);
  edits->addWidget(lengthWarning_, 1, 2, 2, 1);
  edits->setColumnStretch(0, 1);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {addSms, addSubstring, delete_, rebuild}) buttons->addWidget(b);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(edits);
  layout->addLayout(buttons);
}

void SmsEditor::refresh() {
  const Workspace& ws = window_.workspace();
  const SmsListLayout layout = LayOutSmsList(ws.config);
  // The lists may have been replaced: a template that is gone is no longer
  // the edited one.
  const int row = SmsSelectionRow(layout, selection_);
  if (row < 0) selection_.index = 0;

  {
    const FillLock fill;  // selecting the edited row again is no choice of the user's
    fillList(row);
  }
  showSelected();
}

void SmsEditor::fillList(int row) {
  const Workspace& ws = window_.workspace();
  list_->setUpdatesEnabled(false);
  list_->clear();
  QList<QTreeWidgetItem*> items;
  for (const SmsListRow& r : SmsListRows(ws)) {
    auto* item = new QTreeWidgetItem({Q(r.text), Q(r.newEvent), Q(r.restore)});
    if (r.caption) {
      QFont bold = list_->font();
      bold.setBold(true);
      for (int c = 0; c < 3; ++c) item->setFont(c, bold);
    }
    items.push_back(item);
  }
  list_->addTopLevelItems(items);
  if (row >= 0) {
    list_->setCurrentItem(items[row]);
    // The edited row stands a little below the top, its neighbours in view.
    QScrollBar* bar = list_->verticalScrollBar();
    bar->setValue(bar->value() + list_->visualItemRect(items[row]).top() - kSelectedRowOffset);
  }
  list_->setUpdatesEnabled(true);
}

void SmsEditor::showEditor() {
  show();  // first, so the list has its size when it scrolls to the row
  refresh();
  raise();
  activateWindow();
}

void SmsEditor::openOn(int group, int index) {
  selection_ = {group, index};
  showEditor();
}

void SmsEditor::rowSelected() {
  if (FillLock::held()) return;
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  selection_ = SmsRowSelection(LayOutSmsList(window_.workspace().config), row);
  showSelected();
}

void SmsEditor::showSelected() {
  const Workspace& ws = window_.workspace();
  const ParamRecord* tmpl = SmsSelectedTemplate(ws.config, selection_);
  if (tmpl == nullptr) {
    FillLine(text_, {});
    showPreview({{}, {}, "0:160", "0:160"});
    delete_->setEnabled(false);
    return;
  }
  FillLine(text_, Q(tmpl->text));
  showPreview(PreviewSms(ws, tmpl->text));
  delete_->setEnabled(selection_.group != kSmsHeader);  // the header stays
}

void SmsEditor::showPreview(const SmsPreview& preview) {
  newEvent_->setText(Q(preview.newEvent));
  restore_->setText(Q(preview.restore));
  if (!preview.newEventCounter.empty()) newCounter_->setText(Q(preview.newEventCounter));
  if (!preview.restoreCounter.empty()) restoreCounter_->setText(Q(preview.restoreCounter));
  lengthWarning_->setText(Q(preview.lengthWarning));
  lengthWarning_->setVisible(!preview.lengthWarning.empty());
}

void SmsEditor::textEdited(const QString& text) {
  if (window_.operationRunning()) {
    showSelected();  // the device operation works on these lists: undo the keystroke
    return;
  }
  Workspace& ws = window_.workspace();
  const std::optional<SmsPreview> preview = EditSmsTemplate(ws, selection_, Cp1251(text));
  if (!preview) return;
  showPreview(*preview);
  if (preview->newEventCounter.empty()) return;  // refused: the template kept its text
  QTreeWidgetItem* item = list_->topLevelItem(SmsSelectionRow(LayOutSmsList(ws.config), selection_));
  if (item == nullptr) return;
  item->setText(0, Q(SmsRowText(selection_, SmsSelectedTemplate(ws.config, selection_)->text)));
  item->setText(1, Q(preview->newEvent));
  item->setText(2, Q(preview->restore));
}

void SmsEditor::addTemplate(int group) {
  if (window_.operationRunning()) return;
  switch (AddSmsTemplate(window_.workspace(), selection_, group, Cp1251(text_->text()))) {
    case SmsAddResult::kFull:
      window_.messenger().Error(
          Cp(group == kSmsStrings ? "Sms сообщений не может быть больше " : "Подстрок не может быть больше ") +
          std::to_string(SmsGroupLimit(group)));
      return;
    case SmsAddResult::kCycle:
      showPreview({"Error", "Error", {}, {}});
      return;
    case SmsAddResult::kAdded:
      refresh();
      emit templatesChanged();
      return;
  }
}

void SmsEditor::deleteTemplate() {
  if (window_.operationRunning()) return;
  if (!DeleteSmsTemplate(window_.workspace(), selection_)) return;
  refresh();
  emit templatesChanged();
}

void SmsEditor::hideEvent(QHideEvent* event) {
  QDialog::hideEvent(event);
  // The owner window being minimised hides this one too; that is no closing.
  if (!event->spontaneous()) emit templatesChanged();
}

}  // namespace vorsin::ui
