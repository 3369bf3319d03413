#include "image/block_rules.h"

#include <algorithm>

#include "image/event_table.h"
#include "image/fixed_blocks.h"
#include "image/image_layout.h"
#include "image/phone_code.h"
#include "image/relay_blocks.h"
#include "model/cp1251.h"
#include "model/loops.h"
#include "model/relays.h"
#include "model/time_events.h"
#include "sms/sms.h"

namespace vorsin::image {
namespace {

bool FitsByte(int32_t v) { return v >= 0 && v <= 255; }

// A number field holds the characters that have a code, two a byte; the
// letters come back as their Latin lower-case form, which the device dials
// alike, and a number with "?" as the unknown number.
void NumberHolds(Problems& p, Subject subject, const std::string& what, const std::string& number, size_t bytes) {
  if (NumberFitsField(number, bytes)) return;
  const auto bad = std::find_if(number.begin(), number.end(), [](char ch) { return PhoneDigitCode(ch) == 0; });
  const std::string why = bad != number.end()
                              ? Cp(": символ \"") + std::string(1, *bad) + Cp("\" не записать в устройство")
                              : Cp(": не более ") + N(2 * bytes) + Cp(" символов");
  p.Add(subject, what + " " + Quoted(number) + why);
}

}  // namespace

std::vector<std::string> Problems::Lines() const {
  auto sorted = lines_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<std::string> out;
  for (auto& line : sorted) out.push_back(std::move(line.second));
  return out;
}

void PinHolds(const Configuration& c, Problems& p) {
  // The SIM PIN travels as four bytes, a zero byte ending it.
  if (c.pinCode.size() > kPinSize || c.pinCode.find('\0') != std::string::npos)
    p.Add(Subject::Pin, Cp("PIN-код: допустимо не более 4 символов, без нулевого байта"));
}

void UsersHold(const Configuration& c, Problems& p) {
  // Each user number owns one slot of the user blocks; a second user of the
  // same number would vanish.
  std::vector<int> seen;
  for (const User& u : c.users) {
    const int n = u.w[User::kNumber];
    const std::string who = Cp("Пользователь с номером ") + N(n);
    if (n < 1 || n > kMaxUsers)
      p.Add(Subject::Users, who + Cp(": допустимы номера от 1 до ") + N(kMaxUsers));
    else if (std::count(seen.begin(), seen.end(), n) == 1)
      p.Add(Subject::Users, who + Cp(" указан несколько раз"));
    seen.push_back(n);
    // Anything else would be written as no password at all.
    if (!PasswordFitsField(u.text))
      p.Add(Subject::Users,
            who + Cp(": пароль ") + Quoted(u.text) + Cp(" не записать в устройство, допустимо до 6 цифр"));
    // An empty slot's mark would make the user vanish.
    const int32_t flags = u.w[User::kFlags];
    if (!FitsByte(flags) || (n != kEngineerUser && (flags & kNoUserBit)))
      p.Add(Subject::Users, who + Cp(": недопустимые признаки ") + N(flags));
  }
}

void AddresseesHold(const Configuration& c, Problems& p) {
  int written = 0;
  for (const Addressee& a : c.addressees) {
    if (!a.phones.empty()) ++written;
    // The confirmation wait, the delivery limit and a phone's formats are single bytes.
    bool wide = !FitsByte(a.confirmWait) || !FitsByte(a.deliveryLimit);
    for (const AddresseePhone& phone : a.phones) wide = wide || !FitsByte(phone.formats);
    if (wide)
      p.Add(Subject::Addressees, Cp("Адресат ") + Quoted(a.name) +
                                     Cp(": время подтверждения, число доставок или форматы вне пределов от 0 до 255"));
    if (static_cast<int>(a.phones.size()) > kMaxPhonesPerAddressee)
      p.Add(Subject::Addressees, Cp("Адресат ") + Quoted(a.name) + ": " + N(a.phones.size()) +
                                     Cp(" телефонов, допустимо не более ") + N(kMaxPhonesPerAddressee));
  }
  if (written > kMaxAddressees)
    p.Add(Subject::Addressees,
          Cp("Адресатов с телефонами ") + N(written) + Cp(", допустимо не более ") + N(kMaxAddressees));
  // An addressee's phone keeps its number and prefixes in 5 bytes each.
  for (const Addressee& a : c.addressees)
    for (const AddresseePhone& phone : a.phones)
      for (const std::string* number : {&phone.phoneNumber, &phone.cellPrefix, &phone.linePrefix})
        NumberHolds(p, Subject::AddresseeNumbers, Cp("Адресат ") + Quoted(a.name) + ", " + Quoted(phone.name), *number,
                    kAddresseeNumberBytes);
}

void GeneralHolds(const Configuration& c, Problems& p) {
  const std::string& address = c.deviceAddress;
  if (address.size() != kDeviceAddressDigits ||
      !std::all_of(address.begin(), address.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    p.Add(Subject::DeviceAddress, Cp("Адрес ПКД-РС ") + Quoted(address) + Cp(": допустимы ровно 4 цифры"));
  // A project file may carry any byte; the device would keep its low four bits.
  for (int R = 0; R < kRelays; ++R)
    if (c.relayTimeLimit[R] > kMaxRelayTimeLimit)
      p.Add(Subject::RelayTimeLimits, Cp("Реле ") + N(R + 1) + Cp(": ограничение времени ") + N(c.relayTimeLimit[R]) +
                                          Cp(" вне пределов от 0 до ") + N(kMaxRelayTimeLimit));
}

void CommonLoopsHold(const Configuration& c, Problems& p) {
  // Four bits a loop, one per loop.
  for (int L = 0; L < kLoops; ++L)
    if (c.general.commonLoops(L) > 0x0F)
      p.Add(Subject::CommonLoops, Cp("Шлейф ") + N(L + 1) + Cp(": общие шлейфы ") + N(c.general.commonLoops(L)) +
                                      Cp(" вне пределов от 0 до 15 (по биту на шлейф)"));
}

void LoopEventBasesHold(const Configuration& c, Problems& p) {
  // Reading takes each loop's events from its base on: a list that ends
  // before a block does would be read back from other blocks' bytes.
  for (int L = 0; L < kLoops; ++L) {
    const size_t base = c.general.loopEventBase(L);
    const size_t block = static_cast<size_t>(std::max(LoopRangeCount(c, L) - 1, MinLoopEvents(L)));
    if (base + block > c.events.size())
      p.Add(Subject::LoopEvents, Cp("Шлейф ") + N(L + 1) + Cp(": событий в таблице ") + N(c.events.size()) +
                                     Cp(", а блоку событий шлейфа нужно ") + N(base + block) + Cp(" (с позиции ") +
                                     N(base + 1) + Cp("); выберите таблицу интервалов шлейфа заново"));
  }
}

void NumbersHold(const Configuration& c, Problems& p) {
  // An incoming balance number that is no phone string goes in as text, read
  // back up to the first zero byte.
  const std::string& balanceIn = c.expressInNumber;
  const bool phoneForm = IsPhoneString(balanceIn);
  if (!phoneForm && (balanceIn.size() > kExpressInTextMax || balanceIn.find('\0') != std::string::npos))
    p.Add(Subject::BalanceText,
          Cp("Входящий номер \"express\" баланса: допустимо не более 14 символов, без нулевого байта"));
  for (const NumberField& field : kNumberFields)
    NumberHolds(p, Subject::Numbers, Cp(field.label), c.*field.number, kNumberBytes);
  if (phoneForm) NumberHolds(p, Subject::Numbers, Cp("Входящий номер \"express\" баланса"), balanceIn, kExpressInBytes);
  for (size_t i = 0; i < c.workPhones.size(); ++i)
    NumberHolds(p, Subject::WorkPhones, Cp("Рабочий телефон ") + N(i + 1), c.workPhones[i], kNumberBytes);
}

void LevelTablesHold(const Configuration& c, Problems& p) {
  for (int L = 0; L < kLoops; ++L) {
    const size_t index = c.general.intervalIndex(L);
    const std::string which = Cp("Шлейф ") + N(L + 1) + Cp(": таблица интервалов ") + N(index);
    if (index >= c.intervals.size() || index >= c.intervalDescriptions.size()) {
      p.Add(Subject::LoopTables, which + Cp(" не существует, выберите другую"));
      continue;
    }
    // The device keeps a table as a count and one byte per level.
    const Interval& t = c.intervals[index];
    const int ranges = t.w[Interval::kRangeCount];
    bool fits = ranges >= 1 && ranges <= kMaxRanges;
    for (int i = 0; fits && i < 2 * ranges; ++i) fits = FitsByte(t.w[Interval::kFirstRange + i]);
    if (!fits)
      p.Add(Subject::LoopTables,
            which + Cp(" не помещается в устройство (от 1 до 8 диапазонов, уровни от 0 до 255)"));
  }
}

void EventsHold(const Configuration& c, Problems& p) {
  const auto which = [&](size_t e) { return Cp("Событие ") + N(e) + " " + Quoted(c.events[e].text); };
  for (size_t e = 0; e < c.events.size(); ++e)
    for (const int32_t voice : {c.events[e].w[EventEntry::kVoiceNew], c.events[e].w[EventEntry::kVoiceRestore]})
      if (voice < 0 || voice > kMaxVoiceMessage) {
        p.Add(Subject::EventVoices,
              which(e) + Cp(": голосовое сообщение ") + N(voice) + Cp(", допустимо не более ") + N(kMaxVoiceMessage));
        break;
      }
  // What does not fit its word's field would reach the device as another
  // code, zone or mask.
  for (size_t e = 0; e < c.events.size(); ++e)
    for (const EventWordRange& f : kEventWordRanges) {
      const int32_t v = c.events[e].w[f.word];
      if (v < 0 || v > f.high) {
        p.Add(Subject::EventFields, which(e) + Cp(": поле ") + N(static_cast<long long>(f.word)) + " (" + N(v) +
                                        Cp(") вне пределов от 0 до ") + N(f.high));
        break;
      }
    }
}

void RelaysHold(const Configuration& c, Problems& p) {
  for (int relay = 0; relay < kRelays; ++relay) {
    const size_t body = RelayBodySize(c, relay);
    if (body > static_cast<size_t>(kMaxRelayBody))
      p.Add(Subject::Relays, Cp("Реле ") + N(relay + 1) + Cp(": слишком много привязок (") + N(body) +
                                 Cp(" байт, допустимо не более ") + N(kMaxRelayBody) + Cp("), уберите часть привязок"));
    if (FireLoopRelay(c, relay) >= 0) continue;  // its lists are not written
    // What the binding's two bytes would give back different is refused.
    for (int k = 0; k < kRelayLists; ++k) {
      const auto& list = c.relayBindings[relay][k];
      for (size_t i = 0; i < list.size(); ++i) {
        const RelayBinding& b = list[i];
        const auto bytes = EncodeBinding(b);
        const RelayBinding back = DecodeBinding(bytes[0], bytes[1], k < kLoops);
        if (back.w[RelayBinding::kSource] == b.w[RelayBinding::kSource] && back.w[RelayBinding::kReactionFlags] == b.w[RelayBinding::kReactionFlags] &&
            back.w[RelayBinding::kPriority] == b.w[RelayBinding::kPriority])
          continue;
        p.Add(Subject::Relays, Cp("Реле ") + N(relay + 1) + ", " +
                                   (k < kLoops ? Cp("шлейф ") + N(k + 1) : Cp("общие")) + Cp(": привязка ") +
                                   N(i + 1) + Cp(" (источник ") + N(b.w[RelayBinding::kSource]) + Cp(", признаки ") +
                                   N(b.w[RelayBinding::kReactionFlags]) + Cp(", приоритет ") + N(b.w[RelayBinding::kPriority]) +
                                   Cp(") не помещается в устройство"));
        break;  // one line per list is enough to find it
      }
    }
  }
}

void RelayPatternsHold(const Configuration& c, Problems& p) {
  for (const ParamRecord& pattern : c.relayPatterns) {
    const std::string which = Cp("Реакция реле ") + Quoted(pattern.text);
    const int steps = pattern.w[RelayPattern::kStepCount];
    if (steps < 1 || steps > kMaxPatternSteps) {
      p.Add(Subject::RelayPatterns, which + Cp(": число шагов ") + N(steps) + Cp(", допустимо от 1 до 16"));
      continue;
    }
    for (int i = 0; i < steps; ++i) {
      const int32_t word = pattern.w[RelayPattern::kFirstStep + i];
      if (!FitsByte(word)) {
        p.Add(Subject::RelayPatterns,
              which + Cp(": шаг ") + N(i + 1) + " (" + N(word) + Cp(") вне пределов от 0 до 255"));
        break;
      }
      const int step = word & 0xFF;
      const bool last = i == steps - 1;
      // The last-step mark: in any step it does not come back as written.
      if (last && (step | kLastStepBit) == kPatternsEnd)
        p.Add(Subject::RelayPatterns, which + Cp(": последний шаг ") + N(step) +
                                          Cp(" будет прочитан как конец списка, измените его длительность"));
      else if (step & kLastStepBit)
        p.Add(Subject::RelayPatterns, which + Cp(": шаг ") + N(i + 1) + " (" + N(step) +
                                          (last ? Cp(") будет прочитан без бита 6, уберите бит 6")
                                                : Cp(") будет прочитан как последний, уберите бит 6")));
    }
  }
}

void SmsTextsHold(const Configuration& c, Problems& p) {
  // Each list has its range of identifiers.
  const auto count = [&](const std::vector<ParamRecord>& list, const char* what, int most) {
    if (list.size() > static_cast<size_t>(most))
      p.Add(Subject::SmsTexts, Cp(what) + N(list.size()) + Cp(", допустимо не более ") + N(most));
  };
  count(c.smsProfileTexts, "Профильных строк Sms ", kMaxProfileStrings);
  count(c.smsStrings, "Sms строк ", kMaxSmsStrings);
  count(c.smsSubStrings, "Sms подстрок ", kMaxSubstrings);
}

void TimeEventsHold(const Configuration& c, Problems& p) {
  // A day of 255 would end the list early; the event byte keeps 7 bits.
  for (size_t i = 0; i < c.timeEvents.size(); ++i) {
    const TimeEvent& t = c.timeEvents[i];
    const std::string which = Cp("Событие по времени ") + N(i + 1) + Cp(" (событие ") + N(t.w[TimeEvent::kEvent]) + "): ";
    if (t.w[TimeEvent::kDay] < 0 || t.w[TimeEvent::kDay] > 31)
      p.Add(Subject::TimeEvents, which + Cp("день ") + N(t.w[TimeEvent::kDay]) + Cp(", допустимо от 0 до 31"));
    if (t.w[TimeEvent::kHours] < 0 || t.w[TimeEvent::kHours] > 23 || t.w[TimeEvent::kMinutes] < 0 || t.w[TimeEvent::kMinutes] > 59)
      p.Add(Subject::TimeEvents, which + Cp("время ") + N(t.w[TimeEvent::kHours]) + ":" + N(t.w[TimeEvent::kMinutes]) + Cp(" недопустимо"));
    if (t.w[TimeEvent::kEvent] < 0 || t.w[TimeEvent::kEvent] > kMaxTimedEvent)
      p.Add(Subject::TimeEvents, which + Cp("номер события допустим от 0 до ") + N(kMaxTimedEvent));
  }
}

void KeepUsers(Configuration& c, Codes) {
  // The slots give the engineer first, "not set up" when there was none,
  // then the others by number; the key flag follows the key bytes; a hidden
  // password ("???") is written as none.
  const auto slot = [&](int n) -> const User* {
    for (const User& u : c.users)
      if (u.w[User::kNumber] == n) return &u;
    return nullptr;
  };
  std::vector<User> users;
  User engineer;
  engineer.w[User::kNumber] = kEngineerUser;
  engineer.w[User::kFlags] = kNoEngineer;
  users.push_back(slot(kEngineerUser) ? *slot(kEngineerUser) : engineer);
  for (int n = 1; n < kEngineerUser; ++n)
    if (const User* found = slot(n)) users.push_back(*found);
  for (User& u : users) {
    User held;
    held.w[User::kNumber] = u.w[User::kNumber];
    held.w[User::kFlags] = u.w[User::kFlags] & 0xFF;
    for (size_t k = User::kKeyFirst; k < User::kKeyFirst + User::kKeyBytes; ++k) {
      held.w[k] = u.w[k] & 0xFF;
      if (held.w[k] != 0) held.w[User::kKeyPresent] = 1;
    }
    held.text = u.text == "???" ? "" : u.text;
    u = held;
  }
  c.users = users;
}

void KeepPhoneNumbers(Configuration& c, Codes) {
  for (Addressee& a : c.addressees)
    for (AddresseePhone& phone : a.phones)
      for (std::string* number : {&phone.phoneNumber, &phone.cellPrefix, &phone.linePrefix})
        *number = DeviceNumber(*number, kAddresseeNumberBytes);
}

void KeepGeneral(Configuration& c, Codes) {
  // Bit 5 of the service flags goes out with bit 4 and is left out again.
  if (c.general.serviceFlags() & 0x10) c.general.serviceFlags() &= static_cast<uint8_t>(~0x20);
}

void KeepNumbers(Configuration& c, Codes) {
  for (const NumberField& field : kNumberFields) c.*field.number = DeviceNumber(c.*field.number, kNumberBytes);
  for (std::string& number : c.workPhones) number = DeviceNumber(number, kNumberBytes);
  if (IsPhoneString(c.expressInNumber)) c.expressInNumber = DeviceNumber(c.expressInNumber, kExpressInBytes);
}

void KeepRelays(Configuration& c, Codes) {
  // A relay is normally closed or not: one bit of its block's header.
  for (int R = 0; R < kRelays; ++R) c.general.relayNormallyClosed(R) = c.general.relayNormallyClosed(R) != 0;
  // A relay that powers a fire loop is written as its fixed program.
  for (int R = 0; R < kRelays; ++R)
    for (int L = 0; L < kLoops; ++L) {
      const uint8_t f = c.general.loopFlags(L);
      if ((f & 1) && (f & 0x10) == R * 16) {
        c.general.relayNormallyClosed(R) = 0;
        for (auto& list : c.relayBindings[R]) list.clear();
      }
    }
  // A binding travels as its source, reaction bits and priority.
  for (auto& relay : c.relayBindings)
    for (auto& list : relay)
      for (RelayBinding& b : list) b.w[RelayBinding::kReserved] = 0;
}

void KeepRelayPatternSteps(Configuration& c, Codes) {
  // Only the steps travel.
  for (ParamRecord& pattern : c.relayPatterns) {
    const int steps = std::clamp<int32_t>(pattern.w[RelayPattern::kStepCount], 0, kMaxPatternSteps);
    pattern.w.front() = 0;  // not in the image
    for (size_t k = RelayPattern::kFirstStep + static_cast<size_t>(steps); k < ParamRecord::kWords; ++k)
      pattern.w[k] = 0;
  }
}

void KeepSmsTexts(Configuration& c, Codes codes) {
  // The image holds a record's text only, in its canonical spelling.
  const SmsContext ctx{c.smsSubStrings, codes};
  std::vector<ParamRecord> canonical[3] = {c.smsProfileTexts, c.smsStrings, c.smsSubStrings};
  for (auto& list : canonical)
    for (auto& t : list) {
      t.w = {};
      const auto stored = StoreSmsList(std::span<const ParamRecord>(&t, 1), 1, ctx);
      t.text = DecodeSms(std::span<const uint8_t>(stored).subspan(1), codes);
    }
  c.smsProfileTexts = canonical[0];
  c.smsStrings = canonical[1];
  c.smsSubStrings = canonical[2];
}

void KeepTimeEvents(Configuration& c, Codes) {
  // Four bytes: day, hour, minute, event.
  for (TimeEvent& t : c.timeEvents) {
    TimeEvent held;
    for (size_t k = TimeEvent::kDay; k <= TimeEvent::kEvent; ++k) held.w[k] = t.w[k];
    t = held;
  }
}

}  // namespace vorsin::image
