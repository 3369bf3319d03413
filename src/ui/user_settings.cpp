#include "ui/user_settings.h"

namespace vorsin::ui {

std::unique_ptr<QSettings> UserSettings(const QString& file) {
  if (!file.isEmpty()) return std::make_unique<QSettings>(file, QSettings::IniFormat);
  // INI everywhere (not the Windows registry), so one setPath moves it.
  return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vorsin"),
                                     QStringLiteral("vorsin"));
}

}  // namespace vorsin::ui
