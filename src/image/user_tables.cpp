#include "image/user_tables.h"

#include <vector>

#include "image/fixed_blocks.h"
#include "image/image_layout.h"
#include "link/device_commands.h"

namespace vorsin {

using namespace image;

int ReadUserTables(ComPort& port, Messenger& messenger, Configuration& config) {
  AddressTable table;
  if (ReadAddressTable(port, messenger, table) != 0) return 1;
  SilentProgress progress;
  std::vector<uint8_t> attributes(kUserAttributesSize), keys(kKeysSize), passwords(kPasswordsSize);
  const struct {
    int entry;
    std::vector<uint8_t>& into;
  } blocks[] = {{kEntryUserAttributes, attributes}, {kEntryKeys, keys}, {kEntryPasswords, passwords}};
  for (const auto& b : blocks) {
    if (ReadRange(port, messenger, progress, b.into.data(), TableEntry(table, b.entry), b.into.size()) != 0)
      return 1;
  }
  Configuration decoded;
  DecodeUsers(attributes, passwords, keys, decoded);
  config.users = std::move(decoded.users);
  return 0;
}

int ReadUsersFromDevice(ComPort& port, Messenger& messenger, const std::string& password,
                        Configuration& config) {
  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  int failed = TakeAccess(port, messenger, password);
  if (!failed) failed = ReadUserTables(port, messenger, config);
  CloseComPort(port);
  return failed;
}

}  // namespace vorsin
