// The one place where the model's Windows-1251 bytes meet Qt's strings.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "model/file_path.h"

namespace vorsin::ui {

// Windows-1251 bytes to a QString.
QString Q(const std::string& cp1251);
// A QString to Windows-1251 bytes; characters the code page lacks become '?'.
std::string Cp1251(const QString& text);
// Whether every character of the text has its Windows-1251 byte (so that a
// '?' in the bytes was typed, not put for a character the page lacks).
bool InCodePage(const QString& text);

// A file name from a dialog or a folder to the model's FilePath, and back for
// showing it: the one conversion each way.
FilePath ToFsPath(const QString& path);
QString FromFsPath(const FilePath& path);

// A list of Windows-1251 texts as the items of a box.
QStringList Texts(const std::vector<std::string>& cp1251);

}  // namespace vorsin::ui
