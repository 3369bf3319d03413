#include "model/relay_rules.h"

#include <algorithm>
#include <array>

#include "model/cp1251.h"
#include "model/device_limits.h"
#include "model/loop_rules.h"
#include "model/loops.h"
#include "model/numbers.h"
#include "model/relays.h"

namespace vorsin {
namespace {

constexpr std::array<int, 7> kLimitMinutes{0, 3, 5, 7, 9, 12, 14};
constexpr int kReactItems = 16;
constexpr int kHs1Items = 10;
constexpr int kMaxPatternBox = 8;

bool ValidGroup(int relay, int group) { return relay >= 0 && relay < kRelays && group >= 0 && group < kRelayLists; }

bool IsLoopGroup(int group) { return group >= 0 && group < kLoops; }

int ListItems(const Configuration& config, RelayList list, int group) {
  switch (list) {
    case RelayList::React: return group == kCommonGroup ? kReactItems : 0;
    case RelayList::Hs1: return IsLoopGroup(group) ? kHs1Items : 0;
    case RelayList::Hs2: return IsLoopGroup(group) ? LoopRangeCount(config, group) : 0;
  }
  return 0;
}

}  // namespace

std::vector<std::string> RelayTimeLimitItems() {
  std::vector<std::string> items;
  for (int minutes : kLimitMinutes) items.push_back(FormatCount(minutes, CountUnit::Minutes));
  return items;
}

int RelayTimeLimitCode(int item) {
  if (item < 0 || item >= static_cast<int>(kLimitMinutes.size())) return -1;
  return kLimitMinutes[item] == 0 ? 0 : 15 - kLimitMinutes[item];
}

int RelayTimeLimitItem(int code) {
  for (int i = 0; i < static_cast<int>(kLimitMinutes.size()); ++i)
    if (RelayTimeLimitCode(i) == code) return i;
  return -1;
}

int ContactTypeItem(uint8_t normallyClosed) { return normallyClosed != 0 ? 0 : 1; }

std::vector<std::string> ContactTypeItems() { return {Cp("Нормально замкнутое"), Cp("Нормально разомкнутое")}; }

uint8_t NormallyClosedOf(int item) { return item == 0 ? 1 : 0; }

std::vector<std::string> RelayReactItems() {
  std::vector<std::string> items;
  for (const char* name : {"ручной запуск", "тестовое извещение 1", "тестовое извещение 2", "Датчик вскрытия",
                           "Touch memory (Поднесение)", "Touch memory (Отжатие)"})
    items.push_back(Cp(name));
  for (const std::string& name : RelayHs1Items()) items.push_back(name);
  items[14] = Cp("неисправность");  // the loop list's item has a trailing blank
  return items;
}

std::vector<std::string> RelayHs1Items() {
  std::vector<std::string> items;
  for (const char* name : {"принуждение", "снятие", "взятие", "задержка на снятие", "задержка на взятие",
                           "пожарная тревога", "охранная тревога", "ненорма сигнальных контактов",  // sic
                           "неисправность ", "перевзятие"})
    items.push_back(Cp(name));
  return items;
}

std::vector<std::string> RelayHs2Items(const Configuration& config, int loop) {
  std::vector<std::string> items;
  const int n = std::min(LoopRangeCount(config, loop), kMaxRanges);
  for (int k = 0; k < n; ++k) items.push_back(RangeText(config, loop, k, RangeWhat::Name));
  return items;
}

int RelayListIdentifier(const Configuration& config, RelayList list, int item, int group) {
  if (item < 0 || item >= ListItems(config, list, group)) return -1;
  switch (list) {
    case RelayList::React: return item <= 5 ? 40 + item : 14 + item;
    case RelayList::Hs1: return 20 + item;
    case RelayList::Hs2: return item;
  }
  return -1;
}

std::optional<RelayListItem> RelayItemOf(const Configuration& config, int id, int group) {
  // The inverse of RelayListIdentifier: an identifier no item gives (a file
  // may bring any) checks nothing.
  for (RelayList list : {RelayList::React, RelayList::Hs1, RelayList::Hs2}) {
    const int n = ListItems(config, list, group);
    for (int i = 0; i < n; ++i)
      if (RelayListIdentifier(config, list, i, group) == id) return RelayListItem{list, i};
  }
  return std::nullopt;
}

int ListSelectionCode(RelayList list, int item) { return 64 * (static_cast<int>(list) + 1) + item; }

std::optional<RelayListItem> ListSelectionItem(const Configuration& config, int code, int group) {
  const int kind = code / 64;
  if (kind < 1 || kind > 3) return std::nullopt;
  const auto list = static_cast<RelayList>(kind - 1);
  const int item = code & 31;
  if (item >= ListItems(config, list, group)) return std::nullopt;
  return RelayListItem{list, item};
}

std::vector<int> IntervalMenuIds(const Configuration& config, int relay, int group) {
  std::vector<int> ids;
  if (!ValidGroup(relay, group) || !IsLoopGroup(group)) return ids;
  const int n = std::min(LoopRangeCount(config, group), kMaxRanges);
  for (int k = 0; k < n; ++k)
    if (FindBinding(config, relay, group, k) < 0) ids.push_back(k);
  return ids;
}

std::vector<int> EventMenuIds(const Configuration& config, int relay, int group) {
  std::vector<int> ids;
  if (!ValidGroup(relay, group)) return ids;
  if (group == kCommonGroup) {
    for (int id = 40; id <= 45; ++id)
      if (FindBinding(config, relay, group, id) < 0) ids.push_back(id);
    ids.push_back(kMenuSeparator);
  }
  for (int id = 20; id <= 28; ++id)
    if (FindBinding(config, relay, group, id) < 0) ids.push_back(id);
  return ids;
}

std::string RelayGroupCaption(const Configuration& config, int group) {
  if (!IsLoopGroup(group)) return Cp("Общие");
  return Cp("Шлейф") + std::to_string(group + 1) + LoopKindSuffix(config.general.loopFlags(group));
}

int FindBinding(const Configuration& config, int relay, int group, int id) {
  if (!ValidGroup(relay, group)) return -1;
  const auto& list = config.relayBindings[relay][group];
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].source() == id) return static_cast<int>(i);
  return -1;
}

