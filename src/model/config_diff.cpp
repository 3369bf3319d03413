#include "model/config_diff.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <tuple>

#include "model/cp1251.h"
#include "model/loops.h"

namespace vorsin {
namespace {

std::string U(const std::string& cp1251) { return ToUtf8(cp1251); }
std::string N(long long v) { return std::to_string(v); }
std::string Hex(unsigned v) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", v & 0xFFu);
  return buf;
}
// Texts are quoted so that an empty one and trailing blanks show.
std::string Q(const std::string& cp1251) { return "«" + U(cp1251) + "»"; }

class Lines {
 public:
  void add(const std::string& where, const std::string& from, const std::string& to) {
    if (from != to) out.push_back(where + ": " + from + " → " + to);
  }
  void num(const std::string& where, long long from, long long to) {
    if (from != to) add(where, N(from), N(to));
  }
  void text(const std::string& where, const std::string& from, const std::string& to) {
    if (from != to) add(where, Q(from), Q(to));
  }
  void note(const std::string& line) { out.push_back(line); }
  std::vector<std::string> out;
};

// A list compared position by position; extra entries on either side are
// told as added or removed.
template <class T>
void List(Lines& lines, const std::vector<T>& a, const std::vector<T>& b,
          const std::function<std::string(const T&, size_t)>& name,
          const std::function<void(const std::string&, const T&, const T&)>& fields) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i)
    if (!(a[i] == b[i])) fields(name(b[i], i), a[i], b[i]);
  for (size_t i = common; i < b.size(); ++i) lines.note(name(b[i], i) + ": добавлен");
  for (size_t i = common; i < a.size(); ++i) lines.note(name(a[i], i) + ": удалён");
}

// Words that no named field covers: the named ones are words first..last
// (none when first > last).
void OtherWords(Lines& lines, const std::string& where, const ParamRecord& a, const ParamRecord& b, size_t first = 1,
                size_t last = 0) {
  for (size_t i = 0; i < ParamRecord::kWords; ++i)
    if (i < first || i > last) lines.num(where + ": слово " + N(i), a.w[i], b.w[i]);
}

std::string FlagBits(uint8_t v) {
  std::string s;
  for (int bit = 7; bit >= 0; --bit) s += (v >> bit) & 1 ? '1' : '0';
  return s;
}

void General(Lines& lines, const Configuration& a, const Configuration& b) {
  const std::string p = "Общие: ";
  lines.text(p + "PIN-код", a.pinCode, b.pinCode);
  lines.text(p + "PUK-код", a.pukCode, b.pukCode);
  lines.text(p + "Адрес ПКД-РС", a.deviceAddress, b.deviceAddress);
  lines.text(p + "Собственный номер", a.ownNumber, b.ownNumber);
  lines.text(p + "Номер сервиса службы SMS", a.smsCentre, b.smsCentre);
  lines.text(p + "Исходящий номер \"express\" баланса", a.expressOutNumber, b.expressOutNumber);
  lines.text(p + "Входящий номер \"express\" баланса", a.expressInNumber, b.expressInNumber);
  lines.text(p + "Номер переадресации CUSD", a.cusdForwardNumber, b.cusdForwardNumber);
  lines.num(p + "Профиль", a.general.profileIndex(), b.general.profileIndex());
  const GeneralSettings& g = a.general;
  const GeneralSettings& h = b.general;
  const struct {
    size_t offset;
    const char* label;
    bool flags;
  } bytes[] = {{GeneralSettings::kTestPeriod1, "Период теста 1", false},
               {GeneralSettings::kTestPeriod2, "Период теста 2", false},
               {GeneralSettings::kLineCheckPeriod, "Период проверки тел. линии", false},
               {GeneralSettings::kPriorityDialTime, "Время \"приоритетного\" набора", false},
               {GeneralSettings::kLineDialDelay, "Задержка при дозвоне по тел. линии", false},
               {GeneralSettings::kDialFlags, "флаги набора", true},
               {GeneralSettings::kServiceFlags, "служебные флаги", true}};
  for (const auto& f : bytes) {
    if (g.at(f.offset) == h.at(f.offset)) continue;
    if (f.flags) lines.add(p + f.label, FlagBits(g.at(f.offset)), FlagBits(h.at(f.offset)));
    else lines.num(p + f.label, g.at(f.offset), h.at(f.offset));
  }
  for (size_t i : {1, 2, 3, 4, 5, 6, 7, 14, 15}) lines.num(p + "байт " + N(i), g.at(i), h.at(i));
  for (int k = 1; k <= 16; ++k) lines.num(p + "повтор голосового сообщения " + N(k), g.voiceRepeat(k), h.voiceRepeat(k));
  lines.num(p + "байт блока шлейфов 0", g.block(lb::kClearedMark), h.block(lb::kClearedMark));
  for (size_t i = lb::kDeviceHeldByte; i < lb::kLoopFlags; ++i)
    lines.num(p + "байт блока шлейфов " + N(i), g.block(i), h.block(i));
}

