// Stored form of template lists, the UCS2 rule, and decoding stored bytes.
#include <array>

#include "model/bytes.h"
#include "sms/sms.h"
#include "sms/sms_detail.h"

namespace vorsin {
namespace {

// What decoding writes for each fixed code, by code - 128; empty entries are
// handled apart (numbered tokens and the UCS2 marker).
constexpr std::array<std::string_view, 23> kCanonical = {
    "",             "%(insEvNum)",  "%(insEvZone)",  "%(insEvPart)", "",
    "%(insHours)",  "%(insMin)",    "%(insSec)",     "",             "%(insevDestOk)",
    "",             "%(insCmd)",    "%(insNumm)",    "%(insNumc)",   "",
    "%(insNumDest)", "%(prfhsrl)",  "%(prfuser)",    "%(prfdest)",   "%(prfcommn)",
    "%(inscHours)", "%(inscMin)",   "%(inscSec)",
};

bool IsCyrillic(uint8_t b) { return b == 0xA8 || b == 0xB8 || b >= 0xC0; }

bool Defined(int code, std::span<const CodeDefinition> codeDefinitions) {
  for (const CodeDefinition& d : codeDefinitions)
    if (d.code == code) return true;
  return false;
}

// Text for the bytes 136, x: the device prints the character x + 1.
std::string CharToken(int x) {
  // Characters that cannot be stored as themselves (the end marker, the
  // token codes) travel this way; they come back as the character.
  const int c = x + 1;
  if (c == sms_code::kEnd || (c >= sms_code::kSubstring && c <= sms_code::kcSec))
    return std::string(1, static_cast<char>(c));
  // %c[0] would not read as a token; 256 has the same low byte.
  if (x == 0) return "%c[256]";
  return "%c[" + std::to_string(x) + "]";
}

}  // namespace

void sms_detail::AppendEscaped(std::vector<uint8_t>& out, std::span<const uint8_t> encoded) {
  for (size_t i = 0; i < encoded.size(); ++i) {
    if (encoded[i] == sms_code::kEnd && i + 1 < encoded.size()) {
      out.push_back(sms_code::kChar);  // a literal "я" travels as «%c[254]»
      out.push_back(254);
    } else {
      out.push_back(encoded[i]);
    }
  }
}

bool NeedsUcs2(std::span<const uint8_t> encoded) {
  if (encoded.empty()) return false;
  for (size_t i = 0; i + 1 < encoded.size(); ++i)
    if (IsCyrillic(encoded[i])) return true;
  return false;
}

std::vector<uint8_t> StoreSmsList(std::span<const ParamRecord> list, int firstIdentifier,
                                  const SmsContext& ctx) {
  std::vector<uint8_t> out;
  for (size_t j = 0; j < list.size(); ++j) {
    const long long id = static_cast<long long>(firstIdentifier) + static_cast<long long>(j);
    if (id < 0 || id > kMaxSmsIdentifier) break;
    out.push_back(static_cast<uint8_t>(id));
    const std::vector<uint8_t> bytes = EncodeSms(list[j].text, ctx);
    if (NeedsUcs2(bytes)) out.push_back(sms_code::kUcs2);
    sms_detail::AppendEscaped(out, bytes);
  }
  return out;
}

std::vector<uint8_t> StoreSmsBlock(const Configuration& config,
                                   std::span<const CodeDefinition> codeDefinitions) {
  const SmsContext ctx{config.smsSubStrings, codeDefinitions};
  std::vector<uint8_t> block = StoreSmsList(config.smsProfileTexts, kProfileFirstId, ctx);
  for (const auto& [list, first] : {std::pair{&config.smsStrings, kSmsStringFirstId},
                                    std::pair{&config.smsSubStrings, kSubstringFirstId}}) {
    const std::vector<uint8_t> part = StoreSmsList(*list, first, ctx);
    block.insert(block.end(), part.begin(), part.end());
  }
  block.insert(block.end(), 3, sms_code::kEnd);
  return block;
}

std::string DecodeSms(std::span<const uint8_t> stored, std::span<const CodeDefinition> codeDefinitions,
                      size_t* consumed) {
  ByteReader in(stored);
  std::string text;
  // The end marker wins over everything: it also ends a two-byte token whose
  // second byte is missing, which then contributes nothing.
  auto operand = [&in](int& x) {
    if (in.atEnd() || in.peek() == sms_code::kEnd) return false;
    x = in.u8();
    return true;
  };
  while (!in.atEnd()) {
    const uint8_t b = in.u8();
    if (b == sms_code::kEnd) break;
    int x = 0;
    switch (b) {
      case sms_code::kSubstring:
        if (operand(x)) text += "%s[" + std::to_string(x - 79) + "]";
        break;
      case sms_code::kRestorePair:
        if (operand(x)) text += "%r[" + std::to_string(x - 79) + "]";
        break;
      case sms_code::kSubstringD:
        if (operand(x)) text += "%d[" + std::to_string(x - 79) + "]";
        break;
      case sms_code::kChar:
        if (operand(x)) text += CharToken(x);
        break;
      case sms_code::kUcs2:
        break;
      default:
        if (b > sms_code::kSubstring && b <= sms_code::kcSec)
          text += kCanonical[b - sms_code::kSubstring];
        else if (b >= sms_code::kFirstDefinable && Defined(b, codeDefinitions))
          text += "%(c_" + std::to_string(b) + ")";
        else
          text += static_cast<char>(b);
    }
  }
  if (consumed) *consumed = in.position();
  return text;
}

}  // namespace vorsin