BindingChange AddBinding(Workspace& ws, int relay, int group, int id) {
  if (!ValidGroup(relay, group) || FindBinding(ws.config, relay, group, id) >= 0) return BindingChange::Refused;
  auto& list = ws.config.relayBindings[relay][group];
  RelayBinding binding;
  binding.setSource(id);
  binding.setPriority(1);
  list.push_back(binding);
  // The header keeps six bits of the body size: a larger body would hide
  // the next relay's block when the device is read back.
  if (RelayBodySize(ws.config, relay) > static_cast<size_t>(kMaxRelayBody)) {
    list.pop_back();
    return BindingChange::TooLarge;
  }
  if (IsLoopGroup(group)) ws.marks.loopRelayEdited[group] = true;
  return BindingChange::Added;
}

BindingChange ToggleBinding(Workspace& ws, int relay, int group, int id) {
  const int at = FindBinding(ws.config, relay, group, id);
  if (at < 0) return AddBinding(ws, relay, group, id);
  auto& list = ws.config.relayBindings[relay][group];
  list.erase(list.begin() + at);
  if (IsLoopGroup(group)) ws.marks.loopRelayEdited[group] = true;
  return BindingChange::Removed;
}

std::string TooManyBindingsText(int relay) {
  return Cp("Реле ") + std::to_string(relay + 1) + Cp(": привязок больше, чем помещается в устройство (не более ") +
         std::to_string(kMaxRelayBody) + Cp(" байт). Уберите часть привязок этого реле.");
}

void ClearRelay(Configuration& config, int relay) {
  if (relay < 0 || relay >= kRelays) return;
  config.general.relayNormallyClosed(relay) = 0;
  for (auto& list : config.relayBindings[relay]) list.clear();
}

bool ClearGroup(Configuration& config, int relay, int group) {
  if (!ValidGroup(relay, group)) return false;
  config.relayBindings[relay][group].clear();
  return true;
}

int DeleteBinding(Configuration& config, int relay, int group, int id) {
  const int at = FindBinding(config, relay, group, id);
  if (at < 0) return -1;
  auto& list = config.relayBindings[relay][group];
  list.erase(list.begin() + at);
  return at;
}

void SetReactionBit(RelayBinding& binding, int bit, bool set) {
  binding.setReactionFlags(WithBits(binding.reactionFlags(), 1 << bit, set));
}

bool ReactionBit(const RelayBinding& binding, int bit) { return (binding.reactionFlags() >> bit) & 1; }

void SetPatternIndex(RelayBinding& binding, int index) {
  binding.setReactionFlags((binding.reactionFlags() & 0xC0) | (index & 7));
}

int PatternIndex(const RelayBinding& binding) { return binding.reactionFlags() & 7; }

std::vector<std::string> PatternBoxItems(const Configuration& config) {
  std::vector<std::string> items;
  for (const ParamRecord& p : config.relayPatterns) {
    if (static_cast<int>(items.size()) == kMaxPatternBox) break;
    items.push_back(p.text);
  }
  return items;
}

void RelayPreview::start(int flags) {
  preview_ = flags & 135;
  next_ = 1;
}

void RelayPreview::stop() {
  preview_ = -1;
  next_ = 1;
}

namespace {

RelayPreview::Step PatternStep(int32_t step) { return {(step & 0x80) != 0, (step & 63) * 100}; }

}  // namespace

std::string PatternStepsText(const RelayPattern& pattern) {
  std::string out;
  const int steps = std::clamp(pattern.stepCount(), 0, RelayPattern::kMaxSteps);
  for (int i = 1; i <= steps; ++i) {
    const RelayPreview::Step s = PatternStep(pattern.step(i - 1));
    out += (i > 1 ? ", " : "") + Cp(s.energised ? "вкл. " : "выкл. ") + std::to_string(s.intervalMs) + Cp(" мс");
  }
  return out.empty() ? Cp("нет") : out;
}

std::optional<RelayPreview::Step> RelayPreview::tick(const std::vector<RelayPattern>& patterns) {
  if (preview_ < 0) return std::nullopt;
  const size_t index = preview_ & 7;
  if (index >= patterns.size() || patterns[index].stepCount() < 1) {
    stop();
    return std::nullopt;
  }
  const RelayPattern& pattern = patterns[index];
  const int steps = std::min(pattern.stepCount(), RelayPattern::kMaxSteps);
  if (next_ > steps) {
    if (!(preview_ & 0x80)) return std::nullopt;
    next_ = 1;
  }
  const Step step = PatternStep(pattern.step(next_ - 1));
  // A step of no length would ask for a timer that fires at once, forever.
  if (step.intervalMs == 0) return std::nullopt;
  ++next_;
  return step;
}

}  // namespace vorsin
