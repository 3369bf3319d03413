#include "ui/message_box_messenger.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <algorithm>

#include "ui/text.h"

namespace vorsin::ui {
namespace {

QMessageBox::Icon BoxIcon(Icon icon) {
  switch (icon) {
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Information: return QMessageBox::Information;
    case Icon::None: break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

int MessageBoxMessenger::Show(const std::string& text, const std::string& caption, Icon icon,
                              Buttons buttons) {
  QMessageBox::StandardButtons set = QMessageBox::Ok;
  QMessageBox::StandardButton yes = QMessageBox::Ok;
  if (buttons == Buttons::OkCancel) set = QMessageBox::Ok | QMessageBox::Cancel;
  if (buttons == Buttons::YesNo) {
    set = QMessageBox::Yes | QMessageBox::No;
    yes = QMessageBox::Yes;
  }
  // A note has no caption of its own; the box then names the tool rather
  // than the executable.
  const QString title = caption.empty() ? QStringLiteral("Ворсин") : Q(caption);
  QMessageBox box(BoxIcon(icon), title, Q(text), set, parent_);
  box.setDefaultButton(yes);
  // A short text gives a box too narrow for its title bar ("Нет связи."
  // left the caption as "О… а"): the box is kept wide enough for the title.
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    const int width = std::max(260, box.fontMetrics().horizontalAdvance(title) * 2 + 140);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
  }
  const int answer = box.exec();
  if (buttons == Buttons::Ok) return kAnswerOk;
  return answer == yes ? kAnswerOk : kAnswerCancel;
}

}  // namespace vorsin::ui
