#include "ui/remote_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "model/flag_names.h"
#include "model/remote.h"
#include "ui/control_events.h"
#include "ui/flag_boxes.h"
#include "model/general_rules.h"
#include "ui/bind.h"
#include "ui/text.h"
#include "ui/window_services.h"

namespace vorsin::ui {
namespace {

constexpr int kRootRole = Qt::UserRole;
constexpr int kEntryRole = Qt::UserRole + 1;
constexpr int kFormRole = Qt::UserRole + 2;
constexpr int kCusdField = kWorkPhones;

const QString kWorkPhoneHint = QStringLiteral(
    "Разрещённые символы 0,1,2,3,4,5\n6,7,8,9,+,*,#,?\n\"???\" - любой номер \nМаксимум 15 символов");  // sic

}  // namespace

RemotePage::RemotePage(WindowServices& window, std::function<void()> writeProfile, QWidget* parent)
    : QWidget(parent), window_(window), writeProfile_(std::move(writeProfile)) {
  setObjectName("TabSheet9");
  buildControls();
  connect(tree_, &QTreeWidget::currentItemChanged, this, [this] { showRemoteEntry(); });
  connect(phones_, &QListWidget::itemChanged, this, &RemotePage::phoneChecked);
  connect(phones_, &QListWidget::currentRowChanged, this, [this] { showPhoneMode(); });
  // "я" is the device's padding byte: reading would drop it.
  BindLineEdit(password_,
               {[this] {
                  const RemoteCommand* entry = selection().root == 0 ? selectedEntry() : nullptr;
                  return entry == nullptr ? QString() : Q(entry->text);
                },
                [this](const QString& text) {
                  if (selection().root != 0) return;
                  if (RemoteCommand* entry = selectedEntry()) entry->text = Cp1251(text);
                }},
               {.accept = [](QChar c) { return c != u'я'; },
                .kept = [](const QString& text) { return Q(CommandPasswordText(Cp1251(text))); },
                .showKeptAtEdit = true});
  connect(mode_, &QComboBox::activated, this, &RemotePage::modeChosen);
  connect(user_, &QComboBox::activated, this, &RemotePage::userChosen);
  for (int i = 0; i < kWorkPhones; ++i) bindWorkPhone(workPhones_[i], i);
  bindWorkPhone(cusd_, kCusdField);
  const auto service = [this] { return &window_.workspace().config.general.serviceFlags(); };
  BindFlag(forwardUnknown_, service, ForwardFlagNames()[0].bit);
  BindFlag(forwardExpress_, service, ForwardFlagNames()[1].bit);
}

void RemotePage::buildControls() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName("RemCtrl");
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);

  panel_ = new QWidget(this);
  panel_->setObjectName("Panel5");
  bindLabel_ = new QLabel(QStringLiteral("Привязка к рабочим телефонам:"), panel_);
  bindLabel_->setObjectName("Label48");
  bindLabel_->setWordWrap(true);
  // Two lines whatever the entry's name: the check list below never moves.
  bindLabel_->setFixedHeight(bindLabel_->fontMetrics().lineSpacing() * 2 + 4);
  bindLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  phones_ = new QListWidget(panel_);
  phones_->setObjectName("RemFhone");
  for (int i = 0; i < kWorkPhones; ++i) {
    auto* item = new QListWidgetItem(Q(PhoneItemCaption(i, false, false, 0)), phones_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  passwordLabel_ = new QLabel(QStringLiteral("Пароль:"), panel_);
  passwordLabel_->setObjectName("Label47");
  password_ = new QLineEdit(panel_);
  password_->setObjectName("Edit20");
  modeLabel_ = new QLabel(QStringLiteral("Тел."), panel_);
  modeLabel_->setObjectName("Label40");
  mode_ = new QComboBox(panel_);
  mode_->setObjectName("ComboBox25");
  for (const std::string& item : PhoneModeItems()) mode_->addItem(Q(item));
  userLabel_ = new QLabel(QStringLiteral("Пользователь"), panel_);
  userLabel_->setObjectName("Label38");
  user_ = new QComboBox(panel_);
  user_->setObjectName("ComboBox26");
  for (int n = 1; n <= kMaxUsers; ++n) user_->addItem(QString::number(n));
  auto* panelLayout = new QVBoxLayout(panel_);
  panelLayout->addWidget(bindLabel_);
  panelLayout->addWidget(phones_);
  panelLayout->addWidget(passwordLabel_);
  panelLayout->addWidget(password_);
  panelLayout->addWidget(modeLabel_);
  panelLayout->addWidget(mode_);
  panelLayout->addWidget(userLabel_);
  panelLayout->addWidget(user_);
  panelLayout->addStretch(1);
  QSizePolicy keep = panel_->sizePolicy();
  keep.setRetainSizeWhenHidden(true);  // the window keeps its size when an entry is chosen
  panel_->setSizePolicy(keep);
  panel_->hide();

  auto* group = new QGroupBox(QStringLiteral("Рабочие телефоны"), this);
  group->setObjectName("GroupBox3");
  auto* grid = new QGridLayout(group);
  for (int i = 0; i < kWorkPhones; ++i) {
    workPhones_[i] = new QLineEdit(group);
    workPhones_[i]->setObjectName(QStringLiteral("Edit%1").arg(12 + i));
    workPhones_[i]->setToolTip(kWorkPhoneHint);
    workPhones_[i]->setToolTipDuration(15000);
    grid->addWidget(new QLabel(QStringLiteral("Тел. %1").arg(i + 1), group), i, 0);
    grid->addWidget(workPhones_[i], i, 1);
  }
  cusd_ = new QLineEdit(group);
  cusd_->setObjectName("Edit27");
  grid->addWidget(new QLabel(QStringLiteral("Переслать CUSD ответ на номер:"), group), kWorkPhones, 0, 1, 2);
  grid->addWidget(cusd_, kWorkPhones + 1, 0, 1, 2);
  grid->setRowStretch(kWorkPhones + 2, 1);  // the CUSD number stays under the phones

  forwardUnknown_ = new QCheckBox(Q(ForwardFlagNames()[0].caption), this);
  forwardUnknown_->setObjectName("CheckBox44");
  forwardExpress_ = new QCheckBox(Q(ForwardFlagNames()[1].caption), this);
  forwardExpress_->setObjectName("CheckBox45");

  auto* top = new QHBoxLayout;
  top->addWidget(tree_, 4);  // the entries' names whole
  top->addWidget(panel_, 3);
  top->addWidget(group, 3);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top, 1);
  layout->addWidget(forwardUnknown_);
  layout->addWidget(forwardExpress_);
}

