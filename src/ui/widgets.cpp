#include "ui/widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QPushButton>

#include "ui/control_events.h"

namespace vorsin::ui {

QComboBox* NewCombo(const char* name, const QStringList& items, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  box->addItems(items);
  return box;
}

QCheckBox* NewBox(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  return box;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

QLineEdit* NewEdit(const char* name, QWidget* parent, int typedLength) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  if (typedLength > 0) LimitTyping(edit, typedLength);
  return edit;
}

QLineEdit* NewNumberEdit(const char* name, int digits, QWidget* parent) {
  QLineEdit* edit = NewEdit(name, parent, digits);
  FilterKeys(edit, [](QChar c) { return c.isDigit() || c == u' '; });
  edit->setMaximumWidth(60);
  return edit;
}

QLineEdit* NewByteEdit(const char* name, const QString& text, QWidget* parent) {
  QLineEdit* edit = NewEdit(name, parent);
  edit->setText(text);
  edit->setValidator(new QIntValidator(0, 255, edit));
  edit->setMaximumWidth(60);
  return edit;
}

}  // namespace vorsin::ui
