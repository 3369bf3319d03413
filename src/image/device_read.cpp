#include <vector>

#include "image/device_io.h"
#include "image/image_layout.h"
#include "image/image_reader.h"
#include "image/version_rules.h"
#include "model/cp1251.h"
#include "model/defaults.h"

namespace vorsin {
namespace {

using namespace image;

int RunReading(Workspace& ws, Vocabulary& vocabulary, ComPort& port, Messenger& messenger, Progress& progress,
               ReadResult& out) {
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
  if (ReadAddressTable(port, messenger, out.table) != 0) return 1;
  std::array<uint8_t, kVersionSize> version{};
  if (ReadRange(port, messenger, progress, version.data(), TableEntry(out.table, kEntryVersion), version.size()) !=
      0)
    return 1;
  out.formatVersion = version[0];
  out.firmwareVersion = version[1];
  if (!VersionsAllow(Operation::Read, version[0], version[1], messenger)) return 1;

  const long size = AreaSize(out.table, messenger);
  if (size < 0) return 1;
  progress.SetPosition(0);
  progress.SetMaximum(static_cast<int>(size));
  std::vector<uint8_t> area(static_cast<size_t>(size));
  if (ReadRange(port, messenger, progress, area.data(), TableEntry(out.table, kEntryPin), area.size()) != 0)
    return 1;

  DecodeResult decoded;
  const int status =
      DecodeConfigurationArea(ws, vocabulary, out.table, out.firmwareVersion, area, messenger, decoded);
  out.haveVg = decoded.haveVg;
  out.vgr = decoded.vgr;
  out.vgt = decoded.vgt;
  if (status != 0) return 1;

  ws.projectFileName = "Read";
  messenger.Note(Cp("Настройки считаны"));
  progress.SetPosition(0);
  return 0;
}

}  // namespace

int ReadDevice(Workspace& ws, Vocabulary& vocabulary, ComPort& port, const ReadOptions& options,
               Messenger& messenger, Progress& progress, ReadResult& out) {
  out = ReadResult{};
  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  int status = 1;
  if (TakeAccess(port, messenger, options.password) == 0) {
    out.accessed = true;
    status = RunReading(ws, vocabulary, port, messenger, progress, out);
    if (status != 0) {
      progress.SetPosition(0);
      ResetToDefaults(ws, vocabulary);
    }
  }
  CloseComPort(port);
  return status;
}

}  // namespace vorsin
