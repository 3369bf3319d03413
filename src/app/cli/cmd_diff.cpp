// "diff": what differs between two project files, in the installer's terms,
// one line per difference. Exit 0 when equal, 1 when they differ, 2 on error.
#include <iostream>

#include "app/cli/cli.h"
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

int RunDiff(const Args& args) {
  if (args.positional.size() != 2) return UsageError(args, "two project files are compared");
  Vocabulary vocabulary(args.vocabularyPath);
  StderrMessenger messenger(false);
  Workspace a, b;
  // Each file is taken as the window would open it (older layouts brought up to date).
  if (ReadProjectFile(a, vocabulary, args.positional[0], messenger) != kProjectOk) return 2;
  if (ReadProjectFile(b, vocabulary, args.positional[1], messenger) != kProjectOk) return 2;
  return PrintDifferences(a.config, b.config);
}

// With --port the device is compared with one file.
const bool kDiff = Register({.name = "diff",
                             .options = {OptionalValue("port", "P"), OptionalValue("speed", "B"),
                                         OptionalValue("password", "D")},
                             .files = {"A.dat", "[B.dat]"},
                             .summary = "list what differs between two project files, or (--port) the device and "
                                        "a file; exit 1 when they differ",
                             .run = RunDiff});

}  // namespace
}  // namespace vorsin::cli
