// "diff": what differs between two project files, or between a device and a
// project file, in the installer's terms, one line per difference.
// Exit 0 when equal, 1 when they differ, 2 on error.
#include <cstdlib>
#include <iostream>

#include "app/cli/cli.h"
#include "image/device_compare.h"
#include "link/com_port.h"
#include "link/port_list.h"
#include "model/config_diff.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

constexpr const char* kUsage =
    "usage: vorsin-cli diff A.dat B.dat\n"
    "       vorsin-cli diff --port P [--speed B] [--password D] FILE.dat\n"
    "With --port the device is read as \"Считать\" reads it (nothing is written to the device or the file)\n"
    "and compared with FILE as a device programmed with FILE would give it back; the device is on the left\n"
    "of each \"→\". The time of the last programming is not compared.\n";

int PrintDifferences(const Configuration& a, const Configuration& b) {
  const auto lines = DiffConfigurations(a, b);
  for (const auto& line : lines) std::cout << line << "\n";
  return lines.empty() ? 0 : 1;
}

// --port (a device path, or Com1..Com5 as the window lists them) and --speed.
bool PortOptions(const Args& args, ComPort& port) {
  const std::string name = *args.Option("port");
  if (name.empty()) return false;
  port.portName = name;
  if (name.size() == 4 && (name.rfind("Com", 0) == 0 || name.rfind("COM", 0) == 0) && name[3] >= '1' &&
      name[3] <= '0' + kNumberedPorts)
    port.portName = PortNameForIndex(name[3] - '1');
  if (const auto speed = args.Option("speed")) {
    char* end = nullptr;
    const long v = std::strtol(speed->c_str(), &end, 10);
    if (speed->empty() || *end != '\0' || v <= 0 || v > 4000000) {
      std::cerr << "vorsin-cli: bad --speed " << *speed << "\n";
      return false;
    }
    port.speed = static_cast<int>(v);
  }
  return true;
}

int DiffDevice(const Args& args) {
  ComPort port;
  if (args.positional.size() != 1 || !PortOptions(args, port)) {
    std::cerr << kUsage;
    return 2;
  }
  ReadOptions options;
  if (!PasswordOption(args, options.password)) return 2;
  Vocabulary vocabulary(args.vocabularyPath);
  StderrMessenger messenger(false);
  // Reading starts from the open file, as in the window: what the device
  // does not hold is the file's on both sides.
  Workspace ws;
  if (ReadProjectFile(ws, vocabulary, args.positional[0], messenger) != kProjectOk) return 2;
  DeviceComparison sides;
  {
    StderrProgress progress;
    if (ReadForComparison(ws, vocabulary, port, options, messenger, progress, sides) != 0) return 2;
  }
  return PrintDifferences(sides.device, sides.own);
}

int RunDiff(const Args& args) {
  if (args.Option("port")) return DiffDevice(args);
  if (args.positional.size() != 2) {
    std::cerr << kUsage;
    return 2;
  }
  Vocabulary vocabulary(args.vocabularyPath);
  StderrMessenger messenger(false);
  Workspace a, b;
  // Each file is taken as the window would open it (older layouts brought up to date).
  if (ReadProjectFile(a, vocabulary, args.positional[0], messenger) != kProjectOk) return 2;
  if (ReadProjectFile(b, vocabulary, args.positional[1], messenger) != kProjectOk) return 2;
  return PrintDifferences(a.config, b.config);
}

const bool kDiff = Register({"diff",
                             "diff A.dat B.dat | diff --port P [--speed B] [--password D] FILE.dat"
                             "    list what differs between two project files or the device and a file"
                             " (exit 1 when they differ)",
                             RunDiff,
                             {"port", "speed", "password"}});

}  // namespace
}  // namespace vorsin::cli
