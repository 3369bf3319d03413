// Reloading the SMS templates and code definitions from the vocabulary.
#include "model/vocabulary_lists.h"
#include "sms/sms.h"
#include "model/vocabulary.h"

namespace vorsin {

// Events refer to SMS strings by number and keep those numbers.
void LoadSmsTemplates(Workspace& ws, Vocabulary& vocabulary) {
  const VocabularySnapshot snapshot(vocabulary);
  LoadCodeDefinitions(ws, vocabulary);
  LoadSmsLists(ws.config, vocabulary);
}

}  // namespace vorsin
