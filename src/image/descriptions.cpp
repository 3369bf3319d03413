#include "image/descriptions.h"

#include <zlib.h>

#include <algorithm>
#include <cstdio>

#include "image/image_layout.h"
#include "model/bytes.h"
#include "model/cp1251.h"

namespace vorsin::image {
namespace {

constexpr uint8_t kChunkLead = 0x01;
constexpr uint8_t kChunkTag = 0xF1;
constexpr uint8_t kTextEnd = 0xFF;
constexpr uint8_t kAddresseeTag = 0xA0;
constexpr uint8_t kPhoneTag = 0xF0;
constexpr uint8_t kLoopTag = 0x10;
constexpr uint8_t kFlagsTag = 0xC0;
constexpr uint8_t kRangeTags[3] = {0x20, 0x30, 0x40};  // control, guard, fire names
constexpr size_t kStampSize = 6;
// zlib expands at most about 1032 times; this covers every chunk programming
// can write (4000 bytes) with room to spare, and stops a forged one early.
constexpr size_t kMaxText = 8u << 20;

void Record(ByteWriter& w, uint8_t tag, const std::string& text) {
  w.u8(tag);
  // Names end at a zero byte: what followed one would be read as records.
  w.text(text.substr(0, text.find('\0')));
  w.u8(0);
}

std::string AddresseeDefaultName(size_t i) { return Cp("Адресат") + std::to_string(i + 1); }
std::string PhoneDefaultName(size_t j) { return Cp("Телефон ") + std::to_string(j + 1); }
std::string RangeDefaultName(int n) { return Cp("Интервал ") + std::to_string(n); }

}  // namespace

std::string FormatLoadTime(const Stamp& s) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2d.%.2d.%.2d %.2d:%.2d", s.day, s.month, s.year, s.hour, s.minute);
  return buf;
}

std::vector<uint8_t> BuildDescriptionsText(const Configuration& config, const Stamp& stamp) {
  ByteWriter w;
  w.u16be(static_cast<uint16_t>(stamp.year));
  w.u8(static_cast<uint8_t>(stamp.month));
  w.u8(static_cast<uint8_t>(stamp.day));
  w.u8(static_cast<uint8_t>(stamp.hour));
  w.u8(static_cast<uint8_t>(stamp.minute));

  for (size_t i = 0; i < config.addressees.size() && i < kMaxAddressees; ++i) {
    const Addressee& a = config.addressees[i];
    bool renamedPhone = false;
    for (size_t j = 0; j < a.phones.size(); ++j)
      renamedPhone = renamedPhone || a.phones[j].name != PhoneDefaultName(j);
    // A phone's record belongs to the addressee record before it, so a
    // renamed phone needs its addressee's record even under a default name.
    if (a.name != AddresseeDefaultName(i) || renamedPhone)
      Record(w, static_cast<uint8_t>(kAddresseeTag + i), a.name);
    for (size_t j = 0; j < a.phones.size() && j < kMaxPhonesPerAddressee; ++j)
      if (a.phones[j].name != PhoneDefaultName(j))
        Record(w, static_cast<uint8_t>(kPhoneTag + j), a.phones[j].name);
  }

  for (int L = 0; L < kLoops; ++L) {
    const size_t index = config.general.intervalIndex(L);
    const bool known = index < config.intervalDescriptions.size();
    const IntervalDescription empty;
    const IntervalDescription& d = known ? config.intervalDescriptions[index] : empty;
    Record(w, static_cast<uint8_t>(kLoopTag + L), d.name);
    w.u8(kFlagsTag);
    w.u8(static_cast<uint8_t>(d.flags & 0xFF));
    const int ranges = index < config.intervals.size()
                           ? std::clamp<int32_t>(config.intervals[index].rangeCount(), 0, kMaxRanges)
                           : 0;
    for (int n = 0; n < ranges; ++n)
      for (int b = 0; b < 3; ++b)
        if (d.blocks[b][n].name != RangeDefaultName(n))
          Record(w, static_cast<uint8_t>(kRangeTags[b] + n), d.blocks[b][n].name);
  }
  w.u8(kTextEnd);
  return w.take();
}

