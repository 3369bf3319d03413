#include "ui/replace_dialog.h"

#include <QHBoxLayout>
#include <algorithm>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorsin::ui {

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("T_FileDialog");
  label_ = new QLabel(this);
  label_->setObjectName("Label1");
  auto* buttons = new QHBoxLayout;
  const struct {
    const char* name;
    QString caption;
    int result;
  } kButtons[] = {{"Button1", QStringLiteral("Заменить"), kReplace},
                  {"Button2", QStringLiteral("Добавить"), kAppend},
                  {"Button3", QStringLiteral("Отменить"), kCancel}};
  for (const auto& b : kButtons) {
    auto* button = new QPushButton(b.caption, this);
    button->setObjectName(b.name);
    const int result = b.result;
    connect(button, &QPushButton::clicked, this, [this, result] {
      choice_ = result;
      done(result);
    });
    buttons->addWidget(button);
    // Enter appends: keeping the old capture is the choice that loses nothing.
    button->setAutoDefault(false);
    if (result == kAppend) {
      button->setDefault(true);
      append_ = button;
    }
  }
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label_);
  layout->addLayout(buttons);
}

void ReplaceDialog::setQuestion(const QString& text) {
  label_->setText(text);
  label_->adjustSize();
}

int ReplaceDialog::ask() {
  exec();
  return choice_;
}

void ReplaceDialog::showEvent(QShowEvent* event) {
  choice_ = kNone;
  resize(std::max(label_->sizeHint().width() + 80, minimumSizeHint().width()), height());
  QDialog::showEvent(event);
  append_->setFocus();
}

}  // namespace vorsin::ui
