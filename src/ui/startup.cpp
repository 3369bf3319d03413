#include "ui/startup.h"

namespace vorsin::ui {

std::unique_ptr<MainWindow> CreateWindows(WindowSetup setup) {
  auto window = std::make_unique<MainWindow>(std::move(setup));
  window->createForms();
  return window;
}

}  // namespace vorsin::ui
