// "show": the configuration after a reset to defaults, or as read from a
// project file, as JSON on stdout.
#include <iostream>

#include "app/cli/cli.h"
#include "model/config_json.h"
#include "model/defaults.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

int RunShow(const Args& args) {
  // A missing vocabulary file is fine: every list falls back to its defaults.
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  StderrMessenger messenger(false);
  const FilePath file = args.positional.empty() ? FilePath() : args.File(0);
  if (OpenWorkspace(ws, vocabulary, file, messenger) != kProjectOk) return 1;
  std::cout << ToJson(ws).dump(2) << "\n";
  return 0;
}

const bool kRegistered = Register({.name = "show",
                                   .files = {"[FILE.dat]"},
                                   .summary = "print the default configuration, or a project file's, as JSON",
                                   .run = RunShow});

}  // namespace
}  // namespace vorsin::cli