std::string& RemotePage::phoneField(int field) {
  Configuration& c = window_.workspace().config;
  return field == kCusdField ? c.cusdForwardNumber : c.workPhones[field];
}

void RemotePage::bindWorkPhone(QLineEdit* edit, int field) {
  LimitTyping(edit, kNumberFieldLength);
  new ControlHook(edit, [this, edit, field](QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    char typed = 0;
    if (key->key() == Qt::Key_Backspace) {
      typed = '\b';
    } else if (!key->text().isEmpty() && key->text()[0].isPrint()) {
      const QChar c = key->text()[0];
      typed = c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x01';
    } else {
      return false;
    }
    switch (WorkPhoneKey(Cp1251(edit->text()), typed)) {
      case PhoneKey::Drop:
        return true;
      case PhoneKey::AnyNumber:
        edit->setText(QStringLiteral("???"));
        emit edit->textEdited(edit->text());
        return true;
      case PhoneKey::ClearFirst:
        edit->clear();
        return false;
      case PhoneKey::Type:
        return false;
    }
    return false;
  });
  // The general page's rule: a valid text is stored, anything else empties
  // the field and the member. Passing through keeps a stored number the
  // edit was only shown with.
  BindLineEdit(edit, StringField([this, field] { return &phoneField(field); }),
               {.kept = KeptNumberText, .showKeptAtEdit = true, .left = [this] {
                  if (writeProfile_) writeProfile_();
                }});
}

void RemotePage::showNumbers() {
  for (QLineEdit* edit : workPhones_) ShowBound(edit);
  for (QWidget* control : std::initializer_list<QWidget*>{cusd_, forwardUnknown_, forwardExpress_}) ShowBound(control);
}

void RemotePage::refresh() {
  const Workspace& ws = window_.workspace();
  {
    const QSignalBlocker block(tree_);
    tree_->clear();
    const struct {
      QString caption;
      const std::vector<RemoteEntryName>& names;
    } roots[] = {{QStringLiteral("Команды"), ws.commandNames},
                 {QStringLiteral("Параметры телефонов"), ws.controlNames}};
    for (int r = 0; r < 2; ++r) {
      auto* root = new QTreeWidgetItem(tree_, {roots[r].caption});
      root->setData(0, kRootRole, r);
      root->setData(0, kEntryRole, -1);
      for (size_t e = 0; e < roots[r].names.size(); ++e) {
        auto* item = new QTreeWidgetItem(root, {Q(roots[r].names[e].name)});
        item->setData(0, kRootRole, r);
        item->setData(0, kEntryRole, static_cast<int>(e));
        item->setData(0, kFormRole, Q(roots[r].names[e].form));
      }
    }
    tree_->expandAll();
    tree_->setCurrentItem(nullptr);
  }
  panel_->hide();
  showNumbers();
}

void RemotePage::shown() {
  showNumbers();
  showRemoteEntry();
}

