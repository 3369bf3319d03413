#include <ctime>
#include <optional>
#include <string>

#include "image/device_io.h"
#include "image/image_check.h"
#include "image/image_layout.h"
#include "image/image_writer.h"
#include "image/version_rules.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

using namespace image;

// Once the writes have begun, a failure leaves the device half-programmed:
// its programming flag set over the old address table (a write whose reply
// was lost may still have been carried out). The failure's own message then
// says so in the same box.
class WriteFailureMessenger final : public Messenger {
 public:
  explicit WriteFailureMessenger(Messenger& inner) : inner_(inner) {}
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override {
    if (icon != Icon::Error || buttons != Buttons::Ok) return inner_.Show(text, caption, icon, buttons);
    if (held_) inner_.Error(*held_);
    held_ = text;
    return kAnswerOk;
  }
  // Shows the held message (or none, when the failure said nothing) with the
  // device's state below it.
  void ShowFailure() {
    const std::string state = Cp("Устройство запрограммировано не полностью, запрограммируйте его заново.");
    inner_.Error(held_ ? *held_ + "\n" + state : state);
    held_.reset();
  }

 private:
  Messenger& inner_;
  std::optional<std::string> held_;
};

int RunProgramming(Workspace& ws, ComPort& port, const ProgramOptions& options, PreparedImage& prepared,
                   Messenger& messenger, Progress& progress, ProgramResult& result) {
  AddressTable table;
  if (ReadAddressTable(port, messenger, table) != 0) return 1;
  result.table = table;
  std::array<uint8_t, kVersionSize> version{};
  if (ReadRange(port, messenger, progress, version.data(), TableEntry(table, kEntryVersion), version.size()) != 0)
    return 1;
  if (!VersionsAllow(Operation::Program, version[0], version[1], messenger)) return 1;
  std::array<uint8_t, kGeneralPeekSize> general{};
  if (ReadRange(port, messenger, progress, general.data(), TableEntry(table, kEntryGeneral), general.size()) != 0)
    return 1;
  // A byte of the general block belongs to the device; it goes back unchanged.
  ws.config.general.deviceHeldByte() = general[kDeviceHeldOffset];
  prepared.config.general.deviceHeldByte() = general[kDeviceHeldOffset];
  progress.SetPosition(0);

  ImageParams params;
  params.vgr = options.vgr;
  params.vgt = options.vgt;
  params.stamp = options.clock ? options.clock() : LocalStamp();
  ImagePlan plan = BuildImage(prepared.config, ws.codeDefinitions, table, params, messenger);
  if (!PlanFitsMemory(plan)) {
    messenger.Error(Cp("Переполнение памяти"));
    return 1;
  }
  progress.SetMaximum(static_cast<int>(plan.total));
  WriteFailureMessenger writes(messenger);
  for (const StagedBlock& block : plan.blocks) {
    if (WriteRange(port, writes, progress, block.address, block.bytes.size(), block.bytes.data()) != 0) {
      writes.ShowFailure();
      return 1;
    }
    result.bytesWritten += block.bytes.size();
  }
  result.table = plan.table;
  std::string done = Cp("Устройство запрограммированно");  // sic
  if (options.verify) {
    if (VerifyWritten(port, messenger, progress, plan.blocks, plan.table, result.verification) != 0) return 1;
    result.verified = true;
    // A device that does not hold what was sent is not programmed.
    if (!result.verification.equal) {
      messenger.Error(VerifyMessage(result.verification));
      return 1;
    }
    done += "\n" + VerifyMessage(result.verification);
  }
  ws.config.lastLoadTime = FormatLoadTime(params.stamp);
  messenger.Note(done);
  progress.SetPosition(0);
  return 0;
}

}  // namespace

image::Stamp LocalStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &now);
#else
  localtime_r(&now, &local);
#endif
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

int ProgramDevice(Workspace& ws, ComPort& port, const ProgramOptions& options, Messenger& messenger,
                  Progress& progress, ProgramResult* result) {
  ProgramResult local;
  ProgramResult& out = result ? *result : local;
  out = ProgramResult{};
  const Configuration& c = ws.config;
  if (c.pinCode.empty() || c.pukCode.empty()) {
    messenger.Error(Cp("Незаполнены обезательные поля Pin/Puk кодов (Вкладка \"Общие\")"));  // sic
    return 1;
  }
  // Each is one byte of the general block; a wider value must not wrap.
  for (const auto& [name, value] : {std::pair{"VGR", options.vgr}, std::pair{"VGT", options.vgt}}) {
    if (value < 0 || value > 255) {
      messenger.Error(Cp("Значение поля ") + name + Cp(" должно быть числом от 0 до 255"));
      return 1;
    }
  }
  // Everything the user must decide comes before the port is touched.
  PreparedImage prepared = PrepareForImage(c);
  if (!ConfirmImage(c, prepared, messenger)) return 1;

  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  int status = 1;
  if (TakeAccess(port, messenger, options.password) == 0) {
    out.accessed = true;
    status = RunProgramming(ws, port, options, prepared, messenger, progress, out);
    if (status != 0) progress.SetPosition(0);
  }
  CloseComPort(port);
  return status;
}

}  // namespace vorsin
