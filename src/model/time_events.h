// Trigger times of the events the device's clock raises. The k-th time of
// event E is the k-th entry of timeEvents (in list order) whose event is E.
#pragma once

#include <string>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

// Event positions the device stores: one byte whose top bit marks the two
// test reports, so 0..127.
constexpr int kMaxTimedEvent = 127;
constexpr int kLastListedEvent = 255;

bool HasTimeEvent(const Configuration& config, int event);
int TimeEventCount(const Configuration& config, int event);
// Position in timeEvents of the k-th time of event, or -1.
int TimeEventIndex(const Configuration& config, int event, int k);
// Appends day 0, 00:00 for the event.
void AddTimeEvent(Configuration& config, int event);
bool RemoveTimeEvent(Configuration& config, int event, int k);
void ClearTimeEvents(Configuration& config, int event);

// The events the dialog lists: 0 and 1 always, then every other position up
// to 255 that has a time.
std::vector<int> TimeEventRoots(const Configuration& config);

// "08:30:00", or "05 08:30:00" on day 5 (Windows-1251, digits only).
std::string TimeNodeText(const TimeEvent& time);
// The day box's items: "Ежедневно" (day 0), then "1 числа в" .. "31 числа в".
std::vector<std::string> TimeEventDayItems();
// "Ежедневно 08:30", "5 числа в 08:30".
std::string TimeEventWhenText(const TimeEvent& time);

// CheckBox9 (report 0) and CheckBox10 (report 1) are open when the test
// report has a period or a time.
bool TestDeliveryOptionOpen(const Configuration& config, int report);

// The dialog's tree: a root per listed event, named by the event, or
// "Ошибка: событие не определено" for a position the list does not hold;
// under it the event's times in list order.
bool IsDefinedEvent(const Configuration& config, int event);
std::string TimeRootText(const Configuration& config, int event);
std::vector<std::string> TimeNodeTexts(const Configuration& config, int event);
// New times only for the positions the device stores (0..kMaxTimedEvent).
bool CanAddTimeEvent(int event);
// The day box's item for a time, or -1 (no item) for a day it has none for.
int TimeEventDayItem(const TimeEvent& time);

}  // namespace vorsin