const char* KindName(uint8_t flags) {
  switch (LoopBlockKind(flags)) {
    case kFireBlock: return "пожарный";
    case kControlBlock: return "контрольный вход";
    default: return "охранный";
  }
}

void Loops(Lines& lines, const Configuration& a, const Configuration& b) {
  const GeneralSettings& g = a.general;
  const GeneralSettings& h = b.general;
  for (int L = 0; L < kLoops; ++L) {
    const std::string p = "Шлейфы: Шлейф " + N(L + 1) + ": ";
    const uint8_t x = g.loopFlags(L), y = h.loopFlags(L);
    lines.add(p + "вид", KindName(x), KindName(y));
    // The kind takes bits 0 and 4; a change of the kind alone is told once.
    constexpr uint8_t kKindBits = 0x11;
    const bool onlyKind = (x & ~kKindBits) == (y & ~kKindBits) && LoopBlockKind(x) != LoopBlockKind(y);
    if (!onlyKind) lines.add(p + "флаги", FlagBits(x), FlagBits(y));
    lines.num(p + "общий шлейф", g.commonLoops(L), h.commonLoops(L));
    lines.num(p + "константа", g.block(lb::kLoopConstants + L), h.block(lb::kLoopConstants + L));
    lines.num(p + "таблица интервалов", g.intervalIndex(L), h.intervalIndex(L));
    lines.num(p + "начало событий", g.loopEventBase(L), h.loopEventBase(L));
    lines.num(p + "время реакции", g.reactionTime(L), h.reactionTime(L));
    lines.num(p + "задержка на взятие", g.armDelay(L), h.armDelay(L));
    lines.num(p + "задержка на снятие", g.disarmDelay(L), h.disarmDelay(L));
    lines.num(p + "защёлка", a.loopLatch[static_cast<size_t>(L)], b.loopLatch[static_cast<size_t>(L)]);
    lines.num(p + "перевзятие", a.loopLatch[static_cast<size_t>(L + 4)], b.loopLatch[static_cast<size_t>(L + 4)]);
  }
  List<Interval>(
      lines, a.intervals, b.intervals, [](const Interval& t, size_t i) { return "Шлейфы: таблица " + N(i) + " " + Q(t.text); },
      [&](const std::string& where, const Interval& x, const Interval& y) {
        lines.text(where + ": название", x.text, y.text);
        for (size_t i = 0; i < ParamRecord::kWords; ++i) lines.num(where + ": слово " + N(i), x.w[i], y.w[i]);
      });
  List<IntervalDescription>(
      lines, a.intervalDescriptions, b.intervalDescriptions,
      [](const IntervalDescription& d, size_t i) { return "Шлейфы: описание таблицы " + N(i) + " " + Q(d.name); },
      [&](const std::string& where, const IntervalDescription& x, const IntervalDescription& y) {
        lines.text(where + ": название", x.name, y.name);
        lines.num(where + ": флаги", x.flags, y.flags);
        static const char* const kBlocks[3] = {"контрольный вход", "охранный", "пожарный"};
        for (int k = 0; k < 3; ++k)
          for (int r = 0; r < kMaxRanges; ++r) {
            const std::string at = where + ": " + kBlocks[k] + ": диапазон " + N(r);
            lines.text(at + ": имя", x.blocks[k][r].name, y.blocks[k][r].name);
            lines.text(at + ": событие", x.blocks[k][r].code, y.blocks[k][r].code);
          }
      });
}

void Addressees(Lines& lines, const Configuration& a, const Configuration& b) {
  List<Addressee>(
      lines, a.addressees, b.addressees, [](const Addressee& x, size_t) { return "Адресаты: " + U(x.name); },
      [&](const std::string& where, const Addressee& x, const Addressee& y) {
        lines.text(where + ": имя", x.name, y.name);
        lines.num(where + ": номер", x.autoNumber, y.autoNumber);
        lines.num(where + ": число попыток доставки", x.deliveryLimit, y.deliveryLimit);
        lines.num(where + ": ожидание подтверждения", x.confirmWait, y.confirmWait);
        lines.add(where + ": флаги", FlagBits(x.addresseeFlags), FlagBits(y.addresseeFlags));
        List<AddresseePhone>(
            lines, x.phones, y.phones,
            [&](const AddresseePhone& p, size_t i) {
              return where + ": " + (p.name.empty() ? "Телефон " + N(i + 1) : U(p.name));
            },
            [&](const std::string& at, const AddresseePhone& p, const AddresseePhone& q) {
              lines.text(at + ": имя", p.name, q.name);
              lines.add(at + ": номер", U(p.phoneNumber), U(q.phoneNumber));
              lines.text(at + ": префикс сотовой сети", p.cellPrefix, q.cellPrefix);
              lines.text(at + ": префикс тел. линии", p.linePrefix, q.linePrefix);
              lines.add(at + ": форматы", Hex(static_cast<unsigned>(p.formats)), Hex(static_cast<unsigned>(q.formats)));
              if ((p.formats & ~0xFF) != (q.formats & ~0xFF)) lines.num(at + ": форматы (слово)", p.formats, q.formats);
              lines.add(at + ": флаги", FlagBits(p.phoneFlags), FlagBits(q.phoneFlags));
              lines.num(at + ": номер телефона", p.autoNumber, q.autoNumber);
            });
      });
}

