#include "ui/compare_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vorsin::ui {

CompareDialog::CompareDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("CompareDialog");
  sides_ = new QLabel(this);
  sides_->setObjectName("CompareSides");
  sides_->setWordWrap(true);
  list_ = new QPlainTextEdit(this);
  list_->setObjectName("CompareText");
  list_->setReadOnly(true);
  list_->setLineWrapMode(QPlainTextEdit::NoWrap);
  list_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(QStringLiteral("Копировать"), QDialogButtonBox::ActionRole);
  copy->setObjectName("CompareCopy");
  connect(copy, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(text()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(sides_);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  resize(640, 400);
}

void CompareDialog::showDifferences(const QString& title, const QString& sides,
                                    const std::vector<std::string>& lines) {
  setWindowTitle(title);
  QStringList text;
  for (const auto& line : lines) text << QString::fromStdString(line);
  if (lines.empty()) {
    sides_->setText(QStringLiteral("Настройки совпадают"));
    list_->setPlainText(QStringLiteral("Настройки совпадают"));
  } else {
    sides_->setText(sides + QStringLiteral("\nРазличий: ") + QString::number(lines.size()));
    list_->setPlainText(text.join(u'\n'));
  }
  show();
  raise();
  activateWindow();
}

QString CompareDialog::text() const { return list_->toPlainText(); }

}  // namespace vorsin::ui
