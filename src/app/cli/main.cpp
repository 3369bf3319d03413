// vorsin-cli: the command-line companion of the window, built from the same core.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <iostream>

#include "app/cli/cli.h"
#include "model/cp1251.h"
#include "model/data_location.h"
#include "model/vocabulary.h"  // DirectoryOf

namespace vorsin::cli {
namespace {

// A progress line is drawn with \r and no newline; whatever is printed next
// must start on a line of its own.
bool gProgressLineOpen = false;

void FinishProgressLine() {
  if (!gProgressLineOpen) return;
  std::fputs("\n", stderr);
  gProgressLineOpen = false;
}

std::string ExecutablePath(const char* argv0) {
  char buf[4096];
#ifdef _WIN32
  // A result that fills the buffer may be cut short: fall back as on error.
  const DWORD n = ::GetModuleFileNameA(nullptr, buf, sizeof buf);
  if (n > 0 && n < sizeof buf) return std::string(buf, n);
#else
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) return std::string(buf, static_cast<size_t>(n));
#endif
  return argv0;
}

#ifdef _WIN32
// Messages are UTF-8; a console shows them right only in its UTF-8 code page,
// which goes back to what it was when we are done.
class ConsoleUtf8 {
 public:
  ConsoleUtf8() : saved_(::GetConsoleOutputCP()) { ::SetConsoleOutputCP(CP_UTF8); }
  ~ConsoleUtf8() {
    if (saved_ != 0) ::SetConsoleOutputCP(saved_);
  }

 private:
  UINT saved_;
};
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
  std::fprintf(stderr, "\r%3d%% (%d/%d)", percent, pos_, max_);
  std::fflush(stderr);
  gProgressLineOpen = true;
}

}  // namespace vorsin::cli

int main(int argc, char** argv) {
  using namespace vorsin::cli;
#ifdef _WIN32
  const ConsoleUtf8 console;
#endif
  Args args;
  // Beside the executable in a portable copy; the user's own copy when installed.
  const vorsin::DataLocation data = vorsin::FindDataLocation(vorsin::DirectoryOf(ExecutablePath(argv[0])));
  if (std::string why; !vorsin::PrepareDataLocation(data, why))
    std::cerr << "vorsin-cli: " << why << " (the built-in defaults are used)\n";
  args.vocabularyPath = data.vocabularyPath;
  int status = 2;
  const Command* command = ParseCommandLine(argc, argv, args, status);
  return command ? command->run(args) : status;
}
