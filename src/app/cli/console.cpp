#include "app/cli/console.h"

#include <iostream>
#include <streambuf>
#include <string>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#endif

namespace vorsin::cli {

#ifdef _WIN32
namespace {

// Collects UTF-8 bytes and writes each finished line, or whatever is there
// when the stream is flushed (a progress line), with WriteConsoleW.
class ConsoleLineBuffer final : public std::streambuf {
 public:
  explicit ConsoleLineBuffer(HANDLE console) : console_(console) {}
  ~ConsoleLineBuffer() override { WritePending(); }

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    pending_ += traits_type::to_char_type(c);
    if (c == '\n') WritePending();
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    pending_.append(s, static_cast<size_t>(n));
    if (pending_.find('\n') != std::string::npos) WritePending();
    return n;
  }
  int sync() override {
    WritePending();
    return 0;
  }

 private:
  void WritePending() {
    if (pending_.empty()) return;
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(pending_.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, pending_.data(), static_cast<int>(pending_.size()), wide.data(), n);
    DWORD written = 0;
    ::WriteConsoleW(console_, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    pending_.clear();
  }

  HANDLE console_;
  std::string pending_;
};

// A console buffer for the handle when it is a console, else null.
std::unique_ptr<ConsoleLineBuffer> ConsoleFor(DWORD which) {
  const HANDLE h = ::GetStdHandle(which);
  DWORD mode = 0;
  if (h == nullptr || h == INVALID_HANDLE_VALUE || !::GetConsoleMode(h, &mode)) return nullptr;
  return std::make_unique<ConsoleLineBuffer>(h);
}

}  // namespace

struct ConsoleOutput::Sinks {
  std::unique_ptr<ConsoleLineBuffer> out = ConsoleFor(STD_OUTPUT_HANDLE);
  std::unique_ptr<ConsoleLineBuffer> err = ConsoleFor(STD_ERROR_HANDLE);
  std::streambuf* savedOut = nullptr;
  std::streambuf* savedErr = nullptr;
};

ConsoleOutput::ConsoleOutput() : sinks_(std::make_unique<Sinks>()) {
  if (sinks_->out) sinks_->savedOut = std::cout.rdbuf(sinks_->out.get());
  if (sinks_->err) sinks_->savedErr = std::cerr.rdbuf(sinks_->err.get());
}

ConsoleOutput::~ConsoleOutput() {
  std::cout.flush();
  std::cerr.flush();
  if (sinks_->savedOut) std::cout.rdbuf(sinks_->savedOut);
  if (sinks_->savedErr) std::cerr.rdbuf(sinks_->savedErr);
}
#else
struct ConsoleOutput::Sinks {};
ConsoleOutput::ConsoleOutput() = default;
ConsoleOutput::~ConsoleOutput() = default;
#endif

}  // namespace vorsin::cli