std::string BindingText(const RelayBinding& r) {
  return "событие " + N(r.source()) + ", реакция " + Hex(static_cast<unsigned>(r.reactionFlags())) + ", приоритет " +
         N(r.priority()) + (r.reserved() != 0 ? ", резерв " + N(r.reserved()) : "");
}

void Relays(Lines& lines, const Configuration& a, const Configuration& b) {
  for (int r = 0; r < kRelays; ++r) {
    const std::string p = "Реле: Реле " + N(r + 1) + ": ";
    for (int list = 0; list < kRelayLists; ++list) {
      const auto& x = a.relayBindings[r][list];
      const auto& y = b.relayBindings[r][list];
      const std::string group = list < kLoops ? "Шлейф " + N(list + 1) : std::string("общие события");
      List<RelayBinding>(
          lines, x, y, [&](const RelayBinding&, size_t i) { return p + group + ": привязка " + N(i + 1); },
          [&](const std::string& where, const RelayBinding& m, const RelayBinding& n) {
            lines.add(where, BindingText(m), BindingText(n));
          });
    }
    lines.num(p + "нормально замкнуто", a.general.relayNormallyClosed(r), b.general.relayNormallyClosed(r));
    lines.num(p + "ограничение времени", a.relayTimeLimit[static_cast<size_t>(r)], b.relayTimeLimit[static_cast<size_t>(r)]);
  }
  List<RelayPattern>(
      lines, a.relayPatterns, b.relayPatterns,
      [](const ParamRecord& x, size_t i) { return "Реле: реакция " + N(i + 1) + " " + Q(x.text); },
      [&](const std::string& where, const ParamRecord& x, const ParamRecord& y) {
        lines.text(where + ": название", x.text, y.text);
        for (size_t i = 0; i < ParamRecord::kWords; ++i) lines.num(where + ": слово " + N(i), x.w[i], y.w[i]);
      });
}

std::string Mask(int32_t mask) {
  std::string s;
  for (int i = 0; i < kMaxAddressees; ++i)
    if (HasBits(mask, AddresseeBit(i))) s += (s.empty() ? "" : ",") + N(i + 1);
  if (mask & ~0xFF) s += (s.empty() ? "" : ",") + std::string("прочие биты ") + N(mask & ~0xFF);
  return s.empty() ? "нет" : s;
}

void Events(Lines& lines, const Configuration& a, const Configuration& b) {
  List<EventEntry>(
      lines, a.events, b.events, [](const EventEntry& e, size_t i) { return "События: " + N(i + 1) + " " + Q(e.text); },
      [&](const std::string& where, const EventEntry& x, const EventEntry& y) {
        lines.text(where + ": название", x.text, y.text);
        lines.num(where + ": флаги", x.flags(), y.flags());
        lines.num(where + ": код", x.code(), y.code());
        lines.num(where + ": раздел", x.partition(), y.partition());
        lines.num(where + ": зона", x.zone(), y.zone());
        lines.num(where + ": Sms при событии", x.smsNew(), y.smsNew());
        lines.num(where + ": Sms при восстановлении", x.smsRestore(), y.smsRestore());
        lines.num(where + ": голос при восстановлении", x.voiceRestore(), y.voiceRestore());
        lines.num(where + ": голос при событии", x.voiceNew(), y.voiceNew());
        OtherWords(lines, where, x, y, EventEntry::kFlags, EventEntry::kAddresseeMask);
        // The addressee mask is what the reports page edits.
        if (x.addresseeMask() != y.addresseeMask())
          lines.add("Отчёты: " + where.substr(std::string("События: ").size()) + ": адресаты", Mask(x.addresseeMask()),
                    Mask(y.addresseeMask()));
      });
  List<TimeEvent>(
      lines, a.timeEvents, b.timeEvents, [](const TimeEvent&, size_t i) { return "События по времени: " + N(i + 1); },
      [&](const std::string& where, const TimeEvent& x, const TimeEvent& y) {
        lines.num(where + ": день", x.day(), y.day());
        lines.num(where + ": часы", x.hours(), y.hours());
        lines.num(where + ": минуты", x.minutes(), y.minutes());
        lines.num(where + ": событие", x.event(), y.event());
        OtherWords(lines, where, x, y, TimeEvent::kDay, TimeEvent::kEvent);
      });
}

