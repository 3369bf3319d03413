// Decoding project file bytes over a configuration just reset to defaults.
//
// Items 3 to 18 must all be present: a file that ends inside them is not a
// project file, and nothing is taken from bytes that are not there. After
// item 18 the file may end at any item boundary (a text missing at the end
// reads as empty, so a missing marker simply does not match), but an item cut
// in the middle refuses the file as well.
#include <algorithm>
#include <cstring>

#include "model/bytes.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "project/event_migration.h"
#include "project/project_file.h"
#include "project/project_items.h"

namespace vorsin {
namespace {

// The description an interval gets when the file brings none for it.
IntervalDescription DefaultDescription(size_t position) {
  IntervalDescription d;
  d.flags = 6;
  d.name = Cp("Описание ") + std::to_string(position + 1);
  for (auto& block : d.blocks)
    for (int range = 0; range < kMaxRanges; ++range) {
      block[range].name = Cp("Интервал ") + std::to_string(range);
      block[range].code = "0, 000,00,000, 16,16, 0,0, 0";
    }
  return d;
}

class Decoder {
 public:
  explicit Decoder(std::span<const uint8_t> data) : in_(data) {}

  // False once the bytes ran out inside an item.
  bool ok() const { return in_.ok(); }
  bool atEnd() const { return in_.atEnd(); }
  ByteReader& in() { return in_; }

  std::string Text() {
    const uint8_t n = in_.u8();
    return in_.text(n);
  }

  // Records of a list; the list is emptied first and a record cut short is
  // never added. Every record kind is read as plain words and text.
  template <class Kind>
  void Records(std::vector<Kind>& list) {
    list.clear();
    const uint8_t count = in_.u8();
    for (int i = 0; i < count && in_.ok(); ++i) {
      ParamRecord r;
      for (int32_t& word : r.w) word = in_.i32le();
      r.text = Text();
      if (in_.ok()) list.push_back(std::move(r));
    }
  }

  // A marker after item 18: empty at the end of the file, and a marker cut
  // short matches nothing (there is nothing after it anyway).
  std::string Marker() {
    if (in_.atEnd()) return {};
    const uint8_t n = in_.u8();
    if (n > in_.remaining()) {
      in_.skip(in_.remaining());
      return {};
    }
    return in_.text(n);
  }

  // A text after item 18: empty when the file has ended before it.
  bool TailText(std::string& text) {
    if (in_.atEnd()) return true;
    std::string read = Text();
    if (!in_.ok()) return false;
    text = std::move(read);
    return true;
  }

  // Fixed bytes after item 18: kept at their defaults when the file has
  // ended before them; refused when it ends inside them.
  template <size_t N>
  bool TailBytes(std::array<uint8_t, N>& bytes) {
    if (in_.atEnd()) return true;
    if (in_.remaining() < N) return false;
    for (uint8_t& b : bytes) b = in_.u8();
    return true;
  }

