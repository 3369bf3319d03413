#include "tools/firmware_upload.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "model/cp1251.h"

namespace vorsin {
namespace {

// Bigger than any file the 24-bit sizes can describe.
constexpr long kMaxFileSize = 64L << 20;
constexpr int kStartTimeoutMs = 2000;
constexpr int kLineTimeoutMs = 200;

bool ReadWholeFile(std::FILE* f, std::vector<uint8_t>& out) {
  uint8_t buf[65536];
  for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) {
    out.insert(out.end(), buf, buf + n);
    if (out.size() > static_cast<size_t>(kMaxFileSize)) return false;
  }
  return !std::ferror(f);
}

void BadFormat(Messenger& messenger, const char* utf8) {
  messenger.Show(Cp(utf8), CaptionWarning(), Icon::Error, Buttons::Ok);
}

// One message, both buffers discarded first, then its 2-byte reply. False
// when the message did not go out whole or the reply did not come.
bool Exchange(ComPort& port, const uint8_t* bytes, size_t n, uint8_t reply[2], bool needReply = true) {
  port.handle->Purge();
  const bool sent = port.handle->Write(bytes, n) == n;
  std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const bool replied = port.handle->Read(reply, 2) == 2;
  return sent && (replied || !needReply);
}

int CheckedUpload(ComPort& port, std::FILE* f, Messenger& messenger, Progress& progress,
                  const UploadHooks& hooks) {
  std::vector<uint8_t> file;
  const bool read = ReadWholeFile(f, file);
  std::fclose(f);
  const char* kFormat = "Формат не поддерживается или файл повреждён";
  if (!read) {
    BadFormat(messenger, kFormat);
    return kFirmwareBroken;
  }
  const HwrContent content = ReadHwr(file);
  switch (content.status) {
    case HwrStatus::kNoFirmware:
      return kNoFirmware;
    case HwrStatus::kUnpackFailed:
      BadFormat(messenger, "Ошибка сжатия.\nФормат не поддерживается или файл повреждён");
      return kFirmwareBroken;
    case HwrStatus::kBadFormat:
      BadFormat(messenger, kFormat);
      return kFirmwareBroken;
    case HwrStatus::kOk:
      break;
  }
  const auto lines = SplitHexLines(content.text);
  if (!lines) {
    BadFormat(messenger, kFormat);
    return kFirmwareBroken;
  }
  return SendFirmwareLines(port, *lines, messenger, progress, hooks);
}

}  // namespace

int SendFirmwareLines(ComPort& port, const std::vector<HexLine>& lines, Messenger& messenger, Progress& progress,
                      const UploadHooks& hooks) {
  uint8_t reply[2];
  SetComTimeouts(port, kStartTimeoutMs, kStartTimeoutMs, 1, 1);
  if (!Exchange(port, kLoaderStartCode, sizeof kLoaderStartCode, reply)) {
    messenger.Error(Cp("Нет связи."));
    return kLoaderSilent;
  }
  SetComTimeouts(port, kLineTimeoutMs, kLineTimeoutMs, 1, 1);
  progress.SetMaximum(static_cast<int>(lines.size()));
  progress.SetPosition(0);
  AddressLabel label;
  std::vector<uint8_t> message;
  for (const HexLine& line : lines) {
    if (const auto address = label.Follow(line.chars); address && hooks.address) hooks.address(*address);
    message.assign(1, ':');
    message.insert(message.end(), line.bytes.begin(), line.bytes.end());
    if (!Exchange(port, message.data(), message.size(), reply)) {
      messenger.Error(Cp("Нет ответа.\nПовторите загрузку"));
      return kLineUnanswered;
    }
    const uint16_t sum = LoaderChecksum(line.bytes.data(), line.bytes.size());
    if (reply[0] != (sum >> 8) || reply[1] != (sum & 0xFF)) {
      messenger.Error(Cp("Ошибка контрольной суммы.\nПовторите загрузку"));
      return kLineChecksumWrong;
    }
    progress.Advance(1);
    progress.Breathe();
  }
  // The end record's reply means nothing, but the record must have gone out.
  if (!Exchange(port, kLoaderEndRecord, sizeof kLoaderEndRecord, reply, false)) {
    messenger.Error(Cp("Нет ответа.\nПовторите загрузку"));
    return kLineUnanswered;
  }
  messenger.Note(Cp("Устройство запрограммированно"));  // sic
  return kUploaded;
}

int UploadFirmware(ComPort& port, const FilePath& path, Messenger& messenger, Progress& progress,
                   const UploadHooks& hooks) {
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) {
    messenger.Error(Cp("Cannot open file ") + PathText(path));
    return kFirmwareUnreadable;
  }
  if (OpenComPort(port, messenger) != kPortOpened) {
    std::fclose(f);
    return kUploadPortFailed;
  }
  const int result = CheckedUpload(port, f, messenger, progress, hooks);
  CloseComPort(port);
  return result;
}

}  // namespace vorsin
