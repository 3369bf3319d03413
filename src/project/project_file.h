// Project files (*.dat): one whole configuration saved to disk and opened
// again. Two generations are read: files that begin with the "Ver 2.1"
// header and version byte, and older files that start with the general
// settings block. The markers "_block1".."_block3" announce the parts added
// later, so a file that ends before a marker still opens.
//
// Paths are FilePaths; every text inside the file is Windows-1251.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/file_path.h"
#include "model/messenger.h"
#include "model/vocabulary.h"

namespace vorsin {

// Status codes of the project file operations (0 = success). Every failure
// has already been shown to the user through the Messenger.
enum ProjectStatus {
  kProjectOk = 0,
  kProjectCannotOpen = 1,        // the file cannot be opened or read
  kProjectNewerVersion = 2,      // version byte above 1: "Обновите программное обеспечение"
  kProjectDamaged = 3,           // ends inside an item: outside the format, refused
  kProjectCannotWrite = 4,       // cannot be created or written; the old file is left intact
  kProjectNotRepresentable = 5,  // a text over 255 bytes or a list over 255 records
};

// The format version this tool writes and the highest it reads.
constexpr uint8_t kProjectFormatVersion = 1;
// A text is stored behind one length byte, a list behind one count byte.
constexpr size_t kProjectMaxText = 255;
constexpr size_t kProjectMaxCount = 255;

// "Сохранить как..": writes the configuration to path. The file is written
// to a temporary file beside the target and renamed over it, so a failed save
// leaves the previous file as it was. A text longer than 255 bytes or a list
// of more than 255 records cannot be stored behind its length byte; such a
// save is refused with a message naming the item, and nothing is written.
// On success projectFileName becomes path.
int WriteProjectFile(Workspace& ws, const FilePath& path, Messenger& messenger);

// "Открыть": resets the workspace to the defaults of the vocabulary and reads
// the file over them. On success projectFileName becomes path. On any refusal
// (newer version, damaged file) the configuration stays at those defaults and
// projectFileName keeps its previous value. A file that cannot be opened
// changes nothing.
int ReadProjectFile(Workspace& ws, Vocabulary& vocabulary, const FilePath& path,
                    Messenger& messenger);

// The same reading from bytes already in memory; sourceName labels messages
// and becomes projectFileName.
int ReadProjectBytes(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> data,
                     const FilePath& sourceName, Messenger& messenger);

// ReadProjectBytes without the reset and the messages, over a workspace a
// reset has just made, for callers that reset once and read many (a copy
// each time). On a refusal ws is left half-read: throw it away.
int DecodeProjectOver(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> data);

// The bytes of a project file for the configuration, without touching the
// disk. Returns kProjectOk, or kProjectNotRepresentable with the offending
// item described (Windows-1251) in problem.
int EncodeProject(const Configuration& config, std::vector<uint8_t>& out, std::string& problem);

// For the command line and the window alike: resets the workspace to the
// defaults and, when projectPath is not empty, reads that file over them.
int OpenWorkspace(Workspace& ws, Vocabulary& vocabulary, const FilePath& projectPath,
                  Messenger& messenger);

// The save dialog's rule: ".dat" is appended when the file name has no extension.
std::string WithDatExtension(const std::string& name);

// Where the open and save dialogs start: the tool's directory followed by "Settings".
std::string SettingsDirectory(const std::string& toolDirectory);
// The same from the path of the running executable.
std::string SettingsDirectoryBeside(const std::string& executablePath);

}  // namespace vorsin
