#include "ui/users_page.h"

#include <QCheckBox>
#include <algorithm>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <optional>

#include "image/user_tables.h"
#include "model/flag_names.h"
#include "model/users.h"
#include "ui/bind.h"
#include "ui/control_events.h"
#include "ui/dest_menu.h"
#include "ui/flag_boxes.h"
#include "ui/key_dialog.h"
#include "ui/text.h"
#include "ui/widgets.h"
#include "ui/window_services.h"

namespace vorsin::ui {
UsersPage::UsersPage(WindowServices& window, std::function<std::string()> password, QWidget* parent)
    : QWidget(parent), window_(window), password_(std::move(password)) {
  setObjectName("TabSheet8");
  buildControls();

  connect(list_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) showUser(list_->indexOfTopLevelItem(item));
  });
  connect(list_->header(), &QHeaderView::sectionClicked, this, &UsersPage::columnClicked);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &UsersPage::rowDoubleClicked);
  window_.destMenu().attach(list_, [this](const QPoint& point) { fillMenu(point); });

  // Digits only; a digit typed over "???" starts a new password.
  new ControlHook(passwordEdit_, [this](QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    const QString text = key->text();
    if (text.isEmpty() || !text[0].isPrint()) return false;
    const char typed = text[0].unicode() < 0x80 ? static_cast<char>(text[0].unicode()) : '\0';
    // Only '?' and digits count, alike in UTF-8, which keeps a pasted
    // character the code page lacks from reading as '?'.
    const PasswordKey action = UserPasswordKey(passwordEdit_->text().toStdString(), typed);
    if (action == PasswordKey::ClearFirst) passwordEdit_->clear();
    return action == PasswordKey::Drop;
  });
  // Stored at every edit, so that a menu command ("Сохранить как..") that
  // does not take the focus away still finds it; only what the device field
  // can hold is stored, and leaving shows the stored password again.
  LineRule passwordRule;
  passwordRule.typedLength = 6;
  passwordRule.left = [this] {
    User* u = currentUser();
    if (u != nullptr && !StorePassword(*u, Cp1251(passwordEdit_->text()))) FillLine(passwordEdit_, Q(u->text));
  };
  BindLineEdit(passwordEdit_,
               {[this] {
                  const User* u = currentUser();
                  return u != nullptr ? Q(u->text) : QString();
                },
                [this](const QString& text) {
                  if (User* u = currentUser()) StorePassword(*u, Cp1251(text));
                }},
               passwordRule);

  BindCheck(relayReset_, {[this]() -> std::optional<bool> {
                            const User* u = currentUser();
                            return u != nullptr ? std::optional<bool>(RelayReset(*u)) : std::nullopt;
                          },
                          [this](bool checked) {
                            if (User* u = currentUser()) SetRelayReset(*u, checked);
                          }});
  BindFlag(loopsAnd_, [this] { return &window_.workspace().config.general.dialFlags(); }, LoopsAndFlagName().bit);
  connect(readKey_, &QPushButton::clicked, this, &UsersPage::readKey);
}

void UsersPage::buildControls() {
  list_ = new QTreeWidget(this);
  list_->setObjectName("UserList");
  list_->setColumnCount(kUserColumns);
  list_->setHeaderLabels({QStringLiteral("Пользователи"), "1", "2", "3", "4", "Dalas"});
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Grid lines; a style sheet that styles items must also give the selected
  // row its colours, or it is drawn white on the style's pale selection.
  list_->setStyleSheet(QStringLiteral(
      "QTreeView::item { border: 1px solid #d0d0d0; color: palette(text); }"
      "QTreeView::item:selected { background: palette(highlight); color: palette(highlighted-text); }"));
  list_->header()->setSectionsClickable(true);
  list_->header()->setStretchLastSection(false);
  // Wide enough for the longest caption (users 27..31 carry their role).
  int captionWidth = 0;
  for (int n = 1; n <= kEngineerNumber; ++n)
    captionWidth = std::max(captionWidth, list_->fontMetrics().horizontalAdvance(Q(UserCaption(n))));
  list_->setColumnWidth(0, captionWidth + 16);
  for (int c = 1; c < kUserColumns; ++c) list_->setColumnWidth(c, c == kKeyColumn ? 48 : 28);

  auto* group = new QGroupBox(QStringLiteral("Параметры пользователя"), this);
  group->setObjectName("GroupBox2");
  passwordLabel_ = new QLabel(QStringLiteral("Пароль пользователя (от 0 до 6 цифр)"), group);
  passwordLabel_->setObjectName("Label1");
  passwordEdit_ = NewEdit("Edit9", group);
  keyLabel_ = new QLabel(group);
  keyLabel_->setObjectName("Label35");
  keyEdit_ = new QLineEdit(group);
  keyEdit_->setObjectName("Edit11");
  keyEdit_->setReadOnly(true);
  keyEdit_->setEnabled(false);
  readKey_ = new QPushButton(QStringLiteral("Считать"), group);
  readKey_->setObjectName("Button6");
  relayReset_ = new QCheckBox(Q(RelayResetFlagName().caption), group);
  relayReset_->setObjectName("CheckBox46");
  auto* grid = new QGridLayout(group);
  grid->addWidget(passwordLabel_, 0, 0, 1, 2);
  grid->addWidget(passwordEdit_, 1, 0, 1, 2);
  grid->addWidget(keyLabel_, 2, 0, 1, 2);
  grid->addWidget(keyEdit_, 3, 0);
  grid->addWidget(readKey_, 3, 1);
  grid->addWidget(relayReset_, 4, 0, 1, 2);

  loopsAnd_ = new QCheckBox(Q(LoopsAndFlagName().caption), this);
  loopsAnd_->setObjectName("CheckBox43");
  auto* readTables = new QPushButton(QStringLiteral("Считать описания"), this);
  readTables->setObjectName("Button4");
  connect(readTables, &QPushButton::clicked, this, &UsersPage::readUserTables);

  auto* right = new QVBoxLayout;
  right->addWidget(group);
  right->addWidget(loopsAnd_);
  right->addWidget(readTables, 0, Qt::AlignLeft);
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(right);
}

