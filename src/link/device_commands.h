// The device's command set and the operations built on it: access with the
// engineer password, the address table, chunked EEPROM ranges, restart and
// leaving programming mode. Every operation tells the user about its own
// failures and returns 0 on success, 1 when it failed.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "link/com_port.h"
#include "model/messenger.h"

namespace vorsin {

// Command codes and the replies they expect.
constexpr uint8_t kCmdTakeAccess = 0x20;
constexpr uint8_t kCmdReadEeprom = 0x22;
constexpr uint8_t kCmdWriteEeprom = 0x23;
constexpr uint8_t kCmdAddressTable = 0x24;
constexpr uint8_t kCmdReadTouchKey = 0x26;
constexpr uint8_t kCmdRestart = 0x28;

constexpr uint8_t kReplyAck = 0x85;
constexpr uint8_t kReplyRead = 0xA1;
constexpr uint8_t kReplyTableAddress = 0xA2;
constexpr uint8_t kReplyTouchKey = 0xA3;

constexpr uint8_t kAccessPrefix = 0x1F;
constexpr int kRestartReplyLength = 6;
constexpr int kTouchKeyLength = 6;

constexpr size_t kWriteChunk = 50;
constexpr size_t kReadChunk = 200;
constexpr uint32_t kEepromLimit = 0x8000;  // nothing is written at or past it

constexpr int kTableEntries = 43;
constexpr size_t kTableBytes = 86;
constexpr uint8_t kLeaveByte = 0x2B;  // '+', sent six times, unframed
constexpr size_t kLeaveCount = 6;

// The device's address table and where it lies (A; the programming flag is
// the byte at A - 1). Entries are 16-bit, stored low byte first.
struct AddressTable {
  uint16_t address = 0;
  std::array<uint8_t, kTableBytes> bytes{};
};

// Entry i (0..42); 0 for an index outside the table.
uint16_t TableEntry(const AddressTable& table, int i);
// Stores entry i low byte first; ignored outside the table.
void SetTableEntry(AddressTable& table, int i, uint16_t value);

// An engineer password the device can be given: at most six decimal digits.
bool ValidPassword(const std::string& password);

// The three password bytes: digit i in byte i/2, even i high nibble, odd i
// low nibble; unused nibbles 0xF. Characters other than digits are skipped.
std::array<uint8_t, 3> EncodePassword(const std::string& password);

// Each of these needs an open port (OpenComPort) and leaves it open.
int TakeAccess(ComPort& port, Messenger& messenger, const std::string& password);
// Reads A and the 86 table bytes at A into table, replacing what it held.
int ReadAddressTable(ComPort& port, Messenger& messenger, AddressTable& table);
// Writes length bytes at address in frames of 50; advances progress by each.
int WriteRange(ComPort& port, Messenger& messenger, Progress& progress, uint32_t address,
               size_t length, const uint8_t* data);
// Reads length bytes at address into dest in frames of 200; advances progress.
int ReadRange(ComPort& port, Messenger& messenger, Progress& progress, uint8_t* dest,
              uint32_t address, size_t length);
// ReadTouchKey results.
constexpr int kKeyRead = 0;     // key holds the code
constexpr int kKeyWaiting = 1;  // no key presented yet (sub-code 18, no message)
constexpr int kKeyNoLink = 2;   // no reply: told the user
constexpr int kKeyRefused = 3;  // any other error or a reply of the wrong kind: told the user
// The code of the touch-memory key last presented to the device; needs no access.
int ReadTouchKey(ComPort& port, Messenger& messenger, std::array<uint8_t, kTouchKeyLength>& key);

// Whole operations behind the programming page's buttons: each opens the
// port, does its work and closes the port again.
int RestartDevice(ComPort& port, Messenger& messenger, const std::string& password);
int LeaveProgramming(ComPort& port, Messenger& messenger);

}  // namespace vorsin
