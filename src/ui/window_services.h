// What the main window offers its pages and dialogs.
#pragma once

#include <QString>

#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"
#include "ui/file_chooser.h"

class QProgressBar;
class QWidget;

namespace vorsin {
struct ComPort;
}

namespace vorsin::ui {

class DestMenu;
class FreeEntryCombos;
class ProgrammingPage;
class ReplaceDialog;

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual Workspace& workspace() = 0;
  virtual Vocabulary& vocabulary() = 0;
  virtual Messenger& messenger() = 0;
  virtual ComPort& port() = 0;
  virtual DestMenu& destMenu() = 0;
  virtual FreeEntryCombos& combos() = 0;
  // The file of the window's own settings (UserSettings).
  virtual QString settingsPath() const = 0;

  // The window, as the parent of the dialogs the others open.
  virtual QWidget* widget() = 0;
  virtual const FileChooser& files() const = 0;
  // Where the file dialogs start, and the user's folder of this name
  // (Capture, Firmware); made on first use.
  virtual QString projectDirectory() = 0;
  virtual QString userFolder(const char* name) = 0;
  // The "заменить/добавить" question asked before writing over a file.
  virtual ReplaceDialog* replaceDialog() = 0;
  // The port, speed and password a device operation uses, and its progress bar.
  virtual ProgrammingPage* programmingPage() const = 0;
  virtual QProgressBar* progressBar() = 0;

  // Rebuilds every page from the model and the caption from the workspace.
  virtual void refreshPages() = 0;
  virtual void updateCaption() = 0;

  // A device operation runs on the window thread and lets the window
  // repaint between frames; meanwhile nothing the user can click may start
  // another one or change what it works on.
  virtual void beginOperation() = 0;
  virtual void endOperation() = 0;
  virtual bool operationRunning() const = 0;
};

// Holds the window in its operation state for a scope.
class OperationScope {
 public:
  explicit OperationScope(WindowServices& window) : window_(window) { window_.beginOperation(); }
  ~OperationScope() { window_.endOperation(); }
  OperationScope(const OperationScope&) = delete;
  OperationScope& operator=(const OperationScope&) = delete;

 private:
  WindowServices& window_;
};

}  // namespace vorsin::ui
