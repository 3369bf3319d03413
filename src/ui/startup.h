// Start-up: the windows of the program, created in their fixed order.
#pragma once

#include <memory>

#include "ui/main_window.h"

namespace vorsin::ui {

// Creates TForm1 (which resets the configuration and builds its pages),
// then TForm2..TForm5, T_FileDialog, TForm6, TForm7 (TForm8, never shown, is left out).
std::unique_ptr<MainWindow> CreateWindows(WindowSetup setup);

}  // namespace vorsin::ui
