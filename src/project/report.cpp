#include "project/report.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include "model/addressee_rules.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "model/event_rules.h"
#include "model/flag_names.h"
#include "model/loop_rules.h"
#include "model/loops.h"
#include "model/numbers.h"
#include "model/relay_rules.h"
#include "model/relays.h"
#include "model/remote.h"
#include "model/time_events.h"
#include "model/users.h"
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
// Tables take the page's width and share it by their contents, so that no
// column is narrower than its longest word.
struct Column {
  const char* head;
};

class Html {
 public:
  void h2(const std::string& title) { out_ += "<h2>" + Escape(title) + "</h2>\n"; }
  void h3(const std::string& html) { out_ += "<h3>" + html + "</h3>\n"; }
  // Cells are HTML already (escaped by the caller).
  void table(std::initializer_list<Column> head, const char* cls = nullptr) {
    cls_ = cls != nullptr ? std::string(" class=\"") + cls + "\"" : "";
    out_ += "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"3\"><tr>";
    for (const Column& h : head) out_ += "<th" + cls_ + ">" + Escape(h.head) + "</th>";
    out_ += "</tr>\n";
  }
  void row(std::initializer_list<std::string> cells) {
    out_ += "<tr>";
    for (const auto& c : cells) out_ += "<td" + cls_ + ">" + c + "</td>";
    out_ += "</tr>\n";
  }
  void end() {
    out_ += "</table>\n";
    cls_.clear();
  }
  void pairs(const std::vector<std::pair<std::string, std::string>>& items) {
    out_ += "<table class=\"pairs\" width=\"100%\" cellspacing=\"0\" cellpadding=\"3\">";
    for (const auto& [k, v] : items) out_ += "<tr><th width=\"40%\">" + Escape(k) + "</th><td>" + v + "</td></tr>";
    out_ += "</table>\n";
  }
  // The line that stands for an empty list.
  void none(const std::string& what) { out_ += "<p class=\"none\">" + Escape(what) + "</p>\n"; }
  void raw(const std::string& html) { out_ += html; }
  std::string& text() { return out_; }

 private:
  std::string out_;
  std::string cls_;  // the class of the open table's cells
};

