#include "image/fixed_blocks.h"

#include <algorithm>

#include "image/image_layout.h"
#include "image/phone_code.h"
#include "model/bytes.h"

namespace vorsin::image {
namespace {

uint8_t Low(int32_t v) { return static_cast<uint8_t>(v & 0xFF); }

// A device-address character as a BCD digit; anything but a digit counts 0.
uint8_t AddressDigit(const std::string& address, size_t i) {
  if (i >= address.size()) return 0;
  const char c = address[i];
  return c >= '0' && c <= '9' ? static_cast<uint8_t>(c - '0') : 0;
}

Bytes LoopBytes(const Configuration& config, size_t first) {
  Bytes out(kLoops);
  for (int L = 0; L < kLoops; ++L) out[L] = config.general.block(first + L);
  return out;
}

void SetLoopBytes(std::span<const uint8_t> block, size_t first, Configuration& config) {
  for (int L = 0; L < kLoops && static_cast<size_t>(L) < block.size(); ++L)
    config.general.block(first + L) = block[L];
}

constexpr size_t kExpressIn = 88;
constexpr size_t kExpressInSize = 16;
constexpr uint8_t kTextFormMark = 0x0F;

}  // namespace

Bytes EncodePin(const std::string& pin) {
  Bytes out(kPinSize, 0);
  for (size_t i = 0; i < kPinSize && i < pin.size(); ++i) out[i] = static_cast<uint8_t>(pin[i]);
  return out;
}

std::string DecodePin(std::span<const uint8_t> block) {
  std::string pin;
  for (size_t i = 0; i < kPinSize && i < block.size() && block[i] != 0; ++i)
    pin += static_cast<char>(block[i]);
  return pin;
}

Bytes EncodeGeneralBlock(const Configuration& config, int vgr, int vgt) {
  const GeneralSettings& g = config.general;
  const auto control = [&](size_t i) -> uint8_t {
    return i < config.remoteControls.size() ? Low(config.remoteControls[i].w[1]) : 0;
  };
  Bytes b(kGeneralSize, 0);
  b[1] = g.dialFlags();
  // The device takes the time from the express number only with bit 5 set too.
  b[2] = static_cast<uint8_t>(g.serviceFlags() | ((g.serviceFlags() & 0x10) ? 0x20 : 0));
  b[3] = g.at(GeneralSettings::kPriorityDialTime);
  b[4] = g.at(GeneralSettings::kLineCheckPeriod);
  const std::string& address = config.deviceAddress;
  b[5] = static_cast<uint8_t>(AddressDigit(address, 2) << 4 | AddressDigit(address, 3));
  b[6] = static_cast<uint8_t>(AddressDigit(address, 0) << 4 | AddressDigit(address, 1));
  b[7] = g.at(GeneralSettings::kLineDialDelay);
  b[8] = g.deviceHeldByte();
  uint8_t armNeeded = 0x0F;
  for (int L = 0; L < kLoops; ++L)
    if (g.loopFlags(L) & 0x80) armNeeded |= static_cast<uint8_t>(0x80 >> L);
  b[9] = armNeeded;
  b[10] = 0x0A;
  for (size_t i = 0; i < 5; ++i) b[11 + i] = control(i);
  b[16] = 0xFF;
  b[17] = 0x80;
  b[18] = 0x40;
  b[19] = 0x80;
  b[20] = Low(vgr);
  b[21] = Low(vgt);
  b[22] = 0x1E;
  b[23] = 0x1F;
  b[24] = 0x40;
  b[25] = 0xFF;
  b[26] = control(5);
  b[27] = static_cast<uint8_t>((config.relayTimeLimit[0] & kMaxRelayTimeLimit) << 4 |
                               (config.relayTimeLimit[1] & kMaxRelayTimeLimit));
  return b;
}

GeneralReadBack DecodeGeneralBlock(std::span<const uint8_t> b, Configuration& config) {
  GeneralReadBack back;
  if (b.size() < kGeneralSize) return back;
  GeneralSettings& g = config.general;
  g.dialFlags() = b[1];
  uint8_t service = b[2];
  if (service & 0x10) service &= static_cast<uint8_t>(~0x20);
  g.serviceFlags() = service;
  g.priorityDialTime() = b[3];
  g.lineCheckPeriod() = b[4];
  std::string address(4, '0');
  address[0] = static_cast<char>('0' + (b[6] >> 4));
  address[1] = static_cast<char>('0' + (b[6] & 0x0F));
  address[2] = static_cast<char>('0' + (b[5] >> 4));
  address[3] = static_cast<char>('0' + (b[5] & 0x0F));
  config.deviceAddress = address;
  g.lineDialDelay() = b[7];
  g.deviceHeldByte() = b[8];
  for (size_t i = 0; i < 6 && i < config.remoteControls.size(); ++i)
    config.remoteControls[i].w[1] = i < 5 ? b[11 + i] : b[26];
  config.relayTimeLimit[0] = static_cast<uint8_t>(b[27] >> 4);
  config.relayTimeLimit[1] = static_cast<uint8_t>(b[27] & 0x0F);
  back.vgr = b[20];
  back.vgt = b[21];
  return back;
}

Bytes EncodeVoiceRepeat(const Configuration& config) {
  Bytes out(kVoiceRepeatSize);
  for (int k = 1; k <= 16; ++k) out[k - 1] = config.general.voiceRepeat(k);
  return out;
}

void DecodeVoiceRepeat(std::span<const uint8_t> block, Configuration& config) {
  for (int k = 1; k <= 16 && static_cast<size_t>(k) <= block.size(); ++k)
    config.general.voiceRepeat(k) = block[k - 1];
}

UserBlocks EncodeUsers(const Configuration& config) {
  UserBlocks out;
  out.attributes.assign(kUserAttributesSize, kNoUserBit);
  out.attributes[kEngineerUser - 1] = kNoEngineer;
  out.passwords.assign(kPasswordsSize, 0xFF);
  out.keys.assign(kKeysSize, 0);
  std::array<bool, kMaxUsers> taken{};
  for (const User& user : config.users) {
    const int u = user.w[1];
    if (u < 1 || u > kMaxUsers || taken[u - 1]) continue;
    taken[u - 1] = true;
    const size_t i = static_cast<size_t>(u - 1);
    out.attributes[i] = Low(user.w[2]);
    const auto password = EncodePasswordField(user.text);
    std::copy(password.begin(), password.end(), out.passwords.begin() + 3 * i);
    for (size_t k = 0; k < 6; ++k) out.keys[6 * i + k] = Low(user.w[4 + k]);
  }
  return out;
}

void DecodeUsers(std::span<const uint8_t> attributes, std::span<const uint8_t> passwords,
                 std::span<const uint8_t> keys, Configuration& config) {
  config.users.clear();
  if (attributes.size() < kUserAttributesSize || passwords.size() < kPasswordsSize ||
      keys.size() < kKeysSize)
    return;
  const auto makeUser = [&](int u) {
    const size_t i = static_cast<size_t>(u - 1);
    User user;
    user.w[1] = u;
    user.w[2] = attributes[i];
    bool anyKey = false;
    for (size_t k = 0; k < 6; ++k) {
      user.w[4 + k] = keys[6 * i + k];
      anyKey = anyKey || keys[6 * i + k] != 0;
    }
    user.w[3] = anyKey ? 1 : 0;
    user.text = DecodePasswordField(passwords.subspan(3 * i, 3));
    config.users.push_back(std::move(user));
  };
  makeUser(kEngineerUser);
  for (int u = 1; u < kEngineerUser; ++u)
    if (!(attributes[u - 1] & kNoUserBit)) makeUser(u);
}

uint8_t LoopFlagsCode(uint8_t flags) {
  return static_cast<uint8_t>(flags ^ ((flags & 0x01) ? 0xC4 : 0xA4));
}

Bytes EncodeLoopFlags(const Configuration& config) {
  Bytes out(kLoopFlagsSize);
  for (int L = 0; L < kLoops; ++L) out[L] = LoopFlagsCode(config.general.loopFlags(L));
  return out;
}

void DecodeLoopFlags(std::span<const uint8_t> block, Configuration& config) {
  for (int L = 0; L < kLoops && static_cast<size_t>(L) < block.size(); ++L)
    config.general.loopFlags(L) = LoopFlagsCode(block[L]);
}

Bytes EncodeCommonLoops(const Configuration& config) {
  const GeneralSettings& g = config.general;
  return {static_cast<uint8_t>((g.commonLoops(0) & 0x0F) << 4 | (g.commonLoops(1) & 0x0F)),
          static_cast<uint8_t>((g.commonLoops(2) & 0x0F) << 4 | (g.commonLoops(3) & 0x0F))};
}

void DecodeCommonLoops(std::span<const uint8_t> block, Configuration& config) {
  if (block.size() < kCommonLoopsSize) return;
  GeneralSettings& g = config.general;
  g.commonLoops(0) = static_cast<uint8_t>(block[0] >> 4);
  g.commonLoops(1) = static_cast<uint8_t>(block[0] & 0x0F);
  g.commonLoops(2) = static_cast<uint8_t>(block[1] >> 4);
  g.commonLoops(3) = static_cast<uint8_t>(block[1] & 0x0F);
}

// The device wants the constants 9..12 here whatever the loop block carries.
Bytes EncodeLoopConstants() { return {9, 10, 11, 12}; }

Bytes EncodeReactionTimes(const Configuration& config) { return LoopBytes(config, lb::kReactionTime); }
void DecodeReactionTimes(std::span<const uint8_t> block, Configuration& config) {
  SetLoopBytes(block, lb::kReactionTime, config);
}

Bytes EncodeDelays(const Configuration& config) {
  Bytes out = LoopBytes(config, lb::kArmDelay);
  const Bytes disarm = LoopBytes(config, lb::kDisarmDelay);
  out.insert(out.end(), disarm.begin(), disarm.end());
  return out;
}

void DecodeDelays(std::span<const uint8_t> block, Configuration& config) {
  if (block.size() < kDelaysSize) return;
  SetLoopBytes(block.first(kLoops), lb::kArmDelay, config);
  SetLoopBytes(block.subspan(kLoops, kLoops), lb::kDisarmDelay, config);
}

Bytes EncodeLoopEventBases(const Configuration& config) { return LoopBytes(config, lb::kLoopEventBase); }
void DecodeLoopEventBases(std::span<const uint8_t> block, Configuration& config) {
  SetLoopBytes(block, lb::kLoopEventBase, config);
}

Bytes EncodeTestPeriods(const Configuration& config) {
  return {config.general.at(GeneralSettings::kTestPeriod1), config.general.at(GeneralSettings::kTestPeriod2)};
}

void DecodeTestPeriods(std::span<const uint8_t> block, Configuration& config) {
  if (block.size() < kTestPeriodsSize) return;
  config.general.testPeriod1() = block[0];
  config.general.testPeriod2() = block[1];
}

Bytes EncodeWorkPhoneControl(const Configuration& config) {
  return Bytes(config.workPhoneControl.begin(), config.workPhoneControl.end());
}
void DecodeWorkPhoneControl(std::span<const uint8_t> block, Configuration& config) {
  for (size_t i = 0; i < config.workPhoneControl.size() && i < block.size(); ++i)
    config.workPhoneControl[i] = block[i];
}

Bytes EncodeLoopLatch(const Configuration& config) {
  return Bytes(config.loopLatch.begin(), config.loopLatch.end());
}
void DecodeLoopLatch(std::span<const uint8_t> block, Configuration& config) {
  for (size_t i = 0; i < config.loopLatch.size() && i < block.size(); ++i) config.loopLatch[i] = block[i];
}

Bytes EncodeZeros() { return Bytes(kZerosSize, 0); }

Bytes EncodeAddresseeFlags(const Configuration& config) {
  Bytes out(kAddresseeFlagsSize);
  for (size_t s = 0; s < kMaxAddressees; ++s) {
    const bool used = s < config.addressees.size();
    out[2 * s] = used ? config.addressees[s].addresseeFlags : 0x89;
    out[2 * s + 1] = used ? Low(config.addressees[s].confirmWait) : 0x1E;
  }
  return out;
}

Bytes EncodeDeliveryLimits(const Configuration& config) {
  Bytes out(kDeliveryLimitsSize);
  for (size_t s = 0; s < kMaxAddressees; ++s)
    out[s] = s < config.addressees.size() ? Low(config.addressees[s].deliveryLimit) : 1;
  return out;
}

void DecodeAddresseeSlots(std::span<const uint8_t> flags, std::span<const uint8_t> limits,
                          Configuration& config) {
  if (flags.size() < kAddresseeFlagsSize || limits.size() < kDeliveryLimitsSize) return;
  for (size_t s = 0; s < config.addressees.size() && s < kMaxAddressees; ++s) {
    Addressee& a = config.addressees[s];
    a.addresseeFlags = flags[2 * s];
    a.confirmWait = flags[2 * s + 1];
    a.deliveryLimit = limits[s];
  }
}

Bytes EncodeNumbers(const Configuration& config) {
  Bytes out(kNumbersSize, 0);
  const std::span<uint8_t> all(out);
  for (size_t i = 0; i < kWorkPhones; ++i) EncodeNumberFieldInto(config.workPhones[i], all.subspan(8 * i, 8));
  EncodeNumberFieldInto(config.ownNumber, all.subspan(64, 8));
  EncodeNumberFieldInto(config.smsCentre, all.subspan(72, 8));
  EncodeNumberFieldInto(config.expressOutNumber, all.subspan(80, 8));
  const std::string& in = config.expressInNumber;
  if (IsPhoneString(in)) {
    EncodeNumberFieldInto(in, all.subspan(kExpressIn, kExpressInSize));
  } else {
    // Text form: a balance keyword rather than a number.
    const size_t count = std::min(in.size(), kExpressInTextMax);
    for (size_t i = 0; i < count; ++i) out[kExpressIn + i] = static_cast<uint8_t>(in[i]);
    out[kExpressIn + kExpressInSize - 1] = kTextFormMark;
  }
  EncodeNumberFieldInto(config.cusdForwardNumber, all.subspan(104, 8));
  return out;
}

void DecodeNumbers(std::span<const uint8_t> block, bool withCusd, Configuration& config) {
  if (block.size() < kNumbersSize) return;
  for (size_t i = 0; i < kWorkPhones; ++i) config.workPhones[i] = DecodeNumberField(block.subspan(8 * i, 8));
  config.ownNumber = DecodeNumberField(block.subspan(64, 8));
  config.smsCentre = DecodeNumberField(block.subspan(72, 8));
  config.expressOutNumber = DecodeNumberField(block.subspan(80, 8));
  if (block[kExpressIn + kExpressInSize - 1] == kTextFormMark) {
    std::string text;
    for (size_t i = kExpressIn; i < kExpressIn + kExpressInSize - 1 && block[i] != 0; ++i)
      text += static_cast<char>(block[i]);
    config.expressInNumber = text;
  } else {
    config.expressInNumber = DecodeNumberField(block.subspan(kExpressIn, kExpressInSize));
  }
  config.cusdForwardNumber = withCusd ? DecodeNumberField(block.subspan(104, 8)) : std::string();
}

Bytes EncodeRemoteCommands(const Configuration& config) {
  ByteWriter w;
  for (size_t i = 0; i < config.remoteCommands.size(); ++i) {
    const RemoteCommand& command = config.remoteCommands[i];
    w.u8(static_cast<uint8_t>(i + 1));
    w.u8(Low(command.w[1]));
    // A zero byte ends the record: the rest would be read as the next ones.
    const std::string text = command.text.substr(0, command.text.find('\0'));
    w.text(text);
    if (text.size() < 4) w.fill(4 - text.size(), 0xFF);
    w.u8(0x00);
  }
  w.u8(0x00);
  return w.take();
}

bool DecodeRemoteCommands(std::span<const uint8_t> rest, Configuration& config) {
  ByteReader r(rest);
  bool records = true;
  bool whole = true;
  for (RemoteCommand& command : config.remoteCommands) {
    command.w[1] = 0;
    command.text.clear();
    if (!records || r.atEnd() || r.peek() == 0x00) {
      records = false;
      continue;
    }
    r.u8();  // the command's number
    command.w[1] = r.u8();
    bool ended = false;
    while (!r.atEnd()) {
      const uint8_t c = r.u8();
      if (c == 0x00) {
        ended = true;
        break;
      }
      if (c != 0xFF) command.text += static_cast<char>(c);
    }
    if (!ended || !r.ok()) {
      whole = false;
      records = false;
    }
  }
  return whole;
}

}  // namespace vorsin::image
