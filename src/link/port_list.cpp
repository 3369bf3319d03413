#include "link/port_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vorsin {

std::string PortNameForIndex(int index) {
#ifdef _WIN32
  return "COM" + std::to_string(index + 1);
#else
  return "/dev/ttyS" + std::to_string(index);
#endif
}

namespace {

// The number of "COMn" (any case, "\\.\" before it allowed); 0 for other names.
int ComNumber(std::string name) {
  if (name.rfind("\\\\.\\", 0) == 0) name.erase(0, 4);
  if (name.size() < 4 || name.size() > 6) return 0;
  for (int i = 0; i < 3; ++i)
    if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
  int number = 0;
  for (size_t i = 3; i < name.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
    number = number * 10 + (name[i] - '0');
  }
  return number;
}

#ifdef _WIN32
// The ports Windows has: the serial drivers' list in the registry, and the
// DOS device names (where a driver or wine made a port without the list).
std::vector<std::string> SystemComNames() {
  std::vector<std::string> names;
  HKEY key;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) == ERROR_SUCCESS) {
    for (DWORD i = 0;; ++i) {
      char value[256];
      char data[256];
      DWORD valueSize = sizeof value, dataSize = sizeof data - 1, type = 0;
      if (::RegEnumValueA(key, i, value, &valueSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
          ERROR_SUCCESS)
        break;
      if (type != REG_SZ) continue;
      data[dataSize] = '\0';
      names.emplace_back(data);
    }
    ::RegCloseKey(key);
  }
  std::vector<char> devices(65536);
  const DWORD got = ::QueryDosDeviceA(nullptr, devices.data(), static_cast<DWORD>(devices.size()));
  for (DWORD at = 0; at < got && devices[at] != '\0';) {
    names.emplace_back(&devices[at]);
    at += static_cast<DWORD>(names.back().size()) + 1;
  }
  return names;
}
#endif

}  // namespace

std::vector<std::string> OtherComPorts(const std::vector<std::string>& systemNames) {
  std::vector<int> numbers;
  for (const auto& name : systemNames) {
    const int n = ComNumber(name);
    if (n > kNumberedPorts) numbers.push_back(n);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  std::vector<std::string> out;
  for (const int n : numbers) out.push_back("COM" + std::to_string(n));
  return out;
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
#elif defined(_WIN32)
  for (const auto& name : OtherComPorts(SystemComNames())) out.push_back({name, name});
#endif
  return out;
}

}  // namespace vorsin
