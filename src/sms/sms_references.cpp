// Keeping numbered references right when a substring or SMS string goes.
#include "sms/sms.h"

namespace vorsin {
namespace {

bool IsReference(int code) {
  return code == sms_code::kSubstring || code == sms_code::kSubstringD || code == sms_code::kRestorePair;
}

// «%r[m]» uses substrings m and m + 1, the others only m.
bool RefersTo(const SmsToken& t, int n) {
  if (!IsReference(t.code) || t.definition >= 0) return false;
  return t.number == n || (t.code == sms_code::kRestorePair && t.number == n - 1);
}

std::string_view Letter(int code) {
  return code == sms_code::kSubstring ? "s" : code == sms_code::kSubstringD ? "d" : "r";
}

std::string Renumbered(std::string_view tmpl, int n, std::span<const CodeDefinition> codeDefinitions) {
  std::string out;
  out.reserve(tmpl.size());
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (tmpl[i] != '%') {
      out += tmpl[i];
      continue;
    }
    const SmsToken t = ParseSmsToken(tmpl.substr(i + 1), codeDefinitions);
    if (t.length == 0) {
      out += '%';
      continue;
    }
    if (RefersTo(t, n)) {
      // dropped
    } else if (IsReference(t.code) && t.definition < 0 && t.number > n) {
      out += "%";
      out += Letter(t.code);
      out += "[" + std::to_string(t.number - 1) + "]";
    } else {
      out += tmpl.substr(i, t.length + 1);
    }
    i += t.length;
  }
  return out;
}

}  // namespace

bool SubstringReferenced(std::string_view tmpl, int n, std::span<const CodeDefinition> codeDefinitions) {
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (tmpl[i] != '%') continue;
    const SmsToken t = ParseSmsToken(tmpl.substr(i + 1), codeDefinitions);
    if (RefersTo(t, n)) return true;
    i += t.length;
  }
  return false;
}

void DropSubstring(Configuration& config, int n, std::span<const CodeDefinition> codeDefinitions) {
  if (n < 1) return;
  for (auto* list : {&config.smsSubStrings, &config.smsProfileTexts, &config.smsStrings})
    for (ParamRecord& r : *list) r.text = Renumbered(r.text, n, codeDefinitions);
}

void DropSmsString(Configuration& config, int k) {
  if (k < 1) return;  // 0 is "none": nothing was removed
  const auto renumber = [k](int32_t number) { return number == k ? 0 : number > k ? number - 1 : number; };
  for (EventEntry& e : config.events) {
    e.setSmsNew(renumber(e.smsNew()));
    e.setSmsRestore(renumber(e.smsRestore()));
  }
}

}  // namespace vorsin
