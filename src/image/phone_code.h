// Phone numbers and passwords as the device stores them: one 4-bit code per
// character, two characters per byte, high nibble first.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vorsin::image {

// '1'..'9' = 1..9, '0' = 10, 't' = 11, 'p' = 12, '*' = 13, '+' = 14, '#' = 15,
// anything else 0. The Cyrillic 'г', 'т', 'п' and the capitals code like
// their Latin lower-case counterparts, so a number the edit fields accept is
// never cut short at such a letter.
uint8_t PhoneDigitCode(char c);
// The character a code decodes to; 0 gives '0' (where it is not the end mark).
char PhoneDigitChar(uint8_t code);

// A field of n bytes holding up to 2n characters, zero-filled; a number with
// '?' (unknown) is stored as 0xBC followed by zeros.
std::vector<uint8_t> EncodeNumberField(const std::string& number, size_t n);
void EncodeNumberFieldInto(const std::string& number, std::span<uint8_t> field);
// Decodes until a zero nibble or the end of the field; 0xBC first gives "???".
std::string DecodeNumberField(std::span<const uint8_t> field);

// The number fields: an addressee phone's number and prefixes, the other
// numbers of the general block, and the incoming balance number in its
// number form.
constexpr size_t kAddresseeNumberBytes = 5;
constexpr size_t kNumberBytes = 8;
constexpr size_t kExpressInBytes = 16;

// Whether a field of n bytes holds the number as the device will give it
// back: any text with '?' (the unknown number), or at most 2n characters
// that all have a code (code 0 would end the number there).
bool NumberFitsField(const std::string& number, size_t n);
// The number as reading it back from a field of n bytes gives it: Latin
// lower-case letters for the Cyrillic ones and the capitals, "???" for the
// unknown number.
std::string DeviceNumber(const std::string& number, size_t n);

// The 3-byte password field: up to six decimal digits as BCD, unused
// nibbles 0xF. Anything that is not a string of digits gives FF FF FF.
constexpr size_t kPasswordDigits = 6;
std::array<uint8_t, 3> EncodePasswordField(const std::string& password);
// Whether the field gives the password back: up to six digits (none is no
// password), or "???", what a device that hides it gives.
bool PasswordFitsField(const std::string& password);
// Decodes nibbles until 0xF; 0xBC first gives "???" as for numbers.
std::string DecodePasswordField(std::span<const uint8_t> field);

// Whether expressInNumber goes into the number field rather than the text
// form: not empty, under 15 characters, only phone characters.
bool IsPhoneString(const std::string& text);
// Otherwise it goes in as text, this many characters at most.
constexpr size_t kExpressInTextMax = 14;

}  // namespace vorsin::image
