// The JSON fields of each record kind, in the order ToJson writes them. The
// writer, the reader and the reader's check for unknown fields all walk the
// same table, so they cannot disagree about a field's name or its word.
#pragma once

#include <cstddef>
#include <span>

#include "model/records.h"

namespace vorsin {

enum class FieldRole {
  Word,   // one word of the record, by index
  Text,   // the record's text
  Words,  // all the words as an array
  Own,    // written and read by the kind's own code (ranges, steps, key bytes...)
};

struct RecordField {
  const char* key;
  FieldRole role;
  size_t word = 0;
};

namespace record_fields {

using enum FieldRole;

inline constexpr RecordField kInterval[] = {
    {"kind", Word, Interval::kKind}, {"ranges", Own}, {"words", Words}, {"text", Text}};

inline constexpr RecordField kBinding[] = {{"reserved", Word, RelayBinding::kReserved},
                                           {"id", Word, RelayBinding::kSource},
                                           {"reactionFlags", Word, RelayBinding::kReactionFlags},
                                           {"priority", Word, RelayBinding::kPriority}};

inline constexpr RecordField kPattern[] = {{"name", Text}, {"steps", Own}, {"words", Words}};

// "position" is shown for reading only: an event's position is its place in the list.
inline constexpr RecordField kEvent[] = {{"position", Own},
                                         {"name", Text},
                                         {"flags", Word, EventEntry::kFlags},
                                         {"code", Word, EventEntry::kCode},
                                         {"partition", Word, EventEntry::kPartition},
                                         {"zone", Word, EventEntry::kZone},
                                         {"smsNew", Word, EventEntry::kSmsNew},
                                         {"smsRestore", Word, EventEntry::kSmsRestore},
                                         {"voiceRestore", Word, EventEntry::kVoiceRestore},
                                         {"voiceNew", Word, EventEntry::kVoiceNew},
                                         {"addresseeMask", Word, EventEntry::kAddresseeMask},
                                         {"words", Words}};

inline constexpr RecordField kText[] = {{"text", Text}, {"words", Words}};

inline constexpr RecordField kUser[] = {{"number", Word, User::kNumber},
                                        {"userFlags", Word, User::kFlags},
                                        {"keyPresent", Word, User::kKeyPresent},
                                        {"keyCode", Own},
                                        {"password", Text},
                                        {"words", Words}};

// "name" and "form" come from the vocabulary: written when known, never read back.
inline constexpr RecordField kRemote[] = {
    {"phoneMask", Word, RemoteCommand::kPhoneMask}, {"password", Text}, {"words", Words}, {"name", Own}, {"form", Own}};

inline constexpr RecordField kTimeEvent[] = {{"day", Word, TimeEvent::kDay},
                                             {"hours", Word, TimeEvent::kHours},
                                             {"minutes", Word, TimeEvent::kMinutes},
                                             {"event", Word, TimeEvent::kEvent},
                                             {"words", Words}};

}  // namespace record_fields
}  // namespace vorsin
