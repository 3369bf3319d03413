#include "image/chained_lists.h"

#include <array>
#include <optional>

#include "image/phone_code.h"
#include "model/bytes.h"
#include "model/cp1251.h"
#include "model/defaults.h"
#include "sms/sms.h"

namespace vorsin::image {
namespace {

constexpr uint8_t kAddresseeMark = 0x04;
constexpr size_t kNumberField = 5;
constexpr uint8_t kTimeEventsEnd = 0xFF;
constexpr uint8_t kTestEventBit = 0x80;

std::string PastEnd(const char* what) {
  return Cp("Ошибка чтения настроек: ") + Cp(what) + Cp(" за пределами считанных данных");
}

}  // namespace

std::vector<uint8_t> EncodePhones(const Configuration& config) {
  ByteWriter w;
  for (const Addressee& a : config.addressees) {
    if (a.phones.empty()) continue;
    w.u8(kAddresseeMark);
    w.u8(static_cast<uint8_t>(a.phones.size()));
    for (const AddresseePhone& p : a.phones) {
      w.bytes(EncodeNumberField(p.phoneNumber, kNumberField));
      w.bytes(EncodeNumberField(p.cellPrefix, kNumberField));
      w.bytes(EncodeNumberField(p.linePrefix, kNumberField));
      w.u8(static_cast<uint8_t>(p.formats & 0xFF));
      w.u8(p.phoneFlags);
    }
  }
  w.u8(0);
  w.u8(0);
  return w.take();
}

bool DecodePhones(std::span<const uint8_t> block, Configuration& config, std::string& error) {
  ByteReader r(block);
  while (config.addressees.size() < kMaxAddressees) {
    r.u8();  // the record mark
    const uint8_t count = r.u8();
    if (!r.ok()) break;
    if (count == 0) return true;
    Addressee a;
    a.autoNumber = NextAddresseeNumber(config);
    a.name = Cp("Адресат") + std::to_string(a.autoNumber);
    for (int j = 0; j < count; ++j) {
      const auto bytes = r.bytes(kPhoneRecordSize);
      if (!r.ok()) break;
      const std::span<const uint8_t> rec(bytes);
      AddresseePhone p;
      p.autoNumber = NextPhoneNumber(a);
      p.name = Cp("Телефон ") + std::to_string(p.autoNumber);
      p.phoneNumber = DecodeNumberField(rec.subspan(0, kNumberField));
      p.cellPrefix = DecodeNumberField(rec.subspan(5, kNumberField));
      p.linePrefix = DecodeNumberField(rec.subspan(10, kNumberField));
      p.formats = rec[15];
      p.phoneFlags = rec[16];
      a.phones.push_back(std::move(p));
    }
    if (!r.ok()) break;
    config.addressees.push_back(std::move(a));
  }
  if (!r.ok()) {
    error = PastEnd("телефоны адресатов");
    return false;
  }
  return true;
}

bool DecodeSmsTexts(std::span<const uint8_t> block, std::span<const CodeDefinition> codeDefinitions,
                    Configuration& config, std::string& error) {
  std::array<std::optional<std::string>, 256> texts;
  size_t at = 0;
  for (;;) {
    if (at + 3 > block.size()) {
      error = PastEnd("тексты Sms");
      return false;
    }
    if (block[at] == 0xFF && block[at + 1] == 0xFF && block[at + 2] == 0xFF) break;
    const uint8_t id = block[at++];
    size_t consumed = 0;
    std::string text = DecodeSms(block.subspan(at), codeDefinitions, &consumed);
    if (consumed == 0 || block[at + consumed - 1] != sms_code::kEnd) {
      error = PastEnd("тексты Sms");
      return false;
    }
    at += consumed;
    if (!texts[id]) texts[id] = std::move(text);
  }
  const auto fill = [&](std::vector<ParamRecord>& list, int first, int last) {
    for (int id = first; id <= last; ++id) {
      if (!texts[id]) continue;
      ParamRecord record;
      record.text = *texts[id];
      list.push_back(std::move(record));
    }
  };
  fill(config.smsProfileTexts, kProfileFirstId, kSmsStringFirstId - 1);
  fill(config.smsStrings, kSmsStringFirstId, kSubstringFirstId - 1);
  fill(config.smsSubStrings, kSubstringFirstId, 249);
  return true;
}

std::vector<uint8_t> EncodeTimeEvents(const Configuration& config) {
  ByteWriter w;
  for (const TimeEvent& t : config.timeEvents) {
    w.u8(static_cast<uint8_t>(t.w[1] & 0xFF));
    w.u8(static_cast<uint8_t>(t.w[2] & 0xFF));
    w.u8(static_cast<uint8_t>(t.w[3] & 0xFF));
    // The two test reports are flagged for the device.
    const int32_t e = t.w[4];
    w.u8(static_cast<uint8_t>((e == 0 || e == 1 ? e + kTestEventBit : e) & 0xFF));
  }
  w.u8(kTimeEventsEnd);
  return w.take();
}

bool DecodeTimeEvents(std::span<const uint8_t> block, Configuration& config, size_t* end,
                      std::string& error) {
  size_t at = 0;
  for (;;) {
    if (at >= block.size()) {
      error = PastEnd("события по времени");
      return false;
    }
    if (block[at] == kTimeEventsEnd) break;
    if (at + 4 > block.size()) {
      error = PastEnd("события по времени");
      return false;
    }
    TimeEvent t;
    t.w[1] = block[at];
    t.w[2] = block[at + 1];
    t.w[3] = block[at + 2];
    t.w[4] = block[at + 3] & 0x7F;
    config.timeEvents.push_back(t);
    at += 4;
  }
  if (end) *end = at + 1;
  return true;
}

}  // namespace vorsin::image
