// Picking a project file to open or a name to save under. The window asks
// through this seam so that tests can answer without a dialog.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace vorsin::ui {

struct FileChooser {
  // Returns the chosen path, or an empty string when the user cancelled.
  using Choose = std::function<QString(QWidget* parent, const QString& directory, const QString& filter)>;
  Choose open;
  Choose save;  // asks before overwriting an existing file
  Choose pick;  // a name to write to, without that question (the caller asks)
};

// Qt's file dialogs. The save dialog appends ".dat" itself when the name has
// no extension, so its overwrite question is about the file actually written.
FileChooser DialogFileChooser();

// "*.dat|*.dat" in Qt's filter form.
QString DatFilter();

}  // namespace vorsin::ui
