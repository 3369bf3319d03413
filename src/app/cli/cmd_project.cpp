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
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  ResetToDefaults(ws, vocabulary);
  StderrMessenger messenger(false);
  return WriteProjectFile(ws, args.File(0), messenger) == kProjectOk ? 0 : 1;
}

// Older files (no header, no later blocks, a shorter event vocabulary) come
// out in today's layout with the defaults filled in.
int RunResave(const Args& args) {
  Vocabulary vocabulary(args.vocabularyPath);
  Workspace ws;
  StderrMessenger messenger(false);
  if (ReadProjectFile(ws, vocabulary, args.File(0), messenger) != kProjectOk) return 1;
  return WriteProjectFile(ws, args.File(1), messenger) == kProjectOk ? 0 : 1;
}

const bool kSaveDefault = Register({.name = "save-default",
                                    .files = {"OUT.dat"},
                                    .summary = "write the default configuration as a project file",
                                    .run = RunSaveDefault});
const bool kResave = Register({.name = "resave",
                               .files = {"IN.dat", "OUT.dat"},
                               .summary = "open a project file and save it in the current layout",
                               .run = RunResave});

}  // namespace
}  // namespace vorsin::cli
