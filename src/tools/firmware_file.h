// Firmware files (*.hwr) and the loader's line messages. A file is "Hwr", one
// byte, then 5-byte entries (type, one byte, 24-bit size, high byte first);
// the firmware entry is followed by a zlib stream that unpacks to a 24-bit
// length and that many bytes of Intel HEX text, lines ended by "\r\n".
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorsin {

enum class HwrStatus {
  kOk,
  kNoFirmware,  // the end entry came first: nothing to do, nothing to say
  kBadFormat,   // "Формат не поддерживается или файл повреждён"
  kUnpackFailed,  // "Ошибка сжатия.\n..."
};

struct HwrContent {
  HwrStatus status = HwrStatus::kBadFormat;
  std::string text;  // the unpacked HEX text when kOk
};

// The most a firmware stream may unpack to.
constexpr size_t kHwrUnpackLimit = 200000;

// Finds and unpacks the firmware text of a whole file. Never reads outside
// bytes or the unpacked buffer.
HwrContent ReadHwr(const std::vector<uint8_t>& file);

// One line of the HEX text: its characters (without ':' and "\r\n") and the
// bytes its digit pairs give, which follow ':' on the wire.
struct HexLine {
  std::string chars;  // the line as written, ':' included
  std::vector<uint8_t> bytes;
};

// Splits the text at "\r\n" and turns each line into its message bytes.
// Blank lines are skipped; a last line without "\r\n" is kept. Returns
// nullopt (the format message) for a text without one complete line, a line
// not starting with ':', digits that are not hexadecimal, or a line whose
// bytes disagree with its own byte count (count, address, type, data, sum).
std::optional<std::vector<HexLine>> SplitHexLines(const std::string& text);

// The loader's reply to a line: the bytes after ':' as one polynomial (first
// byte's top bit highest) modulo x^16 + x^12 + x^5 + 1, no initial value, no
// appended zeros, no final inversion.
uint16_t LoaderChecksum(const uint8_t* bytes, size_t count);

// Follows the HEX records for the address shown while uploading: a type-04
// record gives the upper address byte, a data record shows "0x" + that byte's
// two digits + its own four address digits.
class AddressLabel {
 public:
  // Looks at one line; returns the new label when it is a data line.
  std::optional<std::string> Follow(const std::string& line);

 private:
  std::string upper_;
};

}  // namespace vorsin
