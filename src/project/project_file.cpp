// Project files on disk: opening, and saving through a temporary file so
// that a failed save never leaves a half-written file in place of the old one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/file_replace.h"
#include "project/project_file.h"

namespace vorsin {
namespace {

// Far above the largest file the format can describe (about 72 MB with every
// count at 255); anything bigger is not a project file.
constexpr std::uintmax_t kMaxProjectFileSize = 128u << 20;

bool ReadWholeFile(const FilePath& path, std::vector<uint8_t>& data, bool& tooLarge) {
  tooLarge = false;
  std::error_code ec;
  // A folder opens as a stream on some systems but is no file to read.
  if (std::filesystem::is_directory(path, ec)) return false;
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  // Read in pieces up to the limit: a device or pipe has no size to check
  // beforehand and may never end.
  data.clear();
  char piece[64 * 1024];
  while (file) {
    file.read(piece, sizeof piece);
    data.insert(data.end(), piece, piece + file.gcount());
    if (data.size() > kMaxProjectFileSize) {
      tooLarge = true;
      data.clear();
      return false;
    }
  }
  return !file.bad();
}

}  // namespace

int WriteProjectFile(Workspace& ws, const FilePath& path, Messenger& messenger) {
  std::vector<uint8_t> bytes;
  std::string problem;
  if (EncodeProject(ws.config, bytes, problem) != kProjectOk) {
    messenger.Error(Cp("Настройки не сохранены: ") + problem);
    return kProjectNotRepresentable;
  }
  if (!ReplaceFileWith(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    messenger.Error(Cp("Не удалось записать файл ") + PathText(path));
    return kProjectCannotWrite;
  }
  ws.projectFileName = path;
  return kProjectOk;
}

int ReadProjectFile(Workspace& ws, Vocabulary& vocabulary, const FilePath& path,
                    Messenger& messenger) {
  std::vector<uint8_t> data;
  bool tooLarge = false;
  if (!ReadWholeFile(path, data, tooLarge)) {
    // Nothing has been touched yet: the configuration stays as it was.
    if (tooLarge) {
      messenger.Error(Cp("Файл не является файлом настроек: ") + PathText(path));
      return kProjectDamaged;
    }
    messenger.Error(Cp("Не удалось открыть файл ") + PathText(path));
    return kProjectCannotOpen;
  }
  return ReadProjectBytes(ws, vocabulary, data, path, messenger);
}

int OpenWorkspace(Workspace& ws, Vocabulary& vocabulary, const FilePath& projectPath,
                  Messenger& messenger) {
  if (projectPath.empty()) {
    ResetToDefaults(ws, vocabulary);
    return kProjectOk;
  }
  return ReadProjectFile(ws, vocabulary, projectPath, messenger);
}

}  // namespace vorsin
