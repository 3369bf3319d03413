// File names around project files: the save dialog's extension rule and the
// folder the dialogs start in.
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string WithDatExtension(const std::string& name) {
  size_t start = name.size();
  while (start > 0 && !IsSeparator(name[start - 1])) --start;
  const size_t dot = name.rfind('.');
  // A dot that leads the file name (".dat" alone, a hidden file) is not an extension.
  const bool hasDot = dot != std::string::npos && dot > start;
  if (!hasDot) return name + ".dat";
  // "name." : the user typed the dot but no extension.
  if (dot + 1 == name.size()) return name + "dat";
  return name;
}

std::string SettingsDirectory(const std::string& toolDirectory) {
  if (toolDirectory.empty()) return "Settings";
  if (IsSeparator(toolDirectory.back())) return toolDirectory + "Settings";
  return toolDirectory + "/Settings";
}

std::string SettingsDirectoryBeside(const std::string& executablePath) {
  return SettingsDirectory(DirectoryOf(executablePath));
}

}  // namespace vorsin