bool CompressDescriptions(std::span<const uint8_t> text, std::vector<uint8_t>& out) {
  out.assign(kMaxCompressedDescriptions, 0);
  uLongf size = static_cast<uLongf>(out.size());
  if (compress2(out.data(), &size, text.data(), static_cast<uLong>(text.size()), 9) != Z_OK) {
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

std::vector<uint8_t> DescriptionsBlock(std::span<const uint8_t> compressed) {
  ByteWriter w;
  w.u8(kChunkLead);
  w.u8(kChunkTag);
  w.u16be(static_cast<uint16_t>(compressed.size()));
  w.bytes(compressed);
  w.u8(kTextEnd);
  return w.take();
}

bool UncompressDescriptions(std::span<const uint8_t> compressed, std::vector<uint8_t>& text) {
  text.clear();
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(compressed.data());
  z.avail_in = static_cast<uInt>(compressed.size());
  int rc = Z_OK;
  std::vector<uint8_t> buf(16384);
  while (rc == Z_OK) {
    z.next_out = buf.data();
    z.avail_out = static_cast<uInt>(buf.size());
    rc = inflate(&z, Z_NO_FLUSH);
    const size_t produced = buf.size() - z.avail_out;
    text.insert(text.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(produced));
    if (text.size() > kMaxText) rc = Z_MEM_ERROR;
    if (rc == Z_OK && produced == 0 && z.avail_in == 0) rc = Z_BUF_ERROR;  // stream cut short
  }
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

bool ApplyDescriptionsText(std::span<const uint8_t> text, Configuration& config) {
  if (text.size() < kStampSize) return false;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2d.%.2d.%.4d %.2d:%.2d", text[3], text[2], text[0] << 8 | text[1],
                text[4], text[5]);
  config.lastLoadTime = buf;

  ByteReader r(text);
  r.skip(kStampSize);
  const auto zText = [&] {
    std::string s;
    while (!r.atEnd()) {
      const uint8_t c = r.u8();
      if (c == 0) break;
      s += static_cast<char>(c);
    }
    return s;
  };
  int addressee = -1;
  int loop = -1;
  IntervalDescription* description = nullptr;
  while (!r.atEnd()) {
    const uint8_t tag = r.u8();
    if (tag >= kAddresseeTag && tag < kAddresseeTag + kMaxAddressees) {
      std::string name = zText();
      addressee = tag - kAddresseeTag;
      if (static_cast<size_t>(addressee) < config.addressees.size())
        config.addressees[addressee].name = std::move(name);
    } else if (tag >= kPhoneTag && tag < kTextEnd) {
      std::string name = zText();
      const size_t j = tag - kPhoneTag;
      if (addressee >= 0 && static_cast<size_t>(addressee) < config.addressees.size() &&
          j < config.addressees[addressee].phones.size())
        config.addressees[addressee].phones[j].name = std::move(name);
    } else if (tag >= kLoopTag && tag < kLoopTag + kLoops) {
      std::string name = zText();
      loop = tag - kLoopTag;
      const size_t index = config.general.intervalIndex(loop);
      description = index < config.intervalDescriptions.size() ? &config.intervalDescriptions[index] : nullptr;
      if (description) description->name = std::move(name);
    } else if (tag == kFlagsTag) {
      const uint8_t flags = r.u8();
      if (description) description->flags = (description->flags & ~7) | (flags & 7);
    } else if (tag >= kRangeTags[0] && tag < kRangeTags[2] + 16) {
      std::string name = zText();
      const int b = (tag >> 4) - 2;
      const int n = tag & 0x0F;
      if (description && loop >= 0 && n < kMaxRanges) description->blocks[b][n].name = std::move(name);
    } else {
      break;  // 0xFF or a tag this tool does not know
    }
  }
  return true;
}

DescriptionsResult ReadDescriptions(std::span<const uint8_t> block, Configuration& config,
                                    Messenger& messenger) {
  // The time events' 0xFF and the lead byte come first.
  size_t at = 2;
  DescriptionsResult result = DescriptionsResult::Missing;
  const auto unreadable = [&] {
    messenger.Show(Cp("Ошибка чтения установочной информации"), CaptionWarning(), Icon::None, Buttons::Ok);
    return DescriptionsResult::Unreadable;
  };
  while (at < block.size() && block[at] == kChunkTag) {
    // A chunk cut off by the end of the area cannot be unpacked; the names
    // are lost, the settings read before it are not.
    if (at + 3 > block.size()) return unreadable();
    const size_t length = static_cast<size_t>(block[at + 1]) << 8 | block[at + 2];
    at += 3;
    if (length > block.size() - at) return unreadable();
    std::vector<uint8_t> text;
    if (!UncompressDescriptions(block.subspan(at, length), text) || !ApplyDescriptionsText(text, config))
      result = unreadable();
    else
      result = DescriptionsResult::Applied;
    at += length;
  }
  return result;
}

}  // namespace vorsin::image
