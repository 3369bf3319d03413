// The window's settings that belong to the user rather than to the
// vocabulary file, in an INI file. A portable copy keeps it beside the
// program, an installed one in the user's configuration folder (the data
// location decides which). Without a file named, Qt's user scope
// (organisation "Vorsin"), which tests point at a folder of their own with
// QSettings::setPath before anything is stored.
#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace vorsin::ui {

std::unique_ptr<QSettings> UserSettings(const QString& file = QString());

// Keys.
inline constexpr char kVerifyAfterWritingKey[] = "programming/verify";
inline constexpr char kDialNumberKey[] = "programming/dialNumber";

}  // namespace vorsin::ui
