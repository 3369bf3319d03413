// "from-json": a project file from the JSON that "show" prints, so that
// configurations can be kept and edited as text.
#include <fstream>
#include <iostream>
#include <iterator>

#include "app/cli/cli.h"
#include "model/config_from_json.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

// Far above any configuration's JSON; a bigger input is not ours.
constexpr std::streamsize kMaxJsonSize = 256 << 20;

int RunFromJson(const Args& args) {
  const FilePath inPath = args.File(0);
  const std::string in = PathUtf8(inPath);
  std::ifstream file(inPath, std::ios::binary);
  if (!file) {
    std::cerr << "vorsin-cli: cannot read " << in << "\n";
    return 2;
  }
  std::string text;
  char piece[64 * 1024];
  while (file) {
    file.read(piece, sizeof piece);
    text.append(piece, static_cast<size_t>(file.gcount()));
    if (static_cast<std::streamsize>(text.size()) > kMaxJsonSize) {
      std::cerr << "vorsin-cli: " << in << " is too large for a configuration\n";
      return 2;
    }
  }
  const auto json = nlohmann::ordered_json::parse(text, nullptr, false);
  if (json.is_discarded()) {
    std::cerr << "vorsin-cli: " << in << " is not JSON (or not UTF-8)\n";
    return 2;
  }
  Workspace ws;
  std::string error;
  if (!ConfigurationFromJson(json, ws.config, error)) {
    std::cerr << "vorsin-cli: " << error << "\n";
    return 2;
  }
  StderrMessenger messenger(false);
  // Refusals (a text or list the format cannot hold) leave OUT as it was.
  return WriteProjectFile(ws, args.File(1), messenger) == kProjectOk ? 0 : 1;
}

const bool kFromJson = Register({.name = "from-json",
                                 .files = {"IN.json", "OUT.dat"},
                                 .summary = "write a project file from the JSON that show prints",
                                 .run = RunFromJson});

}  // namespace
}  // namespace vorsin::cli
