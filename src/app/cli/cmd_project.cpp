// Project file commands: writing the default configuration, and opening a
// file and saving it again in the current form of the format.
#include <iostream>

#include "app/cli/cli.h"
#include "model/defaults.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace vorsin::cli {
namespace {

int RunSaveDefault(const Args& args) {
  if (args.positional.size() != 1) {
    std::cerr << "usage: vorsin-cli [--vocabulary FILE] save-default OUT.dat\n";
    return 2;
  }
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  StderrMessenger messenger(false);
  return WriteProjectFile(ws, args.positional[0], messenger) == kProjectOk ? 0 : 1;
}

// Older files (no header, no later blocks, a shorter event vocabulary) come
// out in today's layout with the defaults filled in.
int RunResave(const Args& args) {
  if (args.positional.size() != 2) {
    std::cerr << "usage: vorsin-cli [--vocabulary FILE] resave IN.dat OUT.dat\n";
    return 2;
  }
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  StderrMessenger messenger(false);
  if (ReadProjectFile(ws, vocabulary, args.positional[0], messenger) != kProjectOk) return 1;
  return WriteProjectFile(ws, args.positional[1], messenger) == kProjectOk ? 0 : 1;
}

const bool kSaveDefault = Register(
    {"save-default", "save-default OUT.dat    write the default configuration as a project file", RunSaveDefault, {}});
const bool kResave = Register(
    {"resave", "resave IN.dat OUT.dat    open a project file and save it in the current layout", RunResave, {}});

}  // namespace
}  // namespace vorsin::cli
