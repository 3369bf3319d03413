// "Считать описания": the three user blocks read back from the device.
#pragma once

#include <string>

#include "link/com_port.h"
#include "model/configuration.h"
#include "model/messenger.h"

namespace vorsin {

// Needs an open port with access taken. Reads the address table, then the
// attribute, key and password blocks, and replaces the user list only when
// all three arrived: a failure leaves the users as they were. 0 on success.
int ReadUserTables(ComPort& port, Messenger& messenger, Configuration& config);

// The whole operation: opens the port, takes access with the engineer
// password, reads the user tables and closes the port again.
int ReadUsersFromDevice(ComPort& port, Messenger& messenger, const std::string& password,
                        Configuration& config);

}  // namespace vorsin
