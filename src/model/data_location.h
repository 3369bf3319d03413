// Where the program keeps its vocabulary file and starts its project dialogs.
//
// A folder holding the executable and a RorEdad.ini is a portable copy: both
// lie there, as they always have. An installed copy cannot write beside
// itself, so it reads the user's own copy of the vocabulary (made from the
// shipped one on first start) and keeps project files under the user's
// documents: on Linux $XDG_DATA_HOME/vorsin/RorEdad.ini and
// $XDG_DOCUMENTS_DIR/Vorsin; on Windows, where a copy under Program Files or
// in a folder the user may not write is installed, %APPDATA%\Vorsin and
// Documents\Vorsin.
#pragma once

#include <functional>
#include <string>

namespace vorsin {

// The user's own folders under userDirectory, made on first use so that the
// file dialogs start inside them.
inline constexpr char kCaptureFolder[] = "Capture";    // terminal captures and saved memos
inline constexpr char kFirmwareFolder[] = "Firmware";  // *.hwr files for the loader

struct DataLocation {
  bool portable = true;
  std::string vocabularyPath;    // the RorEdad.ini to read and to write profiles into
  std::string shippedVocabulary; // installed layout: the copy the user's one is made from
  std::string projectDirectory;  // where the open and save dialogs start
  std::string userDirectory;     // the user's own files beside them: Capture/, Firmware/
  // The window's own settings ("Проверить запись"): portable, vorsin.ini
  // beside RorEdad.ini; installed, $XDG_CONFIG_HOME/Vorsin/vorsin.ini
  // (Windows: %APPDATA%\Vorsin\vorsin.ini).
  std::string settingsPath;
};

inline constexpr char kSettingsFileName[] = "vorsin.ini";

// Looks up an environment variable; nullptr when it is not set.
using EnvironmentLookup = std::function<const char*(const char*)>;

// Decides the layout for an executable in programDir. The environment is
// asked for HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_DOCUMENTS_DIR; on
// Windows for ProgramFiles, ProgramFiles(x86), ProgramW6432, APPDATA and
// "Documents" (the shell's documents folder). Names are UTF-8.
DataLocation FindDataLocation(const std::string& programDir, const EnvironmentLookup& env);
DataLocation FindDataLocation(const std::string& programDir);

// Installed layout: makes the user's vocabulary folder and copies the shipped
// file there when the user has none yet. False with a reason (UTF-8) when the
// copy cannot be made; the program then goes on with the defaults it has.
bool PrepareDataLocation(const DataLocation& location, std::string& error);

}  // namespace vorsin
