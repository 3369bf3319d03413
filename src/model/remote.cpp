#include "model/remote.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/users.h"

namespace vorsin {
namespace {

constexpr char kPadByte = static_cast<char>(0xFF);  // "я"

}  // namespace

bool PhoneBound(const RemoteCommand& entry, int phone) { return entry.allowsPhone(phone); }

void SetPhoneBound(RemoteCommand& entry, int phone, bool bound) {
  entry.setAllowsPhone(phone, bound);
}

std::string PhoneItemCaption(int phone, bool phoneModeEntry, bool bound, uint8_t control) {
  std::string caption = Cp("Тел ") + std::to_string(phone + 1);
  if (phoneModeEntry && bound) caption += (control & kManualStartBit) ? Cp(" у.з.") : Cp(" в\\с.");
  return caption;
}

uint8_t WithPhoneMode(uint8_t control, int modeIndex) {
  return modeIndex == 0 ? static_cast<uint8_t>(control | kManualStartBit)
                        : static_cast<uint8_t>(control & ~kManualStartBit);
}

uint8_t WithPhoneUser(uint8_t control, int userIndex) {
  return static_cast<uint8_t>((control & ~kPhoneUserBits) | (userIndex & kPhoneUserBits));
}

std::vector<std::string> PhoneModeItems() { return {Cp("\"Ручной запуск\" реле"), Cp("Взятие\\Снятие")}; }

int PhoneModeIndex(uint8_t control) { return control & kManualStartBit ? 0 : 1; }

int PhoneUser(uint8_t control) { return (control & kPhoneUserBits) + 1; }

std::string PhoneModeText(uint8_t control) {
  const int index = PhoneModeIndex(control);
  const std::string mode = PhoneModeItems()[static_cast<size_t>(index)];
  return index == 0 ? mode : mode + ", " + UserCaption(PhoneUser(control));
}

std::string BoundPhonesText(const RemoteCommand& entry) {
  std::string out;
  for (int phone = 0; phone < kWorkPhones; ++phone) {
    if (!PhoneBound(entry, phone)) continue;
    if (!out.empty()) out += ", ";
    out += PhoneItemCaption(phone, false, false, 0);
  }
  return out.empty() ? Cp("нет") : out;
}

PhoneKey WorkPhoneKey(const std::string& text, char key) {
  if (key == '?') return PhoneKey::AnyNumber;
  const bool backspace = key == '\b';
  if (!backspace && !(key >= '0' && key <= '9') && key != '#' && key != '*' && key != '+') return PhoneKey::Drop;
  if (!backspace && text.size() >= kWorkPhoneMaxTyped) return PhoneKey::Drop;
  return text.find('?') != std::string::npos ? PhoneKey::ClearFirst : PhoneKey::Type;
}

bool IsCommandPasswordChar(char c) { return c != kPadByte; }

std::string CommandPasswordText(const std::string& text) {
  std::string out = text;
  out.erase(std::remove(out.begin(), out.end(), kPadByte), out.end());
  return out;
}

}  // namespace vorsin
