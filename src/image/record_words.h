// Names for the words of the model's records as the image codecs and checks
// use them (see the record comments in model/configuration.h). Events use
// model/event_rules.h's ev:: names.
#pragma once

#include <cstddef>

namespace vorsin::image {

namespace user_word {
constexpr size_t kNumber = 1;
constexpr size_t kFlags = 2;
constexpr size_t kKeyPresent = 3;
constexpr size_t kFirstKeyByte = 4;
constexpr size_t kKeyBytes = 6;
}  // namespace user_word

namespace time_word {
constexpr size_t kDay = 1;
constexpr size_t kHour = 2;
constexpr size_t kMinute = 3;
constexpr size_t kEvent = 4;
}  // namespace time_word

namespace binding_word {
constexpr size_t kUnused = 0;  // not in the image
constexpr size_t kSource = 1;
constexpr size_t kReaction = 2;
constexpr size_t kPriority = 3;
}  // namespace binding_word

// Relay patterns are ParamRecords: the step count, then the steps.
namespace pattern_word {
constexpr size_t kUnused = 0;  // not in the image
constexpr size_t kSteps = 1;
constexpr size_t kFirstStep = 2;
}  // namespace pattern_word

// Level tables (Interval): the kind, the range count, then two levels a range.
namespace interval_word {
constexpr size_t kKind = 0;
constexpr size_t kRanges = 1;
constexpr size_t kFirstLevel = 2;
}  // namespace interval_word

}  // namespace vorsin::image
