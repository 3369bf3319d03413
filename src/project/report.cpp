#include "project/report.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "model/cp1251.h"
#include "model/numbers.h"
#include "model/relays.h"
#include "sms/sms.h"

namespace vorsin {
namespace {

std::string Escape(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (const char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\0': out += "&#xFFFD;"; break;  // HTML has no NUL character
      default: out += c;
    }
  }
  return out;
}
// Model texts are Windows-1251.
std::string T(const std::string& cp1251) { return Escape(ToUtf8(cp1251)); }
std::string N(long long v) { return std::to_string(v); }
std::string Hex(long long v) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%02llX", v & 0xFFFFFFFFLL);
  return buf;
}
std::string Bits(unsigned v) {
  std::string s;
  for (int bit = 7; bit >= 0; --bit) s += (v >> bit) & 1 ? '1' : '0';
  return s;
}

class Html {
 public:
  void h2(const std::string& title) { out_ += "<h2>" + Escape(title) + "</h2>\n"; }
  void h3(const std::string& title) { out_ += "<h3>" + title + "</h3>\n"; }
  // Cells are HTML already (escaped by the caller).
  void table(std::initializer_list<const char*> head) {
    out_ += "<table><tr>";
    for (const char* h : head) out_ += "<th>" + Escape(h) + "</th>";
    out_ += "</tr>\n";
  }
  void row(std::initializer_list<std::string> cells) {
    out_ += "<tr>";
    for (const auto& c : cells) out_ += "<td>" + c + "</td>";
    out_ += "</tr>\n";
  }
  void end() { out_ += "</table>\n"; }
  void pairs(std::initializer_list<std::pair<const char*, std::string>> items) {
    out_ += "<table class=\"pairs\">";
    for (const auto& [k, v] : items) out_ += "<tr><th>" + Escape(k) + "</th><td>" + v + "</td></tr>";
    out_ += "</table>\n";
  }
  void raw(const std::string& html) { out_ += html; }
  std::string& text() { return out_; }

 private:
  std::string out_;
};

constexpr const char* kStyle =
    "body{font-family:sans-serif;font-size:10pt;margin:1.5em;color:#111}"
    "h1{font-size:15pt;margin-bottom:0}h2{font-size:12pt;border-bottom:1px solid #888;margin-top:1.6em}"
    "h3{font-size:10.5pt;margin:1em 0 .3em}table{border-collapse:collapse;margin:.3em 0 .8em}"
    "th,td{border:1px solid #aaa;padding:2px 6px;text-align:left;vertical-align:top}"
    "th{background:#eee}table.pairs th{width:18em}.sms{font-family:monospace;white-space:pre-wrap}"
    ".muted{color:#666}@media print{h2{page-break-after:avoid}table{page-break-inside:auto}}";

class Report {
 public:
  Report(const Workspace& ws, const ReportOptions& o) : ws_(ws), c_(ws.config), o_(o), ctx_(MakeSmsContext(ws)) {}

  std::string build() {
    h_.raw("<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\"><title>" +
           Escape("Ворсин: " + o_.title) + "</title><style>" + kStyle + "</style></head><body>\n");
    h_.raw("<h1>" + Escape("Настройки ПКД-РС") + "</h1>\n<p class=\"muted\">" +
           Escape("Файл: " + o_.title + (o_.made.empty() ? "" : ", отчёт от " + o_.made)) +
           (c_.lastLoadTime.empty() ? "" : Escape(", последняя загрузка: ") + T(c_.lastLoadTime)) + "</p>\n");
    general();
    addressees();
    loops();
    relays();
    events();
    sms();
    users();
    remote();
    h_.raw("</body></html>\n");
    return std::move(h_.text());
  }

 private:
  std::string secret(const std::string& cp1251) const {
    if (cp1251.empty()) return "";
    return o_.withSecrets ? T(cp1251) : "****";
  }
  std::string period(uint8_t v) const {
    return Escape(ToUtf8(FormatCount(v & 0x7F, v & 0x80 ? CountUnit::Hours : CountUnit::Minutes)));
  }
  std::string smsText(int32_t number) const {
    if (number <= 0) return Escape("нет");
    if (static_cast<size_t>(number) > c_.smsStrings.size()) return Escape(N(number) + " (нет такой строки)");
    return N(number) + ": <span class=\"sms\">" + T(DisplaySms(c_.smsStrings[static_cast<size_t>(number) - 1].text, 0, ctx_)) +
           "</span>";
  }
  std::string addresseeNames(int32_t mask) const {
    std::string s;
    for (size_t i = 0; i < static_cast<size_t>(kMaxAddressees); ++i) {
      if (!(mask & (0x80 >> i))) continue;
      if (!s.empty()) s += ", ";
      s += i < c_.addressees.size() ? T(c_.addressees[i].name) : Escape("Адресат " + N(static_cast<long long>(i) + 1));
    }
    return s.empty() ? Escape("нет") : s;
  }

