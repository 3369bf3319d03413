// Messages of the core and of the pages as modal message boxes.
#pragma once

#include "model/messenger.h"

class QWidget;

namespace vorsin::ui {

class MessageBoxMessenger final : public Messenger {
 public:
  explicit MessageBoxMessenger(QWidget* parent) : parent_(parent) {}
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;

 private:
  QWidget* parent_;
};

}  // namespace vorsin::ui