bool UsersPage::currentValid() const {
  return current_ >= 0 && current_ < static_cast<int>(window_.workspace().config.users.size());
}

User* UsersPage::currentUser() {
  return currentValid() ? &window_.workspace().config.users[static_cast<size_t>(current_)] : nullptr;
}

void UsersPage::refresh() {
  if (keyDialog_ != nullptr && keyDialog_->polling()) keyDialog_->cancel();
  const Configuration& c = window_.workspace().config;
  current_ = -1;
  {
    const QSignalBlocker block(list_);
    list_->clear();
    for (size_t i = 0; i < c.users.size(); ++i) {
      list_->addTopLevelItem(new QTreeWidgetItem);
      fillRow(static_cast<int>(i));
    }
  }
  for (QWidget* w : std::initializer_list<QWidget*>{passwordLabel_, keyLabel_, passwordEdit_, readKey_, relayReset_})
    w->setEnabled(false);
  keyEdit_->clear();
  keyLabel_->setText(QStringLiteral("Touch memory: "));
  for (QWidget* control : std::initializer_list<QWidget*>{passwordEdit_, relayReset_, loopsAnd_}) ShowBound(control);
}

void UsersPage::fillRow(int row) {
  const auto& users = window_.workspace().config.users;
  QTreeWidgetItem* item = list_->topLevelItem(row);
  if (item == nullptr || row >= static_cast<int>(users.size())) return;
  const auto texts = UserRowTexts(users[row]);
  for (int c = 0; c < kUserColumns; ++c) item->setText(c, Q(texts[static_cast<size_t>(c)]));
}

void UsersPage::showUser(int row) {
  current_ = row;
  if (!currentValid()) {
    current_ = -1;
    return;
  }
  const User& u = window_.workspace().config.users[current_];
  for (QWidget* w : std::initializer_list<QWidget*>{passwordLabel_, keyLabel_, passwordEdit_, relayReset_})
    w->setEnabled(true);
  ShowBound(passwordEdit_);
  keyEdit_->setText(QString::fromLatin1(KeyText(u)));
  ShowBound(relayReset_);
  readKey_->setEnabled(true);
}

void UsersPage::columnClicked(int column) {
  if (column < 1 || column > 4) return;
  ToggleLoopForAll(window_.workspace().config.users, column);
  for (int row = 0; row < list_->topLevelItemCount(); ++row) fillRow(row);
}

void UsersPage::rowDoubleClicked(QTreeWidgetItem* item, int column) {
  const int row = list_->indexOfTopLevelItem(item);
  auto& users = window_.workspace().config.users;
  if (row < 0 || row >= static_cast<int>(users.size()) || column < 0 || column >= kKeyColumn) return;
  ToggleUserLoops(users[row], column);
  fillRow(row);
}

void UsersPage::fillMenu(const QPoint&) {
  DestMenu& menu = window_.destMenu();
  QMenu* add = menu.addSubmenu(QStringLiteral("Добавить пользователя"));
  add->setObjectName("addUserMenu");
  const auto& users = window_.workspace().config.users;
  for (const int n : FreeUserNumbers(users)) {
    QAction* item = add->addAction(Q(UserCaption(n)));
    item->setProperty("Tag", n);
    connect(item, &QAction::triggered, this, [this, n] { addUser(n); });
  }
  const int row = list_->currentItem() != nullptr ? list_->indexOfTopLevelItem(list_->currentItem()) : -1;
  if (CanDeleteUser(users, row))
    menu.add(QStringLiteral("Удалить: ") + list_->currentItem()->text(0), [this] { deleteSelectedUser(); });
}

void UsersPage::addUser(int number) {
  auto& users = window_.workspace().config.users;
  if (!AddUser(users, number)) return;
  list_->addTopLevelItem(new QTreeWidgetItem);
  fillRow(static_cast<int>(users.size()) - 1);
  list_->setCurrentItem(list_->topLevelItem(static_cast<int>(users.size()) - 1));
}

void UsersPage::deleteSelectedUser() {
  auto& users = window_.workspace().config.users;
  QTreeWidgetItem* item = list_->currentItem();
  const int row = item != nullptr ? list_->indexOfTopLevelItem(item) : -1;
  if (!DeleteUser(users, row)) return;
  current_ = -1;
  {
    const QSignalBlocker block(list_);
    delete list_->takeTopLevelItem(row);
  }
  list_->setCurrentItem(nullptr);
  list_->setCurrentItem(list_->topLevelItem(row - 1));
}

void UsersPage::readKey() {
  if (keyDialog_ == nullptr || !currentValid()) return;
  const int number = window_.workspace().config.users[current_].number();
  keyDialog_->start(number, [this, number] {
    const int row = FindUser(window_.workspace().config.users, number);
    for (int r = 0; r < list_->topLevelItemCount(); ++r) fillRow(r);
    if (row >= 0 && list_->currentItem() != nullptr) showUser(list_->indexOfTopLevelItem(list_->currentItem()));
  });
}

void UsersPage::readUserTables() {
  if (window_.operationRunning()) return;
  {
    const OperationScope scope(window_);
    ReadUsersFromDevice(window_.port(), window_.messenger(), password_(), window_.workspace().config);
  }
  refresh();
}

}  // namespace vorsin::ui
