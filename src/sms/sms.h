// The SMS template language: macros in Windows-1251 texts, their preview
// (display form), the bytes the device stores, decoding those bytes back into
// text, and the upkeep of numbered substring references. Qt-free.
//
// A template is a ParamRecord text with named tokens «%(name)» and numbered
// tokens «%s[n]», «%d[n]», «%r[n]», «%c[n]»; n refers to substring n (1-based).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/configuration.h"

namespace vorsin {

class Vocabulary;

// Token codes: one byte of the stored form each.
namespace sms_code {
constexpr int kSubstring = 128;      // %s[n], followed by 79 + n
constexpr int kEvNum = 129;
constexpr int kEvZone = 130;
constexpr int kEvPart = 131;
constexpr int kRestorePair = 132;    // %r[n], followed by 79 + n
constexpr int kHours = 133;
constexpr int kMin = 134;
constexpr int kSec = 135;
constexpr int kChar = 136;           // %c[n], followed by n (low 8 bits)
constexpr int kEvDestOk = 137;
constexpr int kUcs2 = 138;           // also the UCS2 marker after an identifier
constexpr int kCmd = 139;
constexpr int kNumM = 140;
constexpr int kNumC = 141;
constexpr int kSubstringD = 142;     // %d[n], followed by 79 + n
constexpr int kNumDest = 143;
constexpr int kPrfHsrl = 144;
constexpr int kPrfUser = 145;
constexpr int kPrfDest = 146;
constexpr int kPrfCommn = 147;
constexpr int kcHours = 148;
constexpr int kcMin = 149;
constexpr int kcSec = 150;
constexpr int kFirstDefinable = 151;  // 151..255: code definitions
constexpr uint8_t kEnd = 255;         // ends a stored template
}  // namespace sms_code

// Stored identifiers: profile string j (0-based) is 1 + j, SMS string k
// (1-based) is 19 + k, substring n (1-based) is 79 + n.
constexpr int kProfileFirstId = 1;
constexpr int kSmsStringFirstId = 20;
constexpr int kSubstringFirstId = 80;
// Identifiers and substring reference bytes must stay below the end marker.
constexpr int kMaxSmsIdentifier = 254;
// Highest substring number a stored reference can carry (79 + n <= 254).
constexpr int kMaxStoredSubstring = kMaxSmsIdentifier - 79;
// A template this long or longer shows and stores as "Error".
constexpr size_t kMaxTemplateLength = 200;

// What a template needs from outside: the substrings its numbered tokens
// refer to and the code definitions its «%(c_N)» tokens name. Views only:
// the lists must outlive the context and stay unchanged while it is used.
struct SmsContext {
  std::span<const ParamRecord> substrings;
  std::span<const CodeDefinition> codeDefinitions;
};
SmsContext MakeSmsContext(const Workspace& ws);

struct SmsToken {
  size_t length = 0;    // characters taken after the '%'; 0 = no token
  int code = 0;         // 128..150, or the code of the code definition
  int number = 0;       // n of a numbered token (saturates at kMaxTokenNumber)
  int definition = -1;  // index into the code definitions, or -1
};
constexpr int kMaxTokenNumber = 999999999;

// Parses the token that starts just after a '%'.
SmsToken ParseSmsToken(std::string_view afterPercent, std::span<const CodeDefinition> codeDefinitions);

// encode false: the display form (Windows-1251 text) for restore offset
// 0 (new event) or 1 (restore). encode true (offset 0): the stored bytes of
// one template, end marker included, as the chars of a std::string.
// Display forms of substrings that refer to each other end: a substring is
// not expanded inside itself and nesting stops at a fixed depth.
std::string RenderSms(std::string_view tmpl, bool encode, int offset, const SmsContext& ctx);
// The same two forms with their natural types.
std::string DisplaySms(std::string_view tmpl, int offset, const SmsContext& ctx);
std::vector<uint8_t> EncodeSms(std::string_view tmpl, const SmsContext& ctx);

// True if any byte but the last is a Cyrillic letter of Windows-1251
// (0xA8, 0xB8, 0xC0..0xFF); the last byte is the end marker.
bool NeedsUcs2(std::span<const uint8_t> encoded);

// Stored form of a list: per template the identifier firstIdentifier + j,
// the UCS2 marker 138 where needed, and the template's bytes with every
// inner 255 written as 136, 254. Stops before an identifier would exceed
// kMaxSmsIdentifier (such a record could not be read back).
std::vector<uint8_t> StoreSmsList(std::span<const ParamRecord> list, int firstIdentifier,
                                  const SmsContext& ctx);
// The whole SMS texts block of the device image: profile strings (1),
// SMS strings (20), substrings (80), then 255, 255, 255.
std::vector<uint8_t> StoreSmsBlock(const Configuration& config,
                                   std::span<const CodeDefinition> codeDefinitions);

// Template text of one stored template (the bytes after its identifier),
// up to and including the first 255 or the end of the span, never beyond.
// *consumed (if given) receives the number of bytes taken, 255 included.
std::string DecodeSms(std::span<const uint8_t> stored, std::span<const CodeDefinition> codeDefinitions,
                      size_t* consumed = nullptr);

// Whether the template refers to substring n: «%s[n]», «%d[n]», «%r[n]» or
// «%r[n-1]» (a «%r[m]» names substrings m and m + 1).
bool SubstringReferenced(std::string_view tmpl, int n, std::span<const CodeDefinition> codeDefinitions);
// After substring n was removed from its list: removes the tokens referring
// to it from every substring, profile string and SMS string, and renumbers
// the references above it.
void DropSubstring(Configuration& config, int n, std::span<const CodeDefinition> codeDefinitions);
// After SMS string k was removed: events that sent it send none, later
// numbers move down by one.
void DropSmsString(Configuration& config, int k);

// Reloads the code definitions and the three template lists from the
// vocabulary. Events keep their SMS numbers.
void LoadSmsTemplates(Workspace& ws, Vocabulary& vocabulary);

}  // namespace vorsin
