#include "model/data_location.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

#include "model/file_replace.h"
#include "model/vocabulary.h"

namespace vorsin {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return (dir.back() == '/' || dir.back() == '\\') ? dir + name : dir + "/" + name;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

std::string Env(const EnvironmentLookup& env, const char* name) {
  const char* value = env ? env(name) : nullptr;
  return value != nullptr ? std::string(value) : std::string();
}

// XDG_DOCUMENTS_DIR as xdg-user-dirs keeps it: a line XDG_DOCUMENTS_DIR="$HOME/..."
// in $XDG_CONFIG_HOME/user-dirs.dirs.
std::string UserDirsDocuments(const std::string& configHome, const std::string& home) {
  std::ifstream in(Joined(configHome, "user-dirs.dirs"));
  std::string line;
  while (std::getline(in, line)) {
    const std::string key = "XDG_DOCUMENTS_DIR=\"";
    if (line.rfind(key, 0) != 0) continue;
    const size_t end = line.find('"', key.size());
    if (end == std::string::npos) return std::string();
    std::string value = line.substr(key.size(), end - key.size());
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    // Only an absolute path other than the home folder itself names a documents folder.
    return (value.empty() || value.front() != '/') ? std::string() : value;
  }
  return std::string();
}

}  // namespace

DataLocation FindDataLocation(const std::string& programDir, const EnvironmentLookup& env) {
  DataLocation where;
  const std::string beside = Joined(programDir, Vocabulary::kFileName);
#ifndef _WIN32
  if (!IsFile(beside)) {
    where.portable = false;
    const std::string home = Env(env, "HOME");
    std::string dataHome = Env(env, "XDG_DATA_HOME");
    if (dataHome.empty() || dataHome.front() != '/') dataHome = Joined(home, ".local/share");
    where.vocabularyPath = Joined(Joined(dataHome, "vorsin"), Vocabulary::kFileName);
    // bin/../share/vorsin, so that a copy under /usr/local or /opt finds its own file.
    where.shippedVocabulary = Joined(Joined(programDir, "../share/vorsin"), Vocabulary::kFileName);
    if (!IsFile(where.shippedVocabulary)) where.shippedVocabulary = "/usr/share/vorsin/RorEdad.ini";
    std::string configHome = Env(env, "XDG_CONFIG_HOME");
    if (configHome.empty() || configHome.front() != '/') configHome = Joined(home, ".config");
    where.settingsPath = Joined(Joined(configHome, "Vorsin"), kSettingsFileName);
    std::string documents = Env(env, "XDG_DOCUMENTS_DIR");
    if (documents.empty() || documents.front() != '/') documents = UserDirsDocuments(configHome, home);
    if (documents.empty()) documents = home;
    where.projectDirectory = Joined(documents, "Vorsin");
    where.userDirectory = where.projectDirectory;
    return where;
  }
#endif
  where.vocabularyPath = beside;
  where.projectDirectory = Joined(programDir, "Settings");
  where.userDirectory = programDir;
  where.settingsPath = Joined(programDir, kSettingsFileName);
  return where;
}

DataLocation FindDataLocation(const std::string& programDir) {
  return FindDataLocation(programDir, [](const char* name) -> const char* {
    const char* value = std::getenv(name);
#ifndef _WIN32
    // Started without HOME (a service, env -i): the account's home folder,
    // rather than folders relative to wherever the program was started.
    if ((value == nullptr || *value == '\0') && std::string(name) == "HOME") {
      const passwd* account = ::getpwuid(::getuid());
      if (account != nullptr && account->pw_dir != nullptr) return account->pw_dir;
    }
#endif
    return value;
  });
}

bool PrepareDataLocation(const DataLocation& location, std::string& error) {
  if (location.portable || IsFile(location.vocabularyPath)) return true;
  std::error_code ec;
  fs::create_directories(fs::path(location.vocabularyPath).parent_path(), ec);
  if (ec) {
    error = "cannot create " + fs::path(location.vocabularyPath).parent_path().string() + ": " + ec.message();
    return false;
  }
  std::ifstream in(location.shippedVocabulary, std::ios::binary);
  if (!in) {
    error = "cannot read " + location.shippedVocabulary;
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  // Made beside its final name and renamed, so a second instance starting at
  // the same time never reads half a file.
  const std::string temp = location.vocabularyPath + ".new";
  std::remove(temp.c_str());
  std::FILE* out = CreateNewFile(temp);
  if (out == nullptr) {
    // Another instance starting at the same moment may be making it.
    if (IsFile(location.vocabularyPath)) return true;
    error = "cannot write " + temp;
    return false;
  }
  const bool written = (text.empty() || std::fwrite(text.data(), 1, text.size(), out) == text.size()) &&
                       std::fflush(out) == 0;
  if (std::fclose(out) != 0 || !written || !RenameOver(temp, location.vocabularyPath)) {
    std::remove(temp.c_str());
    if (IsFile(location.vocabularyPath)) return true;
    error = "cannot write " + location.vocabularyPath;
    return false;
  }
  return true;
}

}  // namespace vorsin
