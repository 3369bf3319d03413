// The promise of the checks before programming: a project file that opens
// and passes them is built into a device memory and reads back as the same
// configuration, apart from what the image does not hold (see AsReadBack).
#include <cstdint>
#include <memory>

#include "../image/read_back.h"
#include "fuzz_support.h"
#include "image/image_check.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include <cstdlib>
#include <fstream>

#include "model/config_json.h"
#include "model/defaults.h"
#include "project/project_file.h"

namespace {

using namespace vorsin;

std::unique_ptr<Vocabulary> g_vocabulary;
std::unique_ptr<Workspace> g_reset;  // opening and reading both start from a reset

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_vocabulary = std::make_unique<Vocabulary>(fuzz::ShippedVocabularyPath());
  g_reset = std::make_unique<Workspace>();
  ResetToDefaults(*g_reset, *g_vocabulary);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Workspace ws = *g_reset;
  if (DecodeProjectOver(ws, *g_vocabulary, {data, size}) != kProjectOk) return 0;
  if (!image::ImageProblems(ws.config).empty()) return 0;
  const image::PreparedImage prepared = image::PrepareForImage(ws.config);

  fuzz::QuietMessenger messenger;
  image_test::MemoryDevice device;
  image::ImageParams params;
  params.vgr = data[0];
  params.vgt = size > 1 ? data[1] : 255;
  const image::ImagePlan plan = image::BuildImage(prepared.config, ws.codeDefinitions, device.table, params, messenger);
  // Programming stops with "Переполнение памяти" here.
  if (!image::PlanFitsMemory(plan)) return 0;
  device.Apply(plan);

  Workspace fresh = *g_reset;
  image::DecodeResult result;
  const auto area = device.Area();
  fuzz::Check(image::DecodeConfigurationArea(fresh, *g_vocabulary, device.table, device.firmware, area, messenger,
                                             result) == 0,
              "an image the checks let through does not read back");
  fuzz::Check(result.haveVg && result.vgr == params.vgr && result.vgt == params.vgt, "VGR/VGT");
  const std::string part =
      image_test::ImageReadBackDifference(ws.config, fresh, ws.codeDefinitions, plan.withDescriptions);
  if (!part.empty()) {
    std::fprintf(stderr, "reads back with a different %s\n", part.c_str());
    // Both sides as JSON, to compare by eye: VORSIN_FUZZ_DUMP=prefix.
    if (const char* dump = std::getenv("VORSIN_FUZZ_DUMP")) {
      Configuration want, got;
      image_test::ImageReadBackDifference(ws.config, fresh, ws.codeDefinitions, plan.withDescriptions, &want, &got);
      std::ofstream(std::string(dump) + "want.json") << ToJson(want).dump(1);
      std::ofstream(std::string(dump) + "got.json") << ToJson(got).dump(1);
    }
    __builtin_trap();
  }
  return 0;
}
