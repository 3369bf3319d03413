// Arbitrary device memory fed to the reading decoder: an address table (86
// bytes), the firmware version (1 byte), then the configuration area. No
// crash, no read out of bounds, no hang, whatever the table points at.
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>

#include "image/image_reader.h"
#include "link/device_commands.h"
#include "model/defaults.h"
#include "model/vocabulary.h"

namespace {

class QuietMessenger final : public vorsin::Messenger {
 public:
  int Show(const std::string&, const std::string&, vorsin::Icon, vorsin::Buttons) override {
    return vorsin::kAnswerOk;
  }
};

std::unique_ptr<vorsin::Vocabulary> g_vocabulary;
std::unique_ptr<vorsin::Workspace> g_defaults;

std::string ExecutablePath() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string("fuzz_image");
}

}  // namespace

// The shipped vocabulary beside the executable, so that level tables match
// known ones and SMS texts meet the code definitions.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_vocabulary = std::make_unique<vorsin::Vocabulary>(vorsin::VocabularyBeside(ExecutablePath()));
  g_defaults = std::make_unique<vorsin::Workspace>();
  vorsin::ResetToDefaults(*g_defaults, *g_vocabulary);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < vorsin::kTableBytes + 1) return 0;
  vorsin::AddressTable table;
  table.address = 0x20;
  std::copy(data, data + vorsin::kTableBytes, table.bytes.begin());
  const uint8_t firmware = data[vorsin::kTableBytes];
  const std::span<const uint8_t> area(data + vorsin::kTableBytes + 1, size - vorsin::kTableBytes - 1);

  QuietMessenger messenger;
  vorsin::image::AreaSize(table, messenger);
  vorsin::Workspace ws = *g_defaults;
  vorsin::image::DecodeResult result;
  vorsin::image::DecodeConfigurationArea(ws, *g_vocabulary, table, firmware, area, messenger, result);
  return 0;
}
