// What the main window asks of a page: show the model anew, and react to
// being shown or left.
#pragma once

namespace vorsin::ui {

class Page {
 public:
  virtual ~Page() = default;
  // Rebuilds the controls from the model (after "Новый", opening a file or
  // reading the device).
  virtual void refresh() = 0;
  virtual void shown() { refresh(); }
  virtual void left() {}
};

}  // namespace vorsin::ui
