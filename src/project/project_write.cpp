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

// Names an item in a refusal message ("адресат 2, телефон 1, номер"). It is
// put together only when a save is refused: building it for every item of
// every save cost more than the encoding itself.
struct Label {
  const char* utf8 = "";
  const Label* parent = nullptr;
  long long index = -1;  // shown 1-based after the word when not negative

  std::string str() const {
    std::string s = parent != nullptr ? parent->str() + ", " : std::string();
    s += Cp(utf8);
    if (index >= 0) s += " " + std::to_string(index + 1);
    return s;
  }
};

class Encoder {
 public:
  explicit Encoder(std::string& problem) : problem_(problem) {}

  bool ok() const { return ok_; }
  ByteWriter& out() { return out_; }

  // A fixed text of the format itself, which always fits.
  void Fixed(std::string_view text) {
    out_.u8(static_cast<uint8_t>(text.size()));
    out_.text(std::string(text));
  }

  void Text(const std::string& text, const Label& what) {
    if (text.size() > kProjectMaxText) {
      Refuse(Cp("текст длиннее 255 байт (") + what.str() + ")");
      return;
    }
    out_.u8(static_cast<uint8_t>(text.size()));
    out_.text(text);
  }

  void Count(size_t count, const Label& what) {
    if (count > kProjectMaxCount) {
      Refuse(Cp("больше 255 записей (") + what.str() + ")");
      return;
    }
    out_.u8(static_cast<uint8_t>(count));
  }

  void Record(const ParamRecord& r, const Label& what) {
    for (const int32_t word : r.w) out_.i32le(word);
    Text(r.text, what);
  }

  // Every record kind is written as its plain words and text.
  template <class Kind>
  void Records(const std::vector<Kind>& list, const char* what) {
    const Label name{what};
    Count(list.size(), name);
    for (size_t i = 0; i < list.size() && ok_; ++i)
      Record(list[i], Label{"запись", &name, static_cast<long long>(i)});
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

void WriteAddressees(Encoder& e, const Configuration& c) {
  ByteWriter& out = e.out();
  e.Count(c.addressees.size(), Label{"адресаты"});
  for (size_t a = 0; a < c.addressees.size() && e.ok(); ++a) {
    const Addressee& ad = c.addressees[a];
    const Label who{"адресат", nullptr, static_cast<long long>(a)};
    e.Count(ad.phones.size(), Label{"телефоны", &who});
    out.i32le(ad.autoNumber);
    out.i32le(ad.deliveryLimit);
    out.i32le(ad.confirmWait);
    out.u8(ad.addresseeFlags);
    out.fill(3, 0);
    e.Text(ad.name, Label{"имя", &who});
    for (size_t p = 0; p < ad.phones.size() && e.ok(); ++p) {
      const AddresseePhone& ph = ad.phones[p];
      const Label phone{"телефон", &who, static_cast<long long>(p)};
      out.i32le(ph.autoNumber);
      out.i32le(ph.formats);
      out.u8(ph.phoneFlags);
      out.fill(3, 0);
      e.Text(ph.name, Label{"имя", &phone});
      e.Text(ph.phoneNumber, Label{"номер", &phone});
      e.Text(ph.cellPrefix, Label{"префикс сотового канала", &phone});
      e.Text(ph.linePrefix, Label{"префикс телефонной линии", &phone});
    }
  }
}

void WriteBindings(Encoder& e, const Configuration& c) {
  for (int relay = 0; relay < kRelays; ++relay)
    for (int list = 0; list < kRelayLists; ++list) {
      const auto& bindings = c.relayBindings[relay][list];
      const Label relayName{"реле", nullptr, relay};
      e.Count(bindings.size(), Label{"список", &relayName, list});
      for (const RelayBinding& b : bindings)
        for (const int32_t word : b.w) e.out().i32le(word);
    }
}

void WriteDescriptions(Encoder& e, const Configuration& c) {
  e.Count(c.intervalDescriptions.size(), Label{"описания интервалов"});
  for (size_t i = 0; i < c.intervalDescriptions.size() && e.ok(); ++i) {
    const IntervalDescription& d = c.intervalDescriptions[i];
    const Label what{"описание интервала", nullptr, static_cast<long long>(i)};
    e.out().i32le(d.flags);
    e.Text(d.name, Label{"имя", &what});
    for (int range = 0; range < kMaxRanges; ++range)
      for (int block = kControlBlock; block <= kFireBlock; ++block) {
        const RangeLabel& label = d.blocks[block][range];
        const Label where{"диапазон", &what, range};
        e.Text(label.name, Label{"название", &where});
        e.Text(label.code, Label{"код", &where});
      }
  }
}

}  // namespace

int EncodeProject(const Configuration& c, std::vector<uint8_t>& bytes, std::string& problem) {
  problem.clear();
  Encoder e(problem);
  ByteWriter& out = e.out();

  e.Fixed(project::kHeader);  // 1
  out.u8(kProjectFormatVersion);  // 2
  out.bytes(c.general.bytes);  // 3

  e.Text(c.ownNumber, Label{"собственный номер"});  // 4
  e.Text(c.smsCentre, Label{"номер SMS-центра"});
  e.Text(c.expressOutNumber, Label{"исходящий номер \"экспресс\" баланса"});
  e.Text(c.expressInNumber, Label{"входящий номер \"экспресс\" баланса"});
  for (size_t i = 0; i < c.workPhones.size(); ++i)  // 5
    e.Text(c.workPhones[i], Label{"рабочий телефон", nullptr, static_cast<long long>(i)});
  e.Text(c.pinCode, Label{"PIN-код"});  // 6
  e.Text(c.pukCode, Label{"PUK-код"});
  e.Text(c.deviceAddress, Label{"адрес устройства"});

  WriteAddressees(e, c);  // 7
  e.Records(c.intervals, "интервалы");  // 8
  WriteBindings(e, c);  // 9
  e.Records(c.relayPatterns, "реакции реле");  // 10
  e.Records(c.events, "события");  // 11
  e.Records(c.smsProfileTexts, "профиль SMS");  // 12
  e.Records(c.smsSubStrings, "SMS-подстроки");  // 13
  e.Records(c.smsStrings, "SMS-строки");  // 14
  e.Records(c.users, "пользователи");  // 15
  e.Records(c.remoteCommands, "команды");  // 16
  e.Records(c.remoteControls, "параметры телефонов");  // 17
  e.Records(c.timeEvents, "события по времени");  // 18

  e.Fixed(project::kBlock1);  // 19
  WriteDescriptions(e, c);  // 20
  e.Text(c.lastLoadTime, Label{"время последней загрузки"});  // 21

  e.Fixed(project::kBlock2);  // 22
  out.bytes(c.workPhoneControl);  // 23
  out.bytes(c.loopLatch);  // 24

  e.Fixed(project::kBlock3);  // 25
  out.bytes(c.relayTimeLimit);  // 26
  e.Text(c.cusdForwardNumber, Label{"номер переадресации CUSD"});  // 27

  if (!e.ok()) {
    bytes.clear();
    return kProjectNotRepresentable;
  }
  bytes = out.take();
  return kProjectOk;
}

}  // namespace vorsin
