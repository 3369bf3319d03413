// What the main window offers its pages and dialogs.
#pragma once

#include <QString>

#include "model/configuration.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin {
struct ComPort;
}

namespace vorsin::ui {

class DestMenu;
class FreeEntryCombos;

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
