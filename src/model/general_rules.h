// What the general page decides: the typed values of its boxes and fields,
// and the rules between its options (line disconnected, time sources).
// Texts are Windows-1251.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "model/configuration.h"
#include "model/vocabulary_lists.h"

namespace vorsin {

// Period byte: 0 none, else bits 0-6 the count and bit 7 set for hours.
// A count above 127 or no count keeps the old byte as the start; "ч" or a
// Latin "x" selects hours; "нет" gives 0.
uint8_t ParsePeriod(const std::string& text, uint8_t old);
std::string FormatPeriod(uint8_t period);

// Counts 0..254: a readable number below 255 replaces the old value.
uint8_t ParseCount(const std::string& text, uint8_t old);

// Number fields: what can be typed (at most kNumberFieldLength characters),
// and what may be stored: whatever the device's 8-byte field holds, up to
// 16 characters, so that a longer number from a file or a device that the
// user shortens by one character is kept rather than refused. The letters
// p/п (pause) and t/т/г (dial tone) pass either case.
bool IsNumberKey(char c);
bool IsValidNumber(const std::string& text);
constexpr int kNumberFieldLength = 14;
constexpr int kNumberFieldChars = 16;
// What a number field keeps of a text: all of a valid number, else nothing
// (a paste of letters clears the field, so what is seen is what is kept).
std::string KeptNumber(const std::string& text);

// Device address: every character of the shown text that is not a digit
// becomes "0", so blanks of the input mask count as zeros.
std::string DeviceAddressText(const std::string& shown);

// PIN on leaving its field: anything shorter than four characters is no PIN.
std::string PinAfterLeave(const std::string& text);

// The option boxes of the page, in GeneralFlagNames() order.
constexpr size_t kLineDisconnectedOption = 3;
bool GeneralOptionSet(const Configuration& config, size_t option);
// Whether the box can be changed: the line's own options without a line
// connected, line emulation only without one, a time source only with its
// numbers, a test delivery option only where the test is sent.
bool GeneralOptionOpen(const Configuration& config, size_t option);
// The user sets or clears an option. Disconnecting the line makes every
// phone usable without it; connecting it ends line emulation. Time comes
// from one source only: choosing one drops the other.
void SetGeneralOption(Configuration& config, size_t option, bool on);

// After a number edit: a time source whose numbers are missing is off.
void DropClosedTimeSources(Configuration& config);
// Choosing a profile (by its section): its numbers go in as if typed.
void ApplyProfile(Configuration& config, int section, const ProfileNumbers& numbers);

}  // namespace vorsin
