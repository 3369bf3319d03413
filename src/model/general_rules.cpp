#include "model/general_rules.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/flag_names.h"
#include "model/numbers.h"
#include "model/time_events.h"

namespace vorsin {
namespace {

constexpr size_t kTimeByOwn = 6;
constexpr size_t kTimeByExpress = 7;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

uint8_t OptionByte(const Configuration& config, size_t option) {
  return GeneralFlagNames().at(option).byte == FlagName::Dial ? config.general.dialFlags()
                                                              : config.general.serviceFlags();
}

uint8_t& OptionByte(Configuration& config, size_t option) {
  return GeneralFlagNames().at(option).byte == FlagName::Dial ? config.general.dialFlags()
                                                              : config.general.serviceFlags();
}

bool TimeByOwnOpen(const Configuration& c) { return !c.smsCentre.empty() && !c.ownNumber.empty(); }
bool TimeByExpressOpen(const Configuration& c) {
  return !c.smsCentre.empty() && !c.expressOutNumber.empty() && !c.expressInNumber.empty();
}

void SetBit(Configuration& config, size_t option, bool on) {
  uint8_t& byte = OptionByte(config, option);
  const auto mask = static_cast<uint8_t>(1u << GeneralFlagNames().at(option).bit);
  byte = static_cast<uint8_t>(on ? (byte | mask) : (byte & ~mask));
}

}  // namespace

uint8_t ParsePeriod(const std::string& text, uint8_t old) {
  const std::string lower = LowerCp(text);
  uint8_t value = old;
  if (const auto n = LeadingDecimal(lower); n && *n <= 127) value = static_cast<uint8_t>(*n);
  if (Contains(lower, Cp("ч")) || Contains(lower, "x")) value |= 0x80;
  if (Contains(lower, Cp("нет"))) value = 0;
  return value;
}

std::string FormatPeriod(uint8_t period) {
  const auto unit = (period & 0x80) ? CountUnit::Hours : CountUnit::Minutes;
  return FormatCount(period & 0x7F, unit);
}

uint8_t ParseCount(const std::string& text, uint8_t old) {
  const auto n = LeadingDecimal(text);
  return n && *n < 255 ? static_cast<uint8_t>(*n) : old;
}

bool IsNumberKey(char c) { return (c >= '0' && c <= '9') || c == '#' || c == '*' || c == '+'; }

bool IsValidNumber(const std::string& text) {
  if (text.empty() || text.size() > static_cast<size_t>(kNumberFieldChars)) return false;
  static const std::string kLetters = Cp("?ptптг");
  const std::string lower = LowerCp(text);
  return std::all_of(lower.begin(), lower.end(),
                     [](char c) { return IsNumberKey(c) || kLetters.find(c) != std::string::npos; });
}

std::string KeptNumber(const std::string& text) { return IsValidNumber(text) ? text : std::string(); }

std::string DeviceAddressText(const std::string& shown) {
  std::string out = shown;
  for (char& c : out) {
    if (c < '0' || c > '9') c = '0';
  }
  return out;
}

std::string PinAfterLeave(const std::string& text) { return text.size() < 4 ? std::string() : text; }

bool GeneralOptionSet(const Configuration& config, size_t option) {
  return FlagSet(OptionByte(config, option), GeneralFlagNames().at(option));
}

bool GeneralOptionOpen(const Configuration& config, size_t option) {
  const bool disconnected = config.general.dialFlags() & dial_flag::kLineDisconnected;
  switch (option) {
    case 0:
    case 1:
    case 2: return !disconnected;
    case 4:
    case 5: return disconnected;
    case kTimeByOwn: return TimeByOwnOpen(config);
    case kTimeByExpress: return TimeByExpressOpen(config);
    case 8: return TestDeliveryOptionOpen(config, 0);
    case 9: return TestDeliveryOptionOpen(config, 1);
    default: return true;
  }
}

void SetGeneralOption(Configuration& config, size_t option, bool on) {
  SetBit(config, option, on);
  if (option == kLineDisconnectedOption) {
    if (on) {
      ApplyPhoneUsabilityToAll(config);
    } else {
      config.general.serviceFlags() &= 0x3F;  // without a line there is nothing to emulate
    }
  }
  if (on && option == kTimeByOwn) SetBit(config, kTimeByExpress, false);
  if (on && option == kTimeByExpress) SetBit(config, kTimeByOwn, false);
}

void DropClosedTimeSources(Configuration& config) {
  if (!TimeByOwnOpen(config)) SetBit(config, kTimeByOwn, false);
  if (!TimeByExpressOpen(config)) SetBit(config, kTimeByExpress, false);
}

void ApplyProfile(Configuration& config, int section, const ProfileNumbers& numbers) {
  config.general.setProfileIndex(section);
  config.smsCentre = KeptNumber(numbers.smsCentre);
  config.expressOutNumber = KeptNumber(numbers.expressOut);
  config.expressInNumber = numbers.expressIn;
  DropClosedTimeSources(config);
}

}  // namespace vorsin
