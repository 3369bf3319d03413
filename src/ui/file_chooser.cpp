#include "ui/file_chooser.h"

#include <QFileDialog>

namespace vorsin::ui {

QString DatFilter() { return QStringLiteral("*.dat (*.dat)"); }

FileChooser DialogFileChooser() {
  FileChooser chooser;
  chooser.open = [](QWidget* parent, const QString& directory, const QString& filter) {
    return QFileDialog::getOpenFileName(parent, QString(), directory, filter);
  };
  chooser.save = [](QWidget* parent, const QString& directory, const QString& filter) {
    QFileDialog dialog(parent, QString(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("dat"));
    // Qt's own dialog applies the suffix before asking about overwriting.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
  chooser.pick = [](QWidget* parent, const QString& directory, const QString& filter) {
    QFileDialog dialog(parent, QString(), directory, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
  };
  return chooser;
}

}  // namespace vorsin::ui
