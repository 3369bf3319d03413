#include "model/config_from_json.h"

#include <algorithm>
#include <array>
#include <limits>
#include <span>
#include <string_view>
#include <unordered_map>

#include "model/cp1251.h"
#include "model/record_fields.h"

namespace vorsin {
namespace {

using json = nlohmann::ordered_json;

// What one length byte of a project file can count.
constexpr size_t kMaxRecords = 255;
constexpr size_t kMaxText = 255;

// Thrown inside this file only, caught by ConfigurationFromJson: the path of
// the value that does not fit and what is wrong with it.
struct Misfit {
  std::string path;
  std::string what;
};

class Reader {
 public:
  Reader(const json& node, std::string path) : node_(node), path_(std::move(path)) {}

  [[noreturn]] void fail(const std::string& what) const { throw Misfit{path_, what}; }

  Reader field(const char* name) const {
    if (!node_.is_object()) fail("must be an object");
    const auto it = node_.find(name);
    if (it == node_.end()) throw Misfit{child(name), "missing"};
    return Reader(*it, child(name));
  }
  bool has(const char* name) const { return node_.is_object() && node_.contains(name); }

  // An object may hold only the fields its reader knows.
  void only(std::initializer_list<const char*> names) const {
    onlyKnown([&](const std::string& key) {
      return std::any_of(names.begin(), names.end(), [&](const char* n) { return key == n; });
    });
  }
  void only(std::span<const RecordField> fields) const {
    onlyKnown([&](const std::string& key) {
      return std::any_of(fields.begin(), fields.end(), [&](const RecordField& f) { return key == f.key; });
    });
  }

  size_t size(size_t exactly = std::numeric_limits<size_t>::max()) const {
    if (!node_.is_array()) fail("must be an array");
    if (node_.size() > kMaxRecords) fail("a project file holds at most 255 entries in a list");
    if (exactly != std::numeric_limits<size_t>::max() && node_.size() != exactly)
      fail("must hold " + std::to_string(exactly) + " entries, holds " + std::to_string(node_.size()));
    return node_.size();
  }
  Reader at(size_t i) const { return Reader(node_[i], path_ + "[" + std::to_string(i) + "]"); }

