// The conversion rules of the general page's controls, free of widgets.
#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace vorsin::ui {

// An unsigned decimal at the start of the text, blanks before it skipped;
// nothing when no digit follows them. Large values saturate.
std::optional<unsigned> LeadingNumber(const QString& text);

// Period byte: 0 none, else bits 0-6 the count and bit 7 set for hours.
// A count above 127 or no count keeps the old byte as the start; "ч" or a
// Latin "x" selects hours; "нет" gives 0.
uint8_t ParsePeriod(const QString& text, uint8_t old);
QString FormatPeriod(uint8_t period);

// Counts 0..254: a readable number below 255 replaces the old value.
uint8_t ParseCount(const QString& text, uint8_t old);

// Number fields: what can be typed (at most kNumberFieldLength characters),
// and what may be stored: whatever the device's 8-byte field holds, up to
// 16 characters, so that a longer number from a file or a device that the
// user shortens by one character is kept rather than refused. The letters
// p/п (pause) and t/т/г (dial tone) pass either case.
bool IsNumberKey(QChar c);
bool IsValidNumber(const QString& text);
constexpr int kNumberFieldLength = 14;
constexpr int kNumberFieldChars = 16;

// Device address: every character of the shown text that is not a digit
// becomes "0", so blanks of the input mask count as zeros.
QString DeviceAddressText(const QString& shown);

// PIN on leaving its field: anything shorter than four characters is no PIN.
QString PinAfterLeave(const QString& text);

}  // namespace vorsin::ui
