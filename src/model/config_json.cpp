#include "model/config_json.h"

#include <algorithm>
#include <span>
#include <string_view>

#include "model/cp1251.h"
#include "model/file_path.h"
#include "model/record_fields.h"

namespace vorsin {
namespace {

using json = nlohmann::ordered_json;

std::string U(const std::string& cp1251) { return ToUtf8(cp1251); }

json Words(const ParamRecord& r) { return json(r.w); }

json Bytes(const GeneralSettings& g, size_t from, size_t count) {
  json a = json::array();
  for (size_t i = 0; i < count; ++i) a.push_back(g.at(from + i));
  return a;
}

json PerLoop(const GeneralSettings& g, size_t index) { return Bytes(g, GeneralSettings::kLoopBlock + index, kLoops); }

json LoopBlockJson(const GeneralSettings& g) {
  const size_t b = GeneralSettings::kLoopBlock;
  return {
      {"clearedMark", g.block(lb::kClearedMark)},
      {"voiceRepeatTable", Bytes(g, b + lb::kVoiceRepeatTable, 16)},
      {"deviceHeldByte", g.deviceHeldByte()},
      {"reserved18", Bytes(g, b + 18, 32)},
      {"loopFlags", PerLoop(g, lb::kLoopFlags)},
      {"commonLoops", PerLoop(g, lb::kCommonLoops)},
      {"loopConstants", PerLoop(g, lb::kLoopConstants)},
      {"loopEventBase", PerLoop(g, lb::kLoopEventBase)},
      {"reactionTime", PerLoop(g, lb::kReactionTime)},
      {"armDelay", PerLoop(g, lb::kArmDelay)},
      {"disarmDelay", PerLoop(g, lb::kDisarmDelay)},
      {"intervalIndex", PerLoop(g, lb::kIntervalIndex)},
      {"relayNormallyClosed", Bytes(g, b + lb::kRelayNormallyClosed, kRelays)},
  };
}

json GeneralJson(const GeneralSettings& g) {
  return {
      {"testPeriod1", g.at(GeneralSettings::kTestPeriod1)},
      {"reserved1", Bytes(g, 1, 7)},
      {"testPeriod2", g.at(GeneralSettings::kTestPeriod2)},
      {"lineCheckPeriod", g.at(GeneralSettings::kLineCheckPeriod)},
      {"priorityDialTime", g.at(GeneralSettings::kPriorityDialTime)},
      {"lineDialDelay", g.at(GeneralSettings::kLineDialDelay)},
      {"dialFlags", g.dialFlags()},
      {"serviceFlags", g.serviceFlags()},
      {"reserved14", Bytes(g, 14, 2)},
      {"profileIndex", g.profileIndex()},
      {"loopBlock", LoopBlockJson(g)},
  };
}

json PhoneJson(const AddresseePhone& p) {
  return {{"autoNumber", p.autoNumber}, {"formats", p.formats},   {"phoneFlags", p.phoneFlags},
          {"name", U(p.name)},          {"phoneNumber", U(p.phoneNumber)},
          {"cellPrefix", U(p.cellPrefix)}, {"linePrefix", U(p.linePrefix)}};
}

json AddresseeJson(const Addressee& a) {
  json phones = json::array();
  for (const auto& p : a.phones) phones.push_back(PhoneJson(p));
  return {{"autoNumber", a.autoNumber},
          {"deliveryLimit", a.deliveryLimit},
          {"confirmWait", a.confirmWait},
          {"addresseeFlags", a.addresseeFlags},
          {"name", U(a.name)},
          {"phones", phones}};
}

// A record's fields as its table lists them; own(j, key) adds a field the
// kind writes itself, or leaves it out.
template <class Record, class Own>
json RecordJson(const Record& r, std::span<const RecordField> fields, Own own) {
  json j = json::object();
  for (const RecordField& f : fields) {
    switch (f.role) {
      case FieldRole::Word: j[f.key] = r.w.at(f.word); break;
      case FieldRole::Text:
        if constexpr (requires { r.text; }) j[f.key] = U(r.text);
        break;
      case FieldRole::Words:
        if constexpr (requires { r.text; }) j[f.key] = Words(r);
        break;
      case FieldRole::Own: own(j, f.key); break;
    }
  }
  return j;
}

template <class Record>
json RecordJson(const Record& r, std::span<const RecordField> fields) {
  return RecordJson(r, fields, [](json&, std::string_view) {});
}

json IntervalJson(const Interval& t) {
  return RecordJson(t, record_fields::kInterval, [&](json& j, std::string_view) {
    json ranges = json::array();
    const int n = std::clamp<int32_t>(t.rangeCount(), 0, kMaxRanges);
    for (int k = 0; k < n; ++k) ranges.push_back({{"low", t.rangeLow(k)}, {"width", t.rangeWidth(k)}});
    j["ranges"] = ranges;
  });
}

json DescriptionJson(const IntervalDescription& d) {
  static const char* const kBlocks[3] = {"control", "guard", "fire"};
  json j = {{"flags", d.flags}, {"name", U(d.name)}};
  for (int b = 0; b < 3; ++b) {
    json slots = json::array();
    for (const auto& label : d.blocks[b]) slots.push_back({{"name", U(label.name)}, {"code", U(label.code)}});
    j[kBlocks[b]] = slots;
  }
  return j;
}

json BindingJson(const RelayBinding& b) { return RecordJson(b, record_fields::kBinding); }

json PatternJson(const RelayPattern& p) {
  return RecordJson(p, record_fields::kPattern, [&](json& j, std::string_view) {
    json steps = json::array();
    const int n = std::clamp<int32_t>(p.stepCount(), 0, RelayPattern::kMaxSteps);
    for (int i = 0; i < n; ++i) steps.push_back(p.step(i));
    j["steps"] = steps;
  });
}

json EventJson(const EventEntry& e, size_t position) {
  return RecordJson(e, record_fields::kEvent, [&](json& j, std::string_view) { j["position"] = position; });
}

json TextList(const std::vector<ParamRecord>& list) {
  json a = json::array();
  for (const auto& r : list) a.push_back(RecordJson(r, record_fields::kText));
  return a;
}

json UserJson(const User& u) {
  return RecordJson(u, record_fields::kUser, [&](json& j, std::string_view) {
    json key = json::array();
    for (int k = 0; k < User::kKeyBytes; ++k) key.push_back(u.keyByte(k));
    j["keyCode"] = key;
  });
}

json RemoteJson(const std::vector<RemoteCommand>& list, const std::vector<RemoteEntryName>* names) {
  json a = json::array();
  for (size_t i = 0; i < list.size(); ++i) {
    const RemoteEntryName* name = names && i < names->size() ? &(*names)[i] : nullptr;
    a.push_back(RecordJson(list[i], record_fields::kRemote, [&](json& j, std::string_view key) {
      if (name) j[std::string(key)] = U(key == "name" ? name->name : name->form);
    }));
  }
  return a;
}

json TimeEventJson(const TimeEvent& t) { return RecordJson(t, record_fields::kTimeEvent); }

json ConfigJson(const Configuration& c, const Workspace* ws) {
  json j;
  j["general"] = GeneralJson(c.general);
  j["ownNumber"] = U(c.ownNumber);
  j["smsCentre"] = U(c.smsCentre);
  j["expressOutNumber"] = U(c.expressOutNumber);
  j["expressInNumber"] = U(c.expressInNumber);
  json phones = json::array();
  for (const auto& p : c.workPhones) phones.push_back(U(p));
  j["workPhones"] = phones;
  j["cusdForwardNumber"] = U(c.cusdForwardNumber);
  j["pinCode"] = U(c.pinCode);
  j["pukCode"] = U(c.pukCode);
  j["deviceAddress"] = U(c.deviceAddress);

  json addressees = json::array();
  for (const auto& a : c.addressees) addressees.push_back(AddresseeJson(a));
  j["addressees"] = addressees;

  json intervals = json::array();
  for (const auto& t : c.intervals) intervals.push_back(IntervalJson(t));
  j["intervals"] = intervals;
  json descriptions = json::array();
  for (const auto& d : c.intervalDescriptions) descriptions.push_back(DescriptionJson(d));
  j["intervalDescriptions"] = descriptions;

  json relays = json::array();
  for (const auto& relay : c.relayBindings) {
    json lists = json::array();
    for (const auto& list : relay) {
      json bindings = json::array();
      for (const auto& b : list) bindings.push_back(BindingJson(b));
      lists.push_back(bindings);
    }
    relays.push_back(lists);
  }
  j["relayBindings"] = relays;

  json patterns = json::array();
  for (const auto& p : c.relayPatterns) patterns.push_back(PatternJson(p));
  j["relayPatterns"] = patterns;

  json events = json::array();
  for (size_t i = 0; i < c.events.size(); ++i) events.push_back(EventJson(c.events[i], i));
  j["events"] = events;

  j["smsProfileTexts"] = TextList(c.smsProfileTexts);
  j["smsSubStrings"] = TextList(c.smsSubStrings);
  j["smsStrings"] = TextList(c.smsStrings);

  json users = json::array();
  for (const auto& u : c.users) users.push_back(UserJson(u));
  j["users"] = users;

  j["remoteCommands"] = RemoteJson(c.remoteCommands, ws ? &ws->commandNames : nullptr);
  j["remoteControls"] = RemoteJson(c.remoteControls, ws ? &ws->controlNames : nullptr);

  json times = json::array();
  for (const auto& t : c.timeEvents) times.push_back(TimeEventJson(t));
  j["timeEvents"] = times;

  j["workPhoneControl"] = c.workPhoneControl;
  j["loopLatch"] = c.loopLatch;
  j["relayTimeLimit"] = c.relayTimeLimit;
  j["lastLoadTime"] = U(c.lastLoadTime);
  return j;
}

}  // namespace

json ToJson(const Configuration& config) { return ConfigJson(config, nullptr); }

json ToJson(const Workspace& ws) {
  json j;
  j["projectFileName"] = PathUtf8(ws.projectFileName);
  j["configuration"] = ConfigJson(ws.config, &ws);
  json profiles = json::array();
  for (const auto& p : ws.profiles) profiles.push_back({{"section", p.section}, {"name", U(p.name)}});
  j["profiles"] = profiles;
  json codes = json::array();
  for (const auto& d : ws.codeDefinitions) codes.push_back({{"code", d.code}, {"name", U(d.name)}});
  j["codeDefinitions"] = codes;
  j["counts"] = {{"definedEvents", ws.definedEventCount},
                 {"remoteCommands", ws.remoteCommandCount},
                 {"remoteControls", ws.remoteControlCount}};
  j["eventFilterOn"] = ws.eventFilterOn;
  return j;
}

}  // namespace vorsin
