// Encoding a configuration as project file bytes, items 1 to 27 in order.
//
// Every text goes behind one length byte and every list behind one count
// byte. A longer text or list cannot be stored without its length wrapping
// around, which would shift every later item and spoil the rest of the file.
// Rather than cutting the user's text silently, the save is refused and the
// message names the item, so the user can shorten it and save again.
#include "model/bytes.h"
#include "model/cp1251.h"
#include "project/project_file.h"
#include "project/project_items.h"

namespace vorsin {
namespace {

class Encoder {
 public:
  explicit Encoder(std::string& problem) : problem_(problem) {}

  bool ok() const { return ok_; }
  ByteWriter& out() { return out_; }

  void Text(const std::string& text, const std::string& what) {
    if (text.size() > kProjectMaxText) {
      Refuse(Cp("текст длиннее 255 байт (") + what + ")");
      return;
    }
    out_.u8(static_cast<uint8_t>(text.size()));
    out_.text(text);
  }

  void Count(size_t count, const std::string& what) {
    if (count > kProjectMaxCount) {
      Refuse(Cp("больше 255 записей (") + what + ")");
      return;
    }
    out_.u8(static_cast<uint8_t>(count));
  }

  void Record(const ParamRecord& r, const std::string& what) {
    for (const int32_t word : r.w) out_.i32le(word);
    Text(r.text, what);
  }

  void Records(const std::vector<ParamRecord>& list, const std::string& what) {
    Count(list.size(), what);
    for (size_t i = 0; i < list.size() && ok_; ++i)
      Record(list[i], what + Cp(", запись ") + std::to_string(i + 1));
  }

 private:
  void Refuse(const std::string& problem) {
    // The first problem found is the one reported.
    if (ok_) problem_ = problem;
    ok_ = false;
  }

  ByteWriter out_;
  std::string& problem_;
  bool ok_ = true;
};

std::string Nth(const char* utf8, size_t i) { return Cp(utf8) + " " + std::to_string(i + 1); }

void WriteAddressees(Encoder& e, const Configuration& c) {
  ByteWriter& out = e.out();
  e.Count(c.addressees.size(), Cp("адресаты"));
  for (size_t a = 0; a < c.addressees.size() && e.ok(); ++a) {
    const Addressee& ad = c.addressees[a];
    const std::string who = Nth("адресат", a);
    e.Count(ad.phones.size(), who + Cp(", телефоны"));
    out.i32le(ad.autoNumber);
    out.i32le(ad.deliveryLimit);
    out.i32le(ad.confirmWait);
    out.u8(ad.addresseeFlags);
    out.fill(3, 0);
    e.Text(ad.name, who + Cp(", имя"));
    for (size_t p = 0; p < ad.phones.size() && e.ok(); ++p) {
      const AddresseePhone& ph = ad.phones[p];
      const std::string phone = who + ", " + Nth("телефон", p);
      out.i32le(ph.autoNumber);
      out.i32le(ph.formats);
      out.u8(ph.phoneFlags);
      out.fill(3, 0);
      e.Text(ph.name, phone + Cp(", имя"));
      e.Text(ph.phoneNumber, phone + Cp(", номер"));
      e.Text(ph.cellPrefix, phone + Cp(", префикс сотового канала"));
      e.Text(ph.linePrefix, phone + Cp(", префикс телефонной линии"));
    }
  }
}

void WriteBindings(Encoder& e, const Configuration& c) {
  for (int relay = 0; relay < kRelays; ++relay)
    for (int list = 0; list < kRelayLists; ++list) {
      const auto& bindings = c.relayBindings[relay][list];
      e.Count(bindings.size(), Nth("реле", relay) + ", " + Nth("список", list));
      for (const RelayBinding& b : bindings)
        for (const int32_t word : b.w) e.out().i32le(word);
    }
}

void WriteDescriptions(Encoder& e, const Configuration& c) {
  e.Count(c.intervalDescriptions.size(), Cp("описания интервалов"));
  for (size_t i = 0; i < c.intervalDescriptions.size() && e.ok(); ++i) {
    const IntervalDescription& d = c.intervalDescriptions[i];
    const std::string what = Nth("описание интервала", i);
    e.out().i32le(d.flags);
    e.Text(d.name, what + Cp(", имя"));
    for (int range = 0; range < kMaxRanges; ++range)
      for (int block = kControlBlock; block <= kFireBlock; ++block) {
        const RangeLabel& label = d.blocks[block][range];
        const std::string where = what + ", " + Nth("диапазон", range);
        e.Text(label.name, where + Cp(", название"));
        e.Text(label.code, where + Cp(", код"));
      }
  }
}

}  // namespace

int EncodeProject(const Configuration& c, std::vector<uint8_t>& bytes, std::string& problem) {
  problem.clear();
  Encoder e(problem);
  ByteWriter& out = e.out();

  e.Text(std::string(project::kHeader), "");  // 1
  out.u8(kProjectFormatVersion);              // 2
  out.bytes(c.general.bytes);                 // 3

  e.Text(c.ownNumber, Cp("собственный номер"));  // 4
  e.Text(c.smsCentre, Cp("номер SMS-центра"));
  e.Text(c.expressOutNumber, Cp("исходящий номер \"экспресс\" баланса"));
  e.Text(c.expressInNumber, Cp("входящий номер \"экспресс\" баланса"));
  for (size_t i = 0; i < c.workPhones.size(); ++i)  // 5
    e.Text(c.workPhones[i], Nth("рабочий телефон", i));
  e.Text(c.pinCode, Cp("PIN-код"));  // 6
  e.Text(c.pukCode, Cp("PUK-код"));
  e.Text(c.deviceAddress, Cp("адрес устройства"));

  WriteAddressees(e, c);                                         // 7
  e.Records(c.intervals, Cp("интервалы"));                       // 8
  WriteBindings(e, c);                                           // 9
  e.Records(c.relayPatterns, Cp("реакции реле"));                // 10
  e.Records(c.events, Cp("события"));                            // 11
  e.Records(c.smsProfileTexts, Cp("профиль SMS"));               // 12
  e.Records(c.smsSubStrings, Cp("SMS-подстроки"));               // 13
  e.Records(c.smsStrings, Cp("SMS-строки"));                     // 14
  e.Records(c.users, Cp("пользователи"));                        // 15
  e.Records(c.remoteCommands, Cp("команды"));                    // 16
  e.Records(c.remoteControls, Cp("параметры телефонов"));        // 17
  e.Records(c.timeEvents, Cp("события по времени"));             // 18

  e.Text(std::string(project::kBlock1), "");  // 19
  WriteDescriptions(e, c);                    // 20
  e.Text(c.lastLoadTime, Cp("время последней загрузки"));  // 21

  e.Text(std::string(project::kBlock2), "");  // 22
  out.bytes(c.workPhoneControl);              // 23
  out.bytes(c.loopLatch);                     // 24

  e.Text(std::string(project::kBlock3), "");  // 25
  out.bytes(c.relayTimeLimit);                // 26
  e.Text(c.cusdForwardNumber, Cp("номер переадресации CUSD"));  // 27

  if (!e.ok()) {
    bytes.clear();
    return kProjectNotRepresentable;
  }
  bytes = out.take();
  return kProjectOk;
}

}  // namespace vorsin
