#include "device.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim_frame.h"

namespace pkdsim {
namespace {

constexpr uint8_t kTakeAccess = 0x20, kReadEeprom = 0x22, kWriteEeprom = 0x23,
                  kAddressTable = 0x24, kReadTouchKey = 0x26, kRestart = 0x28;
constexpr uint8_t kAck = 0x85, kError = 0x86, kReadReply = 0xA1, kTableReply = 0xA2,
                  kKeyReply = 0xA3;
constexpr uint8_t kSubUnknown = 0, kSubParams = 1, kSubRetry = 2, kSubMode = 13,
                  kSubPassword = 16, kSubNoKey = 18;
constexpr size_t kMaxRead = 200, kMaxWrite = 50;

constexpr uint8_t kLoaderStart[] = {0x5A, 0x17, 0xC3, 0x08, 0x6E, 0x91, 0x24, 0xB0};
constexpr uint8_t kLoaderEnd[] = {0x00, 0x00, 0x00, 0x02, 0xFE};  // after the ':'
constexpr size_t kPlusCount = 6;

}  // namespace

std::string Hex(const uint8_t* bytes, size_t n) {
  std::string s;
  char buf[4];
  for (size_t i = 0; i < n; ++i) {
    std::snprintf(buf, sizeof buf, i ? " %02X" : "%02X", bytes[i]);
    s += buf;
  }
  return s;
}

Device::Device(Eeprom& eeprom, const Options& options, Logger log)
    : eeprom_(eeprom), options_(options), log_(std::move(log)) {}

std::optional<Step> Device::Next(const std::vector<uint8_t>& input, bool stale) {
  if (input.empty()) return std::nullopt;
  if (loader_) return NextLoader(input, stale);
  return NextFrame(input, stale);
}

Step Device::Garbage(const std::vector<uint8_t>& in, size_t n, const char* why) {
  log_(std::string("? ") + Hex(in.data(), n) + "  (" + why + ")");
  return Step{n, {}, 0};
}

std::optional<Step> Device::NextFrame(const std::vector<uint8_t>& in, bool stale) {
  const uint8_t first = in[0];
  if (first == '+') {
    size_t run = 0;
    while (run < in.size() && run < kPlusCount && in[run] == '+') ++run;
    if (run == kPlusCount) {
      log_("> " + Hex(in.data(), run));
      log_("# leave programming mode; access dropped");
      access_ = false;
      return Step{run, {}, 0};
    }
    if (run == in.size() && !stale) return std::nullopt;
    return Garbage(in, run, "not six '+'");
  }
  if (first == kLoaderStart[0]) {
    const size_t have = std::min(in.size(), sizeof kLoaderStart);
    if (!std::equal(in.begin(), in.begin() + static_cast<long>(have), kLoaderStart))
      return Garbage(in, 1, "no frame start");
    if (have < sizeof kLoaderStart) {
      if (stale) return Garbage(in, have, "cut loader start code");
      return std::nullopt;
    }
    log_("> " + Hex(in.data(), have));
    log_("# loader started");
    loader_ = true;
    loaderLines_ = 0;
    Step s{have, {'O', 'K'}, 0};
    log_("< " + Hex(s.reply.data(), s.reply.size()));
    return s;
  }
  if (first != 0x00) return Garbage(in, 1, "no frame start");
  if (in.size() < 3) {
    if (stale) return Garbage(in, in.size(), "cut header");
    return std::nullopt;
  }
  const uint8_t length = in[1];
  if (length == 0 || in[2] != static_cast<uint8_t>(~length))
    return Garbage(in, 1, "bad length complement");
  const size_t total = length + 5u;
  if (in.size() < total) {
    if (stale) return Garbage(in, in.size(), "cut frame");
    return std::nullopt;
  }
  const uint16_t sum = SumOf(in.data(), length + 3u);
  log_("> " + Hex(in.data(), total));
  if (in[length + 3u] != (sum >> 8) || in[length + 4u] != (sum & 0xFF)) {
    log_("# bad checksum, ignored");
    return Step{total, {}, 0};
  }
  std::vector<uint8_t> payload(in.begin() + 4, in.begin() + static_cast<long>(length) + 3);
  return Answer(in[3], payload, total);
}

Step Device::Answer(uint8_t code, const std::vector<uint8_t>& payload, size_t consumed) {
  Step s{consumed, {}, 0};
  ++requests_;
  if (options_.cutAfter >= 0 && requests_ > options_.cutAfter) {
    log_("# line cut, no answer");
    return s;
  }
  if (options_.dropEvery > 0 && requests_ % options_.dropEvery == 0) {
    log_("# dropped, no answer");
    return s;
  }
  if (retriesSent_ < options_.retryFirst) {
    ++retriesSent_;
    s.reply = Error(code, kSubRetry);
  } else {
    const auto rule = std::find_if(options_.errorOn.begin(), options_.errorOn.end(),
                                   [&](const ErrorRule& r) { return r.command == code; });
    s.reply = rule != options_.errorOn.end() ? Error(code, rule->subCode)
                                             : Dispatch(code, payload, s.latencyMs);
  }
  log_("< " + Hex(s.reply.data(), s.reply.size()));
  return s;
}

std::vector<uint8_t> Device::Reply(uint8_t code, const std::vector<uint8_t>& payload) {
  ++replies_;
  const bool corrupt = options_.corruptEvery > 0 && replies_ % options_.corruptEvery == 0;
  if (corrupt) log_("# checksum spoiled on purpose");
  return MakeFrame(code, payload, corrupt);
}

std::vector<uint8_t> Device::Error(uint8_t command, uint8_t subCode) {
  return Reply(kError, {command, subCode});
}

bool Device::PasswordMatches(const std::vector<uint8_t>& p) const {
  if (!options_.password) return true;
  uint8_t want[3] = {0xFF, 0xFF, 0xFF};
  const std::string& digits = *options_.password;
  for (size_t i = 0; i < digits.size() && i < 6; ++i) {
    const int d = digits[i] - '0';
    uint8_t& b = want[i / 2];
    b = (i % 2 == 0) ? static_cast<uint8_t>((d << 4) | (b & 0x0F))
                     : static_cast<uint8_t>((b & 0xF0) | d);
  }
  return p[1] == want[0] && p[2] == want[1] && p[3] == want[2];
}

std::vector<uint8_t> Device::Dispatch(uint8_t code, const std::vector<uint8_t>& p,
                                      int& latencyMs) {
  switch (code) {
    case kTakeAccess:
      if (p.size() != 4) return Error(code, kSubParams);
      if (!PasswordMatches(p)) {
        access_ = false;
        return Error(code, kSubPassword);
      }
      access_ = true;
      return Reply(kAck, {});
    case kAddressTable: {
      const uint16_t a = eeprom_.TableAddress();
      return Reply(kTableReply, {static_cast<uint8_t>(a >> 8), static_cast<uint8_t>(a & 0xFF)});
    }
    case kReadEeprom: {
      if (p.size() != 3) return Error(code, kSubParams);
      const size_t address = (p[0] << 8) | p[1], count = p[2];
      if (count == 0 || count > kMaxRead || address + count > kEepromSize)
        return Error(code, kSubParams);
      if (!access_) return Error(code, kSubMode);
      std::vector<uint8_t> out;
      out.reserve(count + 1);
      out.push_back(0x00);  // the byte before the data means nothing to the tool
      out.insert(out.end(), eeprom_.bytes.begin() + static_cast<long>(address),
                 eeprom_.bytes.begin() + static_cast<long>(address + count));
      return Reply(kReadReply, out);
    }
    case kWriteEeprom: {
      if (p.size() < 4) return Error(code, kSubParams);
      const size_t address = (p[0] << 8) | p[1], count = p[2];
      if (count == 0 || count > kMaxWrite || p.size() != 3 + count ||
          address + count > kEepromSize)
        return Error(code, kSubParams);
      if (!access_) return Error(code, kSubMode);
      std::copy(p.begin() + 3, p.end(), eeprom_.bytes.begin() + static_cast<long>(address));
      if (options_.stuckByte >= static_cast<long>(address) && options_.stuckByte < static_cast<long>(address + count))
        eeprom_.bytes[static_cast<size_t>(options_.stuckByte)] ^= 0x01;
      latencyMs = options_.writeLatencyMs;
      return Reply(kAck, {});
    }
    case kReadTouchKey:
      if (++keyPolls_ <= options_.keyAfter) return Error(code, kSubNoKey);  // no key presented yet
      return Reply(kKeyReply, std::vector<uint8_t>(options_.key.begin(), options_.key.end()));
    case kRestart:
      if (!access_) return Error(code, kSubMode);
      log_("# restart; access dropped");
      access_ = false;
      return Reply(kAck, std::vector<uint8_t>(6, 0));
    default:
      return Error(code, kSubUnknown);
  }
}

std::optional<Step> Device::NextLoader(const std::vector<uint8_t>& in, bool stale) {
  if (in[0] != ':') {
    log_("# loader left: no line start");
    loader_ = false;
    return NextFrame(in, stale);
  }
  if (in.size() < 2) {
    if (stale) return Garbage(in, 1, "cut loader line");
    return std::nullopt;
  }
  // count, address (2), type, data (count), checksum: count + 5 bytes after ':'.
  const size_t total = 1 + in[1] + 5u;
  if (in.size() < total) {
    if (stale) return Garbage(in, in.size(), "cut loader line");
    return std::nullopt;
  }
  log_("> " + Hex(in.data(), total));
  ++loaderLines_;
  uint16_t sum = LoaderChecksum(in.data() + 1, total - 1);
  if (options_.loaderBadLine > 0 && loaderLines_ == options_.loaderBadLine) {
    sum = static_cast<uint16_t>(sum ^ 0xFFFF);
    log_("# line checksum spoiled on purpose");
  }
  Step s{total, {static_cast<uint8_t>(sum >> 8), static_cast<uint8_t>(sum & 0xFF)}, 0};
  log_("< " + Hex(s.reply.data(), s.reply.size()));
  if (total - 1 == sizeof kLoaderEnd && std::equal(in.begin() + 1, in.begin() + static_cast<long>(total), kLoaderEnd)) {
    log_("# loader finished after " + std::to_string(loaderLines_) + " lines");
    loader_ = false;
  }
  return s;
}

}  // namespace pkdsim