 private:
  ByteReader in_;
};

bool HasHeader(std::span<const uint8_t> data) {
  // The first four bytes taken as a zero-terminated string.
  std::string first;
  for (size_t i = 0; i < data.size() && i < 4 && data[i] != 0; ++i) first.push_back(static_cast<char>(data[i]));
  return first.find(project::kHeaderMark) != std::string::npos;
}

void ReadAddressees(Decoder& d, Configuration& c) {
  ByteReader& in = d.in();
  c.addressees.clear();
  const uint8_t count = in.u8();
  for (int a = 0; a < count && in.ok(); ++a) {
    Addressee ad;
    const uint8_t phones = in.u8();
    ad.autoNumber = in.i32le();
    ad.deliveryLimit = in.i32le();
    ad.confirmWait = in.i32le();
    ad.addresseeFlags = in.u8();
    in.skip(3);
    ad.name = d.Text();
    for (int p = 0; p < phones && in.ok(); ++p) {
      AddresseePhone ph;
      ph.autoNumber = in.i32le();
      ph.formats = in.i32le();
      ph.phoneFlags = in.u8();
      in.skip(3);
      ph.name = d.Text();
      ph.phoneNumber = d.Text();
      ph.cellPrefix = d.Text();
      ph.linePrefix = d.Text();
      if (in.ok()) ad.phones.push_back(std::move(ph));
    }
    if (in.ok()) c.addressees.push_back(std::move(ad));
  }
}

void ReadBindings(Decoder& d, Configuration& c) {
  ByteReader& in = d.in();
  for (int relay = 0; relay < kRelays; ++relay)
    for (int list = 0; list < kRelayLists; ++list) {
      auto& bindings = c.relayBindings[relay][list];
      bindings.clear();
      const uint8_t count = in.u8();
      for (int i = 0; i < count && in.ok(); ++i) {
        RelayBinding b;
        for (int32_t& word : b.w) word = in.i32le();
        if (in.ok()) bindings.push_back(b);
      }
    }
}

void ReadDescriptions(Decoder& d, Configuration& c) {
  ByteReader& in = d.in();
  c.intervalDescriptions.clear();
  const uint8_t count = in.u8();
  for (int i = 0; i < count && in.ok(); ++i) {
    IntervalDescription desc;
    desc.flags = in.i32le();
    desc.name = d.Text();
    for (int range = 0; range < kMaxRanges; ++range)
      for (int block = kControlBlock; block <= kFireBlock; ++block) {
        desc.blocks[block][range].name = d.Text();
        desc.blocks[block][range].code = d.Text();
      }
    if (in.ok()) c.intervalDescriptions.push_back(std::move(desc));
  }
}

// Items 3 to 27 over ws.config. Returns kProjectOk or kProjectDamaged.
int DecodeBody(Decoder& d, Workspace& ws, Vocabulary& vocabulary) {
  Configuration& c = ws.config;
  ByteReader& in = d.in();

  for (uint8_t& b : c.general.bytes) b = in.u8();  // 3
  c.ownNumber = d.Text();                          // 4
  c.smsCentre = d.Text();
  c.expressOutNumber = d.Text();
  c.expressInNumber = d.Text();
  for (std::string& phone : c.workPhones) phone = d.Text();  // 5
  c.pinCode = d.Text();                                      // 6
  c.pukCode = d.Text();
  c.deviceAddress = d.Text();
  if (!d.ok()) return kProjectDamaged;

  ReadAddressees(d, c);       // 7
  d.Records(c.intervals);     // 8
  ReadBindings(d, c);         // 9
  d.Records(c.relayPatterns); // 10
  d.Records(c.events);        // 11
  if (!d.ok()) return kProjectDamaged;
  MigrateEvents(ws, vocabulary);
  d.Records(c.smsProfileTexts);  // 12
  d.Records(c.smsSubStrings);    // 13
  d.Records(c.smsStrings);       // 14
  d.Records(c.users);            // 15
  d.Records(c.remoteCommands);   // 16
  d.Records(c.remoteControls);   // 17
  d.Records(c.timeEvents);       // 18
  if (!d.ok()) return kProjectDamaged;

  // 19-21. A marker at the very end announces nothing: the descriptions the
  // reset made stay, as when the marker is missing.
  if (d.Marker() == project::kBlock1 && !d.atEnd()) {
    ReadDescriptions(d, c);
    if (!d.ok() || !d.TailText(c.lastLoadTime)) return kProjectDamaged;
  }
  // Every interval without a description gets a default one, so the two
  // lists stay parallel.
  for (size_t i = c.intervalDescriptions.size(); i < c.intervals.size(); ++i)
    c.intervalDescriptions.push_back(DefaultDescription(i));

  if (d.Marker() == project::kBlock2) {  // 22-24
    if (!d.TailBytes(c.workPhoneControl) || !d.TailBytes(c.loopLatch)) return kProjectDamaged;
  }
  if (d.Marker() == project::kBlock3) {  // 25-27
    if (!d.TailBytes(c.relayTimeLimit) || !d.TailText(c.cusdForwardNumber)) return kProjectDamaged;
  }

  // Older files know fewer commands than the vocabulary declares.
  RemoteCommand empty;
  if (static_cast<int>(c.remoteCommands.size()) < ws.remoteCommandCount)
    c.remoteCommands.resize(static_cast<size_t>(ws.remoteCommandCount), empty);
  if (static_cast<int>(c.remoteControls.size()) < ws.remoteControlCount)
    c.remoteControls.resize(static_cast<size_t>(ws.remoteControlCount), empty);
  return kProjectOk;
}

int Decode(std::span<const uint8_t> data, Workspace& ws, Vocabulary& vocabulary) {
  Decoder d(data);
  if (HasHeader(data)) {
    d.Text();  // 1: the header text, not checked
    const uint8_t version = d.in().u8();  // 2
    if (!d.ok()) return kProjectDamaged;
    if (version > kProjectFormatVersion) return kProjectNewerVersion;
  }
  return DecodeBody(d, ws, vocabulary);
}

}  // namespace

int DecodeProjectOver(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> data) {
  return Decode(data, ws, vocabulary);
}

int ReadProjectBytes(Workspace& ws, Vocabulary& vocabulary, std::span<const uint8_t> data,
                     const FilePath& sourceName, Messenger& messenger) {
  const FilePath previousName = ws.projectFileName;
  ResetToDefaults(ws, vocabulary);
  // A refused file leaves the workspace exactly as the reset made it.
  Workspace reset = ws;
  const int status = Decode(data, ws, vocabulary);
  if (status == kProjectOk) {
    ws.projectFileName = sourceName;
    // The loops carry whatever the file's author set up: resetting one asks
    // first, as after reading a device.
    ws.marks.loopRelayEdited.fill(true);
    ws.marks.loopEventsEdited.fill(true);
    return kProjectOk;
  }
  ws = std::move(reset);
  ws.projectFileName = previousName;
  if (status == kProjectNewerVersion) {
    messenger.Error(Cp("Обновите программное обеспечение"));
  } else {
    messenger.Error(Cp("Файл повреждён или обрезан, настройки не загружены: ") + PathText(sourceName));
  }
  return status;
}

}  // namespace vorsin
