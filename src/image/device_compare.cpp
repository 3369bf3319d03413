#include "image/device_compare.h"

#include <algorithm>
#include <vector>

#include "image/image_check.h"
#include "image/image_layout.h"
#include "image/image_reader.h"
#include "image/image_writer.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

using namespace image;

// A comparison reads the device without replacing anything: the note that
// the settings were read would only stand in the way of the result.
class WithoutReadNote final : public Messenger {
 public:
  explicit WithoutReadNote(Messenger& inner) : inner_(inner) {}
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    if (caption.empty() && buttons == Buttons::Ok && text == Cp("Настройки считаны")) return kAnswerOk;
    return inner_.Show(text, caption, icon, buttons);
  }

 private:
  Messenger& inner_;
};

}  // namespace

int ConfigurationAsReadBack(const Workspace& ws, Vocabulary& vocabulary, const ReadResult& device,
                            uint8_t heldByte, Messenger& messenger, Configuration& out) {
  // As programming would send it: addressees without phones left out, the
  // device's own byte of the general block kept.
  PreparedImage prepared = PrepareForImage(ws.config);
  prepared.config.general.deviceHeldByte() = heldByte;
  ImageParams params;
  if (device.haveVg) {
    params.vgr = device.vgr;
    params.vgt = device.vgt;
  }
  const ImagePlan plan = BuildImage(prepared.config, ws.codeDefinitions, device.table, params, messenger);
  if (!PlanFitsMemory(plan)) {
    messenger.Error(Cp("Переполнение памяти"));
    return 1;
  }
  std::vector<uint8_t> memory(kMemorySize, 0xFF);
  for (const StagedBlock& block : plan.blocks)
    std::copy(block.bytes.begin(), block.bytes.end(), memory.begin() + block.address);
  const long size = AreaSize(plan.table, messenger);
  if (size < 0) return 1;
  const auto start = memory.begin() + TableEntry(plan.table, kEntryPin);
  const std::vector<uint8_t> area(start, start + size);

  Workspace read = ws;
  DecodeResult decoded;
  if (DecodeConfigurationArea(read, vocabulary, plan.table, device.firmwareVersion, area, messenger, decoded) != 0)
    return 1;
  out = std::move(read.config);
  return 0;
}

int ReadForComparison(const Workspace& ws, Vocabulary& vocabulary, ComPort& port, const ReadOptions& options,
                      Messenger& messenger, Progress& progress, DeviceComparison& out) {
  WithoutReadNote quiet(messenger);
  Workspace device = ws;
  ReadResult result;
  if (ReadDevice(device, vocabulary, port, options, quiet, progress, result) != 0) return 1;
  Configuration own;
  if (ConfigurationAsReadBack(ws, vocabulary, result, device.config.general.deviceHeldByte(), messenger, own) != 0)
    return 1;
  own.lastLoadTime = device.config.lastLoadTime;
  out.device = std::move(device.config);
  out.own = std::move(own);
  return 0;
}

}  // namespace vorsin
