#include "image/image_check.h"

#include <algorithm>

#include "image/image_layout.h"
#include "image/phone_code.h"
#include "image/relay_blocks.h"
#include "model/cp1251.h"
#include "model/events.h"
#include "model/loops.h"
#include "model/relays.h"
#include "model/time_events.h"
#include "sms/sms.h"

namespace vorsin::image {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string N(long long v) { return std::to_string(v); }

// Enough of a template to recognise it in a message.
std::string Excerpt(const std::string& text) {
  constexpr size_t kShown = 30;
  return text.size() <= kShown ? text : text.substr(0, kShown) + "...";
}

}  // namespace

PreparedImage PrepareForImage(const Configuration& config) {
  PreparedImage out;
  out.config = config;
  Configuration& c = out.config;
  for (int k = static_cast<int>(c.addressees.size()) - 1; k >= 0; --k) {
    if (!c.addressees[k].phones.empty()) continue;
    out.dropped.insert(out.dropped.begin(), c.addressees[k].name);
    DestDeletedInEvents(c, k);
    c.addressees.erase(c.addressees.begin() + k);
  }
  return out;
}

std::vector<std::string> ImageProblems(const Configuration& c) {
  std::vector<std::string> p;
  int written = 0;
  for (const Addressee& a : c.addressees) {
    if (!a.phones.empty()) ++written;
    // The confirmation wait, the delivery limit and a phone's formats are single bytes.
    const auto byteOut = [](int32_t v) { return v < 0 || v > 255; };
    bool wide = byteOut(a.confirmWait) || byteOut(a.deliveryLimit);
    for (const AddresseePhone& phone : a.phones) wide = wide || byteOut(phone.formats);
    if (wide)
      p.push_back(Cp("Адресат ") + Quoted(a.name) + Cp(": время подтверждения, число доставок или форматы вне пределов от 0 до 255"));
    if (static_cast<int>(a.phones.size()) > kMaxPhonesPerAddressee)
      p.push_back(Cp("Адресат ") + Quoted(a.name) + ": " + N(a.phones.size()) +
                  Cp(" телефонов, допустимо не более ") + N(kMaxPhonesPerAddressee));
  }
  if (written > kMaxAddressees)
    p.push_back(Cp("Адресатов с телефонами ") + N(written) + Cp(", допустимо не более ") + N(kMaxAddressees));

  for (int relay = 0; relay < kRelays; ++relay) {
    const size_t body = RelayBodySize(c, relay);
    if (body > static_cast<size_t>(kMaxRelayBody))
      p.push_back(Cp("Реле ") + N(relay + 1) + Cp(": слишком много привязок (") + N(body) +
                  Cp(" байт, допустимо не более ") + N(kMaxRelayBody) + Cp("), уберите часть привязок"));
    // A binding is two bytes: five bits of source, the reaction bits 0-2 and
    // 6-7, six bits of priority. What would come back different is refused.
    if (FireLoopRelay(c, relay) >= 0) continue;  // its lists are not written
    for (int k = 0; k < kRelayLists; ++k) {
      const auto& list = c.relayBindings[relay][k];
      for (size_t i = 0; i < list.size(); ++i) {
        const RelayBinding& b = list[i];
        const auto bytes = EncodeBinding(b);
        const RelayBinding back = DecodeBinding(bytes[0], bytes[1], k < kLoops);
        if (back.w[1] == b.w[1] && back.w[2] == b.w[2] && back.w[3] == b.w[3]) continue;
        p.push_back(Cp("Реле ") + N(relay + 1) + ", " + (k < kLoops ? Cp("шлейф ") + N(k + 1) : Cp("общие")) +
                    Cp(": привязка ") + N(i + 1) + Cp(" (источник ") + N(b.w[1]) + Cp(", признаки ") + N(b.w[2]) +
                    Cp(", приоритет ") + N(b.w[3]) + Cp(") не помещается в устройство"));
        break;  // one line per list is enough to find it
      }
    }
  }
  for (const ParamRecord& pattern : c.relayPatterns) {
    const int steps = pattern.w[1];
    if (steps < 1 || steps > static_cast<int>(ParamRecord::kWords) - 2) {
      p.push_back(Cp("Реакция реле ") + Quoted(pattern.text) + Cp(": число шагов ") + N(steps) +
                  Cp(", допустимо от 1 до 16"));
      continue;
    }
    for (int i = 0; i < steps; ++i) {
      if (pattern.w[2 + i] < 0 || pattern.w[2 + i] > 255) {
        p.push_back(Cp("Реакция реле ") + Quoted(pattern.text) + Cp(": шаг ") + N(i + 1) + " (" +
                    N(pattern.w[2 + i]) + Cp(") вне пределов от 0 до 255"));
        break;
      }
      const int step = pattern.w[2 + i] & 0xFF;
      const bool last = i == steps - 1;
      // Bit 6 marks the last step: in any step it does not come back as written.
      if (last && (step | 0x40) == 0xFF)
        p.push_back(Cp("Реакция реле ") + Quoted(pattern.text) + Cp(": последний шаг ") + N(step) +
                    Cp(" будет прочитан как конец списка, измените его длительность"));
      else if (step & 0x40)
        p.push_back(Cp("Реакция реле ") + Quoted(pattern.text) + Cp(": шаг ") + N(i + 1) + " (" + N(step) +
                    (last ? Cp(") будет прочитан без бита 6, уберите бит 6")
                          : Cp(") будет прочитан как последний, уберите бит 6")));
    }
  }

  if (c.smsProfileTexts.size() > static_cast<size_t>(kMaxProfileStrings))
    p.push_back(Cp("Профильных строк Sms ") + N(c.smsProfileTexts.size()) + Cp(", допустимо не более ") +
                N(kMaxProfileStrings));
  if (c.smsStrings.size() > static_cast<size_t>(kMaxSmsStrings))
    p.push_back(Cp("Sms строк ") + N(c.smsStrings.size()) + Cp(", допустимо не более ") + N(kMaxSmsStrings));
  if (c.smsSubStrings.size() > static_cast<size_t>(kMaxSubstrings))
    p.push_back(Cp("Sms подстрок ") + N(c.smsSubStrings.size()) + Cp(", допустимо не более ") +
                N(kMaxSubstrings));

  for (size_t e = 0; e < c.events.size(); ++e) {
    const EventEntry& ev = c.events[e];
    for (const int32_t voice : {ev.w[8], ev.w[7]})
      if (voice < 0 || voice > kMaxVoiceMessage) {
        p.push_back(Cp("Событие ") + N(e) + " " + Quoted(ev.text) + Cp(": голосовое сообщение ") + N(voice) +
                    Cp(", допустимо не более ") + N(kMaxVoiceMessage));
        break;
      }
  }

  // The rest of an event's record: what does not fit its field would reach
  // the device as another code, zone or mask.
  struct Field {
    int word;
    int32_t high;
  };
  static constexpr Field kEventFields[] = {{1, 255}, {2, 999}, {3, 255}, {4, 4095}, {5, 236}, {6, 236}, {9, 255}};
  for (size_t e = 0; e < c.events.size(); ++e)
    for (const Field& f : kEventFields) {
      const int32_t v = c.events[e].w[f.word];
      if (v < 0 || v > f.high) {
        p.push_back(Cp("Событие ") + N(e) + " " + Quoted(c.events[e].text) + Cp(": поле ") + N(f.word) + " (" +
                    N(v) + Cp(") вне пределов от 0 до ") + N(f.high));
        break;
      }
    }

  // The SIM PIN travels as four bytes, a zero byte ending it.
  if (c.pinCode.size() > 4 || c.pinCode.find('\0') != std::string::npos)
    p.push_back(Cp("PIN-код: допустимо не более 4 символов, без нулевого байта"));
  // An incoming balance number that is no phone string goes in as text: 14
  // characters at most, read back up to the first zero byte.
  const std::string& balanceIn = c.expressInNumber;
  if (!IsPhoneString(balanceIn) && (balanceIn.size() > kExpressInTextMax || balanceIn.find('\0') != std::string::npos))
    p.push_back(Cp("Входящий номер \"express\" баланса: допустимо не более 14 символов, без нулевого байта"));
  // The device keeps its address as four BCD digits.
  if (c.deviceAddress.size() != 4 ||
      !std::all_of(c.deviceAddress.begin(), c.deviceAddress.end(), [](char ch) { return ch >= '0' && ch <= '9'; }))
    p.push_back(Cp("Адрес ПКД-РС ") + Quoted(c.deviceAddress) + Cp(": допустимы ровно 4 цифры"));

  // A number field holds the characters that have a code, two a byte; the
  // letters come back as their Latin lower-case form, which the device dials
  // alike, and a number with "?" as the unknown number.
  const auto numberProblem = [&](const std::string& what, const std::string& number, size_t bytes) {
    if (NumberFitsField(number, bytes)) return;
    const auto bad = std::find_if(number.begin(), number.end(), [](char ch) { return PhoneDigitCode(ch) == 0; });
    const std::string why = bad != number.end()
                                ? Cp(": символ \"") + std::string(1, *bad) + Cp("\" не записать в устройство")
                                : Cp(": не более ") + N(2 * bytes) + Cp(" символов");
    p.push_back(what + " " + Quoted(number) + why);
  };
  const std::pair<const char*, const std::string*> numbers[] = {
      {"Собственный номер", &c.ownNumber},       {"Номер Sms-центра", &c.smsCentre},
      {"Номер экспресс-запроса", &c.expressOutNumber}, {"Номер переадресации USSD", &c.cusdForwardNumber}};
  for (const auto& [what, number] : numbers) numberProblem(Cp(what), *number, kNumberBytes);
  if (IsPhoneString(c.expressInNumber))
    numberProblem(Cp("Входящий номер \"express\" баланса"), c.expressInNumber, kExpressInBytes);
  // An addressee's phone keeps its number and prefixes in 5 bytes each.
  for (const Addressee& a : c.addressees)
    for (const AddresseePhone& phone : a.phones)
      for (const std::string* number : {&phone.phoneNumber, &phone.cellPrefix, &phone.linePrefix})
        numberProblem(Cp("Адресат ") + Quoted(a.name) + ", " + Quoted(phone.name), *number, kAddresseeNumberBytes);
  for (size_t i = 0; i < c.workPhones.size(); ++i)
    numberProblem(Cp("Рабочий телефон ") + N(i + 1), c.workPhones[i], kNumberBytes);

  // A day of 255 would end the list early; the event byte keeps 7 bits.
  for (size_t i = 0; i < c.timeEvents.size(); ++i) {
    const TimeEvent& t = c.timeEvents[i];
    const std::string which = Cp("Событие по времени ") + N(i + 1) + Cp(" (событие ") + N(t.w[4]) + "): ";
    if (t.w[1] < 0 || t.w[1] > 31)
      p.push_back(which + Cp("день ") + N(t.w[1]) + Cp(", допустимо от 0 до 31"));
    if (t.w[2] < 0 || t.w[2] > 23 || t.w[3] < 0 || t.w[3] > 59)
      p.push_back(which + Cp("время ") + N(t.w[2]) + ":" + N(t.w[3]) + Cp(" недопустимо"));
    if (t.w[4] < 0 || t.w[4] > kMaxTimedEvent)
      p.push_back(which + Cp("номер события допустим от 0 до ") + N(kMaxTimedEvent));
  }
  // Each user number owns one slot of the user blocks; a second user of the
  // same number would vanish.
  std::vector<int> seen;
  for (const User& u : c.users) {
    const int n = u.w[1];
    if (n < 1 || n > kMaxUsers)
      p.push_back(Cp("Пользователь с номером ") + N(n) + Cp(": допустимы номера от 1 до ") + N(kMaxUsers));
    else if (std::count(seen.begin(), seen.end(), n) == 1)
      p.push_back(Cp("Пользователь с номером ") + N(n) + Cp(" указан несколько раз"));
    seen.push_back(n);
    // The device keeps up to six digits; anything else would be written as
    // no password at all. "???" is what a device that hides it gives.
    const std::string& word = u.text;
    const bool digits = word.size() <= 6 && std::all_of(word.begin(), word.end(), [](char ch) {
      return ch >= '0' && ch <= '9';
    });
    if (!digits && word != "???")
      p.push_back(Cp("Пользователь с номером ") + N(n) + Cp(": пароль ") + Quoted(word) +
                  Cp(" не записать в устройство, допустимо до 6 цифр"));
    // Bit 6 of a user's byte marks an empty slot: such a user would vanish.
    if (u.w[2] < 0 || u.w[2] > 255 || (n != kMaxUsers && (u.w[2] & 0x40)))
      p.push_back(Cp("Пользователь с номером ") + N(n) + Cp(": недопустимые признаки ") + N(u.w[2]));
  }

  for (int L = 0; L < kLoops; ++L) {
    const size_t index = c.general.intervalIndex(L);
    if (index >= c.intervals.size() || index >= c.intervalDescriptions.size()) {
      p.push_back(Cp("Шлейф ") + N(L + 1) + Cp(": таблица интервалов ") + N(index) +
                  Cp(" не существует, выберите другую"));
      continue;
    }
    // The device keeps a table as a count and one byte per level.
    const Interval& t = c.intervals[index];
    const int ranges = t.w[1];
    bool fits = ranges >= 1 && ranges <= kMaxRanges;
    for (int i = 0; fits && i < 2 * ranges; ++i) fits = t.w[2 + i] >= 0 && t.w[2 + i] <= 255;
    if (!fits)
      p.push_back(Cp("Шлейф ") + N(L + 1) + Cp(": таблица интервалов ") + N(index) +
                  Cp(" не помещается в устройство (от 1 до 8 диапазонов, уровни от 0 до 255)"));
  }

  // The device keeps each loop's common loops in four bits, one per loop.
  for (int L = 0; L < kLoops; ++L)
    if (c.general.commonLoops(L) > 0x0F)
      p.push_back(Cp("Шлейф ") + N(L + 1) + Cp(": общие шлейфы ") + N(c.general.commonLoops(L)) +
                  Cp(" вне пределов от 0 до 15 (по биту на шлейф)"));

  // Reading takes each loop's events from its base on: a list that ends
  // before a block does would be read back from other blocks' bytes.
  for (int L = 0; L < kLoops; ++L) {
    const size_t base = c.general.loopEventBase(L);
    const size_t block = static_cast<size_t>(std::max(LoopRangeCount(c, L) - 1, MinLoopEvents(L)));
    if (base + block > c.events.size())
      p.push_back(Cp("Шлейф ") + N(L + 1) + Cp(": событий в таблице ") + N(c.events.size()) +
                  Cp(", а блоку событий шлейфа нужно ") + N(base + block) + Cp(" (с позиции ") + N(base + 1) +
                  Cp("); выберите таблицу интервалов шлейфа заново"));
  }
  return p;
}

