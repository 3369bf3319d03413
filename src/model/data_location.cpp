#include "model/data_location.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#ifdef _WIN32
#include <shlobj.h>
#include <windows.h>
#else
#include <pwd.h>
#include <unistd.h>
#endif

#include "model/file_path.h"
#include "model/file_replace.h"
#include "model/vocabulary.h"

namespace vorsin {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  return (dir.back() == '/' || dir.back() == '\\') ? dir + name : dir + "/" + name;
}

// Names here are UTF-8 (on Linux, the file system's bytes).
bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathFromUtf8(path), ec);
}

std::string Env(const EnvironmentLookup& env, const char* name) {
  const char* value = env ? env(name) : nullptr;
  return value != nullptr ? std::string(value) : std::string();
}

#ifdef _WIN32
// A folder name compared as Windows does: any case, either slash.
std::string FolderKey(std::string path) {
  for (char& c : path) c = c == '/' ? '\\' : c;
  while (!path.empty() && path.back() == '\\') path.pop_back();
  const std::wstring wide = PathFromUtf8(path).wstring();
  std::wstring lower(wide);
  ::CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
  return PathNarrow(FilePath(lower)) + "\\";
}

bool IsInside(const std::string& dir, const std::string& folder) {
  return !folder.empty() && FolderKey(dir).rfind(FolderKey(folder), 0) == 0;
}

// Whether the user may make files in dir: tried, as the rights tell only part of it.
bool CanWriteIn(const std::string& dir) {
  const FilePath probe = PathFromUtf8(Joined(dir, ".vorsin-" + std::to_string(::GetCurrentProcessId())));
  std::FILE* f = CreateNewFile(probe);
  if (f == nullptr) return false;
  std::fclose(f);
  RemoveFile(probe);
  return true;
}

// A known shell folder as UTF-8; empty when the system has none.
std::string ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return std::string();
  return PathNarrow(FilePath(path));
}
#else
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
#endif

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
#else
  // Under Program Files (or wherever the user may not write) the program is
  // installed: the user's vocabulary and settings under %APPDATA%\Vorsin,
  // projects, captures and firmware under Documents\Vorsin.
  const bool installed = IsInside(programDir, Env(env, "ProgramFiles")) ||
                         IsInside(programDir, Env(env, "ProgramFiles(x86)")) ||
                         IsInside(programDir, Env(env, "ProgramW6432")) || !CanWriteIn(programDir);
  const std::string appData = Env(env, "APPDATA");
  const std::string documents = Env(env, "Documents");
  if (installed && !appData.empty() && !documents.empty()) {
    where.portable = false;
    where.vocabularyPath = Joined(Joined(appData, "Vorsin"), Vocabulary::kFileName);
    where.shippedVocabulary = beside;
    where.settingsPath = Joined(Joined(appData, "Vorsin"), kSettingsFileName);
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
#ifdef _WIN32
    // The environment as Unicode, handed on as UTF-8; "Documents" is the
    // shell's documents folder, wherever the user has moved it.
    thread_local std::string value;
    if (std::string(name) == "Documents") {
      value = ShellFolder(CSIDL_PERSONAL);
    } else if (const wchar_t* wide = ::_wgetenv(PathFromUtf8(name).c_str())) {
      value = PathNarrow(FilePath(wide));
    } else if (std::string(name) == "APPDATA") {
      value = ShellFolder(CSIDL_APPDATA);
    } else {
      return nullptr;
    }
    return value.empty() ? nullptr : value.c_str();
#else
    const char* value = std::getenv(name);
    // Started without HOME (a service, env -i): the account's home folder,
    // rather than folders relative to wherever the program was started.
    if ((value == nullptr || *value == '\0') && std::string(name) == "HOME") {
      const passwd* account = ::getpwuid(::getuid());
      if (account != nullptr && account->pw_dir != nullptr) return account->pw_dir;
    }
    return value;
#endif
  });
}

bool PrepareDataLocation(const DataLocation& location, std::string& error) {
  if (location.portable || IsFile(location.vocabularyPath)) return true;
  std::error_code ec;
  const FilePath folder = PathFromUtf8(location.vocabularyPath).parent_path();
  fs::create_directories(folder, ec);
  if (ec) {
    error = "cannot create " + PathUtf8(folder) + ": " + ec.message();
    return false;
  }
  std::ifstream in(PathFromUtf8(location.shippedVocabulary), std::ios::binary);
  if (!in) {
    error = "cannot read " + location.shippedVocabulary;
    return false;
  }
  const std::string text((std::istreambuf_iterator<char>(in)), {});
  // Made beside its final name and renamed, so a second instance starting at
  // the same time never reads half a file.
  const FilePath temp = PathFromUtf8(location.vocabularyPath + ".new");
  const FilePath target = PathFromUtf8(location.vocabularyPath);
  RemoveFile(temp);
  std::FILE* out = CreateNewFile(temp);
  if (out == nullptr) {
    // Another instance starting at the same moment may be making it.
    if (IsFile(location.vocabularyPath)) return true;
    error = "cannot write " + PathUtf8(temp);
    return false;
  }
  const bool written = (text.empty() || std::fwrite(text.data(), 1, text.size(), out) == text.size()) &&
                       std::fflush(out) == 0;
  if (std::fclose(out) != 0 || !written || !RenameOver(temp, target)) {
    RemoveFile(temp);
    if (IsFile(location.vocabularyPath)) return true;
    error = "cannot write " + location.vocabularyPath;
    return false;
  }
  return true;
}

}  // namespace vorsin
