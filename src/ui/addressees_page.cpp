#include "ui/addressees_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <optional>

#include "model/addressee_rules.h"
#include "model/defaults.h"
#include "ui/addressee_dialog.h"
#include "ui/bind.h"
#include "ui/dest_menu.h"
#include "ui/flag_boxes.h"
#include "ui/free_entry_combo.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kPlaceholderRole = Qt::UserRole + 1;

const QString kPhoneHint = QStringLiteral(
    "Разрещённые символы 0,1,2,3,4,5\n6,7,8,9,+,*,#\n'p','п' - пауза при наборе\n"  // sic
    "'t','г' - дождаться гудка\nМаксимум 10 символов");

}  // namespace

DestTree::DestTree(QWidget* parent) : QTreeWidget(parent) {
  setObjectName("Dest");
  setHeaderHidden(true);
  setColumnCount(1);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
}

bool DestTree::accepts(const QDropEvent* event) {
  return event->source() == this && canDrop && canDrop(currentItem(), itemAt(event->position().toPoint()));
}

void DestTree::dragEnterEvent(QDragEnterEvent* event) {
  if (event->source() == this) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DestTree::dragMoveEvent(QDragMoveEvent* event) {
  QTreeWidget::dragMoveEvent(event);  // scrolling and the drop indicator
  if (accepts(event)) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void DestTree::dropEvent(QDropEvent* event) {
  // What the view's own drop would do besides moving rows.
  stopAutoScroll();
  setState(NoState);
  viewport()->update();
  if (!accepts(event)) {
    event->ignore();
    return;
  }
  dropOn(currentItem(), itemAt(event->position().toPoint()));
  // Not a move to the view: it would remove the dragged rows once more.
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

bool DestTree::dropOn(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
  if (!canDrop || !drop || !canDrop(dragged, target)) return false;
  drop(dragged, target);
  return true;
}

AddresseesPage::AddresseesPage(WindowServices& window, QWidget* parent) : QWidget(parent), window_(window) {
  setObjectName("TabSheet2");
  buildControls();

  tree_->canDrop = [this](QTreeWidgetItem* d, QTreeWidgetItem* t) { return canDrop(d, t); };
  tree_->drop = [this](QTreeWidgetItem* d, QTreeWidgetItem* t) { drop(d, t); };
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { showSelection(); });
  connect(tree_, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) { renamed(item); });
  window_.destMenu().attach(tree_, [this](const QPoint& point) { fillMenu(point); });

  bindAddressee();
  bindPhone();
  rebuildTree();
}

void AddresseesPage::buildControls() {
  tree_ = new DestTree(this);

  destGroup_ = new QGroupBox(QStringLiteral("Настройки адресата:"), this);
  destGroup_->setObjectName("DestGroup");
  destName_ = NewEdit("Edit26", destGroup_);
  const char* const kDestBoxNames[] = {"CheckBox11", "CheckBox12", "CheckBox13",
                                       "CheckBox14", "CheckBox15", "CheckBox16"};
  for (size_t i = 0; i < destBoxes_.size(); ++i)
    destBoxes_[i] = NewBox(kDestBoxNames[i], Q(AddresseeFlagNames()[i].caption), destGroup_);
  mode_ = NewCombo("ComboBox7", {}, destGroup_);
  waitLabel_ = new QLabel(QStringLiteral("Время ожидания  подтверждения:"), destGroup_);
  waitLabel_->setObjectName("Label31");
  wait_ = NewCombo("ComboBox21", Texts(ConfirmWaitItems()), destGroup_);
  limit_ = NewCombo("ComboBox31", {}, destGroup_);

  auto* destGrid = new QGridLayout(destGroup_);
  int row = 0;
  destGrid->addWidget(destName_, row++, 0, 1, 2);
  for (QCheckBox* box : destBoxes_) destGrid->addWidget(box, row++, 0, 1, 2);
  destGrid->addWidget(new QLabel(QStringLiteral("Режим доставки SMS"), destGroup_), row, 0);
  destGrid->addWidget(mode_, row++, 1);
  destGrid->addWidget(waitLabel_, row, 0);
  destGrid->addWidget(wait_, row++, 1);
  destGrid->addWidget(
      new QLabel(QStringLiteral("Ограничение времени доставки сообщений по адресату:"), destGroup_), row, 0);
  destGrid->addWidget(limit_, row++, 1);
  destGrid->setRowStretch(row, 1);

  phoneGroup_ = new QGroupBox(QStringLiteral("Настройки телефона адресата:"), this);
  phoneGroup_->setObjectName("FhoneGroup");
  phoneGroup_->setAutoFillBackground(true);  // it covers the addressee group
  phoneName_ = NewEdit("Edit25", phoneGroup_);
  cellular_ = new QRadioButton(QStringLiteral("Сотовый"), phoneGroup_);
  cellular_->setObjectName("RadioButton2");
  wired_ = new QRadioButton(QStringLiteral("Проводной"), phoneGroup_);
  wired_->setObjectName("RadioButton1");
  const char* numberNames[] = {"Edit5", "Edit6", "Edit7"};
  for (int i = 0; i < 3; ++i) {
    numbers_[i] = NewEdit(numberNames[i], phoneGroup_);
    numbers_[i]->setProperty("Tag", i);
    numbers_[i]->setToolTip(kPhoneHint);
    numbers_[i]->setToolTipDuration(15000);
  }
  gsmFormat_ = NewCombo("ComboBox5", {}, phoneGroup_);
  lineFormat_ = NewCombo("ComboBox6", {}, phoneGroup_);
  busy_ = NewBox("CheckBox17", Q(PhoneFlagNames()[kBusyFlag].caption), phoneGroup_);
  handset_ = NewBox("CheckBox18", Q(PhoneFlagNames()[kHandsetFlag].caption), phoneGroup_);
  switchedOff_ = NewBox("CheckBox19", Q(PhoneFlagNames()[kSwitchedOffFlag].caption), phoneGroup_);
  voice_ = NewCombo("ComboBox8", {}, phoneGroup_);

  auto* channel = new QHBoxLayout;
  channel->addWidget(new QLabel(QStringLiteral("Основной канал передачи:"), phoneGroup_));
  channel->addWidget(cellular_);
  channel->addWidget(wired_);
  auto* phoneGrid = new QGridLayout(phoneGroup_);
  row = 0;
  phoneGrid->addWidget(phoneName_, row++, 0, 1, 2);
  phoneGrid->addLayout(channel, row++, 0, 1, 2);
  const std::pair<QString, QWidget*> rows[] = {
      {QStringLiteral("Номер телефона"), numbers_[0]},
      {QStringLiteral("Префикс для сотового канала"), numbers_[1]},
      {QStringLiteral("Префикс для телефонной линии"), numbers_[2]},
      {QStringLiteral("Формат Gsm:"), gsmFormat_},
      {QStringLiteral("Формат Line:"), lineFormat_},
  };
  for (const auto& [label, control] : rows) {
    phoneGrid->addWidget(new QLabel(label, phoneGroup_), row, 0);
    phoneGrid->addWidget(control, row++, 1);
  }
  for (QCheckBox* box : {busy_, handset_, switchedOff_}) phoneGrid->addWidget(box, row++, 0, 1, 2);
  phoneGrid->addWidget(new QLabel(QStringLiteral("Число  повторов голосовых сообщений"), phoneGroup_), row, 0);
  phoneGrid->addWidget(voice_, row++, 1);
  phoneGrid->setRowStretch(row, 1);

  // Both groups take the same place; the phone group lies on top.
  auto* groups = new QGridLayout;
  groups->addWidget(destGroup_, 0, 0);
  groups->addWidget(phoneGroup_, 0, 0);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(tree_, 1);
  layout->addLayout(groups, 2);
}

void AddresseesPage::bindAddressee() {
  LineRule named;
  named.stored = [this] {
    const Addressee* a = selectedAddressee();
    QTreeWidgetItem* item = tree_->currentItem();
    if (a != nullptr) setNodeText(item->parent() != nullptr ? item->parent() : item, a->name);
  };
  BindLineEdit(destName_, StringField([this] {
                 Addressee* a = selectedAddressee();
                 return a != nullptr ? &a->name : nullptr;
               }),
               named);
  const auto flags = [this] {
    Addressee* a = selectedAddressee();
    return a != nullptr ? &a->addresseeFlags : nullptr;
  };
  for (size_t i = 0; i < destBoxes_.size(); ++i) BindFlag(destBoxes_[i], flags, AddresseeFlagNames()[i].bit);
  BindDeliveryBoxes(mode_, limit_, [this] { return selectedAddressee(); }, [this] {
    if (const Addressee* a = selectedAddressee()) showMode(*a);
  });
  window_.combos().attach(wait_, {[this](const QString& text) {
                                    if (Addressee* a = selectedAddressee())
                                      a->confirmWait = ParseConfirmWait(Cp1251(text), a->confirmWait);
                                  },
                                  [this] {
                                    const Addressee* a = selectedAddressee();
                                    return a != nullptr ? Q(ConfirmWaitText(a->confirmWait)) : QString();
                                  },
                                  DigitsOnly});
}

void AddresseesPage::bindPhone() {
  LineRule named;
  named.stored = [this] {
    if (const AddresseePhone* p = selectedPhone()) setNodeText(tree_->currentItem(), p->name);
  };
  BindLineEdit(phoneName_, StringField([this] {
                 AddresseePhone* p = selectedPhone();
                 return p != nullptr ? &p->name : nullptr;
               }),
               named);
  for (QRadioButton* channel : {cellular_, wired_}) {
    connect(channel, &QRadioButton::clicked, this, [this, channel] {
      if (AddresseePhone* p = selectedPhone()) p->phoneFlags = WithCellular(p->phoneFlags, channel == cellular_);
    });
  }
  bindNumber(numbers_[0], &AddresseePhone::phoneNumber);
  bindNumber(numbers_[1], &AddresseePhone::cellPrefix);
  bindNumber(numbers_[2], &AddresseePhone::linePrefix);
  // The format boxes show items, the model maps them to the codes.
  const auto formatsChanged = [this] {
    if (AddresseePhone* p = selectedPhone()) {
      showFormats(*p);
      applyUsability(*p);
    }
  };
  BindCombo(gsmFormat_, Texts(GsmFormatItems()),
            {[this]() -> std::optional<int> {
               const AddresseePhone* p = selectedPhone();
               return p != nullptr ? std::optional<int>(GsmFormatItem(GsmFormat(p->formats))) : std::nullopt;
             },
             [this](int item) {
               if (AddresseePhone* p = selectedPhone()) p->formats = WithGsmFormat(p->formats, GsmFormatCode(item));
             }},
            {}, formatsChanged);
  BindCombo(lineFormat_, Texts(LineFormatItems()),
            {[this]() -> std::optional<int> {
               const AddresseePhone* p = selectedPhone();
               return p != nullptr ? std::optional<int>(LineFormatItem(LineFormat(p->formats))) : std::nullopt;
             },
             [this](int item) {
               if (AddresseePhone* p = selectedPhone()) p->formats = WithLineFormat(p->formats, item);
             }},
            {}, formatsChanged);
  const auto flags = [this] {
    AddresseePhone* p = selectedPhone();
    return p != nullptr ? &p->phoneFlags : nullptr;
  };
  BindFlag(busy_, flags, PhoneFlagNames()[kBusyFlag].bit);
  BindFlag(handset_, flags, PhoneFlagNames()[kHandsetFlag].bit);
  BindFlag(switchedOff_, flags, PhoneFlagNames()[kSwitchedOffFlag].bit, [this] {
    if (AddresseePhone* p = selectedPhone()) applyUsability(*p);
  });

  // Picking an item chooses the phone's entry; typing rewrites the value of
  // the entry it has chosen, which all phones share.
  window_.combos().attach(
      voice_, {[this](const QString& text) {
                 if (AddresseePhone* p = selectedPhone())
                   StoreVoiceChoice(window_.workspace().config.general, *p, voice_->findText(text, Qt::MatchExactly),
                                    Cp1251(text));
               },
               [this] {
                 FillItems(voice_, VoiceRepeatItems(window_.workspace().config.general));
                 const AddresseePhone* p = selectedPhone();
                 const int item = p != nullptr ? VoiceRepeatItem(p->phoneFlags) : -1;
                 return item >= 0 ? voice_->itemText(item) : QString();
               },
               DigitsOnly});
}

void AddresseesPage::bindNumber(QLineEdit* edit, std::string AddresseePhone::*field) {
  LineRule rule;
  rule.accept = [](QChar c) { return IsPhoneKey(c.unicode()); };
  rule.typedLength = kPhoneFieldLength;
  // A text that may not be stored empties the field and the edit at once.
  rule.kept = [](const QString& text) { return IsValidPhoneText(Cp1251(text)) ? text : QString(); };
  rule.showKeptAtEdit = true;
  rule.stored = [this] {
    if (AddresseePhone* p = selectedPhone()) applyUsability(*p);
  };
  BindLineEdit(edit,
               {[this, field] {
                  const AddresseePhone* p = selectedPhone();
                  return p != nullptr ? Q(p->*field) : QString();
                },
                [this, field](const QString& text) {
                  if (AddresseePhone* p = selectedPhone()) StorePhoneText(p->*field, Cp1251(text));
                }},
               rule);
}

void AddresseesPage::fillMenu(const QPoint& point) {
  if (QTreeWidgetItem* under = tree_->itemAt(point)) select(under);  // the right button selects
  QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return;
  DestMenu& menu = window_.destMenu();
  if (isPlaceholder(item)) {
    menu.add(QStringLiteral("Добавить адресат"), [this] { addAddressee(); });
    return;
  }
  const Addressee* a = addresseeOf(item);
  if (a == nullptr) return;
  if (const AddresseePhone* p = phoneOf(item)) {
    menu.add(Q(p->name) + QStringLiteral(" : удалить телефон."), [this] { deletePhone(); });
    menu.add(QStringLiteral("Переименовать телефон"), [this] {
      if (selectedPhone() != nullptr) tree_->editItem(tree_->currentItem());
    });
  } else {
    menu.add(QStringLiteral("Добавить адресат"), [this] { addAddressee(); });
    menu.add(QStringLiteral("Удалить адресат"), [this] { deleteAddressee(); });
    menu.add(QStringLiteral("Удалить все адресаты"), [this] { deleteAllAddressees(); });
    menu.add(QStringLiteral("Переименовать адресат"), [this] {
      if (selectedAddressee() != nullptr && selectedPhone() == nullptr) tree_->editItem(tree_->currentItem());
    });
  }
  menu.add(QStringLiteral("-"), {});
  menu.add(Q(a->name) + QStringLiteral(" : добавить телефон."), [this] { addPhone(); });
}

QTreeWidgetItem* AddresseesPage::newNode(const std::string& text) {
  auto* node = new QTreeWidgetItem(QStringList{Q(text)});
  node->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled |
                 Qt::ItemIsDropEnabled);
  return node;
}

