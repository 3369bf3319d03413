// vorsin-cli: commands register themselves here, one file per group.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/file_path.h"
#include "model/messenger.h"

namespace vorsin {
struct ComPort;
}

namespace vorsin::cli {

// Parsed command line: "--name value" options, "--flag" switches, the files
// in order. Every word is UTF-8 (on Linux, the bytes as given).
struct Args {
  std::string command;  // the command's name
  std::map<std::string, std::string> options;
  std::vector<std::string> flags;
  std::vector<std::string> positional;
  FilePath vocabularyPath;  // --vocabulary, or the data location's RorEdad.ini

  std::optional<std::string> Option(const std::string& name) const;
  bool Flag(const std::string& name) const;
  // The i-th file of the command line.
  FilePath File(size_t i) const { return PathFromUtf8(positional.at(i)); }
};

using CommandFn = std::function<int(const Args&)>;

// One option of a command: "--name VALUE", or a switch "--name" when value is empty.
struct OptionSpec {
  std::string name;   // without the leading "--"
  std::string value;  // what the usage shows for the value ("P"); empty for a switch
  bool required = false;
};
inline OptionSpec RequiredValue(const std::string& name, const std::string& value) { return {name, value, true}; }
inline OptionSpec OptionalValue(const std::string& name, const std::string& value) { return {name, value, false}; }
inline OptionSpec Switch(const std::string& name) { return {name, {}, false}; }

// Everything the command line of a command may hold: the parser refuses the
// rest before the command runs, and the usage line is made from it.
struct Command {
  std::string name;
  std::vector<OptionSpec> options = {};  // besides the global --vocabulary FILE and --yes
  std::vector<std::string> files = {};   // in order; "[NAME]" may be left out (only at the end)
  std::string summary;                   // what the command does, for the command list
  CommandFn run;
};

// Called from a static object in each command file.
bool Register(Command command);

// Reads the command line into args. Returns the command to run, or null with
// status set: 0 after --help, 2 after a mistake (already told on stderr).
const Command* ParseCommandLine(int argc, const char* const* argv, Args& args, int& status);

// A command's own check of its arguments failed: prints "vorsin-cli: NAME:
// what" and the command's usage on stderr, and gives exit status 2.
int UsageError(const Args& args, const std::string& what);

// --port (a device path, or Com1..Com5 as the window lists them) and
// --speed, one of the speeds the window offers; false after saying why.
bool PortOption(const Args& args, ComPort& port);

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
