#include "tools/firmware_file.h"

#include <zlib.h>

namespace vorsin {
namespace {

constexpr uint8_t kFirmwareEntry = 0x01;
constexpr uint8_t kEndEntry = 0xFF;
constexpr size_t kEntriesStart = 4;
constexpr size_t kEntrySize = 5;
// count, two address bytes, type, checksum: a record without data.
constexpr size_t kRecordOverhead = 5;

uint32_t Be24(const uint8_t* p) { return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2]; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool Blank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// ':' followed by (L + 1) / 2 - 1 digit pairs; a digit left over is ignored,
// as the loader has always done.
std::optional<HexLine> ParseLine(std::string chars) {
  while (!chars.empty() && (chars.back() == ' ' || chars.back() == '\t')) chars.pop_back();
  if (chars.empty() || chars[0] != ':') return std::nullopt;
  HexLine line;
  const size_t pairs = (chars.size() + 1) / 2 - 1;
  for (size_t i = 0; i < pairs; ++i) {
    const int hi = HexDigit(chars[1 + 2 * i]), lo = HexDigit(chars[2 + 2 * i]);
    if (hi < 0 || lo < 0) return std::nullopt;
    line.bytes.push_back(static_cast<uint8_t>(hi * 16 + lo));
  }
  // The device reads count + 5 bytes after ':'; any other length would run
  // into the next message or leave it waiting.
  if (line.bytes.size() < kRecordOverhead || line.bytes.size() != line.bytes[0] + kRecordOverhead)
    return std::nullopt;
  line.chars = std::move(chars);
  return line;
}

}  // namespace

HwrContent ReadHwr(const std::vector<uint8_t>& file) {
  HwrContent out;
  if (file.size() < 3 || file[0] != 'H' || file[1] != 'w' || file[2] != 'r') return out;
  for (size_t at = kEntriesStart;; at += kEntrySize) {
    // Neither a firmware nor an end entry before the file ends.
    if (file.size() < kEntrySize || at > file.size() - kEntrySize) return out;
    const uint8_t type = file[at];
    if (type == kEndEntry) {
      out.status = HwrStatus::kNoFirmware;
      return out;
    }
    if (type != kFirmwareEntry) continue;
    const size_t start = at + kEntrySize;
    const size_t packed = Be24(&file[at + 2]);
    if (packed > file.size() - start) return out;
    std::vector<uint8_t> unpacked(kHwrUnpackLimit);
    uLongf got = static_cast<uLongf>(unpacked.size());
    if (uncompress(unpacked.data(), &got, file.data() + start, static_cast<uLong>(packed)) != Z_OK) {
      out.status = HwrStatus::kUnpackFailed;
      return out;
    }
    if (got < 3) return out;
    const size_t length = Be24(unpacked.data());
    if (length > got - 3) return out;
    out.text.assign(reinterpret_cast<const char*>(unpacked.data()) + 3, length);
    out.status = HwrStatus::kOk;
    return out;
  }
}

std::optional<std::vector<HexLine>> SplitHexLines(const std::string& text) {
  std::vector<HexLine> lines;
  bool complete = false;
  size_t p = 0;
  while (p < text.size()) {
    const size_t cr = text.find('\r', p);
    const bool last = cr == std::string::npos;
    std::string chars = text.substr(p, last ? std::string::npos : cr - p);
    if (!last && cr + 1 < text.size() && text[cr + 1] == '\n') complete = true;
    if (!Blank(chars)) {
      auto line = ParseLine(std::move(chars));
      if (!line) return std::nullopt;
      lines.push_back(std::move(*line));
    }
    if (last) break;
    p = cr + 2;  // the line and its "\r\n"
  }
  if (!complete || lines.empty()) return std::nullopt;
  return lines;
}

uint16_t LoaderChecksum(const uint8_t* bytes, size_t count) {
  if (count == 0) return 0;
  if (count == 1) return bytes[0];
  uint32_t r = (uint32_t{bytes[0]} << 8) | bytes[1];
  for (size_t i = 2; i < count; ++i) {
    uint32_t a = r & 0xFF00;
    for (int bit = 0; bit < 8; ++bit) {
      const bool out = (a & 0x8000) != 0;
      a = (a << 1) & 0xFFFF;
      if (out) a ^= 0x1021;
    }
    r = (a ^ ((r << 8) | bytes[i])) & 0xFFFF;
  }
  return static_cast<uint16_t>(r);
}

std::optional<std::string> AddressLabel::Follow(const std::string& line) {
  // Record type digits are characters 8 and 9; the upper address byte of a
  // type-04 record is characters 12 and 13, a data record's address 4 to 7.
  if (line.size() < 9) return std::nullopt;
  if (line[8] == '4' && line.size() >= 13) {
    upper_ = line.substr(11, 2);
    return std::nullopt;
  }
  if (line[8] == '0') return "0x" + upper_ + line.substr(3, 4);
  return std::nullopt;
}

}  // namespace vorsin
