#include "link/device_commands.h"

#include <cstring>
#include <vector>

#include "link/device_errors.h"
#include "link/transaction.h"
#include "model/cp1251.h"

namespace vorsin {
namespace {

constexpr uint32_t kAddressSpace = 0x10000;  // addresses travel in 16 bits

std::array<uint8_t, 3> AddressAndCount(uint32_t address, size_t count) {
  return {static_cast<uint8_t>(address >> 8), static_cast<uint8_t>(address),
          static_cast<uint8_t>(count)};
}

int Failed(int transactionResult) { return transactionResult == kTransactionOk ? 0 : 1; }

}  // namespace

uint16_t TableEntry(const AddressTable& table, int i) {
  if (i < 0 || i >= kTableEntries) return 0;
  const size_t at = 2 * static_cast<size_t>(i);
  return static_cast<uint16_t>(table.bytes[at] | (table.bytes[at + 1] << 8));
}

void SetTableEntry(AddressTable& table, int i, uint16_t value) {
  if (i < 0 || i >= kTableEntries) return;
  const size_t at = 2 * static_cast<size_t>(i);
  table.bytes[at] = static_cast<uint8_t>(value);
  table.bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

bool ValidPassword(const std::string& password) {
  if (password.size() > 6) return false;
  for (const char c : password)
    if (c < '0' || c > '9') return false;
  return true;
}

std::array<uint8_t, 3> EncodePassword(const std::string& password) {
  std::array<uint8_t, 3> out{0xFF, 0xFF, 0xFF};
  size_t i = 0;
  for (const char c : password) {
    if (c < '0' || c > '9') continue;
    if (i >= 6) break;
    const auto digit = static_cast<uint8_t>(c - '0');
    uint8_t& b = out[i / 2];
    b = i % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (digit << 4))
                   : static_cast<uint8_t>((b & 0xF0) | digit);
    ++i;
  }
  return out;
}

int TakeAccess(ComPort& port, Messenger& messenger, const std::string& password) {
  const auto p = EncodePassword(password);
  const std::array<uint8_t, 4> payload{kAccessPrefix, p[0], p[1], p[2]};
  return Failed(DeviceTransaction(port, messenger, kCmdTakeAccess, payload, kReplyAck, 0));
}

int ReadAddressTable(ComPort& port, Messenger& messenger, AddressTable& table) {
  if (DeviceTransaction(port, messenger, kCmdAddressTable, {}, kReplyTableAddress, 0) != 0)
    return 1;
  // A reply without both address bytes would send every later read and
  // write to an invented address.
  if (ReplyLength(port) < 3) {
    messenger.Error(Cp("Ошибка: полученно меньше байт чем запрошено"));  // sic
    return 1;
  }
  const auto address =
      static_cast<uint16_t>(ReplyPayload(port, 0) << 8 | ReplyPayload(port, 1));
  table.address = address;
  const auto request = AddressAndCount(address, kTableBytes);
  if (DeviceTransaction(port, messenger, kCmdReadEeprom, request, kReplyRead,
                        static_cast<int>(kTableBytes) + 1) != 0)
    return 1;
  // Data follows the header, the reply code and one unused byte.
  std::memcpy(table.bytes.data(), port.reply.data() + 5, kTableBytes);
  return 0;
}

int WriteRange(ComPort& port, Messenger& messenger, Progress& progress, uint32_t address,
               size_t length, const uint8_t* data) {
  if (address + length > kEepromLimit) {
    messenger.Error(Cp("Переполнение памяти"));
    return 1;
  }
  std::vector<uint8_t> payload;
  payload.reserve(3 + kWriteChunk);
  while (length > 0) {
    const size_t chunk = length < kWriteChunk ? length : kWriteChunk;
    const auto head = AddressAndCount(address, chunk);
    payload.assign(head.begin(), head.end());
    payload.insert(payload.end(), data, data + chunk);
    if (DeviceTransaction(port, messenger, kCmdWriteEeprom, payload, kReplyAck, 0) != 0) return 1;
    progress.Advance(static_cast<int>(chunk));
    progress.Breathe();
    address += static_cast<uint32_t>(chunk);
    data += chunk;
    length -= chunk;
  }
  return 0;
}

int ReadRange(ComPort& port, Messenger& messenger, Progress& progress, uint8_t* dest,
              uint32_t address, size_t length) {
  // Past the 16-bit address space the address would wrap and the device
  // would answer with bytes from the start of its memory.
  if (address + length > kAddressSpace) {
    messenger.Error(Cp("Переполнение памяти"));
    return 1;
  }
  while (length > 0) {
    const size_t chunk = length < kReadChunk ? length : kReadChunk;
    const auto request = AddressAndCount(address, chunk);
    if (DeviceTransaction(port, messenger, kCmdReadEeprom, request, kReplyRead,
                          static_cast<int>(chunk) + 1) != 0)
      return 1;
    progress.Advance(static_cast<int>(chunk));
    progress.Breathe();
    std::memcpy(dest, port.reply.data() + 5, chunk);
    address += static_cast<uint32_t>(chunk);
    dest += chunk;
    length -= chunk;
  }
  return 0;
}

int ReadTouchKey(ComPort& port, Messenger& messenger, std::array<uint8_t, kTouchKeyLength>& key) {
  switch (DeviceTransaction(port, messenger, kCmdReadTouchKey, {}, kReplyTouchKey, kTouchKeyLength)) {
    case kTransactionOk:
      std::memcpy(key.data(), port.reply.data() + 4, key.size());
      return kKeyRead;
    case kTransactionNoLink:
      return kKeyNoLink;
    case kTransactionRefused:
      // The device says "no key yet" with the silent sub-code.
      if (ReplyCode(port) == kReplyError && ReplyPayload(port, 1) == kSubSilent) return kKeyWaiting;
      return kKeyRefused;
    default:
      return kKeyRefused;
  }
}

int RestartDevice(ComPort& port, Messenger& messenger, const std::string& password) {
  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  int failed = TakeAccess(port, messenger, password);
  if (!failed)
    failed = Failed(DeviceTransaction(port, messenger, kCmdRestart, {}, kReplyAck,
                                      kRestartReplyLength));
  CloseComPort(port);
  return failed;
}

int LeaveProgramming(ComPort& port, Messenger& messenger) {
  if (OpenComPort(port, messenger) != kPortOpened) return 1;
  const std::array<uint8_t, kLeaveCount> pluses{kLeaveByte, kLeaveByte, kLeaveByte,
                                                kLeaveByte, kLeaveByte, kLeaveByte};
  const size_t sent = port.handle->Write(pluses.data(), pluses.size());
  CloseComPort(port);
  return sent == pluses.size() ? 0 : 1;
}

}  // namespace vorsin
