#include "ui/port_choices.h"

#include <algorithm>
#include <filesystem>

namespace vorsin::ui {

std::vector<PortChoice> SimulatorLinks(const std::string& directory) {
  std::vector<PortChoice> links;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(directory, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("pkd-sim", 0) != 0 || !entry.is_symlink(ec)) continue;
    // A link left behind by a simulator that has ended points nowhere.
    if (!std::filesystem::exists(entry.path(), ec)) continue;
    links.push_back({entry.path().string(), entry.path().string()});
  }
  std::sort(links.begin(), links.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return links;
}

std::vector<PortChoice> PortChoices() {
  std::vector<PortChoice> choices = ListPorts();
#ifndef _WIN32
  for (auto& link : SimulatorLinks("/tmp")) choices.push_back(std::move(link));
#endif
  return choices;
}

int InitialPortChoice(const std::vector<PortChoice>& choices) {
  for (size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].label.find("pkd-sim") != std::string::npos) return static_cast<int>(i);
  }
  return 0;
}

}  // namespace vorsin::ui