std::vector<std::string> OverlongTemplates(const Configuration& c) {
  std::vector<std::string> out;
  const auto scan = [&](const std::vector<ParamRecord>& list, const char* what) {
    for (size_t i = 0; i < list.size(); ++i)
      if (list[i].text.size() >= kMaxTemplateLength)
        out.push_back(Cp(what) + N(i + 1) + ": " + Excerpt(list[i].text));
  };
  scan(c.smsProfileTexts, "Профильная строка ");
  scan(c.smsStrings, "Sms строка ");
  scan(c.smsSubStrings, "Sms подстрока ");
  return out;
}

bool ConfirmImage(const Configuration& config, const PreparedImage& prepared, Messenger& messenger) {
  const auto join = [](const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += "\n" + line;
    return text;
  };
  const auto problems = ImageProblems(config);
  if (!problems.empty()) {
    messenger.Error(Cp("Настройки не могут быть записаны в устройство без искажений:") + join(problems));
    return false;
  }
  const auto overlong = OverlongTemplates(config);
  if (!overlong.empty()) {
    const int answer = messenger.Show(
        Cp("Шаблоны длиной 200 символов и более будут записаны как \"Error\":") + join(overlong) +
            Cp("\nПродолжить запись?"),
        CaptionWarning(), Icon::Warning, Buttons::OkCancel);
    if (answer != kAnswerOk) return false;
  }
  for (const std::string& name : prepared.dropped)
    messenger.Show(Cp("Адресат ") + Quoted(name) + Cp(" не имеет телефонов и не будет записан в устройство."),
                   CaptionWarning(), Icon::Warning, Buttons::Ok);
  return true;
}

}  // namespace vorsin::image
