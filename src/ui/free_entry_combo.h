// Editable value combo boxes whose text the user may overwrite: the items
// are suggestions and the value is taken from the text. One instance serves
// every such box of the window and keeps their shared typing state.
//
// The first key (other than Enter) clears the text and starts typing; while
// typing nothing is stored. Enter commits: the box's rule converts the text
// and stores it, and the stored value is shown again formatted. Choosing an
// item while not typing commits at once. Leaving the box shows the stored
// value again and discards what was typed or picked meanwhile.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QComboBox;
class QKeyEvent;

namespace vorsin::ui {

class FreeEntryCombos : public QObject {
  Q_OBJECT
 public:
  struct Rule {
    std::function<void(const QString& text)> commit;  // convert and store
    std::function<QString()> shown;                   // stored value, formatted
    std::function<bool(const QKeyEvent&)> acceptKey;  // optional typing filter
    bool clearOnType = true;         // the first key of a typing run clears the text
    bool enterNeedsTyping = false;   // Enter outside typing stores nothing
    bool keepPickedText = false;     // a pick from the list stays shown as picked
  };

  explicit FreeEntryCombos(QObject* parent = nullptr) : QObject(parent) {}

  // Makes the box editable and puts it under this behaviour.
  void attach(QComboBox* box, Rule rule);
  // Shows the stored value (the refresh of a page).
  void show(QComboBox* box);
  bool typing() const { return typing_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void commit(QComboBox* box, const QString& text, bool showStored = true);
  bool keyPress(QComboBox* box, QKeyEvent* key);

  std::map<QComboBox*, Rule> rules_;
  bool typing_ = false;
};

// Typing filter of count boxes: digits and Backspace only.
bool DigitsOnly(const QKeyEvent& key);

}  // namespace vorsin::ui
