// Binding page controls to the model. A bound control stores only what the
// user does to it; every fill of a control runs under the one FillLock, and
// no binding (nor a FreeEntryCombos rule, nor a BindFlag handler) stores
// while it is held, so that a page's refresh() shows the model and cannot
// write it. The fields find their value anew at each edit: a control never
// keeps a record it found earlier by position.
#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;

namespace vorsin::ui {

// Held while controls are filled; nestable. Bindings do not store meanwhile.
class FillLock {
 public:
  FillLock();
  ~FillLock();
  FillLock(const FillLock&) = delete;
  FillLock& operator=(const FillLock&) = delete;
  static bool held();
};

// Shows again what the bound control (or, for ShowBound on a page, every
// control bound below it) stands for, under the fill lock.
void ShowBound(QWidget* control);
void ShowAllBound(QWidget* page);

// --- Line edits -------------------------------------------------------------

struct TextField {
  std::function<QString()> shown;              // the stored value as the edit shows it
  std::function<void(const QString&)> store;   // keeps a text the user gave
};
// A Windows-1251 string of the model; find() gives nullptr when there is
// nothing to edit (it then shows empty and stores nothing).
TextField StringField(std::function<std::string*()> find);

struct LineRule {
  std::function<bool(QChar)> accept;  // typed characters it refuses are dropped
  int typedLength = 0;                // typing stops there; a text the program sets stays whole
  std::function<QString(const QString&)> kept;  // what is kept of a text (default: all of it)
  bool showKeptAtEdit = false;        // an edit shows at once what is kept (a refused paste goes)
  std::function<void()> stored;       // after each store: the page's rules
  std::function<void()> left;         // after leaving, whether it stored or not
};
// Stores at each edit (a menu command does not take the focus away, so
// leaving alone could miss what was typed) and again on leaving a modified
// edit, which then shows what was kept. Passing through stores nothing.
void BindLineEdit(QLineEdit* edit, TextField field, LineRule rule = {});
// Shows a text in any edit under the fill lock.
void FillLine(QLineEdit* edit, const QString& text);
// What a phone number field (general and remote pages) keeps of a text: a
// valid number whole, anything else nothing.
QString KeptNumberText(const QString& text);

// --- Lists of codes -----------------------------------------------------------

struct CodeField {
  std::function<std::optional<int>()> get;  // nothing: no item shows
  std::function<void(int)> set;
};
// Item i of the box stands for codes[i] (for i itself when codes is empty).
// Choosing an item stores its code; a stored code no item stands for shows
// no item and is kept.
void BindCombo(QComboBox* box, const QStringList& items, CodeField field, std::vector<int> codes = {},
               std::function<void()> stored = {});
// The item of code, or -1.
int ItemOfCode(const std::vector<int>& codes, int count, int code);

// --- Check boxes --------------------------------------------------------------

struct CheckField {
  std::function<std::optional<bool>()> get;  // nothing: shown unchecked
  std::function<void(bool)> set;
};
void BindCheck(QCheckBox* box, CheckField field, std::function<void()> stored = {});
// (BindFlag and BindInvertedFlag, a bit of a byte, are in ui/flag_boxes.h.)
// Shows a state in any box under the fill lock.
void FillCheck(QCheckBox* box, bool checked);

}  // namespace vorsin::ui
