#include "ui/control_events.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QWidget>

namespace vorsin::ui {

bool IsLeaving(const QEvent* event) {
  if (event->type() != QEvent::FocusOut) return false;
  const auto reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason;
}

ControlHook::ControlHook(QWidget* control, Handler handler)
    : QObject(control), handler_(std::move(handler)) {
  control->installEventFilter(this);
}

bool ControlHook::eventFilter(QObject* watched, QEvent* event) {
  if (handler_(event)) return true;
  return QObject::eventFilter(watched, event);
}

void OnLeave(QWidget* control, std::function<void()> onLeave) {
  new ControlHook(control, [onLeave = std::move(onLeave)](QEvent* event) {
    if (IsLeaving(event)) onLeave();
    return false;
  });
}

void FilterKeys(QWidget* control, std::function<bool(QChar)> accept) {
  new ControlHook(control, [accept = std::move(accept)](QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    for (const QChar c : key->text()) {
      if (c.isPrint() && !accept(c)) return true;
    }
    return false;
  });
}

void LimitTyping(QLineEdit* edit, int length) {
  // A validator judges only what is typed, pasted or deleted, never setText.
  const QRegularExpression upTo(QStringLiteral("^.{0,%1}$").arg(length),
                                QRegularExpression::DotMatchesEverythingOption);
  edit->setValidator(new QRegularExpressionValidator(upTo, edit));
}

}  // namespace vorsin::ui
