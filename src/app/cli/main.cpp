// vorsin-cli: the command-line companion of the window, built from the same core.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>
// after windows.h, which it builds on
#include <shellapi.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli/cli.h"
#include "app/cli/console.h"
#include "model/cp1251.h"
#include "model/data_location.h"
#include "model/file_path.h"
#include "model/vocabulary.h"  // DirectoryOf

namespace vorsin::cli {
namespace {

// A progress line is drawn with \r and no newline; whatever is printed next
// must start on a line of its own.
bool gProgressLineOpen = false;

void FinishProgressLine() {
  if (!gProgressLineOpen) return;
  std::cerr << std::endl;
  gProgressLineOpen = false;
}

// The executable's path in UTF-8 (on Linux, its bytes).
std::string ExecutablePath(const char* argv0) {
#ifdef _WIN32
  wchar_t buf[32768];
  // A result that fills the buffer may be cut short: fall back as on error.
  const DWORD n = ::GetModuleFileNameW(nullptr, buf, sizeof buf / sizeof buf[0]);
  if (n > 0 && n < sizeof buf / sizeof buf[0]) return vorsin::PathNarrow(vorsin::FilePath(std::wstring(buf, n)));
#else
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) return std::string(buf, static_cast<size_t>(n));
#endif
  return argv0;
}

#ifdef _WIN32
// The command line in UTF-8: argv holds it in the ANSI code page, which
// cannot spell every file name.
std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  std::vector<std::string> words;
  int n = 0;
  if (wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n)) {
    for (int i = 0; i < n; ++i) words.push_back(vorsin::PathNarrow(vorsin::FilePath(wide[i])));
    ::LocalFree(wide);
    return words;
  }
  return std::vector<std::string>(argv, argv + argc);
}
#else
std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }
#endif

}  // namespace

int StderrMessenger::Show(const std::string& text, const std::string& caption, Icon, Buttons buttons) {
  ++shown_;
  FinishProgressLine();
  // Texts that already begin with their caption ("Ошибка: получен неверный
  // ответ") and notes without one are printed as they stand.
  std::string line = ToUtf8(text);
  if (!caption.empty() && text.rfind(caption, 0) != 0) line = ToUtf8(caption) + ": " + line;
  if (buttons == Buttons::OkCancel) {
    line += answerYes_ ? " [OK]" : " [Cancel]";
  }
  std::cerr << line << std::endl;
  if (buttons == Buttons::OkCancel) return answerYes_ ? kAnswerOk : kAnswerCancel;
  return kAnswerOk;
}

#ifdef _WIN32
StderrProgress::StderrProgress() : tty_(::_isatty(::_fileno(stderr)) != 0) {}
#else
StderrProgress::StderrProgress() : tty_(::isatty(STDERR_FILENO) != 0) {}
#endif
StderrProgress::~StderrProgress() { FinishProgressLine(); }
void StderrProgress::SetMaximum(int maximum) { max_ = maximum; Draw(); }
void StderrProgress::SetPosition(int position) {
  pos_ = position;
  if (position == 0) {
    // Setting the bar back ends a transfer: leave its last state standing.
    FinishProgressLine();
    lastPercent_ = -1;
    return;
  }
  Draw();
}
void StderrProgress::Advance(int by) { pos_ += by; Draw(); }
void StderrProgress::Draw() {
  if (!tty_ || max_ <= 0) return;
  const int percent = static_cast<int>(100LL * pos_ / max_);
  if (percent == lastPercent_) return;
  lastPercent_ = percent;
  char line[64];
  std::snprintf(line, sizeof line, "\r%3d%% (%d/%d)", percent, pos_, max_);
  std::cerr << line << std::flush;
  gProgressLineOpen = true;
}

}  // namespace vorsin::cli

int main(int argc, char** argv) {
  using namespace vorsin::cli;
  const ConsoleOutput console;
  const std::vector<std::string> words = Utf8Arguments(argc, argv);
  std::vector<const char*> utf8argv;
  for (const auto& w : words) utf8argv.push_back(w.c_str());
  Args args;
  // Beside the executable in a portable copy; the user's own copy when installed.
  const vorsin::DataLocation data = vorsin::FindDataLocation(vorsin::DirectoryOf(ExecutablePath(argv[0])));
  if (std::string why; !vorsin::PrepareDataLocation(data, why))
    std::cerr << "vorsin-cli: " << why << " (the built-in defaults are used)\n";
  args.vocabularyPath = vorsin::PathFromUtf8(data.vocabularyPath);
  int status = 2;
  const Command* command = ParseCommandLine(static_cast<int>(utf8argv.size()), utf8argv.data(), args, status);
  return command ? command->run(args) : status;
}
