// The controls the pages build, named for the tests and the saved layout.
#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace vorsin::ui {

QComboBox* NewCombo(const char* name, const QStringList& items, QWidget* parent);
QCheckBox* NewBox(const char* name, const QString& caption, QWidget* parent);
QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent);
// typedLength > 0: what the user types stops there (see LimitTyping).
QLineEdit* NewEdit(const char* name, QWidget* parent, int typedLength = 0);
// Code, partition and zone fields: digits and blanks, at most digits of them.
QLineEdit* NewNumberEdit(const char* name, int digits, QWidget* parent);
// A byte typed in decimal, 0..255.
QLineEdit* NewByteEdit(const char* name, const QString& text, QWidget* parent);

}  // namespace vorsin::ui
