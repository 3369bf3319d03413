// Device commands that move the whole configuration: "program" writes a
// project file into the device, "read" saves the device's configuration as
// a project file.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>

#include "app/cli/cli.h"
#include "app/cli/dial.h"
#include "image/device_io.h"
#include "link/com_port.h"
#include "link/port_list.h"
#include "model/defaults.h"
#include "model/file_replace.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

std::optional<long> Number(const std::string& text, long min, long max) {
  char* end = nullptr;
  const long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || v < min || v > max) return std::nullopt;
  return v;
}

// --vgr and --vgt: the two bytes the programming page sends as typed.
bool ByteOption(const Args& args, const char* name, int& out) {
  const auto text = args.Option(name);
  if (!text) return true;
  const auto v = Number(*text, 0, 255);
  if (!v) {
    std::cerr << "vorsin-cli: --" << name << " needs a number 0..255, not " << *text << "\n";
    return false;
  }
  out = static_cast<int>(*v);
  return true;
}

// OUT must be a file we may write, and an existing one is replaced only
// with --yes; both are settled before the device is touched.
// Neither check opens the file itself: it changes only when the read has
// succeeded, by the save's rename.
bool OutputUsable(const FilePath& path, bool replace) {
  std::error_code ec;
  const bool exists = std::filesystem::exists(std::filesystem::symlink_status(path, ec));
  if (exists && !replace) {
    std::cerr << "vorsin-cli: " << PathUtf8(path) << " exists; add --yes to replace it\n";
    return false;
  }
  if (!CanReplace(path)) {
    std::cerr << "vorsin-cli: cannot write " << PathUtf8(path) << "\n";
    return false;
  }
  return true;
}

int RunProgram(const Args& args) {
  ComPort port;
  ProgramOptions options;
  if (!PortOption(args, port) || !ByteOption(args, "vgr", options.vgr) || !ByteOption(args, "vgt", options.vgt))
    return 2;
  if (!PasswordOption(args, options.password)) return 2;
  std::optional<DialOptions> dial;
  if (!DialOption(args, dial)) return 2;
  // Everything written is read back unless --no-verify (--verify, once
  // needed for it, is still taken); a difference is an error message naming
  // its address, and exit 1.
  options.verify = !args.Flag("no-verify");
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  StderrMessenger messenger(args.Flag("yes"));
  if (OpenWorkspace(ws, vocabulary, args.File(0), messenger) != kProjectOk) return 1;
  return OverCall(port, dial, messenger, 1, [&] {
    StderrProgress progress;
    return ProgramDevice(ws, port, options, messenger, progress) == 0 ? 0 : 1;
  });
}

int RunRead(const Args& args) {
  ComPort port;
  if (!PortOption(args, port)) return 2;
  ReadOptions options;
  if (!PasswordOption(args, options.password)) return 2;
  std::optional<DialOptions> dial;
  if (!DialOption(args, dial)) return 2;
  const FilePath out = args.File(0);
  if (!OutputUsable(out, args.Flag("yes"))) return 2;
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  StderrMessenger messenger(args.Flag("yes"));
  ReadResult result;
  if (OverCall(port, dial, messenger, 1, [&] {
        StderrProgress progress;
        return ReadDevice(ws, vocabulary, port, options, messenger, progress, result) != 0 ? 1 : 0;
      }) != 0)
    return 1;
  std::cout << "VGR: " << result.vgr << "\nVGT: " << result.vgt << std::endl;
  return WriteProjectFile(ws, out, messenger) == kProjectOk ? 0 : 1;
}

const bool kProgram = Register({.name = "program",
                                .options = WithDial({RequiredValue("port", "P"), OptionalValue("speed", "B"),
                                                     OptionalValue("password", "D"), OptionalValue("vgr", "N"),
                                                     OptionalValue("vgt", "N"), Switch("no-verify"),
                                                     Switch("verify")}),
                                .files = {"FILE.dat"},
                                .summary = "write a project file into the device and read it back to compare "
                                           "(--no-verify: skip that; --verify: the default; --dial: over a "
                                           "modem's call)",
                                .run = RunProgram});
const bool kRead = Register({.name = "read",
                             .options = WithDial({RequiredValue("port", "P"), OptionalValue("speed", "B"),
                                                  OptionalValue("password", "D")}),
                             .files = {"OUT.dat"},
                             .summary = "read the device and save it as a project file (replaces OUT with --yes)",
                             .run = RunRead});

}  // namespace
}  // namespace vorsin::cli
