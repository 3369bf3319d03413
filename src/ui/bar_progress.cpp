#include "ui/bar_progress.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <algorithm>

namespace vorsin::ui {

// A zero maximum would turn the bar into a busy indicator.
void BarProgress::SetMaximum(int maximum) { bar_->setMaximum(std::max(maximum, 1)); }

// QProgressBar ignores values outside its range, so clamp instead.
void BarProgress::SetPosition(int position) {
  bar_->setValue(std::clamp(position, bar_->minimum(), bar_->maximum()));
}

void BarProgress::Advance(int by) { SetPosition(bar_->value() + by); }

void BarProgress::Breathe() { QCoreApplication::processEvents(); }

}  // namespace vorsin::ui