QTreeWidgetItem* AddresseesPage::addAddresseeNode(const Addressee& addressee) {
  QTreeWidgetItem* node = newNode(addressee.name);
  for (const auto& p : addressee.phones) node->addChild(newNode(p.name));
  tree_->addTopLevelItem(node);
  node->setExpanded(true);
  return node;
}

void AddresseesPage::rebuildTree() {
  phoneGroup_->hide();
  destGroup_->hide();
  const QSignalBlocker block(tree_);
  tree_->clear();
  for (const auto& a : window_.workspace().config.addressees) addAddresseeNode(a);
  if (tree_->topLevelItemCount() == 0) {
    auto* placeholder = new QTreeWidgetItem(QStringList{QStringLiteral("Правый клик")});
    placeholder->setData(0, kPlaceholderRole, true);
    placeholder->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    tree_->addTopLevelItem(placeholder);
  }
}

bool AddresseesPage::isPlaceholder(const QTreeWidgetItem* item) const {
  return item != nullptr && item->data(0, kPlaceholderRole).toBool();
}

int AddresseesPage::addresseeIndex(const QTreeWidgetItem* item) const {
  if (item == nullptr || isPlaceholder(item)) return -1;
  if (item->parent() != nullptr) item = item->parent();
  return tree_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item));
}

