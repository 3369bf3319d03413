// Arbitrary bytes through the SMS decoder, the preview and the stored form.
// The input is split at zero bytes: the first piece is the template, the
// others are substrings (so references, nesting and cycles all occur).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sms/sms.h"

namespace {

using namespace vorsin;

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

const std::vector<CodeDefinition>& Definitions() {
  static const std::vector<CodeDefinition> defs = [] {
    std::vector<CodeDefinition> d;
    for (int code = 151; code <= 170; ++code) d.push_back({code, "c" + std::to_string(code)});
    d.push_back({255, "last"});
    return d;
  }();
  return defs;
}

bool MentionsUcs2(const std::string& t) {
  std::string lower;
  for (char c : t)
    if (c != ' ') lower += (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return lower.find("ucs2") != std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& defs = Definitions();
  const std::span<const uint8_t> bytes(data, size);

  // Decoding stays inside the given bytes and reports what it used.
  size_t used = 0;
  const std::string decoded = DecodeSms(bytes, defs, &used);
  Check(used <= size);

  std::vector<std::string> pieces(1);
  for (uint8_t b : bytes) {
    if (b == 0 && pieces.size() < 300) pieces.emplace_back();
    else pieces.back() += static_cast<char>(b);
  }
  std::vector<ParamRecord> subs;
  for (size_t i = 1; i < pieces.size(); ++i) subs.push_back(ParamRecord{{}, pieces[i]});
  const SmsContext ctx{subs, defs};
  const std::string& tmpl = pieces[0];

  for (const std::string& text : {tmpl, decoded}) {
    (void)DisplaySms(text, 0, ctx);
    (void)DisplaySms(text, 1, ctx);
    const std::vector<uint8_t> encoded = EncodeSms(text, ctx);
    Check(!encoded.empty() && encoded.back() == 255);
    (void)NeedsUcs2(encoded);
    (void)SubstringReferenced(text, 1 + static_cast<int>(size % 7), defs);
  }

  // The stored record has one end marker, and reads back to the same bytes.
  const auto stored = StoreSmsList(std::vector<ParamRecord>{ParamRecord{{}, tmpl}}, 20, ctx);
  Check(stored.size() >= 2 && stored.back() == 255);
  for (size_t i = 1; i + 1 < stored.size(); ++i) Check(stored[i] != 255);
  size_t storedUsed = 0;
  const std::string back = DecodeSms(std::span(stored).subspan(1), defs, &storedUsed);
  Check(storedUsed == stored.size() - 1);
  if (!MentionsUcs2(tmpl) && back.size() < kMaxTemplateLength) {
    const auto again = StoreSmsList(std::vector<ParamRecord>{ParamRecord{{}, back}}, 20, ctx);
    Check(again == stored);
  }

  // Reference upkeep over all lists.
  Configuration config;
  config.smsSubStrings = subs;
  config.smsStrings = {ParamRecord{{}, tmpl}, ParamRecord{{}, decoded}};
  DropSubstring(config, 1 + static_cast<int>(size % 5), defs);
  (void)StoreSmsBlock(config, defs);
  return 0;
}