  void general() {
    const GeneralSettings& g = c_.general;
    h_.h2("Общие");
    h_.pairs({{"PIN-код", secret(c_.pinCode)},
              {"PUK-код", secret(c_.pukCode)},
              {"Адрес ПКД-РС", T(c_.deviceAddress)},
              {"Собственный номер", T(c_.ownNumber)},
              {"Номер сервиса службы SMS", T(c_.smsCentre)},
              {"Исходящий номер \"express\" баланса", T(c_.expressOutNumber)},
              {"Входящий номер \"express\" баланса", T(c_.expressInNumber)},
              {"Номер переадресации CUSD", T(c_.cusdForwardNumber)},
              {"Профиль", N(g.profileIndex())},
              {"Период теста 1", period(g.at(GeneralSettings::kTestPeriod1))},
              {"Период теста 2", period(g.at(GeneralSettings::kTestPeriod2))},
              {"Период проверки тел. линии", period(g.at(GeneralSettings::kLineCheckPeriod))},
              {"Время \"приоритетного\" набора", Escape(ToUtf8(FormatCount(g.at(GeneralSettings::kPriorityDialTime), CountUnit::Minutes)))},
              {"Задержка при дозвоне по тел. линии", Escape(ToUtf8(FormatCount(g.at(GeneralSettings::kLineDialDelay), CountUnit::Seconds)))},
              {"Флаги набора (биты 7..0)", Bits(g.dialFlags())},
              {"Служебные флаги (биты 7..0)", Bits(g.serviceFlags())}});
  }

  void addressees() {
    h_.h2("Адресаты");
    if (c_.addressees.empty()) h_.raw("<p>" + Escape("Адресатов нет") + "</p>\n");
    for (const Addressee& a : c_.addressees) {
      h_.h3(T(a.name));
      h_.pairs({{"Число попыток доставки", N(a.deliveryLimit)},
                {"Ожидание подтверждения", N(static_cast<long long>(a.confirmWait) * 2) + Escape(" сек.")},
                {"Флаги (биты 7..0)", Bits(a.addresseeFlags)}});
      h_.table({"Телефон", "Номер", "Префикс сотовой сети", "Префикс тел. линии", "Форматы", "Флаги"});
      for (const AddresseePhone& p : a.phones)
        h_.row({T(p.name), T(p.phoneNumber), T(p.cellPrefix), T(p.linePrefix), Hex(p.formats), Bits(p.phoneFlags)});
      h_.end();
    }
  }

  static const char* kind(uint8_t flags) {
    if (flags & 0x01) return "пожарный";
    if (flags & 0x10) return "контрольный вход";
    return "охранный";
  }

  void loops() {
    const GeneralSettings& g = c_.general;
    h_.h2("Шлейфы");
    h_.table({"Шлейф", "Вид", "Таблица интервалов", "Время реакции, мс", "Задержка взятия", "Задержка снятия", "Защёлка",
              "Флаги", "Общие шлейфы"});
    for (int L = 0; L < kLoops; ++L) {
      const size_t index = g.intervalIndex(L);
      const std::string table = index < c_.intervalDescriptions.size() && !c_.intervalDescriptions[index].name.empty()
                                    ? T(c_.intervalDescriptions[index].name)
                                    : N(static_cast<long long>(index));
      h_.row({N(L + 1), Escape(kind(g.loopFlags(L))), table, N(g.reactionTime(L) * 50), N(g.armDelay(L)), N(g.disarmDelay(L)),
              N(c_.loopLatch[static_cast<size_t>(L)]) + " / " + N(c_.loopLatch[static_cast<size_t>(L) + 4]),
              Bits(g.loopFlags(L)), Bits(g.commonLoops(L))});
    }
    h_.end();
  }

  void relays() {
    h_.h2("Реле");
    for (int r = 0; r < kRelays; ++r) {
      h_.h3(Escape("Реле " + N(r + 1)));
      h_.table({"Группа", "Событие", "Реакция", "Приоритет"});
      for (int list = 0; list < kRelayLists; ++list)
        for (const RelayBinding& b : c_.relayBindings[r][list]) {
          const size_t pattern = static_cast<size_t>(b.w[2] & 0x07);
          const std::string reaction =
              (pattern < c_.relayPatterns.size() ? T(c_.relayPatterns[pattern].text) : N(static_cast<long long>(pattern))) +
              (b.w[2] & 0x80 ? Escape(", циклически") : "");
          h_.row({Escape(list < kLoops ? "Шлейф " + N(list + 1) : "Общие события"),
                  T(RelayEventName(c_, b.w[1], list)), reaction, N(b.w[3])});
        }
      h_.end();
    }
    h_.h3(Escape("Реакции реле"));
    h_.table({"Реакция", "Шаги"});
    for (const ParamRecord& p : c_.relayPatterns) {
      std::string steps;
      const int n = std::clamp<int32_t>(p.w[1], 0, 16);
      for (int i = 0; i < n; ++i) steps += (i ? " " : "") + Hex(p.w[2 + i]);
      h_.row({T(p.text), steps});
    }
    h_.end();
  }