RemotePage::Selection RemotePage::selection() const {
  const QTreeWidgetItem* item = tree_->currentItem();
  if (item == nullptr) return {};
  return {item->data(0, kRootRole).toInt(), item->data(0, kEntryRole).toInt()};
}

// Found again at each use: the lists may have been replaced since the tree was built.
RemoteCommand* RemotePage::selectedEntry() {
  const Selection s = selection();
  if (s.root < 0 || s.entry < 0) return nullptr;
  auto& list = s.root == 0 ? window_.workspace().config.remoteCommands : window_.workspace().config.remoteControls;
  return s.entry < static_cast<int>(list.size()) ? &list[s.entry] : nullptr;
}

bool RemotePage::onPhoneModeEntry() const {
  const Selection s = selection();
  return s.root == 1 && s.entry == kPhoneModeEntry;
}

void RemotePage::showRemoteEntry() {
  const Selection s = selection();
  const RemoteCommand* entry = selectedEntry();
  if (entry == nullptr) {
    panel_->hide();
    return;
  }
  const Configuration& c = window_.workspace().config;
  const bool modeEntry = onPhoneModeEntry();
  {
    const QSignalBlocker block(phones_);
    for (int i = 0; i < kWorkPhones; ++i) {
      QListWidgetItem* item = phones_->item(i);
      const bool bound = PhoneBound(*entry, i);
      item->setCheckState(bound ? Qt::Checked : Qt::Unchecked);
      item->setText(Q(PhoneItemCaption(i, modeEntry, bound, c.workPhoneControl[i])));
    }
  }
  const QString name = tree_->currentItem()->text(0);
  if (s.root == 0) {
    bindLabel_->setText(QStringLiteral("Привязка ") + name + QStringLiteral(" к номерам:"));
    passwordLabel_->setText(QStringLiteral("Пароль для ") + name);
  } else {
    bindLabel_->setText(name);
  }
  showPhoneMode();
  ShowBound(password_);
  passwordLabel_->setVisible(s.root == 0);
  password_->setVisible(s.root == 0);
  panel_->show();
}

void RemotePage::showPhoneMode() {
  if (!onPhoneModeEntry()) {
    for (QWidget* w : std::initializer_list<QWidget*>{modeLabel_, mode_, userLabel_, user_}) w->hide();
    return;
  }
  const int i = phones_->currentRow();
  const RemoteCommand* entry = selectedEntry();
  if (i < 0 || i >= kWorkPhones || entry == nullptr) {
    mode_->setEnabled(false);
    user_->setEnabled(false);
    userLabel_->hide();
    user_->hide();
  } else {
    const uint8_t control = window_.workspace().config.workPhoneControl[i];
    const bool bound = PhoneBound(*entry, i);
    modeLabel_->setText(QStringLiteral("Тел. %1").arg(i + 1));
    {
      const QSignalBlocker blockUser(user_);
      const QSignalBlocker blockMode(mode_);
      user_->setCurrentIndex(PhoneUser(control) - 1);
      mode_->setCurrentIndex(PhoneModeIndex(control));
    }
    const bool arming = !(control & kManualStartBit);
    userLabel_->setVisible(arming);
    user_->setVisible(arming);
    mode_->setEnabled(bound);
    user_->setEnabled(bound);
  }
  modeLabel_->show();
  mode_->show();
}

void RemotePage::phoneChecked(QListWidgetItem* item) {
  RemoteCommand* entry = selectedEntry();
  if (entry == nullptr) return;  // nothing selected: a click changes nothing
  const int i = phones_->row(item);
  const bool bound = item->checkState() == Qt::Checked;
  SetPhoneBound(*entry, i, bound);
  {
    const QSignalBlocker block(phones_);
    item->setText(Q(PhoneItemCaption(i, onPhoneModeEntry(), bound, window_.workspace().config.workPhoneControl[i])));
  }
  showPhoneMode();
}

void RemotePage::modeChosen(int index) {
  const int i = phones_->currentRow();
  if (i < 0 || i >= kWorkPhones || !onPhoneModeEntry()) return;
  uint8_t& control = window_.workspace().config.workPhoneControl[i];
  control = WithPhoneMode(control, index);
  const bool arming = index != 0;
  userLabel_->setVisible(arming);
  user_->setVisible(arming);
  const QSignalBlocker block(phones_);
  phones_->item(i)->setText(Q(PhoneItemCaption(i, true, true, control)));
}

void RemotePage::userChosen(int index) {
  const int i = phones_->currentRow();
  if (i < 0 || i >= kWorkPhones || !onPhoneModeEntry()) return;
  uint8_t& control = window_.workspace().config.workPhoneControl[i];
  control = WithPhoneUser(control, index);
}

}  // namespace vorsin::ui