Addressee* AddresseesPage::addresseeOf(const QTreeWidgetItem* item) {
  auto& list = window_.workspace().config.addressees;
  const int k = addresseeIndex(item);
  return k >= 0 && k < static_cast<int>(list.size()) ? &list[k] : nullptr;
}

AddresseePhone* AddresseesPage::phoneOf(const QTreeWidgetItem* item) {
  if (item == nullptr || item->parent() == nullptr) return nullptr;
  Addressee* a = addresseeOf(item);
  if (a == nullptr) return nullptr;
  const int j = item->parent()->indexOfChild(const_cast<QTreeWidgetItem*>(item));
  return j >= 0 && j < static_cast<int>(a->phones.size()) ? &a->phones[j] : nullptr;
}

void AddresseesPage::select(QTreeWidgetItem* item) {
  {
    const QSignalBlocker block(tree_);
    tree_->setCurrentItem(item);
  }
  showSelection();
}

void AddresseesPage::setNodeText(QTreeWidgetItem* item, const std::string& text) {
  const QSignalBlocker block(tree_);
  item->setText(0, Q(text));
}

void AddresseesPage::renamed(QTreeWidgetItem* item) {
  if (isPlaceholder(item)) return;
  const std::string name = Cp1251(item->text(0));
  if (AddresseePhone* p = phoneOf(item)) {
    RenameRecord(*p, name);
  } else if (Addressee* a = addresseeOf(item); a != nullptr && item->parent() == nullptr) {
    RenameRecord(*a, name);
  }
  showSelection();
}

