#include "app/cli/dial.h"

namespace vorsin::cli {

std::vector<OptionSpec> DialOptionSpecs() {
  return {OptionalValue("dial", "NUMBER"), OptionalValue("modem-init", "AT...")};
}

std::vector<OptionSpec> WithDial(std::vector<OptionSpec> options) {
  for (auto& o : DialOptionSpecs()) options.push_back(o);
  return options;
}

bool DialOption(const Args& args, std::optional<DialOptions>& dial) {
  dial.reset();
  const auto number = args.Option("dial");
  const auto init = args.Option("modem-init");
  if (!number) {
    if (init) UsageError(args, "--modem-init goes with --dial");
    return !init;
  }
  if (!ValidDialNumber(*number)) {
    UsageError(args, "--dial takes up to 15 digits, '#', '*' and '+'");
    return false;
  }
  if (init && !ValidModemInit(*init)) {
    UsageError(args, "--modem-init takes one AT command line");
    return false;
  }
  DialOptions d;
  d.number = *number;
  d.init = init.value_or("");
  dial = d;
  return true;
}

int OverCall(ComPort& port, const std::optional<DialOptions>& dial, Messenger& messenger, int failedCall,
             const std::function<int()>& operation) {
  if (!dial) return operation();
  HeldCall call(port);
  SilentProgress progress;
  if (call.Dial(messenger, *dial, progress) != 0) return failedCall;
  const int status = operation();
  call.Release();
  return status;
}

}  // namespace vorsin::cli
