// The remote-control page's rules: phone bindings, the phone-mode entry's
// captions and modes, the work-phone key filter and command passwords.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

// The fourth control entry also edits workPhoneControl of its phones.
constexpr int kPhoneModeEntry = 3;
constexpr uint8_t kManualStartBit = 0x80;  // '"Ручной запуск" реле'
constexpr uint8_t kPhoneUserBits = 0x1F;

bool PhoneBound(const RemoteCommand& entry, int phone);
void SetPhoneBound(RemoteCommand& entry, int phone, bool bound);

// Caption of item "Тел n" of the phone list: on the phone-mode entry a bound
// phone carries its mode, " у.з." (relay start) or " в\с." (arming).
std::string PhoneItemCaption(int phone, bool phoneModeEntry, bool bound, uint8_t control);

// ComboBox25 index 0 sets the relay-start bit, any other clears it;
// ComboBox26 (users 1..32 as 0..31) sets bits 0-4. Other bits stay.
uint8_t WithPhoneMode(uint8_t control, int modeIndex);
// ComboBox25's items: '"Ручной запуск" реле', "Взятие\Снятие".
std::vector<std::string> PhoneModeItems();
int PhoneModeIndex(uint8_t control);
// The user a phone arms and disarms as (1..32).
int PhoneUser(uint8_t control);
// A phone's mode as the page shows it: '"Ручной запуск" реле', or
// "Взятие\Снятие, " and the user's caption ("Пользователь 03", "Инженер").
std::string PhoneModeText(uint8_t control);
// The phones bound to an entry: "Тел 1, Тел 3", or "нет".
std::string BoundPhonesText(const RemoteCommand& entry);
uint8_t WithPhoneUser(uint8_t control, int userIndex);

// What a key typed into a work-phone field does.
enum class PhoneKey {
  Drop,        // refused
  AnyNumber,   // "?": the text becomes "???", the key itself is dropped
  ClearFirst,  // the text holds "?": it is cleared, then the key is typed
  Type,
};
// key is the typed character, '\b' for backspace.
PhoneKey WorkPhoneKey(const std::string& text, char key);
constexpr size_t kWorkPhoneMaxTyped = 15;

// A command password holds no "я": its byte 0xFF pads the device's field and
// reading skips it.
bool IsCommandPasswordChar(char c);
std::string CommandPasswordText(const std::string& text);

}  // namespace vorsin