  void events() {
    h_.h2("События");
    h_.table({"№", "Событие", "Код", "Раздел", "Зона", "Адресаты", "Sms при событии", "Sms при восстановлении",
              "Голос (событие / восст.)"});
    for (size_t i = 0; i < c_.events.size(); ++i) {
      const EventEntry& e = c_.events[i];
      h_.row({N(static_cast<long long>(i) + 1), T(e.text), N(e.w[2]), N(e.w[3]), N(e.w[4]), addresseeNames(e.w[9]),
              smsText(e.w[5]), smsText(e.w[6]), N(e.w[8]) + " / " + N(e.w[7])});
    }
    h_.end();
    if (!c_.timeEvents.empty()) {
      h_.h3(Escape("События по времени"));
      h_.table({"День", "Время", "Событие"});
      for (const TimeEvent& t : c_.timeEvents) {
        char time[16];
        std::snprintf(time, sizeof time, "%02d:%02d", t.w[2], t.w[3]);
        const size_t e = static_cast<size_t>(t.w[4]);
        h_.row({N(t.w[1]), time, e < c_.events.size() ? T(c_.events[e].text) : N(t.w[4])});
      }
      h_.end();
    }
  }

  void smsList(const char* title, const std::vector<ParamRecord>& list) {
    h_.h3(Escape(title));
    h_.table({"№", "Шаблон", "Новое событие", "Восстановление"});
    for (size_t i = 0; i < list.size(); ++i)
      h_.row({N(static_cast<long long>(i) + 1), "<span class=\"sms\">" + T(list[i].text) + "</span>",
              "<span class=\"sms\">" + T(DisplaySms(list[i].text, 0, ctx_)) + "</span>",
              "<span class=\"sms\">" + T(DisplaySms(list[i].text, 1, ctx_)) + "</span>"});
    h_.end();
  }

  void sms() {
    h_.h2("Sms сообщения");
    smsList("Sms строки", c_.smsStrings);
    smsList("Подстроки", c_.smsSubStrings);
    smsList("Профильные строки", c_.smsProfileTexts);
  }

  void users() {
    h_.h2("Пользователи");
    h_.table({"Пользователь", "Флаги", "Ключ", "Пароль"});
    for (const User& u : c_.users) {
      std::string key = Escape("нет");
      if (u.w[3] != 0) {
        key.clear();
        for (int i = 4; i <= 9; ++i) {
          char buf[4];
          std::snprintf(buf, sizeof buf, "%02X", static_cast<unsigned>(u.w[i]) & 0xFFu);
          key += buf;
        }
      }
      h_.row({N(u.w[1]), Bits(static_cast<unsigned>(u.w[2]) & 0xFFu), key, secret(u.text)});
    }
    h_.end();
  }

  void remoteList(const char* title, const std::vector<RemoteCommand>& list, const std::vector<RemoteEntryName>& names) {
    h_.h3(Escape(title));
    h_.table({"№", "Название", "Рабочие телефоны", "Пароль"});
    for (size_t i = 0; i < list.size(); ++i)
      h_.row({N(static_cast<long long>(i) + 1), i < names.size() ? T(names[i].name) : "",
              Bits(static_cast<unsigned>(list[i].w[1]) & 0xFFu), secret(list[i].text)});
    h_.end();
  }

  void remote() {
    h_.h2("Управление");
    h_.table({"Рабочий телефон", "Номер", "Режим"});
    for (size_t i = 0; i < static_cast<size_t>(kWorkPhones); ++i)
      h_.row({N(static_cast<long long>(i) + 1), T(c_.workPhones[i]), Bits(c_.workPhoneControl[i])});
    h_.end();
    remoteList("Команды", c_.remoteCommands, ws_.commandNames);
    remoteList("Управление", c_.remoteControls, ws_.controlNames);
  }

  const Workspace& ws_;
  const Configuration& c_;
  const ReportOptions& o_;
  const SmsContext ctx_;
  Html h_;
};

}  // namespace

std::string BuildReport(const Workspace& ws, const ReportOptions& options) { return Report(ws, options).build(); }

}  // namespace vorsin
