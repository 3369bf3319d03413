#include "image/phone_code.h"

#include <algorithm>

namespace vorsin::image {
namespace {

// Windows-1251 bytes of the Cyrillic letters the number fields accept.
constexpr unsigned char kCyrGe = 0xE3, kCyrGeCap = 0xC3;   // г Г
constexpr unsigned char kCyrPe = 0xEF, kCyrPeCap = 0xCF;   // п П
constexpr unsigned char kCyrTe = 0xF2, kCyrTeCap = 0xD2;   // т Т
constexpr uint8_t kUnknownNumber = 0xBC;
constexpr uint8_t kPasswordEnd = 0x0F;

void PutNibble(std::span<uint8_t> field, size_t i, uint8_t code) {
  uint8_t& b = field[i / 2];
  b = i % 2 == 0 ? static_cast<uint8_t>((b & 0x0F) | (code << 4))
                 : static_cast<uint8_t>((b & 0xF0) | (code & 0x0F));
}

uint8_t NibbleAt(std::span<const uint8_t> field, size_t i) {
  const uint8_t b = field[i / 2];
  return i % 2 == 0 ? static_cast<uint8_t>(b >> 4) : static_cast<uint8_t>(b & 0x0F);
}

}  // namespace

uint8_t PhoneDigitCode(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  if (c >= '1' && c <= '9') return static_cast<uint8_t>(c - '0');
  switch (c) {
    case '0': return 10;
    case 't': case 'T': case kCyrGe: case kCyrGeCap: case kCyrTe: case kCyrTeCap: return 11;
    case 'p': case 'P': case kCyrPe: case kCyrPeCap: return 12;
    case '*': return 13;
    case '+': return 14;
    case '#': return 15;
    default: return 0;
  }
}

char PhoneDigitChar(uint8_t code) {
  static constexpr char kChars[16] = {'0', '1', '2', '3', '4', '5', '6', '7',
                                      '8', '9', '0', 't', 'p', '*', '+', '#'};
  return kChars[code & 0x0F];
}

void EncodeNumberFieldInto(const std::string& number, std::span<uint8_t> field) {
  std::fill(field.begin(), field.end(), uint8_t{0});
  if (field.empty()) return;
  if (number.find('?') != std::string::npos) {
    field[0] = kUnknownNumber;
    return;
  }
  const size_t count = std::min(number.size(), 2 * field.size());
  for (size_t i = 0; i < count; ++i) PutNibble(field, i, PhoneDigitCode(number[i]));
}

std::vector<uint8_t> EncodeNumberField(const std::string& number, size_t n) {
  std::vector<uint8_t> field(n);
  EncodeNumberFieldInto(number, field);
  return field;
}

std::string DecodeNumberField(std::span<const uint8_t> field) {
  if (field.empty()) return {};
  if (field[0] == kUnknownNumber) return "???";
  std::string out;
  for (size_t i = 0; i < 2 * field.size(); ++i) {
    const uint8_t code = NibbleAt(field, i);
    if (code == 0) break;
    out += PhoneDigitChar(code);
  }
  return out;
}

bool NumberFitsField(const std::string& number, size_t n) {
  if (number.find('?') != std::string::npos) return n > 0;
  return number.size() <= 2 * n &&
         std::all_of(number.begin(), number.end(), [](char c) { return PhoneDigitCode(c) != 0; });
}

std::string DeviceNumber(const std::string& number, size_t n) {
  return DecodeNumberField(EncodeNumberField(number, n));
}

std::array<uint8_t, 3> EncodePasswordField(const std::string& password) {
  std::array<uint8_t, 3> out{0xFF, 0xFF, 0xFF};
  const bool digits = !password.empty() && std::all_of(password.begin(), password.end(),
                                                       [](char c) { return c >= '0' && c <= '9'; });
  if (!digits) return out;
  const size_t count = std::min<size_t>(password.size(), kPasswordDigits);
  for (size_t i = 0; i < count; ++i) PutNibble(out, i, static_cast<uint8_t>(password[i] - '0'));
  return out;
}

bool PasswordFitsField(const std::string& password) {
  const bool digits = password.size() <= kPasswordDigits &&
                      std::all_of(password.begin(), password.end(), [](char c) { return c >= '0' && c <= '9'; });
  return digits || password == "???";
}

std::string DecodePasswordField(std::span<const uint8_t> field) {
  // The device hides a password it will not give away behind the unknown mark.
  if (!field.empty() && field[0] == kUnknownNumber) return "???";
  std::string out;
  for (size_t i = 0; i < 2 * field.size(); ++i) {
    const uint8_t code = NibbleAt(field, i);
    if (code == kPasswordEnd) break;
    out += PhoneDigitChar(code);
  }
  return out;
}

bool IsPhoneString(const std::string& text) {
  if (text.empty() || text.size() >= 15) return false;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    const bool ok = (c >= '0' && c <= '9') || c == '\b' || c == '#' || c == '*' || c == '+' ||
                    c == '?' || c == 'p' || c == 'P' || c == 't' || c == 'T' || c == kCyrPe ||
                    c == kCyrPeCap || c == kCyrTe || c == kCyrTeCap;
    if (!ok) return false;
  }
  return true;
}

}  // namespace vorsin::image
