// Resetting the configuration to its defaults and the small operations on
// addressees and phones that every page relies on.
#pragma once

#include <string>

#include "model/configuration.h"
#include "model/vocabulary.h"

namespace vorsin {

// The "Новый" reset: fixed defaults first, then the vocabulary-backed lists,
// in the order the device and the pages expect.
void ResetToDefaults(Workspace& ws, Vocabulary& vocabulary);

// The single default user: number 32, flags 128.
User DefaultUser();
Addressee NewAddressee(const Configuration& config);    // with one new phone
AddresseePhone NewPhone(const Addressee& addressee);

// Removes every addressee, and its bit from the event masks (last first).
void ClearAddressees(Configuration& config);

int NextAddresseeNumber(const Configuration& config);
int NextPhoneNumber(const Addressee& addressee);

// Channel usability invariant: a phone with no usable channel is switched off
// (bit 5). Returns whether the user may still choose "switched off" freely,
// that is whether some channel is usable.
bool LineChannelUsable(const AddresseePhone& phone, uint8_t dialFlags);
bool GsmChannelUsable(const AddresseePhone& phone);
bool ApplyPhoneUsability(AddresseePhone& phone, uint8_t dialFlags);
// After bit 3 of dialFlags changed: re-applies the invariant to every phone.
void ApplyPhoneUsabilityToAll(Configuration& config);

// deliveryLimit: the ComboBox31 row shown for a stored value, and the code
// stored for a row. Showing a value leaves it as it is (the device takes any
// byte); choosing a row stores that row's code.
int DeliveryLimitRow(int32_t stored);
int32_t DeliveryLimitCode(int row);
// The ComboBox31 item text of a row ("не ограничено" .. "сутки"); empty out of range.
std::string DeliveryLimitText(int row);

}  // namespace vorsin
