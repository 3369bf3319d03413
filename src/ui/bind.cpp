#include "ui/bind.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>
#include <memory>

#include "model/general_rules.h"
#include "ui/control_events.h"
#include "ui/text.h"

namespace vorsin::ui {
namespace {

int fillDepth = 0;

// What a bound control shows, kept as its child so that a page finds the
// bindings below it without a list of its own.
class Binding final : public QObject {
 public:
  Binding(QObject* control, std::function<void()> show) : QObject(control), show_(std::move(show)) {}
  void show() const {
    const FillLock fill;
    show_();
  }

 private:
  std::function<void()> show_;
};

}  // namespace

FillLock::FillLock() { ++fillDepth; }
FillLock::~FillLock() { --fillDepth; }
bool FillLock::held() { return fillDepth > 0; }

void ShowBound(QWidget* control) {
  for (QObject* child : control->children()) {
    if (const auto* b = dynamic_cast<const Binding*>(child)) b->show();
  }
}

void ShowAllBound(QWidget* page) {
  for (QObject* child : page->findChildren<QObject*>()) {
    if (const auto* b = dynamic_cast<const Binding*>(child)) b->show();
  }
}

TextField StringField(std::function<std::string*()> find) {
  return {[find] {
            const std::string* s = find();
            return s == nullptr ? QString() : Q(*s);
          },
          [find](const QString& text) {
            if (std::string* s = find()) *s = Cp1251(text);
          }};
}

void FillLine(QLineEdit* edit, const QString& text) {
  const FillLock fill;
  const QSignalBlocker block(edit);
  edit->setText(text);
}

QString KeptNumberText(const QString& text) {
  return InCodePage(text) ? Q(KeptNumber(Cp1251(text))) : QString();
}

void BindLineEdit(QLineEdit* edit, TextField field, LineRule rule) {
  if (rule.accept) FilterKeys(edit, rule.accept);
  if (rule.typedLength > 0) LimitTyping(edit, rule.typedLength);
  struct State {
    TextField field;
    LineRule rule;
  };
  const auto s = std::make_shared<State>(State{std::move(field), std::move(rule)});
  new Binding(edit, [edit, s] { FillLine(edit, s->field.shown()); });
  const auto store = [edit, s](bool leaving) {
    if (FillLock::held()) return;
    const QString text = edit->text();
    const QString kept = s->rule.kept ? s->rule.kept(text) : text;
    if (kept != text && (leaving || s->rule.showKeptAtEdit)) FillLine(edit, kept);
    s->field.store(kept);
    if (leaving) edit->setModified(false);  // passing through again keeps what is stored
    if (s->rule.stored) s->rule.stored();
  };
  QObject::connect(edit, &QLineEdit::textEdited, edit, [store] { store(false); });
  OnLeave(edit, [edit, s, store] {
    if (edit->isModified()) store(true);
    if (s->rule.left) s->rule.left();
  });
}

int ItemOfCode(const std::vector<int>& codes, int count, int code) {
  if (codes.empty()) return code >= 0 && code < count ? code : -1;
  for (size_t i = 0; i < codes.size() && static_cast<int>(i) < count; ++i) {
    if (codes[i] == code) return static_cast<int>(i);
  }
  return -1;
}

void BindCombo(QComboBox* box, const QStringList& items, CodeField field, std::vector<int> codes,
               std::function<void()> stored) {
  {
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(items);
  }
  const auto f = std::make_shared<CodeField>(std::move(field));
  const auto c = std::make_shared<const std::vector<int>>(std::move(codes));
  new Binding(box, [box, f, c] {
    const std::optional<int> code = f->get();
    const QSignalBlocker block(box);
    box->setCurrentIndex(code ? ItemOfCode(*c, box->count(), *code) : -1);
  });
  QObject::connect(box, &QComboBox::activated, box, [f, c, stored = std::move(stored)](int index) {
    if (FillLock::held() || index < 0) return;
    if (!c->empty() && index >= static_cast<int>(c->size())) return;
    f->set(c->empty() ? index : (*c)[index]);
    if (stored) stored();
  });
}

void FillCheck(QCheckBox* box, bool checked) {
  const FillLock fill;
  const QSignalBlocker block(box);
  box->setChecked(checked);
}

void BindCheck(QCheckBox* box, CheckField field, std::function<void()> stored) {
  const auto f = std::make_shared<CheckField>(std::move(field));
  new Binding(box, [box, f] { FillCheck(box, f->get().value_or(false)); });
  QObject::connect(box, &QCheckBox::toggled, box, [f, stored = std::move(stored)](bool checked) {
    if (FillLock::held()) return;
    f->set(checked);
    if (stored) stored();
  });
}

}  // namespace vorsin::ui
