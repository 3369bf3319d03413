// Arbitrary text through "vorsin-cli from-json": what the JSON reader accepts
// must save as a project file and open again to the same configuration.
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "model/config_from_json.h"
#include "model/defaults.h"
#include "project/project_file.h"

namespace {

using namespace vorsin;

// No vocabulary file: the reset gives empty lists, so opening adds nothing
// the JSON did not hold.
std::unique_ptr<Vocabulary> g_vocabulary;
std::unique_ptr<Workspace> g_reset;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_vocabulary = std::make_unique<Vocabulary>("/nonexistent/vorsin-fuzz/RorEdad.ini");
  g_reset = std::make_unique<Workspace>();
  ResetToDefaults(*g_reset, *g_vocabulary);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto json = nlohmann::ordered_json::parse(data, data + size, nullptr, false);
  if (json.is_discarded()) return 0;
  Workspace ws;
  std::string error;
  if (!ConfigurationFromJson(json, ws.config, error)) {
    fuzz::Check(!error.empty(), "refused without a reason");
    return 0;
  }
  std::vector<uint8_t> saved;
  std::string problem;
  fuzz::Check(EncodeProject(ws.config, saved, problem) == kProjectOk, "accepted JSON the project file cannot hold");
  Workspace again = *g_reset;
  fuzz::Check(DecodeProjectOver(again, *g_vocabulary, saved) == kProjectOk, "the saved file does not open");
  fuzz::Check(again.config == ws.config, "the saved file opens to a different configuration");
  return 0;
}
