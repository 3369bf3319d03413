// Small event hooks shared by the pages: leaving a control, and dropping
// typed characters a control does not take.
#pragma once

#include <QChar>
#include <QObject>
#include <functional>

class QEvent;
class QLineEdit;
class QWidget;

namespace vorsin::ui {

// Whether a focus-out event means the user left the control. Opening a
// popup or switching to another window is not leaving.
bool IsLeaving(const QEvent* event);

// Runs onLeave whenever the user leaves the control.
void OnLeave(QWidget* control, std::function<void()> onLeave);

// Drops every typed printable character that accept() refuses; Backspace,
// navigation and shortcuts pass.
void FilterKeys(QWidget* control, std::function<bool(QChar)> accept);

// What the user types or pastes stops at length characters, while a text the
// program sets (a refresh, a profile's numbers) is shown and kept whole:
// QLineEdit::setMaxLength would cut it and the cut text would be stored.
void LimitTyping(QLineEdit* edit, int length);

class ControlHook : public QObject {
  Q_OBJECT
 public:
  // Returns true to swallow the event.
  using Handler = std::function<bool(QEvent*)>;
  ControlHook(QWidget* control, Handler handler);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  Handler handler_;
};

}  // namespace vorsin::ui
