// Display form and stored bytes of one template.
#include <array>
#include <vector>

#include "model/cp1251.h"
#include "sms/sms.h"
#include "sms/sms_detail.h"

namespace vorsin {
namespace {

// Substrings may include one another; these keep a preview finite even when
// they form a cycle or fan out: no substring inside itself, bounded nesting,
// and a bounded number of expansions per preview.
constexpr int kMaxNesting = 16;
constexpr int kMaxExpansions = 4096;

// Placeholders the preview shows for the device's fields, by code - 128.
const std::array<std::string, 23>& DisplayTexts() {
  static const std::array<std::string, 23> texts = {
      "",          "ccc", "zzz",           "pp",
      "",          "hh",  "mm",            "ss",
      "",          "bbbbbbbb",             "",
      "CmdName",   "xx",  "xx",            "",
      "n",         Cp("{профиль шлейфов}"), Cp("{профиль пользователей}"),
      Cp("{профиль адресатов}"),           Cp("{профиль общих настроек}"),
      "hh",        "mm",  "ss",
  };
  return texts;
}

// A reference to substring n exists and fits the one byte 79 + n of the
// stored form; anything else is neither shown nor stored.
bool Reachable(int n, size_t count) {
  return n >= 1 && n <= kMaxStoredSubstring && static_cast<size_t>(n) <= count;
}

bool IsLiteralTokenCode(unsigned char c) { return c >= sms_code::kSubstring && c <= sms_code::kcSec; }

class Renderer {
 public:
  explicit Renderer(const SmsContext& ctx) : ctx_(ctx), onPath_(ctx.substrings.size(), false) {}

  void Display(std::string_view tmpl, int offset, int depth, std::string& out) {
    if (tmpl.size() >= kMaxTemplateLength) {
      out += "Error";
      return;
    }
    for (size_t i = 0; i < tmpl.size(); ++i) {
      if (tmpl[i] != '%') {
        out += tmpl[i];
        continue;
      }
      const SmsToken t = ParseSmsToken(tmpl.substr(i + 1), ctx_.codeDefinitions);
      if (t.length == 0) {
        out += '%';
        continue;
      }
      i += t.length;
      if (t.definition >= 0) {
        out += ctx_.codeDefinitions[t.definition].name;
        continue;
      }
      switch (t.code) {
        case sms_code::kSubstring:
        case sms_code::kSubstringD:
          Expand(t.number, offset, depth, out);
          break;
        case sms_code::kRestorePair:
          Expand(t.number + offset, offset, depth, out);
          break;
        case sms_code::kChar:
          // The device prints the character after the stored byte; a byte 255
          // cannot be stored, so that token shows nothing.
          if ((t.number & 0xFF) != 0xFF) out += static_cast<char>((t.number & 0xFF) + 1);
          break;
        case sms_code::kUcs2:
          break;
        default:
          out += DisplayTexts()[t.code - sms_code::kSubstring];
      }
    }
  }

 private:
  void Expand(int n, int offset, int depth, std::string& out) {
    if (!Reachable(n, ctx_.substrings.size())) return;
    if (depth >= kMaxNesting || expansions_ >= kMaxExpansions || onPath_[n - 1]) return;
    ++expansions_;
    onPath_[n - 1] = true;
    Display(ctx_.substrings[n - 1].text, offset, depth + 1, out);
    onPath_[n - 1] = false;
  }

  const SmsContext& ctx_;
  std::vector<bool> onPath_;
  int expansions_ = 0;
};

// A '%' the device prints must also read back as a plain '%'. When a token
// next to it was left out (a missing substring, «%(ucs2)» which decodes to
// nothing) the decoded text could make it start a token; such a '%' is stored
// as «%c[36]» instead, which the device prints the same. Right to left, so
// each check sees the final form of what follows.
void ProtectPercents(std::vector<uint8_t>& out, const std::vector<size_t>& percents,
                     std::span<const CodeDefinition> codeDefinitions) {
  for (auto p = percents.rbegin(); p != percents.rend(); ++p) {
    std::vector<uint8_t> tail;
    sms_detail::AppendEscaped(tail, std::span(out).subspan(*p + 1));
    const std::string text = DecodeSms(tail, codeDefinitions);
    if (ParseSmsToken(text, codeDefinitions).length == 0) continue;
    out[*p] = sms_code::kChar;
    out.insert(out.begin() + static_cast<std::ptrdiff_t>(*p) + 1, static_cast<uint8_t>('%' - 1));
  }
}

void Encode(std::string_view tmpl, const SmsContext& ctx, std::vector<uint8_t>& out) {
  if (tmpl.size() >= kMaxTemplateLength) {
    out.insert(out.end(), {'E', 'r', 'r', 'o', 'r', sms_code::kEnd});
    return;
  }
  const size_t count = ctx.substrings.size();
  std::vector<size_t> percents;  // where literal '%' bytes went
  for (size_t i = 0; i < tmpl.size(); ++i) {
    const auto c = static_cast<unsigned char>(tmpl[i]);
    if (c != '%') {
      // A literal character whose byte is a token code would run as that
      // macro on the device; send it as «%c[c - 1]» so it prints as itself.
      if (IsLiteralTokenCode(c)) {
        out.push_back(sms_code::kChar);
        out.push_back(static_cast<uint8_t>(c - 1));
      } else {
        out.push_back(c);
      }
      continue;
    }
    const SmsToken t = ParseSmsToken(tmpl.substr(i + 1), ctx.codeDefinitions);
    if (t.length == 0) {
      percents.push_back(out.size());
      out.push_back('%');
      continue;
    }
    i += t.length;
    switch (t.definition >= 0 ? -1 : t.code) {
      case -1:
        out.push_back(static_cast<uint8_t>(t.code));
        break;
      case sms_code::kSubstring:
      case sms_code::kSubstringD:
      case sms_code::kRestorePair:
        if (Reachable(t.number, count)) {
          out.push_back(static_cast<uint8_t>(t.code));
          out.push_back(static_cast<uint8_t>(79 + t.number));
        }
        break;
      case sms_code::kChar:
        // 255 would end the template on the device.
        if ((t.number & 0xFF) != 0xFF) {
          out.push_back(sms_code::kChar);
          out.push_back(static_cast<uint8_t>(t.number & 0xFF));
        }
        break;
      default:
        out.push_back(static_cast<uint8_t>(t.code));
    }
  }
  out.push_back(sms_code::kEnd);
  ProtectPercents(out, percents, ctx.codeDefinitions);
}

}  // namespace

std::string DisplaySms(std::string_view tmpl, int offset, const SmsContext& ctx) {
  std::string out;
  Renderer(ctx).Display(tmpl, offset, 0, out);
  return out;
}

std::vector<uint8_t> EncodeSms(std::string_view tmpl, const SmsContext& ctx) {
  std::vector<uint8_t> out;
  Encode(tmpl, ctx, out);
  return out;
}

std::string RenderSms(std::string_view tmpl, bool encode, int offset, const SmsContext& ctx) {
  if (!encode) return DisplaySms(tmpl, offset, ctx);
  const std::vector<uint8_t> bytes = EncodeSms(tmpl, ctx);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace vorsin
