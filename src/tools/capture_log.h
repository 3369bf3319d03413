// The terminal's capture file (*.cap): start and end records with the date
// and time, the received bytes unchanged, a record for each CTS change.
// Written in binary mode, a line break being the single byte 0x0A.
#pragma once

#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>

#include "model/file_path.h"

namespace vorsin {

// The local time the records carry; tests fix it.
using CaptureClock = std::function<std::tm()>;
std::tm LocalNow();

// "dd.MM.yyyy" and "HH:mm:ss".
std::string CaptureDate(const std::tm& t);
std::string CaptureTime(const std::tm& t);

class CaptureLog {
 public:
  enum class Mode { kReplace, kAppend };

  explicit CaptureLog(CaptureClock clock = LocalNow) : clock_(std::move(clock)) {}
  ~CaptureLog() { Stop(); }
  CaptureLog(const CaptureLog&) = delete;
  CaptureLog& operator=(const CaptureLog&) = delete;

  // Opens path ("wb" or "ab") and writes the start record. False when the
  // file cannot be opened; the capture then stays off.
  bool Start(const FilePath& path, Mode mode);
  // Writes the end record and closes the file; nothing when off.
  void Stop();
  bool on() const { return file_ != nullptr; }

  void Data(const uint8_t* bytes, size_t n);
  void Cts(bool on);

 private:
  void Write(const std::string& text);

  CaptureClock clock_;
  std::FILE* file_ = nullptr;
};

// path, with extension (".cap", ".hwr") added when its file name has none.
FilePath WithExtension(const FilePath& path, const std::string& extension);

// Writes the memo's text (Windows-1251, lines split at '\n') with every line
// ended by "\r\n". False when the file cannot be written.
bool SaveMemoText(const FilePath& path, const std::string& text);

}  // namespace vorsin
