// Project files on disk: opening, and saving through a temporary file so
// that a failed save never leaves a half-written file in place of the old one.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
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

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& data, bool& tooLarge) {
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

bool WriteAll(std::FILE* f, const std::vector<uint8_t>& bytes) {
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) return false;
  // The rename must not land before the data does.
  return FlushToDisk(f);
}

// Writes bytes to a fresh file beside the file path names (through links) and
// renames it over that file, which keeps its permission bits.
bool ReplaceFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = SaveTarget(name);
  std::random_device random;
  std::string temp;
  std::FILE* f = nullptr;
  for (int attempt = 0; attempt < 16 && !f; ++attempt) {
    temp = path + ".tmp" + std::to_string(random() % 1000000u);
    f = CreateNewFile(temp);  // never reuse someone's file
  }
  if (!f) return false;
  const bool written = KeepPermissions(path, f) && WriteAll(f, bytes);
  const bool closed = std::fclose(f) == 0;
  if (written && closed && RenameOver(temp, path)) return true;
  std::remove(temp.c_str());
  return false;
}

}  // namespace

int WriteProjectFile(Workspace& ws, const std::string& path, Messenger& messenger) {
  std::vector<uint8_t> bytes;
  std::string problem;
  if (EncodeProject(ws.config, bytes, problem) != kProjectOk) {
    messenger.Error(Cp("Настройки не сохранены: ") + problem);
    return kProjectNotRepresentable;
  }
  if (!ReplaceFile(path, bytes)) {
    messenger.Error(Cp("Не удалось записать файл ") + Cp(path));
    return kProjectCannotWrite;
  }
  ws.projectFileName = path;
  return kProjectOk;
}

int ReadProjectFile(Workspace& ws, Vocabulary& vocabulary, const std::string& path,
                    Messenger& messenger) {
  std::vector<uint8_t> data;
  bool tooLarge = false;
  if (!ReadWholeFile(path, data, tooLarge)) {
    // Nothing has been touched yet: the configuration stays as it was.
    if (tooLarge) {
      messenger.Error(Cp("Файл не является файлом настроек: ") + Cp(path));
      return kProjectDamaged;
    }
    messenger.Error(Cp("Не удалось открыть файл ") + Cp(path));
    return kProjectCannotOpen;
  }
  return ReadProjectBytes(ws, vocabulary, data, path, messenger);
}

int OpenWorkspace(Workspace& ws, Vocabulary& vocabulary, const std::string& projectPath,
                  Messenger& messenger) {
  if (projectPath.empty()) {
    ResetToDefaults(ws, vocabulary);
    return kProjectOk;
  }
  return ReadProjectFile(ws, vocabulary, projectPath, messenger);
}

}  // namespace vorsin
