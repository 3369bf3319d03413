// The one place where the model's Windows-1251 bytes meet Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace vorsin::ui {

// Windows-1251 bytes to a QString.
QString Q(const std::string& cp1251);
// A QString to Windows-1251 bytes; characters the code page lacks become '?'.
std::string Cp1251(const QString& text);

}  // namespace vorsin::ui
