// Firmware files for the loader tests: HEX text packed the way *.hwr files
// carry it.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace vorsin::testing {

// A type-04 record (upper address 0x0056), a data line at 7800, the end record.
inline const char kHexText[] =
    ":020000040056A4\r\n"
    ":10780000000102030405060708090A0B0C0D0E0F64\r\n"
    ":00000001FF\r\n";

inline std::vector<uint8_t> Pack(const std::vector<uint8_t>& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  out.resize(size);
  return out;
}

// The unpacked content: a 24-bit length, then the text.
inline std::vector<uint8_t> Inner(const std::string& text, size_t claimed) {
  std::vector<uint8_t> raw{uint8_t(claimed >> 16), uint8_t(claimed >> 8), uint8_t(claimed)};
  raw.insert(raw.end(), text.begin(), text.end());
  return raw;
}

inline void Entry(std::vector<uint8_t>& file, uint8_t type, size_t size) {
  for (const uint8_t b : {type, uint8_t{0}, uint8_t(size >> 16), uint8_t(size >> 8), uint8_t(size)}) file.push_back(b);
}

// "Hwr", a byte, then entries before the firmware entry and its stream.
inline std::vector<uint8_t> MakeHwr(const std::string& text, const std::vector<uint8_t>& before = {}) {
  std::vector<uint8_t> file{'H', 'w', 'r', 1};
  for (const uint8_t type : before) Entry(file, type, 0);
  const auto packed = Pack(Inner(text, text.size()));
  Entry(file, 1, packed.size());
  file.insert(file.end(), packed.begin(), packed.end());
  return file;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace vorsin::testing
