#include "link/port_list.h"

#include <algorithm>
#include <filesystem>

namespace vorsin {

std::string PortNameForIndex(int index) {
#ifdef _WIN32
  return "COM" + std::to_string(index + 1);
#else
  return "/dev/ttyS" + std::to_string(index);
#endif
}

std::vector<PortChoice> ListPorts() {
  std::vector<PortChoice> out;
  for (int i = 0; i < kNumberedPorts; ++i)
    out.push_back({"Com" + std::to_string(i + 1), PortNameForIndex(i)});
#ifdef __linux__
  std::vector<std::string> usb;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/dev", ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0)
      usb.push_back(entry.path().string());
  }
  std::sort(usb.begin(), usb.end());
  for (const auto& path : usb) out.push_back({path, path});
#endif
  return out;
}

}  // namespace vorsin
