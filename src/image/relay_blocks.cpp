#include "image/relay_blocks.h"

#include <algorithm>

#include "model/bytes.h"
#include "model/cp1251.h"
#include "model/device_limits.h"
#include "model/relays.h"

namespace vorsin::image {
namespace {

constexpr uint8_t kFillerCode = 0x78;  // byte 0 of a pair that binds nothing
constexpr uint8_t kFillerPair[2] = {0x78, 0x01};
constexpr uint8_t kFireHeader = 0x40 | kFireRelayBody;
constexpr uint8_t kNormallyOpenBit = 0x80;

int MinPairs(int list) { return list < kLoops ? kMinLoopPairs : kMinCommonPairs; }

}  // namespace

int RelaySourceCode(int32_t id) {
  if (id >= 20 && id <= 39) return id - 4;
  switch (id) {
    case 40: return 0;
    case 41: return 8;
    case 42: return 9;
    case 43: return 1;
    case 44: return 10;
    case 45: return 11;
    default: return id;
  }
}

int32_t RelaySourceFromCode(int code, bool loopList) {
  if (loopList && code >= 0 && code <= 7) return code;
  switch (code) {
    case 0: return 40;
    case 1: return 43;
    case 8: return 41;
    case 9: return 42;
    case 10: return 44;
    case 11: return 45;
    default: return code > 15 ? code + 4 : code;
  }
}

std::array<uint8_t, 2> EncodeBinding(const RelayBinding& b) {
  const int64_t t = RelaySourceCode(b.w[1]);
  return {static_cast<uint8_t>((t * 8 + (b.w[2] & 7)) & 0xFF),
          static_cast<uint8_t>((b.w[2] & 0xC0) + (b.w[3] & 0x3F))};
}

RelayBinding DecodeBinding(uint8_t b0, uint8_t b1, bool loopList) {
  RelayBinding b;
  b.w[1] = RelaySourceFromCode(b0 >> 3, loopList);
  b.w[2] = (b0 & 7) | (b1 & 0xC0);
  b.w[3] = b1 & 0x3F;
  return b;
}

std::vector<uint8_t> EncodeRelayBlock(const Configuration& config, int relay) {
  ByteWriter w;
  if (FireLoopRelay(config, relay) >= 0) {
    // The device drives a fire loop's power from this relay by a fixed program.
    w.u8(kFireHeader);
    for (int L = 0; L < kLoops; ++L) {
      const uint8_t flags = config.general.loopFlags(L);
      const bool powered = (flags & 0x01) && (flags & 0x10) == relay * 16;
      w.u8(0x02);
      w.u8(powered ? 0x40 : kFillerPair[0]);
      w.u8(powered ? 0x05 : kFillerPair[1]);
    }
    w.u8(0x0C);
    for (int i = 0; i < kMinCommonPairs; ++i) w.bytes(kFillerPair);
    return w.take();
  }
  const size_t body = RelayBodySize(config, relay);
  const bool open = config.general.relayNormallyClosed(relay) == 0;
  w.u8(static_cast<uint8_t>((body & 0xFF) | (open ? kNormallyOpenBit : 0)));
  for (int k = 0; k < kRelayLists; ++k) {
    const auto& list = config.relayBindings[relay][k];
    const size_t pairs = std::max<size_t>(list.size(), MinPairs(k));
    w.u8(static_cast<uint8_t>(2 * pairs));
    for (const RelayBinding& b : list) w.bytes(EncodeBinding(b));
    for (size_t i = list.size(); i < pairs; ++i) w.bytes(kFillerPair);
  }
  return w.take();
}

bool DecodeRelayBlocks(std::span<const uint8_t> block, Configuration& config, std::string& error) {
  size_t at = 0;
  for (int relay = 0; relay < kRelays; ++relay) {
    if (at >= block.size()) {
      error = Cp("Ошибка чтения настроек: блок реле ") + std::to_string(relay + 1) +
              Cp(" за пределами считанных данных");
      return false;
    }
    const uint8_t header = block[at];
    if (FireLoopRelay(config, relay) < 0) {
      config.general.relayNormallyClosed(relay) = (header & kNormallyOpenBit) ? 0 : 1;
      ByteReader r(block.subspan(at + 1));
      for (int k = 0; k < kRelayLists; ++k) {
        const uint8_t count = r.u8();
        for (int i = 0; i < count / 2; ++i) {
          const uint8_t b0 = r.u8();
          const uint8_t b1 = r.u8();
          if (!r.ok()) break;
          if (b0 == kFillerCode) continue;
          config.relayBindings[relay][k].push_back(DecodeBinding(b0, b1, k < kLoops));
        }
        if (count % 2) r.u8();
      }
      if (!r.ok()) {
        error = Cp("Ошибка чтения настроек: блок реле ") + std::to_string(relay + 1) +
                Cp(" за пределами считанных данных");
        return false;
      }
    }
    at += (header & 0x3F) + 1u;
  }
  return true;
}

std::vector<uint8_t> EncodeRelayPatterns(const Configuration& config) {
  ByteWriter w;
  for (const ParamRecord& pattern : config.relayPatterns) {
    const int steps = std::clamp<int32_t>(pattern.w[1], 0, kMaxPatternSteps);
    for (int i = 0; i < steps; ++i) {
      uint8_t step = static_cast<uint8_t>(pattern.w[2 + i] & 0xFF);
      if (i == steps - 1) step |= kLastStepBit;
      w.u8(step);
    }
  }
  w.u8(kPatternsEnd);
  return w.take();
}

std::string RelayPatternName(int n) {
  if (n == 0) return Cp("Вкл. непрерывно");
  if (n <= 5) return Cp("Меандр ") + std::to_string(n);
  if (n == 6) return Cp("Выкл");
  return Cp("Тип ") + std::to_string(n);
}

bool DecodeRelayPatterns(std::span<const uint8_t> block, Configuration& config, std::string& error) {
  ByteReader r(block);
  ParamRecord pattern;
  int steps = 0;
  for (;;) {
    const uint8_t step = r.u8();
    if (!r.ok()) {
      error = Cp("Ошибка чтения настроек: реакции реле за пределами считанных данных");
      return false;
    }
    if (step == kPatternsEnd) return true;  // the end mark, or a last step that reads as one
    if (steps >= kMaxPatternSteps) {
      error = Cp("Ошибка чтения настроек: реакция реле длиннее ") + std::to_string(kMaxPatternSteps) +
              Cp(" шагов");
      return false;
    }
    const bool last = step & kLastStepBit;
    pattern.w[2 + steps++] = last ? (step & ~kLastStepBit) : step;
    if (last) {
      pattern.w[1] = steps;
      pattern.text = RelayPatternName(static_cast<int>(config.relayPatterns.size()));
      config.relayPatterns.push_back(pattern);
      pattern = ParamRecord{};
      steps = 0;
    }
  }
}

}  // namespace vorsin::image
