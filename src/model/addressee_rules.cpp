#include "model/addressee_rules.h"

#include <algorithm>

#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/device_limits.h"
#include "model/events.h"
#include "model/numbers.h"

namespace vorsin {
namespace {

// Typed byte values: anything from 256 up reads as 256 and is refused.
constexpr uint32_t kByteCap = 256;

template <class T>
bool MoveInList(std::vector<T>& list, int from, int to) {
  const int n = static_cast<int>(list.size());
  if (from < 0 || to < 0 || from >= n || to >= n) return false;
  if (from == to) return true;
  T moved = std::move(list[from]);
  list.erase(list.begin() + from);
  list.insert(list.begin() + to, std::move(moved));
  return true;
}

void MarkAddresseesChanged(Workspace& ws) {
  ws.marks.eventsStale = true;
  ws.marks.reportsStale = true;
}

std::vector<std::string> CpList(std::initializer_list<const char*> utf8) {
  std::vector<std::string> out;
  for (const char* s : utf8) out.push_back(Cp(s));
  return out;
}

constexpr int kGsmItems = 8;  // codes 0, 1, 3..8
constexpr int kLineItems = 4;

}  // namespace

bool CanAddAddressee(const Configuration& config) {
  return static_cast<int>(config.addressees.size()) < kMaxAddressees;
}

bool CanAddPhone(const Addressee& addressee) {
  return static_cast<int>(addressee.phones.size()) < kMaxPhonesPerAddressee;
}

std::string TooManyAddresseesText() { return Cp("Адресатов может быть не больше 8"); }

std::string TooManyPhonesText() {
  return Cp("Телефонов адресата может быть не больше ") + std::to_string(kMaxPhonesPerAddressee);
}

bool AppendAddressee(Workspace& ws, Addressee addressee) {
  if (!CanAddAddressee(ws.config)) return false;
  ws.config.addressees.push_back(std::move(addressee));
  MarkAddresseesChanged(ws);
  return true;
}

std::optional<int> AppendPhone(Addressee& addressee) {
  if (!CanAddPhone(addressee)) return std::nullopt;
  addressee.phones.push_back(NewPhone(addressee));
  return static_cast<int>(addressee.phones.size()) - 1;
}

bool DeleteAddressee(Workspace& ws, int k) {
  auto& list = ws.config.addressees;
  if (k < 0 || k >= static_cast<int>(list.size())) return false;
  DestDeletedInEvents(ws.config, k);
  list.erase(list.begin() + k);
  MarkAddresseesChanged(ws);
  return true;
}

bool DeletePhone(Addressee& addressee, int k) {
  if (k < 0 || k >= static_cast<int>(addressee.phones.size())) return false;
  addressee.phones.erase(addressee.phones.begin() + k);
  return true;
}

void DeleteAllAddressees(Workspace& ws) {
  ClearAddressees(ws.config);
  MarkAddresseesChanged(ws);
}

int DropIndex(int from, int target) { return from < target ? target - 1 : target; }

bool CanMoveAddressee(int from, int to) { return from < kMaxAddressees && to < kMaxAddressees; }

bool MoveAddressee(Workspace& ws, int from, int to) {
  if (!CanMoveAddressee(from, to)) return false;
  if (!MoveInList(ws.config.addressees, from, to)) return false;
  if (from == to) return true;
  DestMovedInEvents(ws.config, from, to);
  MarkAddresseesChanged(ws);
  return true;
}

bool MovePhone(Addressee& addressee, int from, int to) { return MoveInList(addressee.phones, from, to); }

std::vector<std::string> DeliveryModeItems() {
  return CpList({"без подтверждения", "с подтвержением", "с предварительным вызовом"});  // sic
}

int DeliveryModeIndex(uint8_t flags) {
  if (flags & 0x01) return 2;
  return (flags & 0x40) ? 1 : 0;
}

uint8_t WithDeliveryMode(uint8_t flags, int index) {
  flags = static_cast<uint8_t>(flags & ~0x41);
  if (index == 1) flags |= 0x40;
  if (index == 2) flags |= 0x01;
  return flags;
}

bool ConfirmWaitShown(uint8_t flags) { return DeliveryModeIndex(flags) == kConfirmedDelivery; }

const std::vector<FlagName>& AddresseeFlagNames() {
  static const std::vector<FlagName> names = {
      {FlagName::Dial, 7, Cp("Разрешение объединения SMS сообщений")},
      {FlagName::Dial, 5, Cp("Отправка одной SMS за сеанс")},
      {FlagName::Dial, 4, Cp("Разделение цифровых параметров в SMS")},
      {FlagName::Dial, 3, Cp("Включение в сообщение информационного заголовка")},
      {FlagName::Dial, 1, Cp("Проверка доступности абонента (предварительным вызовом)")},
      {FlagName::Dial, 2, Cp("При новом событии возврат к доставке по первому телефону адресата")},
  };
  return names;
}

const std::vector<FlagName>& PhoneFlagNames() {
  static const std::vector<FlagName> names = {
      {FlagName::Dial, 6, Cp("Определение сигнала \"Занято\"")},
      {FlagName::Dial, 4, Cp("Ожидание снятия трубки")},
      {FlagName::Dial, 5, Cp("Телефон отключен")},
  };
  return names;
}

bool AddresseeFlagOpen(int index, uint8_t addresseeFlags) {
  constexpr int kAvailabilityCheck = 4;
  return index != kAvailabilityCheck || ConfirmWaitShown(addresseeFlags);
}

const std::vector<FlagName>& AddresseeDialogFlagNames() {
  static const std::vector<FlagName> names = {
      {FlagName::Dial, 2, Cp("При новом событии возврат к доставке по первому телефону адресата")},
      {FlagName::Dial, 7, Cp("Телефоны поддерживают EMS соообщения")},  // sic
  };
  return names;
}

bool IsCellular(uint8_t phoneFlags) { return (phoneFlags & 0x80) != 0; }

uint8_t WithCellular(uint8_t phoneFlags, bool cellular) {
  return static_cast<uint8_t>(cellular ? (phoneFlags | 0x80) : (phoneFlags & 0x7F));
}

std::string ChannelText(uint8_t phoneFlags) { return Cp(IsCellular(phoneFlags) ? "Сотовый" : "Проводной"); }

bool LineChannelOpen(uint8_t dialFlags) { return (dialFlags & dial_flag::kLineDisconnected) == 0; }

int32_t ParseConfirmWait(const std::string& text, int32_t old) {
  const auto value = LeadingDecimal(text, kByteCap);
  if (!value || *value >= kByteCap) return old;
  return *value < 2 ? 1 : static_cast<int32_t>(*value / 2);
}

std::string ConfirmWaitText(int32_t wait) { return std::to_string(2LL * wait) + Cp(" сек."); }

std::vector<std::string> ConfirmWaitItems() { return {"30", "60", "120", "180"}; }

std::vector<std::string> GsmFormatItems() {
  return CpList({"Отсутствует", "Contact-ID", "Речь", "Sms - текст", "Gsm data", "Уведомление (Data mode)",
                 "Уведомление (Voice mode)", "CUSD запрос "});
}

std::vector<std::string> LineFormatItems() { return CpList({"Отсутствует", "Contact-ID", "Аргус-Т", "Речь"}); }

int GsmFormatItem(int code) {
  if (code == 0 || code == 1) return code;
  if (code >= 3 && code <= kGsmItems) return code - 1;
  return -1;
}

int GsmFormatCode(int item) { return item <= 1 ? item : item + 1; }

int LineFormatItem(int code) { return code >= 0 && code < kLineItems ? code : -1; }

std::string UnlistedFormatText(int code, bool gsm) {
  if (gsm && code == 2) return Cp("Аргус-Т (?\?\?)");
  return Cp("неподдерживаемый тип");
}

int GsmFormat(int32_t formats) { return (formats >> 4) & 0x0F; }
int LineFormat(int32_t formats) { return formats & 0x0F; }
int32_t WithGsmFormat(int32_t formats, int code) { return (formats & ~0xF0) | ((code & 0x0F) << 4); }
int32_t WithLineFormat(int32_t formats, int code) { return (formats & ~0x0F) | (code & 0x0F); }

std::string GsmFormatText(int32_t formats) {
  const int item = GsmFormatItem(GsmFormat(formats));
  return item >= 0 ? GsmFormatItems()[static_cast<size_t>(item)] : UnlistedFormatText(GsmFormat(formats), true);
}

std::string LineFormatText(int32_t formats) {
  const int item = LineFormatItem(LineFormat(formats));
  return item >= 0 ? LineFormatItems()[static_cast<size_t>(item)] : UnlistedFormatText(LineFormat(formats), false);
}

std::vector<std::string> VoiceRepeatItems(const GeneralSettings& general) {
  std::vector<std::string> items;
  for (int i = 0; i < 8; ++i) items.push_back(std::to_string(i) + ": " + std::to_string(general.voiceRepeat(i + 1)));
  return items;
}

int VoiceRepeatItem(uint8_t phoneFlags) {
  const int item = phoneFlags & 0x0F;
  return item < 8 ? item : -1;
}

uint8_t WithVoiceRepeatItem(uint8_t phoneFlags, int item) {
  return static_cast<uint8_t>((phoneFlags & 0xF0) | (item & 0x0F));
}

bool StoreVoiceRepeat(GeneralSettings& general, int item, const std::string& text) {
  if (item < 0 || item > 7) return false;  // entry 0 is the list-cleared mark
  const auto value = LeadingDecimal(text, kByteCap);
  if (!value || *value >= kByteCap) return false;
  general.voiceRepeat(item + 1) = static_cast<uint8_t>(*value);
  return true;
}

void StoreVoiceChoice(GeneralSettings& general, AddresseePhone& phone, int picked, const std::string& text) {
  if (picked >= 0) {
    phone.phoneFlags = WithVoiceRepeatItem(phone.phoneFlags, picked);
  } else {
    StoreVoiceRepeat(general, VoiceRepeatItem(phone.phoneFlags), text);
  }
}

bool IsPhoneKey(char32_t c) {
  if ((c >= U'0' && c <= U'9') || c == U'#' || c == U'*' || c == U'+') return true;
  switch (c) {
    case U'P': case U'T': case U'p': case U't': case U'П': case U'Т': case U'п': case U'т':
    case U'г': case U'Г':  // "дождаться гудка", coded as 't'
      return true;
    default:
      return false;
  }
}

bool IsValidPhoneText(const std::string& text) {
  if (text.empty() || static_cast<int>(text.size()) > kPhoneFieldLength) return false;
  const std::string allowed = "0123456789#*+?pt" + Cp("птг");
  const std::string lower = LowerCp(text);
  return std::all_of(lower.begin(), lower.end(), [&](char c) { return allowed.find(c) != std::string::npos; });
}

bool StorePhoneText(std::string& field, const std::string& typed) {
  field.clear();
  if (!IsValidPhoneText(typed)) return false;
  field = typed;
  return true;
}

SwitchOffBox CheckPhoneUsability(AddresseePhone& phone, uint8_t dialFlags) {
  SwitchOffBox box;
  box.enabled = ApplyPhoneUsability(phone, dialFlags);
  box.checked = (phone.phoneFlags & 0x20) != 0;
  box.greyed = box.enabled && box.checked;
  return box;
}

std::string VoiceRepeatText(const GeneralSettings& general, uint8_t phoneFlags) {
  const int item = VoiceRepeatItem(phoneFlags);
  return item >= 0 ? VoiceRepeatItems(general)[static_cast<size_t>(item)] : std::to_string(phoneFlags & 0x0F);
}

}  // namespace vorsin
