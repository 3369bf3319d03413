// Arbitrary bytes opened as a project file: no crash, no read out of bounds,
// no hang. Whatever is accepted must save and open again to the same model.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

#include "model/configuration.h"
#include "model/defaults.h"
#include "model/messenger.h"
#include "model/vocabulary.h"
#include "project/project_file.h"

namespace {

std::unique_ptr<vorsin::Vocabulary> g_vocabulary;
// The workspace a reset makes: reading a file starts from a copy of it, as
// opening does after its own reset.
std::unique_ptr<vorsin::Workspace> g_reset;
std::string g_path;

}  // namespace

// A small vocabulary with a few events, a level table and commands, so that
// the event migration and the list extension run too. It is removed when the
// run ends.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_path = (std::filesystem::temp_directory_path() / ("vorsin_fuzz_project_" + std::to_string(::getpid()) + ".ini"))
               .string();
  std::ofstream(g_path) << "[IntervalDef1]\nName=T\nVal1=0,100\nVal2=100,255\n"
                           "[defEvent]\nName1=A\nEvent1=0, 130,01,001, 0,0, 0,0, 0\nName2=B\nName3=C\n"
                           "[Command]\nName1=X\nName2=Y\n[Control]\nName1=Z\n";
  g_vocabulary = std::make_unique<vorsin::Vocabulary>(g_path);
  g_reset = std::make_unique<vorsin::Workspace>();
  vorsin::ResetToDefaults(*g_reset, *g_vocabulary);
  std::atexit([] { std::remove(g_path.c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vorsin::Workspace ws = *g_reset;
  if (vorsin::DecodeProjectOver(ws, *g_vocabulary, {data, size}) != vorsin::kProjectOk) return 0;
  std::vector<uint8_t> saved;
  std::string problem;
  // A file full to 255 events can grow past what one count byte holds when
  // the vocabulary inserts its events; such a model is refused, not wrapped.
  if (vorsin::EncodeProject(ws.config, saved, problem) != vorsin::kProjectOk) return 0;
  vorsin::Workspace again = *g_reset;
  if (vorsin::DecodeProjectOver(again, *g_vocabulary, saved) != vorsin::kProjectOk || !(again.config == ws.config))
    std::abort();
  return 0;
}
