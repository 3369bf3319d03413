// "diff": what differs between two project files, or between a device and a
// project file, in the installer's terms, one line per difference.
// Exit 0 when equal, 1 when they differ, 2 on error.
#include <iostream>

#include "app/cli/cli.h"
#include "app/cli/dial.h"
#include "image/device_compare.h"
#include "link/com_port.h"
#include "model/config_diff.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

int PrintDifferences(const Configuration& a, const Configuration& b) {
  const auto lines = DiffConfigurations(a, b);
  for (const auto& line : lines) std::cout << line << "\n";
  return lines.empty() ? 0 : 1;
}

int DiffDevice(const Args& args) {
  if (args.positional.size() != 1) return UsageError(args, "--port compares the device with one project file");
  ComPort port;
  if (!PortOption(args, port)) return 2;
  ReadOptions options;
  if (!PasswordOption(args, options.password)) return 2;
  std::optional<DialOptions> dial;
  if (!DialOption(args, dial)) return 2;
  Vocabulary vocabulary(args.vocabularyPath);
  StderrMessenger messenger(false);
  // Reading starts from the open file, as in the window: what the device
  // does not hold is the file's on both sides.
  Workspace ws;
  if (ReadProjectFile(ws, vocabulary, args.File(0), messenger) != kProjectOk) return 2;
  DeviceComparison sides;
  // A call that does not come up is an error like a failed read.
  if (OverCall(port, dial, messenger, 2, [&] {
        StderrProgress progress;
        return ReadForComparison(ws, vocabulary, port, options, messenger, progress, sides) != 0 ? 2 : 0;
      }) != 0)
    return 2;
  return PrintDifferences(sides.device, sides.own);
}

int RunDiff(const Args& args) {
  if (args.Option("port")) return DiffDevice(args);
  if (args.Option("dial") || args.Option("modem-init")) return UsageError(args, "--dial needs --port");
  if (args.positional.size() != 2) return UsageError(args, "two project files are compared, or one with --port");
  Vocabulary vocabulary(args.vocabularyPath);
  StderrMessenger messenger(false);
  Workspace a, b;
  // Each file is taken as the window would open it (older layouts brought up to date).
  if (ReadProjectFile(a, vocabulary, args.File(0), messenger) != kProjectOk) return 2;
  if (ReadProjectFile(b, vocabulary, args.File(1), messenger) != kProjectOk) return 2;
  return PrintDifferences(a.config, b.config);
}

// With --port the device is compared with one file.
const bool kDiff = Register({.name = "diff",
                             .options = WithDial({OptionalValue("port", "P"), OptionalValue("speed", "B"),
                                                  OptionalValue("password", "D")}),
                             .files = {"A.dat", "[B.dat]"},
                             .summary = "list what differs between two project files, or (--port) the device and "
                                        "a file; exit 1 when they differ",
                             .run = RunDiff});

}  // namespace
}  // namespace vorsin::cli
