#include "tools/capture_log.h"

#include <chrono>

namespace vorsin {

std::tm LocalNow() {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm t{};
#ifdef _WIN32
  if (const std::tm* local = std::localtime(&now)) t = *local;  // per thread on Windows
#else
  localtime_r(&now, &t);
#endif
  return t;
}

std::string CaptureDate(const std::tm& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
  return buf;
}

std::string CaptureTime(const std::tm& t) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.tm_hour, t.tm_min, t.tm_sec);
  return buf;
}

bool CaptureLog::Start(const FilePath& path, Mode mode) {
  Stop();
  file_ = OpenFile(path, mode == Mode::kAppend ? "ab" : "wb");
  if (file_ == nullptr) return false;
  const std::tm now = clock_();
  Write("\n[Capture: " + CaptureDate(now) + " " + CaptureTime(now) + "]\n");
  return true;
}

void CaptureLog::Stop() {
  if (file_ == nullptr) return;
  const std::tm now = clock_();
  Write("\n[End: " + CaptureDate(now) + " " + CaptureTime(now) + "]\n");
  std::fclose(file_);
  file_ = nullptr;
}

void CaptureLog::Data(const uint8_t* bytes, size_t n) {
  if (file_ != nullptr && n > 0) std::fwrite(bytes, 1, n, file_);
}

void CaptureLog::Cts(bool on) {
  if (file_ == nullptr) return;
  Write(std::string(on ? "\n[Cts On: " : "\n[Cts Off: ") + CaptureTime(clock_()) + "]\n");
}

void CaptureLog::Write(const std::string& text) { std::fwrite(text.data(), 1, text.size(), file_); }

FilePath WithExtension(const FilePath& path, const std::string& extension) {
  using Char = FilePath::value_type;
  const auto& name = path.native();
  const Char separators[] = {Char('/'), Char('\\'), Char(0)};
  const size_t start = name.find_last_of(separators);
  const size_t dot = name.rfind(Char('.'));
  const bool hasExtension = dot != FilePath::string_type::npos && (start == FilePath::string_type::npos || dot > start + 1);
  if (hasExtension) return path;
  FilePath out = path;
  out += extension;
  return out;
}

bool SaveMemoText(const FilePath& path, const std::string& text) {
  std::FILE* f = OpenFile(path, "wb");
  if (f == nullptr) return false;
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    out.append(text, start, end - start);
    out += "\r\n";
    start = end + 1;
  }
  const bool written = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && written;
}

}  // namespace vorsin