void AddresseesPage::addAddressee() {
  Workspace& ws = window_.workspace();
  if (!CanAddAddressee(ws.config)) {
    window_.messenger().Error(TooManyAddresseesText());
    return;
  }
  Addressee added = NewAddressee(ws.config);
  if (ws.marks.showAddresseeDialog && dialog_ != nullptr && dialog_->edit(added) != QDialog::Accepted) return;
  if (!AppendAddressee(ws, std::move(added))) return;
  if (ws.config.addressees.size() == 1) {
    const QSignalBlocker block(tree_);
    tree_->clear();  // the placeholder goes
  }
  QTreeWidgetItem* node;
  {
    const QSignalBlocker block(tree_);
    node = addAddresseeNode(ws.config.addressees.back());
  }
  select(node);
}

void AddresseesPage::deleteAddressee() {
  QTreeWidgetItem* item = tree_->currentItem();
  const int k = addresseeIndex(item);
  if (item == nullptr || item->parent() != nullptr || !DeleteAddressee(window_.workspace(), k)) return;
  if (window_.workspace().config.addressees.empty()) {
    rebuildTree();
    return;
  }
  {
    const QSignalBlocker block(tree_);
    delete item;
  }
  showSelection();
}

void AddresseesPage::deleteAllAddressees() {
  DeleteAllAddressees(window_.workspace());
  rebuildTree();
}