void Texts(Lines& lines, const char* what, const std::vector<ParamRecord>& a, const std::vector<ParamRecord>& b) {
  List<ParamRecord>(
      lines, a, b, [&](const ParamRecord&, size_t i) { return std::string("Sms: ") + what + " " + N(i + 1); },
      [&](const std::string& where, const ParamRecord& x, const ParamRecord& y) {
        lines.text(where, x.text, y.text);
        OtherWords(lines, where, x, y);
      });
}

std::string KeyText(const User& u) {
  if (u.keyPresent() == 0) return "нет";
  std::string s;
  for (int k = 0; k < User::kKeyBytes; ++k) {
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(u.keyByte(k)) & 0xFFu);
    s += buf;
  }
  return s;
}

void Users(Lines& lines, const Configuration& a, const Configuration& b) {
  List<User>(
      lines, a.users, b.users, [](const User& u, size_t) { return "Пользователи: Пользователь " + N(u.number()); },
      [&](const std::string& where, const User& x, const User& y) {
        lines.num(where + ": номер", x.number(), y.number());
        lines.add(where + ": флаги", FlagBits(static_cast<uint8_t>(x.flags())), FlagBits(static_cast<uint8_t>(y.flags())));
        if ((x.flags() & ~0xFF) != (y.flags() & ~0xFF)) lines.num(where + ": флаги (слово)", x.flags(), y.flags());
        lines.add(where + ": ключ", KeyText(x), KeyText(y));
        lines.text(where + ": пароль", x.text, y.text);
        // The number, the flags, the key present word and the key bytes are named.
        constexpr size_t kLastKeyWord = User::kKeyFirst + User::kKeyBytes - 1;
        OtherWords(lines, where, x, y, User::kNumber, kLastKeyWord);
        // A key present flag or key bytes beyond what KeyText shows.
        for (size_t i = User::kKeyPresent; i <= kLastKeyWord; ++i)
          if (x.w[i] != y.w[i] && KeyText(x) == KeyText(y)) lines.num(where + ": слово " + N(i), x.w[i], y.w[i]);
      });
}

void Remote(Lines& lines, const Configuration& a, const Configuration& b) {
  for (int i = 0; i < kWorkPhones; ++i)
    lines.text("Управление: рабочий телефон " + N(i + 1), a.workPhones[static_cast<size_t>(i)], b.workPhones[static_cast<size_t>(i)]);
  for (size_t i = 0; i < a.workPhoneControl.size(); ++i)
    lines.add("Управление: рабочий телефон " + N(static_cast<long long>(i) + 1) + ": режим", FlagBits(a.workPhoneControl[i]),
              FlagBits(b.workPhoneControl[i]));
  for (const auto& [what, x, y] : {std::tuple{"команда", &a.remoteCommands, &b.remoteCommands},
                                   std::tuple{"управление", &a.remoteControls, &b.remoteControls}}) {
    const char* kind = what;  // clang before 16 cannot capture a structured binding
    List<RemoteCommand>(
        lines, *x, *y, [&](const RemoteCommand&, size_t i) { return std::string("Управление: ") + kind + " " + N(i + 1); },
        [&](const std::string& where, const RemoteCommand& m, const RemoteCommand& n) {
          lines.add(where + ": маска рабочих телефонов", Hex(static_cast<unsigned>(m.phoneMask())),
                    Hex(static_cast<unsigned>(n.phoneMask())));
          if ((m.phoneMask() & ~0xFF) != (n.phoneMask() & ~0xFF))
            lines.num(where + ": маска (слово)", m.phoneMask(), n.phoneMask());
          lines.text(where + ": пароль", m.text, n.text);
          OtherWords(lines, where, m, n, RemoteCommand::kPhoneMask, RemoteCommand::kPhoneMask);
        });
  }
}

}  // namespace

std::vector<std::string> DiffConfigurations(const Configuration& a, const Configuration& b) {
  Lines lines;
  if (a == b) return lines.out;
  General(lines, a, b);
  Addressees(lines, a, b);
  Loops(lines, a, b);
  Relays(lines, a, b);
  Events(lines, a, b);
  Texts(lines, "профильная строка", a.smsProfileTexts, b.smsProfileTexts);
  Texts(lines, "подстрока", a.smsSubStrings, b.smsSubStrings);
  Texts(lines, "Sms строка", a.smsStrings, b.smsStrings);
  Users(lines, a, b);
  Remote(lines, a, b);
  lines.text("Программирование: время последней загрузки", a.lastLoadTime, b.lastLoadTime);
  return lines.out;
}

}  // namespace vorsin
