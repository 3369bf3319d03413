#include "ui/free_entry_combo.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/bind.h"
#include "ui/control_events.h"

namespace vorsin::ui {
namespace {

bool IsEnter(const QKeyEvent* key) {
  return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// A key that edits the text: a printable character or Backspace. Navigation
// and shortcut keys are left to the box.
bool IsTypingKey(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Backspace) return true;
  const QString text = key->text();
  return !text.isEmpty() && text.at(0).isPrint() &&
         !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
}

}  // namespace

bool DigitsOnly(const QKeyEvent& key) {
  if (key.key() == Qt::Key_Backspace) return true;
  const QString text = key.text();
  return text.size() == 1 && text.at(0) >= u'0' && text.at(0) <= u'9';
}

void FreeEntryCombos::attach(QComboBox* box, Rule rule) {
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);  // completion would rewrite what is typed
  rules_[box] = std::move(rule);
  box->installEventFilter(this);
  // While typing every change waits for Enter, a pick from the list too: the
  // picked text then stands in the box like typed text, and leaving drops it.
  connect(box, &QComboBox::activated, this, [this, box](int index) {
    if (!typing_) commit(box, box->itemText(index), !rules_.at(box).keepPickedText);
  });
  connect(box, &QObject::destroyed, this, [this, box] { rules_.erase(box); });
}

void FreeEntryCombos::show(QComboBox* box) {
  const auto it = rules_.find(box);
  if (it == rules_.end()) return;
  const FillLock fill;
  const QString text = it->second.shown();
  const QSignalBlocker block(box);
  box->setCurrentIndex(box->findText(text));
  box->setEditText(text);
}

void FreeEntryCombos::commit(QComboBox* box, const QString& text, bool showStored) {
  const auto it = rules_.find(box);
  if (it == rules_.end() || FillLock::held()) return;
  typing_ = false;
  it->second.commit(text);
  if (showStored) show(box);
}

bool FreeEntryCombos::keyPress(QComboBox* box, QKeyEvent* key) {
  const Rule& rule = rules_.at(box);
  if (IsEnter(key)) {
    if (typing_ || !rule.enterNeedsTyping) commit(box, box->currentText());
    return true;
  }
  if (!IsTypingKey(key)) return false;
  if (rule.acceptKey && !rule.acceptKey(*key)) return true;  // dropped
  if (!typing_) {
    typing_ = true;
    if (rule.clearOnType) box->clearEditText();
  }
  return false;  // the box enters the key
}

bool FreeEntryCombos::eventFilter(QObject* watched, QEvent* event) {
  auto* box = qobject_cast<QComboBox*>(watched);
  if (box == nullptr || rules_.count(box) == 0) return QObject::eventFilter(watched, event);
  if (event->type() == QEvent::KeyPress) return keyPress(box, static_cast<QKeyEvent*>(event));
  if (IsLeaving(event)) {
    typing_ = false;
    show(box);
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vorsin::ui
