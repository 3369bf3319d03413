#include "eeprom.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace pkdsim {
namespace {

struct FixedBlock {
  int entry;
  uint16_t address;
  uint16_t size;
};

// See the layout in eeprom.h.
constexpr FixedBlock kFixed[] = {
    {1, 0x0100, 4},    {3, 0x0108, 28},  {5, 0x0124, 16},   {9, 0x0134, 32},  {10, 0x0154, 4},
    {11, 0x0158, 2},   {12, 0x015A, 4},  {13, 0x015E, 4},   {14, 0x0162, 8},  {19, 0x0170, 96},
    {24, 0x01D0, 112}, {25, 0x0240, 304}, {27, 0x0370, 16}, {28, 0x0380, 8},  {29, 0x0388, 2},
    {30, 0x038A, 4},   {34, 0x0390, 192}, {38, 0x0450, 21}, {41, 0x0468, 8},  {42, 0x0470, 8},
};
constexpr uint16_t kVersionAddress = 0x0010;
constexpr uint16_t kAreaEnd = 0x0478;
constexpr int kEndEntry = 40;
constexpr int kChained[] = {16, 17, 26, 31, 32, 33, 39};

}  // namespace

uint16_t Eeprom::Entry(int i) const {
  const size_t at = kTableAddress + 2u * static_cast<size_t>(i);
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void Eeprom::SetEntry(int i, uint16_t value) {
  const size_t at = kTableAddress + 2u * static_cast<size_t>(i);
  bytes[at] = static_cast<uint8_t>(value & 0xFF);
  bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void SetVersion(Eeprom& eeprom, int format, int firmware) {
  const uint16_t at = eeprom.Entry(0);
  if (at + 1u >= kEepromSize) return;
  if (format >= 0) eeprom.bytes[at] = static_cast<uint8_t>(format);
  if (firmware >= 0) eeprom.bytes[at + 1u] = static_cast<uint8_t>(firmware);
}

Eeprom FactoryEeprom(uint8_t format, uint8_t firmware) {
  Eeprom e;
  e.bytes.fill(0xFF);
  std::memset(&e.bytes[kTableAddress], 0, 2 * kTableEntries);
  e.bytes[kTableAddress - 1] = 0;  // not being programmed
  e.SetEntry(0, kVersionAddress);
  for (const auto& b : kFixed) {
    e.SetEntry(b.entry, b.address);
    std::memset(&e.bytes[b.address], 0, b.size);
  }
  for (const int i : kChained) e.SetEntry(i, kAreaEnd);
  e.SetEntry(kEndEntry, kAreaEnd);
  SetVersion(e, format, firmware);
  return e;
}

bool LoadEeprom(const std::string& path, Eeprom& eeprom, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return false;
  }
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (data.size() != kEepromSize) {
    error = path + ": an EEPROM image is exactly 32768 bytes, this one has " +
            std::to_string(data.size());
    return false;
  }
  std::memcpy(eeprom.bytes.data(), data.data(), kEepromSize);
  return true;
}

bool SaveEeprom(const std::string& path, const Eeprom& eeprom, std::string& error) {
  // Write beside and rename, so a reader never sees half an image.
  const std::string temp = path + ".tmp";
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(eeprom.bytes.data()), kEepromSize);
    if (!out) {
      error = "cannot write " + temp;
      return false;
    }
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    error = "cannot rename " + temp + " to " + path;
    return false;
  }
  return true;
}

}  // namespace pkdsim
