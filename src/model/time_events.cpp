#include "model/time_events.h"

#include <algorithm>
#include <cstdio>

#include "model/cp1251.h"

namespace vorsin {

bool HasTimeEvent(const Configuration& config, int event) { return TimeEventCount(config, event) > 0; }

int TimeEventCount(const Configuration& config, int event) {
  return static_cast<int>(std::count_if(config.timeEvents.begin(), config.timeEvents.end(),
                                        [&](const TimeEvent& t) { return t.event() == event; }));
}

int TimeEventIndex(const Configuration& config, int event, int k) {
  if (k < 0) return -1;
  for (size_t i = 0; i < config.timeEvents.size(); ++i) {
    if (config.timeEvents[i].event() != event) continue;
    if (k-- == 0) return static_cast<int>(i);
  }
  return -1;
}

void AddTimeEvent(Configuration& config, int event) {
  TimeEvent t;
  t.setEvent(event);
  config.timeEvents.push_back(t);
}

bool RemoveTimeEvent(Configuration& config, int event, int k) {
  const int i = TimeEventIndex(config, event, k);
  if (i < 0) return false;
  config.timeEvents.erase(config.timeEvents.begin() + i);
  return true;
}

void ClearTimeEvents(Configuration& config, int event) {
  std::erase_if(config.timeEvents, [&](const TimeEvent& t) { return t.event() == event; });
}

std::vector<int> TimeEventRoots(const Configuration& config) {
  std::vector<int> roots{0, 1};
  for (int e = 2; e <= kLastListedEvent; ++e)
    if (HasTimeEvent(config, e)) roots.push_back(e);
  return roots;
}

std::string TimeNodeText(const TimeEvent& time) {
  char text[32];
  if (time.day() == 0) {
    std::snprintf(text, sizeof text, "%.2d:%.2d:00", time.hours(), time.minutes());
  } else {
    std::snprintf(text, sizeof text, "%.2d %.2d:%.2d:00", time.day(), time.hours(), time.minutes());
  }
  return text;
}

bool TestDeliveryOptionOpen(const Configuration& config, int report) {
  const uint8_t period = config.general.at(report == 0 ? GeneralSettings::kTestPeriod1 : GeneralSettings::kTestPeriod2);
  return (period & 0x7F) != 0 || HasTimeEvent(config, report);
}


std::vector<std::string> TimeEventDayItems() {
  std::vector<std::string> items{Cp("Ежедневно")};
  for (int d = 1; d <= 31; ++d) items.push_back(std::to_string(d) + Cp(" числа в"));
  return items;
}

std::string TimeEventWhenText(const TimeEvent& time) {
  const auto items = TimeEventDayItems();
  const int32_t d = time.day();
  const std::string day = d >= 0 && d < static_cast<int32_t>(items.size()) ? items[static_cast<size_t>(d)]
                                                                           : std::to_string(d) + Cp(" числа в");
  char clock[16];
  std::snprintf(clock, sizeof clock, "%02d:%02d", time.hours(), time.minutes());
  return day + " " + clock;
}

bool IsDefinedEvent(const Configuration& config, int event) {
  return event >= 0 && event < static_cast<int>(config.events.size());
}

std::string TimeRootText(const Configuration& config, int event) {
  return IsDefinedEvent(config, event) ? config.events[static_cast<size_t>(event)].text
                                       : Cp("Ошибка: событие не определено");
}

std::vector<std::string> TimeNodeTexts(const Configuration& config, int event) {
  std::vector<std::string> texts;
  for (const TimeEvent& t : config.timeEvents)
    if (t.event() == event) texts.push_back(TimeNodeText(t));
  return texts;
}

bool CanAddTimeEvent(int event) { return event >= 0 && event <= kMaxTimedEvent; }

int TimeEventDayItem(const TimeEvent& time) {
  return time.day() >= 0 && time.day() < static_cast<int32_t>(TimeEventDayItems().size()) ? time.day() : -1;
}

}  // namespace vorsin
