// The lists a reset reads from the vocabulary besides tables, events and
// patterns: operator profiles, code definitions, SMS lists, remote commands.
#pragma once

#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

// "Другой" (section 0, erased first) and every section 1..49 with a name.
void ReadOperatorProfiles(Workspace& ws, Vocabulary& vocabulary);
struct ProfileNumbers {
  std::string smsCentre, expressOut, expressIn;
};
ProfileNumbers ReadProfileNumbers(Vocabulary& vocabulary, int section);
// Writes Name, ServNum, OutNum, InbNum of section profileIndex.
void WriteProfile(Vocabulary& vocabulary, int section, const std::string& name, const Configuration& config);

void LoadCodeDefinitions(Workspace& ws, Vocabulary& vocabulary);
// Profile strings, substrings and SMS strings.
void LoadSmsLists(Configuration& config, Vocabulary& vocabulary);

// Empties remoteCommands and remoteControls, rebuilds them with the names
// and SMS forms from the vocabulary and sets the two counts.
void LoadRemoteCommands(Workspace& ws, Vocabulary& vocabulary);

}  // namespace vorsin