  long long integer(long long low, long long high) const {
    if (!node_.is_number_integer()) fail("must be a whole number");
    long long v = 0;
    if (node_.is_number_unsigned()) {
      const auto u = node_.get<unsigned long long>();
      if (u > static_cast<unsigned long long>(high)) fail(range(low, high));
      v = static_cast<long long>(u);
    } else {
      v = node_.get<long long>();
    }
    if (v < low || v > high) fail(range(low, high));
    return v;
  }
  uint8_t byte() const { return static_cast<uint8_t>(integer(0, 255)); }
  int32_t int32() const {
    return static_cast<int32_t>(integer(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
  }
  bool boolean() const {
    if (!node_.is_boolean()) fail("must be true or false");
    return node_.get<bool>();
  }
  std::string text() const {
    if (!node_.is_string()) fail("must be a text");
    std::string out;
    if (!StrictCp(node_.get_ref<const std::string&>(), out))
      fail("the text is not UTF-8 or has a character Windows-1251 lacks");
    if (out.size() > kMaxText) fail("a project file holds at most 255 characters of a text");
    return out;
  }

  const json& node() const { return node_; }
  const std::string& path() const { return path_; }

 private:
  template <class Known>
  void onlyKnown(Known known) const {
    if (!node_.is_object()) fail("must be an object");
    for (const auto& item : node_.items())
      if (!known(item.key())) throw Misfit{child(item.key()), "unknown field"};
  }
  std::string child(const std::string& name) const { return path_.empty() ? name : path_ + "." + name; }
  static std::string range(long long low, long long high) {
    return "must lie in " + std::to_string(low) + ".." + std::to_string(high);
  }
  const json& node_;
  std::string path_;
};

template <size_t N>
std::array<uint8_t, N> ByteArray(const Reader& r) {
  std::array<uint8_t, N> out{};
  r.size(N);
  for (size_t i = 0; i < N; ++i) out[i] = r.at(i).byte();
  return out;
}

void PutBytes(GeneralSettings& g, size_t from, const Reader& r, size_t count) {
  r.size(count);
  for (size_t i = 0; i < count; ++i) g.at(from + i) = r.at(i).byte();
}

void ReadLoopBlock(const Reader& r, GeneralSettings& g) {
  r.only({"clearedMark", "voiceRepeatTable", "deviceHeldByte", "reserved18", "loopFlags", "commonLoops",
          "loopConstants", "loopEventBase", "reactionTime", "armDelay", "disarmDelay", "intervalIndex",
          "relayNormallyClosed"});
  const size_t b = GeneralSettings::kLoopBlock;
  g.block(lb::kClearedMark) = r.field("clearedMark").byte();
  PutBytes(g, b + lb::kVoiceRepeatTable, r.field("voiceRepeatTable"), 16);
  g.deviceHeldByte() = r.field("deviceHeldByte").byte();
  PutBytes(g, b + 18, r.field("reserved18"), 32);
  const struct {
    const char* name;
    size_t offset;
  } perLoop[] = {{"loopFlags", lb::kLoopFlags},         {"commonLoops", lb::kCommonLoops},
                 {"loopConstants", lb::kLoopConstants}, {"loopEventBase", lb::kLoopEventBase},
                 {"reactionTime", lb::kReactionTime},   {"armDelay", lb::kArmDelay},
                 {"disarmDelay", lb::kDisarmDelay},     {"intervalIndex", lb::kIntervalIndex}};
  for (const auto& f : perLoop) PutBytes(g, b + f.offset, r.field(f.name), kLoops);
  PutBytes(g, b + lb::kRelayNormallyClosed, r.field("relayNormallyClosed"), kRelays);
}

void ReadGeneral(const Reader& r, GeneralSettings& g) {
  r.only({"testPeriod1", "reserved1", "testPeriod2", "lineCheckPeriod", "priorityDialTime", "lineDialDelay",
          "dialFlags", "serviceFlags", "reserved14", "profileIndex", "loopBlock"});
  g.at(GeneralSettings::kTestPeriod1) = r.field("testPeriod1").byte();
  PutBytes(g, 1, r.field("reserved1"), 7);
  g.at(GeneralSettings::kTestPeriod2) = r.field("testPeriod2").byte();
  g.at(GeneralSettings::kLineCheckPeriod) = r.field("lineCheckPeriod").byte();
  g.at(GeneralSettings::kPriorityDialTime) = r.field("priorityDialTime").byte();
  g.at(GeneralSettings::kLineDialDelay) = r.field("lineDialDelay").byte();
  g.at(GeneralSettings::kDialFlags) = r.field("dialFlags").byte();
  g.at(GeneralSettings::kServiceFlags) = r.field("serviceFlags").byte();
  PutBytes(g, 14, r.field("reserved14"), 2);
  g.setProfileIndex(r.field("profileIndex").int32());
  ReadLoopBlock(r.field("loopBlock"), g);
}

void ReadWords(const Reader& r, ParamRecord& record) {
  r.size(ParamRecord::kWords);
  for (size_t i = 0; i < ParamRecord::kWords; ++i) record.w[i] = r.at(i).int32();
}

// A record's fields as its table lists them: "words" first, then the named
// words, so an edit of either shows; then the text and the kind's own
// fields (own(key)) in table order.
template <class Record, class Own>
void ReadRecord(const Reader& r, Record& record, std::span<const RecordField> fields, Own own) {
  r.only(fields);
  for (const RecordField& f : fields)
    if constexpr (requires { record.text; })
      if (f.role == FieldRole::Words) ReadWords(r.field(f.key), record);
  for (const RecordField& f : fields)
    if (f.role == FieldRole::Word) record.w.at(f.word) = r.field(f.key).int32();
  for (const RecordField& f : fields) {
    if constexpr (requires { record.text; })
      if (f.role == FieldRole::Text) record.text = r.field(f.key).text();
    if (f.role == FieldRole::Own) own(std::string_view(f.key));
  }
}

template <class Record>
void ReadRecord(const Reader& r, Record& record, std::span<const RecordField> fields) {
  ReadRecord(r, record, fields, [](std::string_view) {});
}

AddresseePhone ReadPhone(const Reader& r) {
  r.only({"autoNumber", "formats", "phoneFlags", "name", "phoneNumber", "cellPrefix", "linePrefix"});
  AddresseePhone p;
  p.autoNumber = r.field("autoNumber").int32();
  p.formats = r.field("formats").int32();
  p.phoneFlags = r.field("phoneFlags").byte();
  p.name = r.field("name").text();
  p.phoneNumber = r.field("phoneNumber").text();
  p.cellPrefix = r.field("cellPrefix").text();
  p.linePrefix = r.field("linePrefix").text();
  return p;
}

Addressee ReadAddressee(const Reader& r) {
  r.only({"autoNumber", "deliveryLimit", "confirmWait", "addresseeFlags", "name", "phones"});
  Addressee a;
  a.autoNumber = r.field("autoNumber").int32();
  a.deliveryLimit = r.field("deliveryLimit").int32();
  a.confirmWait = r.field("confirmWait").int32();
  a.addresseeFlags = r.field("addresseeFlags").byte();
  a.name = r.field("name").text();
  const Reader phones = r.field("phones");
  for (size_t i = 0; i < phones.size(); ++i) a.phones.push_back(ReadPhone(phones.at(i)));
  return a;
}

// A list of (first, second) word pairs shown as objects: "ranges" of a level
// table, counted by its range count. Only a list that differs from what the
// words give replaces them, so a count beyond what is shown survives untouched.
void ReadRanges(const Reader& r, Interval& t) {
  const size_t n = r.size();
  if (n > static_cast<size_t>(kMaxRanges)) r.fail("at most 8 ranges");
  std::vector<std::pair<int32_t, int32_t>> given;
  for (size_t k = 0; k < n; ++k) {
    const Reader range = r.at(k);
    range.only({"low", "width"});
    given.emplace_back(range.field("low").int32(), range.field("width").int32());
  }
  std::vector<std::pair<int32_t, int32_t>> shown;
  const int count = std::clamp<int32_t>(t.rangeCount(), 0, kMaxRanges);
  for (int k = 0; k < count; ++k) shown.emplace_back(t.rangeLow(k), t.rangeWidth(k));
  if (given == shown) return;
  t.setRangeCount(static_cast<int32_t>(n));
  for (size_t k = 0; k < n; ++k) {
    t.setRangeLow(static_cast<int>(k), given[k].first);
    t.setRangeWidth(static_cast<int>(k), given[k].second);
  }
}

Interval ReadInterval(const Reader& r) {
  Interval t;
  ReadRecord(r, t, record_fields::kInterval, [&](std::string_view) { ReadRanges(r.field("ranges"), t); });
  return t;
}

IntervalDescription ReadDescription(const Reader& r) {
  r.only({"flags", "name", "control", "guard", "fire"});
  IntervalDescription d;
  d.flags = r.field("flags").int32();
  d.name = r.field("name").text();
  const char* const blocks[3] = {"control", "guard", "fire"};
  for (int b = 0; b < 3; ++b) {
    const Reader slots = r.field(blocks[b]);
    slots.size(kMaxRanges);
    for (size_t k = 0; k < static_cast<size_t>(kMaxRanges); ++k) {
      const Reader slot = slots.at(k);
      slot.only({"name", "code"});
      d.blocks[b][k].name = slot.field("name").text();
      d.blocks[b][k].code = slot.field("code").text();
    }
  }
  return d;
}

RelayBinding ReadBinding(const Reader& r) {
  RelayBinding b;
  ReadRecord(r, b, record_fields::kBinding);
  return b;
}

// The steps shown replace the stored ones only when they differ, as the ranges do.
void ReadSteps(const Reader& steps, RelayPattern& p) {
  const size_t n = steps.size();
  if (n > static_cast<size_t>(RelayPattern::kMaxSteps)) steps.fail("at most 16 steps");
  std::vector<int32_t> given;
  for (size_t i = 0; i < n; ++i) given.push_back(steps.at(i).int32());
  std::vector<int32_t> shown;
  const int count = std::clamp<int32_t>(p.stepCount(), 0, RelayPattern::kMaxSteps);
  for (int i = 0; i < count; ++i) shown.push_back(p.step(i));
  if (given != shown) {
    p.setStepCount(static_cast<int32_t>(n));
    for (size_t i = 0; i < n; ++i) p.setStep(static_cast<int>(i), given[i]);
  }
}

RelayPattern ReadPattern(const Reader& r) {
  RelayPattern p;
  ReadRecord(r, p, record_fields::kPattern, [&](std::string_view) { ReadSteps(r.field("steps"), p); });
  return p;
}

EventEntry ReadEvent(const Reader& r) {
  EventEntry e;
  ReadRecord(r, e, record_fields::kEvent);  // "position" is not taken back
  return e;
}

std::vector<ParamRecord> ReadTextList(const Reader& r) {
  std::vector<ParamRecord> out;
  for (size_t i = 0; i < r.size(); ++i) {
    ParamRecord p;
    ReadRecord(r.at(i), p, record_fields::kText);
    out.push_back(std::move(p));
  }
  return out;
}

User ReadUser(const Reader& r) {
  User u;
  ReadRecord(r, u, record_fields::kUser, [&](std::string_view) {
    const Reader key = r.field("keyCode");
    key.size(User::kKeyBytes);
    for (int k = 0; k < User::kKeyBytes; ++k) u.setKeyByte(k, key.at(static_cast<size_t>(k)).int32());
  });
  return u;
}

// Names and forms of the remote entries come from the vocabulary; they are
// shown for reading and not taken back.
std::vector<RemoteCommand> ReadRemote(const Reader& r) {
  std::vector<RemoteCommand> out;
  for (size_t i = 0; i < r.size(); ++i) {
    RemoteCommand c;
    ReadRecord(r.at(i), c, record_fields::kRemote);
    out.push_back(std::move(c));
  }
  return out;
}

TimeEvent ReadTimeEvent(const Reader& r) {
  TimeEvent t;
  ReadRecord(r, t, record_fields::kTimeEvent);
  return t;
}

void ReadConfiguration(const Reader& r, Configuration& c) {
  r.only({"general", "ownNumber", "smsCentre", "expressOutNumber", "expressInNumber", "workPhones",
          "cusdForwardNumber", "pinCode", "pukCode", "deviceAddress", "addressees", "intervals",
          "intervalDescriptions", "relayBindings", "relayPatterns", "events", "smsProfileTexts", "smsSubStrings",
          "smsStrings", "users", "remoteCommands", "remoteControls", "timeEvents", "workPhoneControl", "loopLatch",
          "relayTimeLimit", "lastLoadTime"});
  ReadGeneral(r.field("general"), c.general);
  c.ownNumber = r.field("ownNumber").text();
  c.smsCentre = r.field("smsCentre").text();
  c.expressOutNumber = r.field("expressOutNumber").text();
  c.expressInNumber = r.field("expressInNumber").text();
  const Reader phones = r.field("workPhones");
  phones.size(kWorkPhones);
  for (size_t i = 0; i < static_cast<size_t>(kWorkPhones); ++i) c.workPhones[i] = phones.at(i).text();
  c.cusdForwardNumber = r.field("cusdForwardNumber").text();
  c.pinCode = r.field("pinCode").text();
  c.pukCode = r.field("pukCode").text();
  c.deviceAddress = r.field("deviceAddress").text();

  const Reader addressees = r.field("addressees");
  for (size_t i = 0; i < addressees.size(); ++i) c.addressees.push_back(ReadAddressee(addressees.at(i)));
  const Reader intervals = r.field("intervals");
  for (size_t i = 0; i < intervals.size(); ++i) c.intervals.push_back(ReadInterval(intervals.at(i)));
  const Reader descriptions = r.field("intervalDescriptions");
  // Opening a project file gives every table without a description a default
  // one: a shorter list would not come back as it was given.
  if (descriptions.size() < c.intervals.size())
    descriptions.fail("must hold at least as many entries as intervals (" + std::to_string(c.intervals.size()) +
                      "), holds " + std::to_string(descriptions.size()));
  for (size_t i = 0; i < descriptions.size(); ++i)
    c.intervalDescriptions.push_back(ReadDescription(descriptions.at(i)));

  const Reader relays = r.field("relayBindings");
  relays.size(kRelays);
  for (size_t relay = 0; relay < static_cast<size_t>(kRelays); ++relay) {
    const Reader lists = relays.at(relay);
    lists.size(kRelayLists);
    for (size_t list = 0; list < static_cast<size_t>(kRelayLists); ++list) {
      const Reader bindings = lists.at(list);
      for (size_t i = 0; i < bindings.size(); ++i)
        c.relayBindings[relay][list].push_back(ReadBinding(bindings.at(i)));
    }
  }
  const Reader patterns = r.field("relayPatterns");
  for (size_t i = 0; i < patterns.size(); ++i) c.relayPatterns.push_back(ReadPattern(patterns.at(i)));
  const Reader events = r.field("events");
  for (size_t i = 0; i < events.size(); ++i) c.events.push_back(ReadEvent(events.at(i)));
  c.smsProfileTexts = ReadTextList(r.field("smsProfileTexts"));
  c.smsSubStrings = ReadTextList(r.field("smsSubStrings"));
  c.smsStrings = ReadTextList(r.field("smsStrings"));
  const Reader users = r.field("users");
  for (size_t i = 0; i < users.size(); ++i) c.users.push_back(ReadUser(users.at(i)));
  c.remoteCommands = ReadRemote(r.field("remoteCommands"));
  c.remoteControls = ReadRemote(r.field("remoteControls"));
  const Reader times = r.field("timeEvents");
  for (size_t i = 0; i < times.size(); ++i) c.timeEvents.push_back(ReadTimeEvent(times.at(i)));
  c.workPhoneControl = ByteArray<8>(r.field("workPhoneControl"));
  c.loopLatch = ByteArray<8>(r.field("loopLatch"));
  c.relayTimeLimit = ByteArray<2>(r.field("relayTimeLimit"));
  c.lastLoadTime = r.field("lastLoadTime").text();
}

// UTF-8 decoding that refuses overlong forms, surrogates and cut sequences.
bool NextCodePoint(std::string_view s, size_t& i, char32_t& cp) {
  const auto b = static_cast<unsigned char>(s[i]);
  int extra = 0;
  if (b < 0x80) {
    cp = b;
  } else if ((b & 0xE0) == 0xC0) {
    cp = b & 0x1F;
    extra = 1;
  } else if ((b & 0xF0) == 0xE0) {
    cp = b & 0x0F;
    extra = 2;
  } else if ((b & 0xF8) == 0xF0) {
    cp = b & 0x07;
    extra = 3;
  } else {
    return false;
  }
  if (i + static_cast<size_t>(extra) >= s.size() && extra > 0) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
    if ((c & 0xC0) != 0x80) return false;
    cp = (cp << 6) | (c & 0x3F);
  }
  static constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kLeast[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
  i += static_cast<size_t>(extra) + 1;
  return true;
}

}  // namespace

bool StrictCp(std::string_view utf8, std::string& out) {
  static const std::unordered_map<char32_t, char> kBytes = [] {
    std::unordered_map<char32_t, char> m;
    for (int b = 0; b < 256; ++b) m.emplace(CpToUnicode(static_cast<unsigned char>(b)), static_cast<char>(b));
    return m;
  }();
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    if (!NextCodePoint(utf8, i, cp)) return false;
    const auto it = kBytes.find(cp);
    if (it == kBytes.end()) return false;
    out.push_back(it->second);
  }
  return true;
}

bool ConfigurationFromJson(const json& j, Configuration& out, std::string& error) {
  try {
    const Reader top(j, "");
    Configuration c;
    if (top.has("configuration")) {
      // The whole workspace as "show" prints it; what is not configuration
      // comes from the vocabulary again and is not read back.
      top.only({"projectFileName", "configuration", "profiles", "codeDefinitions", "counts", "eventFilterOn"});
      ReadConfiguration(top.field("configuration"), c);
    } else {
      ReadConfiguration(top, c);
    }
    out = std::move(c);
    return true;
  } catch (const Misfit& m) {
    error = (m.path.empty() ? std::string("(top)") : m.path) + ": " + m.what;
    return false;
  } catch (const nlohmann::json::exception& e) {
    error = std::string("(json): ") + e.what();
    return false;
  }
}

}  // namespace vorsin
