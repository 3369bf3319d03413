// Recognising one token after a '%'.
#include <array>

#include "sms/sms.h"

namespace vorsin {
namespace {

struct NamedToken {
  std::string_view name;
  int code;
};

// Searched in this order; the first name found anywhere inside «%(...)» wins.
constexpr std::array<NamedToken, 19> kNamedTokens = {{
    {"insevnum", sms_code::kEvNum},       {"insevzone", sms_code::kEvZone},
    {"insevpart", sms_code::kEvPart},     {"inshours", sms_code::kHours},
    {"insmin", sms_code::kMin},           {"inssec", sms_code::kSec},
    {"insevdestok", sms_code::kEvDestOk}, {"ucs2", sms_code::kUcs2},
    {"inscmd", sms_code::kCmd},           {"insnumm", sms_code::kNumM},
    {"insnumc", sms_code::kNumC},         {"insnumdest", sms_code::kNumDest},
    {"prfhsrl", sms_code::kPrfHsrl},      {"prfuser", sms_code::kPrfUser},
    {"prfdest", sms_code::kPrfDest},      {"prfcommn", sms_code::kPrfCommn},
    {"inschours", sms_code::kcHours},     {"inscmin", sms_code::kcMin},
    {"inscsec", sms_code::kcSec},
}};

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Characters from `from` up to `close`, blanks left out. Returns the index of
// `close`, or npos when the text ends first.
size_t Collect(std::string_view text, size_t from, char close, std::string& out) {
  for (size_t i = from; i < text.size(); ++i) {
    if (text[i] == close) return i;
    if (text[i] != ' ') out += text[i];
  }
  return std::string_view::npos;
}

// Leading decimal digits; none gives 0. Saturates instead of overflowing.
int LeadingNumber(std::string_view digits) {
  int n = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') break;
    n = n > (kMaxTokenNumber - (c - '0')) / 10 ? kMaxTokenNumber : n * 10 + (c - '0');
  }
  return n;
}

}  // namespace

SmsContext MakeSmsContext(const Workspace& ws) {
  return SmsContext{ws.config.smsSubStrings, ws.codeDefinitions};
}

SmsToken ParseSmsToken(std::string_view text, std::span<const CodeDefinition> codeDefinitions) {
  int prefix = 0;  // pending code of a numbered token
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    switch (c) {
      case ' ':
        continue;
      case 'c': prefix = sms_code::kChar; continue;
      case 'd': prefix = sms_code::kSubstringD; continue;
      case 'r': prefix = sms_code::kRestorePair; continue;
      case 's': prefix = sms_code::kSubstring; continue;
      case '(': {
        std::string name;
        const size_t close = Collect(text, i + 1, ')', name);
        if (close == std::string_view::npos) return {};
        for (char& ch : name) ch = LowerAscii(ch);
        for (const NamedToken& t : kNamedTokens)
          if (name.find(t.name) != std::string::npos) return {close + 1, t.code, 0, -1};
        for (size_t d = 0; d < codeDefinitions.size(); ++d) {
          const int code = codeDefinitions[d].code;
          if (code < sms_code::kFirstDefinable || code > 255) continue;  // not a definable code
          if (name.find("c_" + std::to_string(code)) != std::string::npos)
            return {close + 1, code, 0, static_cast<int>(d)};
        }
        return {};
      }
      case '[': {
        if (prefix == 0) return {};
        std::string digits;
        const size_t close = Collect(text, i + 1, ']', digits);
        if (close == std::string_view::npos) return {};
        const int n = LeadingNumber(digits);
        if (n == 0) return {};
        return {close + 1, prefix, n, -1};
      }
      default:
        return {};
    }
  }
  return {};
}

}  // namespace vorsin
