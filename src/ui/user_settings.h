// The window's settings that belong to the user rather than to the
// vocabulary file: an INI file in the user's own configuration folder (Qt's
// user scope, organisation "Vorsin"). Tests point that scope at a folder of
// their own with QSettings::setPath before anything is stored.
#pragma once

#include <QSettings>
#include <memory>

namespace vorsin::ui {

std::unique_ptr<QSettings> UserSettings();

// Keys.
inline constexpr char kVerifyAfterWritingKey[] = "programming/verify";

}  // namespace vorsin::ui
