// "show": the configuration after a reset to defaults, as JSON on stdout.
#include <iostream>

#include "app/cli/cli.h"
#include "model/config_json.h"
#include "model/defaults.h"
#include "model/vocabulary.h"

namespace vorsin::cli {
namespace {

int RunShow(const Args& args) {
  if (!args.positional.empty()) {
    std::cerr << "vorsin-cli: show takes no arguments here\n";
    return 2;
  }
  // A missing vocabulary file is fine: every list falls back to its defaults.
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  std::cout << ToJson(ws).dump(2) << "\n";
  return 0;
}

const bool kRegistered = Register({"show", "show    print the default configuration as JSON", RunShow, {}});

}  // namespace
}  // namespace vorsin::cli