void AddresseesPage::addPhone() {
  QTreeWidgetItem* item = tree_->currentItem();
  Addressee* a = addresseeOf(item);
  if (a == nullptr) return;
  const std::optional<int> added = AppendPhone(*a);
  if (!added) {
    window_.messenger().Error(TooManyPhonesText());
    return;
  }
  QTreeWidgetItem* parent = item->parent() != nullptr ? item->parent() : item;
  QTreeWidgetItem* node = newNode(a->phones[*added].name);
  {
    const QSignalBlocker block(tree_);
    parent->addChild(node);
    parent->setExpanded(true);
  }
  select(node);
}

void AddresseesPage::deletePhone() {
  QTreeWidgetItem* item = tree_->currentItem();
  Addressee* a = addresseeOf(item);
  if (a == nullptr || phoneOf(item) == nullptr) return;
  if (!DeletePhone(*a, item->parent()->indexOfChild(item))) return;
  {
    const QSignalBlocker block(tree_);
    delete item;
  }
  showSelection();
}

bool AddresseesPage::canDrop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
  if (dragged == nullptr || target == nullptr || dragged == target) return false;
  if (isPlaceholder(dragged) || isPlaceholder(target)) return false;
  if (dragged->parent() == nullptr) {
    if (target->parent() != nullptr) return false;
    const int from = tree_->indexOfTopLevelItem(dragged);
    return CanMoveAddressee(from, DropIndex(from, tree_->indexOfTopLevelItem(target)));
  }
  return target->parent() == dragged->parent();
}

