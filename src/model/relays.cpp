#include "model/relays.h"

#include <algorithm>
#include <array>

#include "model/cp1251.h"
#include "model/device_limits.h"
#include "model/loops.h"
#include "model/numbers.h"

namespace vorsin {
namespace {

struct PatternDefault {
  const char* name;
  const char* steps;
};
constexpr std::array<PatternDefault, 7> kPatterns{{
    {"Вкл. непрерывно", "1, 153"},
    {"Меандр 1", "2, 138, 10"},
    {"Меандр 2", "2, 148, 20"},
    {"Меандр 3", "2, 133, 20"},
    {"Меандр 4", "4, 133, 5, 133, 20"},
    {"Меандр 5", "2, 129, 1"},
    {"Выкл.", "1, 25"},
}};


const char* FixedEventName(int id) {
  switch (id) {
    case 20: return "принуждение";
    case 21: return "снятие";
    case 22: return "взятие";
    case 23: return "задержка на снятие";
    case 24: return "задержка на взятие";
    case 25: return "пожарная тревога";
    case 26: return "охранная тревога";
    case 27: return "котрольный вход не в норме";  // sic
    case 28: return "неисправность";
    case 29: return "перевзятие";
    case 40: return "ручной запуск";
    case 41: return "тестовое сообщение 1";
    case 42: return "тестовое сообщение 2";
    case 43: return "Датчик вскрытия";
    case 44: return "Touch memory (Поднесение)";
    case 45: return "Touch memory (Отжатие)";
    default: return nullptr;
  }
}

}  // namespace

void LoadRelayPatterns(Configuration& config, Vocabulary& vocabulary) {
  config.relayPatterns.clear();
  for (size_t k = 0; k < kPatterns.size(); ++k) {
    const std::string n = std::to_string(k + 1);
    RelayPattern p;
    p.text = vocabulary.Read("RelayReaction", "Name" + n, Cp(kPatterns[k].name));
    ParseNumberList(vocabulary.Read("RelayReaction", "Val" + n, kPatterns[k].steps), p);
    // The record holds sixteen steps; a longer pattern is cut to them.
    p.setStepCount(std::min(p.stepCount(), RelayPattern::kMaxSteps));
    config.relayPatterns.push_back(std::move(p));
  }
}

std::string RelayEventName(int id, int g) {
  (void)g;
  if (const char* name = FixedEventName(id)) return Cp(name);
  if (id >= 0 && id < 20) return Cp("Интервал ") + std::to_string(id);
  return Cp("ошибка: неверный тип");
}

std::string RelayEventName(const Configuration& config, int id, int group) {
  if (id >= 0 && id < 20) {
    // Only a loop's own group has ranges to name.
    if (group < 0 || group >= kLoops) return Cp("ошибка: неверный тип");
    std::string name = RangeText(config, group, id, RangeWhat::Name);
    if (name.empty() && id >= LoopRangeCount(config, group)) name = RelayEventName(id, group);
    return name;
  }
  return RelayEventName(id, group);
}

int FireLoopRelay(const Configuration& config, int relay) {
  for (int L = 0; L < kLoops; ++L) {
    const uint8_t flags = config.general.loopFlags(L);
    if ((flags & 0x01) && ((flags >> 4) & 1) == relay) return L;
  }
  return -1;
}

size_t RelayBodySize(const Configuration& config, int relay) {
  if (FireLoopRelay(config, relay) >= 0) return kFireRelayBody;
  size_t size = 0;
  for (int k = 0; k < kRelayLists; ++k) {
    const size_t minPairs = k < kLoops ? kMinLoopPairs : kMinCommonPairs;
    size += 1 + 2 * std::max(config.relayBindings[relay][k].size(), minPairs);
  }
  return size;
}

}  // namespace vorsin
