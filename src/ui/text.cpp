#include "ui/text.h"

#include "model/cp1251.h"

namespace vorsin::ui {

QString Q(const std::string& cp1251) { return QString::fromStdString(ToUtf8(cp1251)); }

std::string Cp1251(const QString& text) { return Cp(text.toStdString()); }

}  // namespace vorsin::ui
