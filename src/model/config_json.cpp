#include "model/config_json.h"

#include "model/cp1251.h"
#include "model/file_path.h"

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

json IntervalJson(const Interval& t) {
  json ranges = json::array();
  const int n = std::clamp<int32_t>(t.w[1], 0, kMaxRanges);
  for (int k = 0; k < n; ++k) ranges.push_back({{"low", t.w[2 + 2 * k]}, {"width", t.w[3 + 2 * k]}});
  return {{"kind", t.w[0]}, {"ranges", ranges}, {"words", Words(t)}, {"text", U(t.text)}};
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

json BindingJson(const RelayBinding& b) {
  return {{"reserved", b.w[0]}, {"id", b.w[1]}, {"reactionFlags", b.w[2]}, {"priority", b.w[3]}};
}

json PatternJson(const ParamRecord& p) {
  json steps = json::array();
  const int n = std::clamp<int32_t>(p.w[1], 0, static_cast<int32_t>(ParamRecord::kWords) - 2);
  for (int i = 0; i < n; ++i) steps.push_back(p.w[2 + i]);
  return {{"name", U(p.text)}, {"steps", steps}, {"words", Words(p)}};
}

json EventJson(const EventEntry& e, size_t position) {
  return {{"position", position},    {"name", U(e.text)},       {"flags", e.w[1]},
          {"code", e.w[2]},          {"partition", e.w[3]},     {"zone", e.w[4]},
          {"smsNew", e.w[5]},        {"smsRestore", e.w[6]},    {"voiceRestore", e.w[7]},
          {"voiceNew", e.w[8]},      {"addresseeMask", e.w[9]}, {"words", Words(e)}};
}

json TextList(const std::vector<ParamRecord>& list) {
  json a = json::array();
  for (const auto& r : list) a.push_back({{"text", U(r.text)}, {"words", Words(r)}});
  return a;
}

json UserJson(const User& u) {
  json key = json::array();
  for (int i = 4; i <= 9; ++i) key.push_back(u.w[i]);
  return {{"number", u.w[1]}, {"userFlags", u.w[2]}, {"keyPresent", u.w[3]},
          {"keyCode", key},   {"password", U(u.text)}, {"words", Words(u)}};
}

json RemoteJson(const std::vector<RemoteCommand>& list, const std::vector<RemoteEntryName>* names) {
  json a = json::array();
  for (size_t i = 0; i < list.size(); ++i) {
    json j = {{"phoneMask", list[i].w[1]}, {"password", U(list[i].text)}, {"words", Words(list[i])}};
    if (names && i < names->size()) {
      j["name"] = U((*names)[i].name);
      j["form"] = U((*names)[i].form);
    }
    a.push_back(j);
  }
  return a;
}

json TimeEventJson(const TimeEvent& t) {
  return {{"day", t.w[1]}, {"hours", t.w[2]}, {"minutes", t.w[3]}, {"event", t.w[4]}, {"words", Words(t)}};
}

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
