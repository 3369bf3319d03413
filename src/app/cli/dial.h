// --dial NUMBER and --modem-init LINE of the device commands: the command
// runs over a call that a modem on --port places first and ends afterwards,
// also after a failure.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "app/cli/cli.h"
#include "tools/modem_dial.h"

namespace vorsin::cli {

// The two options, for a command's declaration.
std::vector<OptionSpec> DialOptionSpecs();
// options followed by the two.
std::vector<OptionSpec> WithDial(std::vector<OptionSpec> options);

// Reads --dial and --modem-init into dial (nothing without --dial); false
// after a usage message.
bool DialOption(const Args& args, std::optional<DialOptions>& dial);

// Runs operation, with dial over a call held on the port meanwhile (the
// operation borrows it with the limits of a call). Returns the operation's
// status, or failedCall when the call does not come up (the message names
// the modem's answer).
int OverCall(ComPort& port, const std::optional<DialOptions>& dial, Messenger& messenger, int failedCall,
             const std::function<int()>& operation);

}  // namespace vorsin::cli
