// Option checks shared by the device commands.
#include <iostream>

#include "app/cli/cli.h"
#include "link/device_commands.h"

namespace vorsin::cli {

bool PasswordOption(const Args& args, std::string& password) {
  password = args.Option("password").value_or("");
  if (ValidPassword(password)) return true;
  std::cerr << "vorsin-cli: --password takes at most six digits\n";
  return false;
}

}  // namespace vorsin::cli
