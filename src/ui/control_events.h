// Small event hooks shared by the pages: leaving a control, and dropping
// typed characters a control does not take.
#pragma once

#include <QChar>
#include <QObject>
#include <functional>

class QWidget;
class QEvent;

namespace vorsin::ui {

// Whether a focus-out event means the user left the control. Opening a
// popup or switching to another window is not leaving.
bool IsLeaving(const QEvent* event);

// Runs onLeave whenever the user leaves the control.
void OnLeave(QWidget* control, std::function<void()> onLeave);

// Drops every typed printable character that accept() refuses; Backspace,
// navigation and shortcuts pass.
void FilterKeys(QWidget* control, std::function<bool(QChar)> accept);

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
