// vorsin-cli: commands register themselves here, one file per group.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/user_io.h"

namespace vorsin::cli {

// Parsed command line: "--name value" options, "--flag" switches, the rest in order.
struct Args {
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;
  std::vector<std::string> positional;
  std::string vocabularyPath;  // --vocabulary, or RorEdad.ini beside the executable

  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const;
};

using CommandFn = std::function<int(const Args&)>;

struct Command {
  std::string name;
  std::string usage;  // one line, shown by "vorsin-cli help"
  CommandFn run;
  // Options of this command that take a value (besides --vocabulary).
  std::vector<std::string> valueOptions;
};

// Called from a static object in each command file.
bool Register(Command command);

// --password: empty when absent; false (after saying why) unless it is at
// most six digits, all the device can be given.
bool PasswordOption(const Args& args, std::string& password);

// Prints "caption: text" (UTF-8) to stderr. A question is answered OK only
// with --yes; a message with OK only is printed and the run goes on.
class StderrMessenger final : public Messenger {
 public:
  explicit StderrMessenger(bool answerYes) : answerYes_(answerYes) {}
  int Show(const std::string& text, const std::string& caption, Icon icon, Buttons buttons) override;
  int shown() const { return shown_; }

 private:
  bool answerYes_;
  int shown_ = 0;
};

// A progress line on stderr, only when stderr is a terminal.
class StderrProgress final : public Progress {
 public:
  StderrProgress();
  ~StderrProgress() override;
  void SetMaximum(int maximum) override;
  void SetPosition(int position) override;
  void Advance(int by) override;
  void Breathe() override {}

 private:
  void Draw();
  bool tty_;
  int max_ = 0;
  int pos_ = 0;
  int lastPercent_ = -1;
};

}  // namespace vorsin::cli