void AddresseesPage::drop(QTreeWidgetItem* dragged, QTreeWidgetItem* target) {
  QTreeWidgetItem* parent = dragged->parent();
  const QSignalBlocker block(tree_);
  if (parent == nullptr) {
    const int from = tree_->indexOfTopLevelItem(dragged);
    const int to = DropIndex(from, tree_->indexOfTopLevelItem(target));
    if (!MoveAddressee(window_.workspace(), from, to)) return;
    const bool expanded = dragged->isExpanded();
    tree_->insertTopLevelItem(to, tree_->takeTopLevelItem(from));
    dragged->setExpanded(expanded);
  } else {
    Addressee* a = addresseeOf(parent);
    const int from = parent->indexOfChild(dragged);
    const int to = DropIndex(from, parent->indexOfChild(target));
    if (a == nullptr || !MovePhone(*a, from, to)) return;
    parent->insertChild(to, parent->takeChild(from));
  }
  tree_->setCurrentItem(dragged);
  showSelection();
}

void AddresseesPage::refresh() {
  if (dialog_ != nullptr && dialog_->isVisible()) dialog_->reject();
  rebuildTree();
}

void AddresseesPage::shown() { showSelection(); }

void AddresseesPage::showSelection() {
  QTreeWidgetItem* item = tree_->currentItem();
  Addressee* a = addresseeOf(item);
  if (a == nullptr) {
    phoneGroup_->hide();
    destGroup_->hide();
    return;
  }
  fillAddressee(*a);
  destGroup_->show();
  AddresseePhone* p = phoneOf(item);
  if (p == nullptr) {
    phoneGroup_->hide();
    return;
  }
  fillPhone(*p);
  phoneGroup_->show();
  phoneGroup_->raise();
}

void AddresseesPage::fillAddressee(Addressee& a) {
  ShowBound(destName_);
  window_.combos().show(wait_);
  for (QCheckBox* box : destBoxes_) ShowBound(box);
  ShowBound(limit_);
  ShowBound(mode_);
  showMode(a);
}

void AddresseesPage::showMode(const Addressee& a) {
  const bool confirmed = ConfirmWaitShown(a.addresseeFlags);
  waitLabel_->setVisible(confirmed);
  wait_->setVisible(confirmed);
  for (size_t i = 0; i < destBoxes_.size(); ++i)
    destBoxes_[i]->setEnabled(AddresseeFlagOpen(static_cast<int>(i), a.addresseeFlags));
}

void AddresseesPage::fillPhone(AddresseePhone& p) {
  ShowBound(phoneName_);
  setNodeText(tree_->currentItem(), p.name);
  window_.combos().show(voice_);
  (IsCellular(p.phoneFlags) ? cellular_ : wired_)->setChecked(true);
  ShowBound(busy_);
  ShowBound(handset_);
  wired_->setEnabled(LineChannelOpen(window_.workspace().config.general.dialFlags()));
  for (QLineEdit* number : numbers_) ShowBound(number);
  showFormats(p);
  applyUsability(p);
}

void AddresseesPage::showFormats(const AddresseePhone& p) {
  // A code no item stands for shows no item, and the code's text in its place.
  ShowBound(gsmFormat_);
  ShowBound(lineFormat_);
  gsmFormat_->setPlaceholderText(gsmFormat_->currentIndex() < 0 ? Q(GsmFormatText(p.formats)) : QString());
  lineFormat_->setPlaceholderText(lineFormat_->currentIndex() < 0 ? Q(LineFormatText(p.formats)) : QString());
}

void AddresseesPage::applyUsability(AddresseePhone& p) {
  const SwitchOffBox box = CheckPhoneUsability(p, window_.workspace().config.general.dialFlags());
  ShowBound(switchedOff_);
  switchedOff_->setEnabled(box.enabled);
  // A style sheet: the platform styles do not all paint a check box's palette background.
  switchedOff_->setStyleSheet(box.greyed ? QStringLiteral("QCheckBox { background-color: rgb(160, 160, 164); }")
                                         : QString());
}

}  // namespace vorsin::ui
