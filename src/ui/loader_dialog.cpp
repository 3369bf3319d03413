#include "ui/loader_dialog.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "model/data_location.h"
#include "tools/capture_log.h"
#include "tools/firmware_upload.h"
#include "ui/bar_progress.h"
#include "ui/window_services.h"
#include "ui/text.h"

namespace vorsin::ui {

LoaderDialog::LoaderDialog(WindowServices& window) : QDialog(window.widget()), window_(window) {
  setObjectName("TForm6");
  setWindowTitle(QStringLiteral("Загрузчик"));
  setModal(true);
  edit_ = new QLineEdit(this);
  edit_->setObjectName("Edit1");
  edit_->setReadOnly(true);
  edit_->setEnabled(false);
  edit_->setMinimumWidth(300);
  open_ = new QPushButton(QStringLiteral("Открыть"), this);
  open_->setObjectName("Button1");
  program_ = new QPushButton(QStringLiteral("Запрограммировать"), this);
  program_->setObjectName("Button2");
  program_->setAutoDefault(false);
  open_->setAutoDefault(false);
  bar_ = new QProgressBar(this);
  bar_->setObjectName("ProgressBar1");
  bar_->setTextVisible(false);
  address_ = new QLabel(this);
  address_->setObjectName("Label1");
  connect(open_, &QPushButton::clicked, this, &LoaderDialog::chooseFile);
  connect(program_, &QPushButton::clicked, this, &LoaderDialog::upload);

  auto* layout = new QGridLayout(this);
  layout->addWidget(edit_, 0, 0);
  layout->addWidget(open_, 0, 1);
  layout->addWidget(bar_, 1, 0);
  layout->addWidget(program_, 1, 1);
  layout->addWidget(address_, 2, 0, 1, 2);
}

void LoaderDialog::showEvent(QShowEvent* event) {
  window_.port().LoaderShown = true;
  edit_->setText(QDir::toNativeSeparators(path_));
  bar_->setValue(0);
  QDialog::showEvent(event);
}

void LoaderDialog::hideEvent(QHideEvent* event) {
  window_.port().LoaderShown = false;
  QDialog::hideEvent(event);
}

// The upload runs inside this dialog's handler; it ends before the dialog may.
void LoaderDialog::closeEvent(QCloseEvent* event) {
  if (uploading_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void LoaderDialog::reject() {
  if (!uploading_) QDialog::reject();
}

void LoaderDialog::chooseFile() {
  if (uploading_) return;
  const QString chosen = window_.files().open(this, window_.userFolder(kFirmwareFolder),
                                              QStringLiteral("*.hwr (*.hwr)"));
  if (chosen.isEmpty()) return;
  path_ = FromFsPath(WithExtension(ToFsPath(chosen), ".hwr"));
  edit_->setText(QDir::toNativeSeparators(path_));
}

void LoaderDialog::upload() {
  if (uploading_ || window_.operationRunning()) return;
  const OperationScope scope(window_);
  uploading_ = true;
  open_->setEnabled(false);
  program_->setEnabled(false);
  BarProgress progress(bar_);
  UploadHooks hooks;
  hooks.address = [this](const std::string& address) { address_->setText(Q(address)); };
  UploadFirmware(window_.port(), ToFsPath(path_), window_.messenger(), progress, hooks);
  open_->setEnabled(true);
  program_->setEnabled(true);
  uploading_ = false;
}

}  // namespace vorsin::ui
