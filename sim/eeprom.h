// The simulated device's 32 KiB EEPROM and its factory layout.
//
// Factory layout (addresses in hex; every block not listed is 0xFF):
//
//   0010..0011  entry 0   version: image format (default 2), firmware (default 7)
//   001F        programming flag (the byte before the table), 0
//   0020..0075  address table A = 0x0020: 43 entries, 16 bits, low byte first
//   0100..0103  entry 1   PIN code, 4 bytes; start of the configuration area
//   0104..0107  gap
//   0108..0123  entry 3   general block, 28 bytes
//   0124..0133  entry 5   voice repeat table, 16
//   0134..0153  entry 9   user attributes, 32
//   0154..0157  entry 10  loop flags, 4
//   0158..0159  entry 11  common loops, 2
//   015A..015D  entry 12  constants, 4
//   015E..0161  entry 13  reaction times, 4
//   0162..0169  entry 14  arm/disarm delays, 8
//   016A..016F  gap
//   0170..01CF  entry 19  user passwords, 96
//   01D0..023F  entry 24  numbers block, 112
//   0240..036F  entry 25  remote commands, variable: 304 bytes of room
//   0370..037F  entry 27  addressee flags and waits, 16
//   0380..0387  entry 28  delivery limits, 8
//   0388..0389  entry 29  test periods, 2
//   038A..038D  entry 30  loop event bases, 4
//   038E..038F  gap
//   0390..044F  entry 34  touch-memory keys, 192
//   0450..0464  entry 38  21 zero bytes
//   0465..0467  gap
//   0468..046F  entry 41  work phone control, 8
//   0470..0477  entry 42  loop latches, 8
//   0478        entry 40  end of the configuration area (= end of the fixed blocks)
//
// The fixed blocks are zero. The chained entries (16, 17, 26, 31, 32, 33, 39)
// point at entry 40 (empty blocks) until a tool places them; unused entries are 0.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pkdsim {

constexpr size_t kEepromSize = 0x8000;
constexpr uint16_t kTableAddress = 0x0020;
constexpr int kTableEntries = 43;

struct Eeprom {
  std::array<uint8_t, kEepromSize> bytes{};

  uint16_t Entry(int i) const;
  void SetEntry(int i, uint16_t value);
  uint16_t TableAddress() const { return kTableAddress; }
};

// A factory-fresh device with the given version bytes.
Eeprom FactoryEeprom(uint8_t format, uint8_t firmware);

// Whole-image files of exactly 32768 bytes. Return false (with a reason) on failure.
bool LoadEeprom(const std::string& path, Eeprom& eeprom, std::string& error);
bool SaveEeprom(const std::string& path, const Eeprom& eeprom, std::string& error);

// Writes the two version bytes at entry 0.
void SetVersion(Eeprom& eeprom, int format, int firmware);

}  // namespace pkdsim