constexpr const char* kStyle =
    "body{font-family:sans-serif;font-size:9pt;color:#111}"
    "h1{font-size:14pt;margin-bottom:0}h2{font-size:12pt;border-bottom:1px solid #888;margin-top:1.4em}"
    "h3{font-size:10pt;margin:.9em 0 .3em}table{border-collapse:collapse;margin:.3em 0 .8em;width:100%}"
    "th,td{border:1px solid #aaa;padding:2px 5px;text-align:left;vertical-align:top}"
    "th{background:#eee;font-weight:bold}.sms{font-family:monospace;white-space:pre-wrap}"
    "td.small,th.small{font-size:7.5pt}.muted{color:#666}.none{color:#444;font-style:italic}"
    "@media print{h2,h3{page-break-after:avoid}table{page-break-inside:auto}}";

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
  std::string smsText(int32_t number, int restore) const {
    if (number <= 0) return Escape("нет");
    if (static_cast<size_t>(number) > c_.smsStrings.size()) return Escape(N(number) + " (нет такой строки)");
    return N(number) + ": <span class=\"sms\">" +
           T(DisplaySms(c_.smsStrings[static_cast<size_t>(number) - 1].text, restore, ctx_)) + "</span>";
  }
  std::string addresseeNames(int32_t mask) const {
    std::string s;
    for (size_t i = 0; i < static_cast<size_t>(kMaxAddressees); ++i) {
      if (!HasBits(mask, AddresseeBit(static_cast<int>(i)))) continue;
      if (!s.empty()) s += ", ";
      s += i < c_.addressees.size() ? T(c_.addressees[i].name) : Escape("Адресат " + N(static_cast<long long>(i) + 1));
    }
    return s.empty() ? Escape("нет") : s;
  }
  std::string eventName(int32_t e) const {
    return e >= 0 && static_cast<size_t>(e) < c_.events.size() ? N(e) + ": " + T(c_.events[static_cast<size_t>(e)].text)
                                                               : N(e);
  }
  std::string profileName() const {
    const int section = c_.general.profileIndex();
    for (const OperatorProfile& p : ws_.profiles)
      if (p.section == section) return T(p.name);
    return Escape("Профиль " + N(section));
  }
  static std::string voice(int32_t number) { return number > 0 ? N(number) : Escape("нет"); }
  static std::string countText(uint8_t v, CountUnit unit) { return T(FormatCount(v, unit)); }

  void general() {
    const GeneralSettings& g = c_.general;
    h_.h2("Общие");
    std::vector<std::pair<std::string, std::string>> items = {
        {"PIN-код", secret(c_.pinCode)},
        {"PUK-код", secret(c_.pukCode)},
        {"Адрес ПКД-РС", T(c_.deviceAddress)},
        {"Собственный номер", T(c_.ownNumber)},
        {"Номер сервиса службы SMS", T(c_.smsCentre)},
        {"Исходящий номер \"express\" баланса", T(c_.expressOutNumber)},
        {"Входящий номер \"express\" баланса", T(c_.expressInNumber)},
        {"Профиль", profileName()},
        {"Период теста 1", period(g.at(GeneralSettings::kTestPeriod1))},
        {"Период теста 2", period(g.at(GeneralSettings::kTestPeriod2))},
        {"Период проверки тел. линии", period(g.at(GeneralSettings::kLineCheckPeriod))},
        {"Время \"приоритетного\" набора", countText(g.at(GeneralSettings::kPriorityDialTime), CountUnit::Minutes)},
        {"Задержка при дозвоне по тел. линии", countText(g.at(GeneralSettings::kLineDialDelay), CountUnit::Seconds)}};
    for (const FlagName& f : GeneralFlagNames())
      items.emplace_back(ToUtf8(f.caption),
                         T(YesNoText(FlagSet(f.byte == FlagName::Dial ? g.dialFlags() : g.serviceFlags(), f))));
    h_.pairs(items);
  }

  void addressees() {
    h_.h2("Адресаты");
    if (c_.addressees.empty()) h_.none("Адресатов нет");
    for (const Addressee& a : c_.addressees) {
      h_.h3(T(a.name));
      int32_t limit = a.deliveryLimit;
      std::vector<std::pair<std::string, std::string>> items = {
          {"Режим доставки SMS", T(DeliveryModeItems()[static_cast<size_t>(DeliveryModeIndex(a.addresseeFlags))])},
          {"Время ожидания подтверждения", T(ConfirmWaitText(a.confirmWait))},
          {"Ограничение времени доставки сообщений по адресату", T(DeliveryLimitText(DeliveryLimitRow(limit)))}};
      for (const FlagName& f : AddresseeFlagNames())
        items.emplace_back(ToUtf8(f.caption), T(YesNoText(FlagSet(a.addresseeFlags, f))));
      h_.pairs(items);
      if (a.phones.empty()) {
        h_.none("Телефонов нет");
        continue;
      }
      h_.table({{"Телефон"}, {"Номер"}, {"Префиксы (сот. / лин.)"}, {"Канал"}, {"Формат Gsm"},
                {"Формат Line"}, {"Повторы речи"}, {"Признаки"}});
      for (const AddresseePhone& p : a.phones)
        h_.row({T(p.name), T(p.phoneNumber), T(p.cellPrefix) + " / " + T(p.linePrefix), T(ChannelText(p.phoneFlags)),
                T(GsmFormatText(p.formats)), T(LineFormatText(p.formats)), T(VoiceRepeatText(c_.general, p.phoneFlags)),
                T(SetFlagsText(p.phoneFlags, PhoneFlagNames()))});
      h_.end();
    }
  }

  // One block per loop with the rows of its kind's group, in the page's words.
  void loops() {
    const GeneralSettings& g = c_.general;
    h_.h2("Шлейфы");
    for (int L = 0; L < kLoops; ++L) {
      const uint8_t flags = g.loopFlags(L);
      const LoopKind kind = KindOfLoop(flags);
      h_.h3(Escape("Шлейф " + N(L + 1) + ": ") + T(LoopKindTitle(kind)));
      const size_t index = g.intervalIndex(L);
      const std::string table = index < c_.intervalDescriptions.size() && !c_.intervalDescriptions[index].name.empty()
                                    ? T(c_.intervalDescriptions[index].name)
                                    : N(static_cast<long long>(index));
      const size_t latch = static_cast<size_t>(2 * L);
      std::vector<std::pair<std::string, std::string>> items = {
          {"Интервалы", table}, {"Время реакции шлейфа", T(FormatReactionTime(g.reactionTime(L)))}};
      if (kind == LoopKind::Guard) {
        items.emplace_back("Задержка на взятие", countText(g.armDelay(L), CountUnit::Seconds));
        items.emplace_back("Задержка на снятие", countText(g.disarmDelay(L), CountUnit::Seconds));
        items.emplace_back("Задержка на снятие включена", T(YesNoText(DisarmDelayOn(g, L))));
        items.emplace_back("Общие шлейфы", T(CommonLoopsText(g, L)));
      }
      if (kind != LoopKind::Fire)
        items.emplace_back("Защёлкнуть", T(FormatLatch(c_.loopLatch[latch], LatchWhich::Latch)));
      if (kind == LoopKind::Guard)
        items.emplace_back("Перевзятие", T(FormatLatch(c_.loopLatch[latch + 1], LatchWhich::Rearm)));
      if (kind == LoopKind::Fire) items.emplace_back("Номер реле:", flags & 0x10 ? "2" : "1");
      for (const LoopOption& o : LoopOptions())
        if (o.kind == kind) items.emplace_back(ToUtf8(o.caption), T(YesNoText((flags >> o.bit) & 1u)));
      h_.pairs(items);
    }
  }

  void relays() {
    h_.h2("Реле");
    for (int r = 0; r < kRelays; ++r) {
      h_.h3(Escape("Реле " + N(r + 1)));
      const int limit = RelayTimeLimitItem(c_.relayTimeLimit[static_cast<size_t>(r)]);
      h_.pairs({{"Тип реле", T(ContactTypeItems()[static_cast<size_t>(ContactTypeItem(c_.general.relayNormallyClosed(r)))])},
                {"Ограничение времени работы",
                 limit >= 0 ? T(RelayTimeLimitItems()[static_cast<size_t>(limit)]) : N(c_.relayTimeLimit[static_cast<size_t>(r)])}});
      bool any = false;
      for (int list = 0; list < kRelayLists; ++list)
        for (const RelayBinding& b : c_.relayBindings[r][list]) {
          if (!any) h_.table({{"Группа"}, {"Событие"}, {"Реакция"}, {"Приоритет"}});
          any = true;
          const size_t pattern = static_cast<size_t>(PatternIndex(b));
          std::string reaction =
              pattern < c_.relayPatterns.size() ? T(c_.relayPatterns[pattern].text) : N(static_cast<long long>(pattern));
          if (ReactionBit(b, kCyclicBit)) reaction += Escape(", циклически");
          if (ReactionBit(b, kNoStopCheckBit)) reaction += Escape(", не проверять на стоп");
          h_.row({T(RelayGroupCaption(c_, list)), T(RelayEventName(c_, b.source(), list)), reaction, N(b.priority())});
        }
      if (any) {
        h_.end();
      } else {
        h_.none("Привязок нет");
      }
    }
    h_.h3(Escape("Реакции реле"));
    if (c_.relayPatterns.empty()) {
      h_.none("Реакций нет");
      return;
    }
    h_.table({{"Реакция"}, {"Шаги"}});
    for (const ParamRecord& p : c_.relayPatterns) h_.row({T(p.text), T(PatternStepsText(p))});
    h_.end();
  }

  void events() {
    h_.h2("События");
    const std::vector<int> rows = ListedEvents(ws_);
    if (rows.empty()) h_.none("Событий нет");
    if (!rows.empty()) {
      h_.table({{"N"}, {"Событие"}, {"Код, раздел, зона"}, {"Восст"}, {"Адресаты"}, {"Sms при событии"},
                {"Sms при восстановлении"}, {"Речь"}}, "small");
      for (const int e : rows) {
        const EventEntry& ev = c_.events[static_cast<size_t>(e)];
        const auto texts = EventRowTexts(ev, e);
        h_.row({T(texts[kColNumber]), T(texts[kColName]),
                T(texts[kColCode]) + ", " + T(texts[kColPartition]) + ", " + T(texts[kColZone]), T(texts[kColRestore]),
                addresseeNames(ev.addresseeMask()), smsText(ev.smsNew(), 0), smsText(ev.smsRestore(), 1),
                voice(ev.voiceNew()) + " / " + voice(ev.voiceRestore())});
      }
      h_.end();
    }
    h_.h3(Escape("События по времени"));
    if (c_.timeEvents.empty()) {
      h_.none("Событий по времени нет");
      return;
    }
    h_.table({{"Когда"}, {"Событие"}});
    for (const TimeEvent& t : c_.timeEvents) h_.row({T(TimeEventWhenText(t)), eventName(t.event())});
    h_.end();
  }

  void smsList(const char* title, const std::vector<ParamRecord>& list) {
    h_.h3(Escape(title));
    if (list.empty()) {
      h_.none("Строк нет");
      return;
    }
    h_.table({{"№"}, {"Шаблон"}, {"Новое событие"}, {"Восстановление"}});
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
    if (c_.users.empty()) {
      h_.none("Пользователей нет");
    } else {
      h_.table({{"Пользователь"}, {"Шлейфы"}, {"Touch memory"}, {"Сброс \"ручного запуска\" реле"},
                {"Пароль"}});
      for (const User& u : c_.users)
        h_.row({T(UserCaption(u.number())), T(UserLoopsText(u)), T(UserKeyText(u)),
                T(YesNoText(FlagSet(static_cast<uint8_t>(u.flags()), RelayResetFlagName()))), secret(u.text)});
      h_.end();
    }
    h_.pairs({{ToUtf8(LoopsAndFlagName().caption), T(YesNoText(FlagSet(c_.general.dialFlags(), LoopsAndFlagName())))}});
  }

  void remoteList(const char* title, const std::vector<RemoteCommand>& list, const std::vector<RemoteEntryName>& names,
                  bool passwords) {
    h_.h3(Escape(title));
    if (list.empty()) {
      h_.none("Записей нет");
      return;
    }
    if (passwords) {
      h_.table({{"№"}, {"Название"}, {"Рабочие телефоны"}, {"Пароль"}});
    } else {
      h_.table({{"№"}, {"Название"}, {"Рабочие телефоны"}});
    }
    for (size_t i = 0; i < list.size(); ++i) {
      const std::string name = i < names.size() ? T(names[i].name) : "";
      const std::string phones = T(BoundPhonesText(list[i]));
      if (passwords) {
        h_.row({N(static_cast<long long>(i) + 1), name, phones, secret(list[i].text)});
      } else {
        h_.row({N(static_cast<long long>(i) + 1), name, phones});
      }
    }
    h_.end();
  }

  void remote() {
    h_.h2("Управление");
    h_.h3(Escape("Рабочие телефоны"));
    h_.table({{"Телефон"}, {"Номер"}, {"Режим"}});
    for (size_t i = 0; i < static_cast<size_t>(kWorkPhones); ++i)
      h_.row({Escape("Тел. " + N(static_cast<long long>(i) + 1)), T(c_.workPhones[i]), T(PhoneModeText(c_.workPhoneControl[i]))});
    h_.end();
    std::vector<std::pair<std::string, std::string>> items = {
        {"Переслать CUSD ответ на номер", T(c_.cusdForwardNumber)}};
    for (const FlagName& f : ForwardFlagNames())
      items.emplace_back(ToUtf8(f.caption), T(YesNoText(FlagSet(c_.general.serviceFlags(), f))));
    h_.pairs(items);
    remoteList("Команды", c_.remoteCommands, ws_.commandNames, true);
    remoteList("Параметры телефонов", c_.remoteControls, ws_.controlNames, false);
  }

  const Workspace& ws_;
  const Configuration& c_;
  const ReportOptions& o_;
  const SmsContext ctx_;
  Html h_;
};

}  // namespace

std::string BuildReport(const Workspace& ws, const ReportOptions& options) { return Report(ws, options).build(); }

std::string ReportSiteLine(const Workspace& ws, const ReportOptions& options) {
  std::string line = options.title.empty() ? "Без имени" : options.title;
  if (!ws.config.deviceAddress.empty()) line += ", адрес ПКД-РС " + ToUtf8(ws.config.deviceAddress);
  if (!options.made.empty()) line += ", " + options.made;
  return line;
}

}  // namespace vorsin
