// The command line: each command's declared options and files, the usage
// made from them, and a parser that refuses anything else before a command
// touches a file or a port.
#include <filesystem>
#include <iostream>

#include "app/cli/cli.h"

namespace vorsin::cli {
namespace {

std::map<std::string, Command>& Registry() {
  static std::map<std::string, Command> commands;
  return commands;
}

// Accepted before and after the command name.
const std::vector<OptionSpec>& GlobalOptions() {
  static const std::vector<OptionSpec> globals = {OptionalValue("vocabulary", "FILE"), Switch("yes")};
  return globals;
}

const char kGlobalUsage[] = "vorsin-cli [--vocabulary FILE] [--yes]";

bool IsOptional(const std::string& file) { return !file.empty() && file.front() == '['; }

std::string Synopsis(const Command& c) {
  std::string s = c.name;
  for (const auto& o : c.options) {
    std::string word = "--" + o.name + (o.value.empty() ? "" : " " + o.value);
    s += " " + (o.required ? word : "[" + word + "]");
  }
  for (const auto& f : c.files) s += " " + f;
  return s;
}

std::string UsageLine(const Command& c) { return std::string("usage: ") + kGlobalUsage + " " + Synopsis(c); }

void PrintCommandList(std::ostream& out) {
  out << "usage: " << kGlobalUsage << " COMMAND ...    (COMMAND --help: its usage)\ncommands:\n";
  for (const auto& [name, c] : Registry()) out << "  " << Synopsis(c) << "\n      " << c.summary << "\n";
}

// Before the command a mistake gets the command list, after it the command's usage.
int Refuse(const Command* command, const std::string& what) {
  if (command) {
    std::cerr << "vorsin-cli: " << command->name << ": " << what << "\n" << UsageLine(*command) << "\n";
  } else {
    std::cerr << "vorsin-cli: " << what << "\n";
    PrintCommandList(std::cerr);
  }
  return 2;
}

bool IsOptionWord(const std::string& word) { return word.rfind("--", 0) == 0; }

const OptionSpec* FindOption(const Command* command, const std::string& name) {
  for (const auto& o : GlobalOptions())
    if (o.name == name) return &o;
  if (command)
    for (const auto& o : command->options)
      if (o.name == name) return &o;
  return nullptr;
}

// Takes the option at argv[i] ("--name", "--name VALUE" or "--name=VALUE")
// into args; empty, or what is wrong with it.
std::string TakeOption(const Command* command, int argc, const char* const* argv, int& i, Args& args) {
  std::string key = std::string(argv[i]).substr(2);
  std::optional<std::string> value;
  if (const auto eq = key.find('='); eq != std::string::npos) {
    value = key.substr(eq + 1);
    key.resize(eq);
  }
  const OptionSpec* declared = FindOption(command, key);
  if (!declared) return "unknown option --" + key;
  if (declared->value.empty()) {
    if (value) return "--" + key + " takes no value";
    if (!args.Flag(key)) args.flags.push_back(key);
    return {};
  }
  // "--port --yes" lost the port's value rather than naming a port "--yes".
  if (!value) {
    if (i + 1 >= argc || IsOptionWord(argv[i + 1])) return "--" + key + " needs a value";
    value = argv[++i];
  }
  if (!args.options.emplace(key, *value).second) return "--" + key + " is given twice";
  return {};
}

}  // namespace

bool Register(Command command) {
  auto name = command.name;
  Registry()[name] = std::move(command);
  return true;
}

std::optional<std::string> Args::Option(const std::string& name) const {
  const auto it = options.find(name);
  if (it == options.end()) return std::nullopt;
  return it->second;
}

bool Args::Flag(const std::string& name) const {
  for (const auto& f : flags)
    if (f == name) return true;
  return false;
}

int UsageError(const Args& args, const std::string& what) {
  const auto it = Registry().find(args.command);
  return Refuse(it == Registry().end() ? nullptr : &it->second, what);
}

const Command* ParseCommandLine(int argc, const char* const* argv, Args& args, int& status) {
  status = 2;
  int i = 1;
  for (; i < argc && IsOptionWord(argv[i]); ++i) {
    if (std::string(argv[i]) == "--help") {
      PrintCommandList(std::cout);
      status = 0;
      return nullptr;
    }
    if (const auto what = TakeOption(nullptr, argc, argv, i, args); !what.empty()) {
      Refuse(nullptr, what);
      return nullptr;
    }
  }
  if (i >= argc) {
    Refuse(nullptr, "no command given");
    return nullptr;
  }
  const auto it = Registry().find(argv[i]);
  if (it == Registry().end()) {
    Refuse(nullptr, std::string("unknown command ") + argv[i]);
    return nullptr;
  }
  const Command& command = it->second;
  args.command = command.name;
  ++i;
  // Asking for the usage is never a mistake, whatever else the line holds.
  for (int j = i; j < argc && std::string(argv[j]) != "--"; ++j) {
    if (std::string(argv[j]) == "--help") {
      std::cout << UsageLine(command) << "\n  " << command.summary << "\n";
      status = 0;
      return nullptr;
    }
  }
  bool optionsEnded = false;  // after "--" every word is a file
  for (; i < argc; ++i) {
    const std::string word = argv[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
    } else if (optionsEnded || !IsOptionWord(word)) {
      args.positional.push_back(word);
    } else if (const auto what = TakeOption(&command, argc, argv, i, args); !what.empty()) {
      Refuse(&command, what);
      return nullptr;
    }
  }
  for (const auto& o : command.options) {
    if (o.required && !args.Option(o.name)) {
      Refuse(&command, "missing --" + o.name + " " + o.value);
      return nullptr;
    }
  }
  size_t needed = 0;
  for (const auto& f : command.files) needed += IsOptional(f) ? 0 : 1;
  if (args.positional.size() < needed) {
    Refuse(&command, "missing " + command.files[args.positional.size()]);
    return nullptr;
  }
  if (args.positional.size() > command.files.size()) {
    Refuse(&command, "unexpected argument " + args.positional[command.files.size()]);
    return nullptr;
  }
  // Only the program's own file may be missing (the built-in defaults stand
  // in); a file named on the command line that is not there is a mistake.
  if (const auto named = args.Option("vocabulary")) {
    args.vocabularyPath = PathFromUtf8(*named);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(args.vocabularyPath, ec)) {
      std::cerr << "vorsin-cli: vocabulary file " << PathUtf8(args.vocabularyPath) << " not found\n";
      return nullptr;
    }
  }
  return &command;
}

}  // namespace vorsin::cli
