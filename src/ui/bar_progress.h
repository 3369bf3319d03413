// Progress of device transfers on a progress bar; the window repaints
// between frames because the transfers run on the window thread.
#pragma once

#include "model/messenger.h"

class QProgressBar;

namespace vorsin::ui {

class BarProgress final : public Progress {
 public:
  explicit BarProgress(QProgressBar* bar) : bar_(bar) {}
  void SetMaximum(int maximum) override;
  void SetPosition(int position) override;
  void Advance(int by) override;
  void Breathe() override;

 private:
  QProgressBar* bar_;
};

}  // namespace vorsin::ui
