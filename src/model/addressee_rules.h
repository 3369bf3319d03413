// What the addressees page decides: adding, deleting and moving addressees
// and phones with the event masks in step, the codes behind its lists, and
// the rules of its typed values. Texts are Windows-1251.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/configuration.h"
#include "model/flag_names.h"

namespace vorsin {

// Limits: the list holds at most 8 addressees; the device image stores at
// most 15 phones per addressee (the 16th would take the end mark's tag).
bool CanAddAddressee(const Configuration& config);
bool CanAddPhone(const Addressee& addressee);
std::string TooManyAddresseesText();  // "Адресатов может быть не больше 8"
std::string TooManyPhonesText();

// Appends the addressee and marks the pages that show addressees stale.
// Refused (false) when the list is full.
bool AppendAddressee(Workspace& ws, Addressee addressee);
// Appends a new phone; returns its index, or nothing when the addressee is full.
std::optional<int> AppendPhone(Addressee& addressee);

// Removes addressee k with its phones and its bit from every event mask.
bool DeleteAddressee(Workspace& ws, int k);
bool DeletePhone(Addressee& addressee, int k);
// Clears every addressee (and the report bindings with them).
void DeleteAllAddressees(Workspace& ws);

// A node dropped "before" the target: dragging down ends one place above
// the target, since the dragged node leaves its place first.
int DropIndex(int from, int target);
// Moves addressee from to its final index, the event mask bits following.
// Refused when either index is outside the list or, as CanMoveAddressee
// says, past the eight mask bits.
bool CanMoveAddressee(int from, int to);
bool MoveAddressee(Workspace& ws, int from, int to);
bool MovePhone(Addressee& addressee, int from, int to);

// In-place rename: the name is the user's, so the default number is dropped.
template <class Record>
void RenameRecord(Record& record, std::string name) {
  record.name = std::move(name);
  record.autoNumber = 0;
}

// SMS delivery mode (bits 6 and 0 of addresseeFlags): 0 "без подтверждения",
// 1 "с подтвержением", 2 "с предварительным вызовом" (bit 0 wins).
std::vector<std::string> DeliveryModeItems();
int DeliveryModeIndex(uint8_t addresseeFlags);
uint8_t WithDeliveryMode(uint8_t addresseeFlags, int index);
constexpr int kConfirmedDelivery = 1;
// The confirmation wait matters, and is shown, only in confirmed delivery.
bool ConfirmWaitShown(uint8_t addresseeFlags);

// The addressee's check boxes (CheckBox11..16) and the phone's (CheckBox17
// "Занято", CheckBox18 handset, CheckBox19 "Телефон отключен"), in page order.
const std::vector<FlagName>& AddresseeFlagNames();
const std::vector<FlagName>& PhoneFlagNames();
constexpr int kBusyFlag = 0;         // PhoneFlagNames() indexes
constexpr int kHandsetFlag = 1;
constexpr int kSwitchedOffFlag = 2;  // "Телефон отключен"
// The availability check (AddresseeFlagNames() index 4) is a step of the
// confirmed delivery: its box is open only then.
bool AddresseeFlagOpen(int index, uint8_t addresseeFlags);
// The new-addressee dialog's boxes: CheckBox1 "При новом событии возврат ..."
// (bit 2) and CheckBox2 "Телефоны поддерживают EMS соообщения" (bit 7).
const std::vector<FlagName>& AddresseeDialogFlagNames();
// Bit 7 of phoneFlags: "Сотовый" when set, else "Проводной".
bool IsCellular(uint8_t phoneFlags);
uint8_t WithCellular(uint8_t phoneFlags, bool cellular);
std::string ChannelText(uint8_t phoneFlags);
// "Проводной" can be chosen only while the line is connected.
bool LineChannelOpen(uint8_t dialFlags);

// Confirmation wait in units of 2 s. A readable value below 256 is stored
// halved, every value below 2 as 1; anything else keeps the old one.
int32_t ParseConfirmWait(const std::string& text, int32_t old);
std::string ConfirmWaitText(int32_t wait);  // "60 сек."
std::vector<std::string> ConfirmWaitItems();

// Formats byte: GSM code in bits 4-7, line code in bits 0-3. Items map to
// codes; a code no item shows gives -1 and the text shown instead.
std::vector<std::string> GsmFormatItems();
std::vector<std::string> LineFormatItems();
int GsmFormatItem(int code);
int GsmFormatCode(int item);
int LineFormatItem(int code);
std::string UnlistedFormatText(int gsmOrLineCode, bool gsm);
int GsmFormat(int32_t formats);
int LineFormat(int32_t formats);
int32_t WithGsmFormat(int32_t formats, int code);
int32_t WithLineFormat(int32_t formats, int code);
// What the format boxes show for a phone: the item's text, or the text
// shown for a code no item stands for.
std::string GsmFormatText(int32_t formats);
std::string LineFormatText(int32_t formats);

// Voice repeats: the items "i: v" for the table entries 1..8, the item a
// phone selects (-1 for bits 0-3 of 8..15), and a typed table value.
std::vector<std::string> VoiceRepeatItems(const GeneralSettings& general);
int VoiceRepeatItem(uint8_t phoneFlags);
uint8_t WithVoiceRepeatItem(uint8_t phoneFlags, int item);
// The item the voice box shows for a phone, or its table entry's number.
std::string VoiceRepeatText(const GeneralSettings& general, uint8_t phoneFlags);
// Stores a typed value (below 256) as entry item + 1; only items 0..7 take one.
bool StoreVoiceRepeat(GeneralSettings& general, int item, const std::string& text);
// The voice box's edit: a picked item (0..7) chooses the phone's entry;
// text no item matches (picked -1) rewrites the value of the entry the
// phone has chosen, which all phones share.
void StoreVoiceChoice(GeneralSettings& general, AddresseePhone& phone, int picked, const std::string& text);

// Phone number and prefixes: the characters that can be typed, and what may
// be stored (at most 10 characters of 0-9 # * + ? p t п т г in either case;
// г is the hint's "дождаться гудка" and codes as t).
constexpr int kPhoneFieldLength = 10;
bool IsPhoneKey(char32_t c);
bool IsValidPhoneText(const std::string& text);
// A typed number or prefix: stored when valid, else the field is emptied.
// Returns whether the text was stored.
bool StorePhoneText(std::string& field, const std::string& typed);

// How "Телефон отключен" looks after the usability check: a phone with no
// usable channel shows it checked and disabled.
struct SwitchOffBox {
  bool enabled = true;
  bool checked = false;
  bool greyed = false;  // the grey background of a switched-off phone
};
SwitchOffBox CheckPhoneUsability(AddresseePhone& phone, uint8_t dialFlags);

}  // namespace vorsin
