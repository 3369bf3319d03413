// What each block of the image holds of the configuration, beside its codec:
// the check before programming ("...Holds": what a field cannot give back
// as written) and the configuration as reading gives it back ("Keep...").
// The block table (blocks.h) names them next to the block's codec.
#pragma once

#include <span>

#include "image/problems.h"
#include "model/configuration.h"

namespace vorsin::image {

void PinHolds(const Configuration& c, Problems& p);
void UsersHold(const Configuration& c, Problems& p);
void AddresseesHold(const Configuration& c, Problems& p);  // the phones block and the addressee slots
void GeneralHolds(const Configuration& c, Problems& p);
void CommonLoopsHold(const Configuration& c, Problems& p);
void LoopEventBasesHold(const Configuration& c, Problems& p);
void NumbersHold(const Configuration& c, Problems& p);
void LevelTablesHold(const Configuration& c, Problems& p);
void EventsHold(const Configuration& c, Problems& p);
void RelaysHold(const Configuration& c, Problems& p);
void RelayPatternsHold(const Configuration& c, Problems& p);
void SmsTextsHold(const Configuration& c, Problems& p);
void TimeEventsHold(const Configuration& c, Problems& p);

using Codes = std::span<const CodeDefinition>;
void KeepUsers(Configuration& c, Codes);
void KeepPhoneNumbers(Configuration& c, Codes);
void KeepGeneral(Configuration& c, Codes);
void KeepLoopConstants(Configuration& c, Codes);
void KeepNumbers(Configuration& c, Codes);
void KeepRelays(Configuration& c, Codes);
void KeepRelayPatternSteps(Configuration& c, Codes);
void KeepSmsTexts(Configuration& c, Codes codes);
void KeepTimeEvents(Configuration& c, Codes);

}  // namespace vorsin::image
